#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "models/yaml_value.hpp"

namespace brindle::models::ort {

enum class SourceCodeOrigin : std::uint8_t { VCS = 1, ARTIFACT };

}  // namespace brindle::models::ort

template <>
struct brindle::models::EnumInfo<brindle::models::ort::SourceCodeOrigin> {
    static constexpr std::string_view name = "SourceCodeOrigin";
    static constexpr std::array<std::string_view, 2> variants = {"VCS", "ARTIFACT"};
};
