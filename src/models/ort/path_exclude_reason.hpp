#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "models/yaml_value.hpp"

namespace brindle::models::ort {

// Why a path is excluded.
enum class PathExcludeReason : std::uint8_t {
    BUILD_TOOL_OF = 1,
    DATA_FILE_OF,
    DOCUMENTATION_OF,
    EXAMPLE_OF,
    OPTIONAL_COMPONENT_OF,
    OTHER,
    PROVIDED_BY,
    TEST_OF,
    TEST_TOOL_OF,
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::EnumInfo<brindle::models::ort::PathExcludeReason> {
    static constexpr std::string_view name = "PathExcludeReason";
    static constexpr std::array<std::string_view, 9> variants = {
        "BUILD_TOOL_OF",
        "DATA_FILE_OF",
        "DOCUMENTATION_OF",
        "EXAMPLE_OF",
        "OPTIONAL_COMPONENT_OF",
        "OTHER",
        "PROVIDED_BY",
        "TEST_OF",
        "TEST_TOOL_OF",
    };
};
