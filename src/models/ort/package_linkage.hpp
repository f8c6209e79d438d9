#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "models/yaml_value.hpp"

namespace brindle::models::ort {

// How a package is linked into what depends on it.
enum class PackageLinkage : std::uint8_t { DYNAMIC = 1, STATIC, PROJECT_DYNAMIC, PROJECT_STATIC };

}  // namespace brindle::models::ort

template <>
struct brindle::models::EnumInfo<brindle::models::ort::PackageLinkage> {
    static constexpr std::string_view name = "PackageLinkage";
    static constexpr std::array<std::string_view, 4> variants = {"DYNAMIC", "STATIC", "PROJECT_DYNAMIC",
                                                                 "PROJECT_STATIC"};
};
