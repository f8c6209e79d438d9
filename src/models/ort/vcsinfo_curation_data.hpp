#pragma once

#include <optional>
#include <string>

#include "models/model.hpp"
#include "models/ort/vcs_type.hpp"

namespace brindle::models::ort {

// The corrected version-control location of a package: only what is given.
struct VcsInfoCurationData {
    std::optional<VcsType> type;
    std::optional<std::string> url;
    std::optional<std::string> revision;
    std::optional<std::string> path;

    friend bool operator==(const VcsInfoCurationData&, const VcsInfoCurationData&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::VcsInfoCurationData> {
    using T = ort::VcsInfoCurationData;
    static constexpr std::string_view name = "VcsInfoCurationData";
    static constexpr auto unknown_keys = UnknownKeys::skip;
    static constexpr auto fields = std::tuple{
        optional("type", &T::type),
        optional("url", &T::url),
        optional("revision", &T::revision),
        optional("path", &T::path),
    };
};
