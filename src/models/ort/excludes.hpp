#pragma once

#include <vector>

#include "models/model.hpp"
#include "models/ort/path_exclude.hpp"
#include "models/ort/scope_exclude.hpp"

namespace brindle::models::ort {

// The excludes section of a repository configuration.
struct Excludes {
    std::vector<PathExclude> paths;
    std::vector<ScopeExclude> scopes;

    friend bool operator==(const Excludes&, const Excludes&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::Excludes> {
    using T = ort::Excludes;
    static constexpr std::string_view name = "Excludes";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        defaulted("paths", &T::paths),
        defaulted("scopes", &T::scopes),
    };
};
