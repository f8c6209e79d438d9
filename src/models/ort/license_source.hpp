#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "models/yaml_value.hpp"

namespace brindle::models::ort {

// Where the license of a rule violation was found.
enum class LicenseSource : std::uint8_t { CONCLUDED = 1, DECLARED, DETECTED };

}  // namespace brindle::models::ort

template <>
struct brindle::models::EnumInfo<brindle::models::ort::LicenseSource> {
    static constexpr std::string_view name = "LicenseSource";
    static constexpr std::array<std::string_view, 3> variants = {"CONCLUDED", "DECLARED", "DETECTED"};
};
