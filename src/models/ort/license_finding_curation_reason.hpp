#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "models/yaml_value.hpp"

namespace brindle::models::ort {

// Why a license finding was corrected.
enum class LicenseFindingCurationReason : std::uint8_t {
    CODE = 1,
    DATA_OF,
    DOCUMENTATION_OF,
    INCORRECT,
    NOT_DETECTED,
    REFERENCE,
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::EnumInfo<brindle::models::ort::LicenseFindingCurationReason> {
    static constexpr std::string_view name = "LicenseFindingCurationReason";
    static constexpr std::array<std::string_view, 6> variants = {
        "CODE", "DATA_OF", "DOCUMENTATION_OF", "INCORRECT", "NOT_DETECTED", "REFERENCE",
    };
};
