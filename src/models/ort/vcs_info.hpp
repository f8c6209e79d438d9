#pragma once

#include <string>

#include "models/model.hpp"
#include "models/ort/vcs_type.hpp"

namespace brindle::models::ort {

// A place in a version-control system.
struct VcsInfo {
    VcsType type;
    std::string url;
    std::string revision;
    std::string path;

    friend bool operator==(const VcsInfo&, const VcsInfo&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::VcsInfo> {
    using T = ort::VcsInfo;
    static constexpr std::string_view name = "VcsInfo";
    static constexpr auto unknown_keys = UnknownKeys::skip;
    static constexpr auto fields = std::tuple{
        defaulted("type", &T::type),
        defaulted("url", &T::url),
        required("revision", &T::revision),
        defaulted("path", &T::path),
    };
};
