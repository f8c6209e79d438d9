#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "models/yaml_value.hpp"

namespace brindle::models::ort {

// Why a path is included.
enum class PathIncludeReason : std::uint8_t { SOURCE_OF = 1, OTHER };

}  // namespace brindle::models::ort

template <>
struct brindle::models::EnumInfo<brindle::models::ort::PathIncludeReason> {
    static constexpr std::string_view name = "PathIncludeReason";
    static constexpr std::array<std::string_view, 2> variants = {"SOURCE_OF", "OTHER"};
};
