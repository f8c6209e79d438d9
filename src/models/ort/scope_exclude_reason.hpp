#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "models/yaml_value.hpp"

namespace brindle::models::ort {

// Why a scope is excluded; the order, hence the numbers, is not alphabetical.
enum class ScopeExcludeReason : std::uint8_t {
    BUILD_TOOL_OF = 1,
    BUILD_DEPENDENCY_OF,
    DEV_DEPENDENCY_OF,
    DOCUMENTATION_DEPENDENCY_OF,
    PROVIDED_BY,
    PROVIDED_DEPENDENCY_OF,
    TEST_TOOL_OF,
    TEST_DEPENDENCY_OF,
    RUNTIME_DEPENDENCY_OF,
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::EnumInfo<brindle::models::ort::ScopeExcludeReason> {
    static constexpr std::string_view name = "ScopeExcludeReason";
    static constexpr std::array<std::string_view, 9> variants = {
        "BUILD_TOOL_OF",
        "BUILD_DEPENDENCY_OF",
        "DEV_DEPENDENCY_OF",
        "DOCUMENTATION_DEPENDENCY_OF",
        "PROVIDED_BY",
        "PROVIDED_DEPENDENCY_OF",
        "TEST_TOOL_OF",
        "TEST_DEPENDENCY_OF",
        "RUNTIME_DEPENDENCY_OF",
    };
};
