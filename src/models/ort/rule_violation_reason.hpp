#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "models/yaml_value.hpp"

namespace brindle::models::ort {

// Why a rule violation is resolved.
enum class RuleViolationResolutionReason : std::uint8_t {
    CANT_FIX_EXCEPTION = 1,
    DYNAMIC_LINKAGE_EXCEPTION,
    EXAMPLE_OF_EXCEPTION,
    LICENSE_ACQUIRED_EXCEPTION,
    NOT_MODIFIED_EXCEPTION,
    PATENT_GRANT_EXCEPTION,
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::EnumInfo<brindle::models::ort::RuleViolationResolutionReason> {
    static constexpr std::string_view name = "RuleViolationResolutionReason";
    static constexpr std::array<std::string_view, 6> variants = {
        "CANT_FIX_EXCEPTION",
        "DYNAMIC_LINKAGE_EXCEPTION",
        "EXAMPLE_OF_EXCEPTION",
        "LICENSE_ACQUIRED_EXCEPTION",
        "NOT_MODIFIED_EXCEPTION",
        "PATENT_GRANT_EXCEPTION",
    };
};
