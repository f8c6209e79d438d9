#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "models/yaml_value.hpp"

namespace brindle::models::ort {

// What an advisor can report.
enum class AdvisorCapability : std::uint8_t { DEFECTS = 1, VULNERABILITIES };

}  // namespace brindle::models::ort

template <>
struct brindle::models::EnumInfo<brindle::models::ort::AdvisorCapability> {
    static constexpr std::string_view name = "AdvisorCapability";
    static constexpr std::array<std::string_view, 2> variants = {"DEFECTS", "VULNERABILITIES"};
};
