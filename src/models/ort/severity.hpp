#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "models/yaml_value.hpp"

namespace brindle::models::ort {

enum class Severity : std::uint8_t { HINT = 1, WARNING, ERROR };

}  // namespace brindle::models::ort

template <>
struct brindle::models::EnumInfo<brindle::models::ort::Severity> {
    static constexpr std::string_view name = "Severity";
    static constexpr std::array<std::string_view, 3> variants = {"HINT", "WARNING", "ERROR"};
};
