#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "models/yaml_value.hpp"

namespace brindle::models::ort {

// Why a snippet was chosen.
enum class SnippetChoiceReason : std::uint8_t { NO_RELEVANT_FINDING = 1, ORIGINAL_FINDING, OTHER };

}  // namespace brindle::models::ort

template <>
struct brindle::models::EnumInfo<brindle::models::ort::SnippetChoiceReason> {
    static constexpr std::string_view name = "SnippetChoiceReason";
    static constexpr std::array<std::string_view, 3> variants = {"NO_RELEVANT_FINDING", "ORIGINAL_FINDING", "OTHER"};
};
