#pragma once

#include <optional>
#include <vector>

#include "models/model.hpp"
#include "models/ort/curations.hpp"
#include "models/ort/excludes.hpp"
#include "models/ort/includes.hpp"
#include "models/ort/license_choices.hpp"
#include "models/ort/package_configuration.hpp"
#include "models/ort/repository_analyzer_configuration.hpp"
#include "models/ort/resolutions.hpp"
#include "models/ort/snippet_choices.hpp"

namespace brindle::models::ort {

// The root of a repository configuration file, and the configuration of a
// repository inside a result: every section optional, the two lists empty
// when not given.
struct RepositoryConfiguration {
    std::optional<RepositoryAnalyzerConfiguration> analyzer;
    std::optional<Includes> includes;
    std::optional<Excludes> excludes;
    std::optional<Resolutions> resolutions;
    std::optional<Curations> curations;
    std::vector<PackageConfiguration> package_configurations;
    std::optional<LicenseChoices> license_choices;
    std::vector<SnippetChoices> snippet_choices;

    friend bool operator==(const RepositoryConfiguration&, const RepositoryConfiguration&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::RepositoryConfiguration> {
    using T = ort::RepositoryConfiguration;
    static constexpr std::string_view name = "RepositoryConfiguration";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        optional("analyzer", &T::analyzer),
        optional("includes", &T::includes),
        optional("excludes", &T::excludes),
        optional("resolutions", &T::resolutions),
        optional("curations", &T::curations),
        defaulted("package_configurations", &T::package_configurations),
        optional("license_choices", &T::license_choices),
        defaulted("snippet_choices", &T::snippet_choices),
    };
};
