#pragma once

#include <string>

#include "models/model.hpp"

namespace brindle::models::ort {

// The scanner that produced a scan result; its version and configuration are
// kept as the texts given.
struct ScannerDetails {
    std::string name;
    std::string version;
    std::string configuration;

    friend bool operator==(const ScannerDetails&, const ScannerDetails&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::ScannerDetails> {
    using T = ort::ScannerDetails;
    static constexpr std::string_view name = "ScannerDetails";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        required("name", &T::name),
        required("version", &T::version),
        required("configuration", &T::configuration),
    };
};
