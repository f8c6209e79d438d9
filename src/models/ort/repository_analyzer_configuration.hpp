#pragma once

#include <optional>
#include <string>
#include <vector>

#include "models/model.hpp"
#include "models/ort/package_manager_configuration.hpp"

namespace brindle::models::ort {

// The analyzer settings a repository asks for: only what its file says,
// every field optional and without a default.
struct RepositoryAnalyzerConfiguration {
    std::optional<bool> allow_dynamic_versions;
    std::optional<std::vector<std::string>> enabled_package_managers;
    std::optional<std::vector<std::string>> disabled_package_managers;
    std::optional<OrderedMap<std::string, PackageManagerConfiguration>> package_managers;
    std::optional<bool> skip_excluded;

    friend bool operator==(const RepositoryAnalyzerConfiguration&, const RepositoryAnalyzerConfiguration&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::RepositoryAnalyzerConfiguration> {
    using T = ort::RepositoryAnalyzerConfiguration;
    static constexpr std::string_view name = "RepositoryAnalyzerConfiguration";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        optional("allow_dynamic_versions", &T::allow_dynamic_versions),
        optional("enabled_package_managers", &T::enabled_package_managers),
        optional("disabled_package_managers", &T::disabled_package_managers),
        optional("package_managers", &T::package_managers),
        optional("skip_excluded", &T::skip_excluded),
    };
};
