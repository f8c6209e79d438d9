#pragma once

#include <string>

#include "models/model.hpp"
#include "models/ort/repository_configuration.hpp"
#include "models/ort/vcs_info.hpp"

namespace brindle::models::ort {

// The reviewed repository: where it came from, where nested repositories
// sit, and the configuration that steered the review.
struct Repository {
    VcsInfo vcs;
    VcsInfo vcs_processed;
    OrderedMap<std::string, VcsInfo> nested_repositories;
    RepositoryConfiguration config;

    friend bool operator==(const Repository&, const Repository&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::Repository> {
    using T = ort::Repository;
    static constexpr std::string_view name = "Repository";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        required("vcs", &T::vcs),
        required("vcs_processed", &T::vcs_processed),
        defaulted("nested_repositories", &T::nested_repositories),
        required("config", &T::config),
    };
};
