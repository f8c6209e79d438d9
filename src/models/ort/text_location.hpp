#pragma once

#include <cstdint>
#include <string>

#include "models/model.hpp"

namespace brindle::models::ort {

// A range of lines in a file, taken as given (no order between the lines).
struct TextLocation {
    std::string path;
    std::int32_t start_line = 0;
    std::int32_t end_line = 0;

    friend bool operator==(const TextLocation&, const TextLocation&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::TextLocation> {
    using T = ort::TextLocation;
    static constexpr std::string_view name = "TextLocation";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        required("path", &T::path),
        required("start_line", &T::start_line),
        required("end_line", &T::end_line),
    };
};
