#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "models/yaml_value.hpp"

namespace brindle::models::ort {

// Why an issue is resolved.
enum class IssueResolutionReason : std::uint8_t { BUILD_TOOL_ISSUE = 1, CANT_FIX_ISSUE, SCANNER_ISSUE };

}  // namespace brindle::models::ort

template <>
struct brindle::models::EnumInfo<brindle::models::ort::IssueResolutionReason> {
    static constexpr std::string_view name = "IssueResolutionReason";
    static constexpr std::array<std::string_view, 3> variants = {"BUILD_TOOL_ISSUE", "CANT_FIX_ISSUE", "SCANNER_ISSUE"};
};
