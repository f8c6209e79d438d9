#pragma once

#include <optional>
#include <string>

#include "models/model.hpp"
#include "models/ort/vcs_type.hpp"

namespace brindle::models::ort {

// The version-control location a package configuration applies to.
struct VcsMatcher {
    VcsType type;
    std::string url;
    std::optional<std::string> revision;

    friend bool operator==(const VcsMatcher&, const VcsMatcher&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::VcsMatcher> {
    using T = ort::VcsMatcher;
    static constexpr std::string_view name = "VcsMatcher";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        required("type", &T::type),
        required("url", &T::url),
        optional("revision", &T::revision),
    };
};
