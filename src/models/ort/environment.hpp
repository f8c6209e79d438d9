#pragma once

#include <cstdint>
#include <string>

#include "models/buffered.hpp"

namespace brindle::models::ort {

// Where a run took place.  Read only from captured values.
struct Environment {
    std::string ort_version;
    std::string build_jdk;
    std::string java_version;
    std::string os;
    std::uint32_t processors = 0;
    std::uint64_t max_memory = 0;
    OrderedMap<std::string, std::string> variables;

    friend bool operator==(const Environment&, const Environment&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::Environment> {
    using T = ort::Environment;
    static constexpr std::string_view name = "Environment";
    static constexpr auto unknown_keys = UnknownKeys::skip;
    static constexpr auto fields = std::tuple{
        required("ort_version", &T::ort_version),
        required("build_jdk", &T::build_jdk),
        required("java_version", &T::java_version),
        required("os", &T::os),
        required("processors", &T::processors),
        required("max_memory", &T::max_memory),
        defaulted("variables", &T::variables),
    };
};
