#pragma once

#include <optional>
#include <string>
#include <vector>

#include "models/collections.hpp"
#include "models/model.hpp"
#include "models/ort/package_manager_configuration.hpp"

namespace brindle::models::ort {

// The package managers enabled when a configuration names none.
inline std::vector<std::string> default_enabled_package_managers() {
    return {"Bazel", "Bower", "Bundler", "Cargo", "Carthage", "CocoaPods", "Composer", "Conan", "GoMod",
            "GradleInspector", "Maven", "NPM", "NuGet", "PIP", "Pipenv", "PNPM", "Poetry", "Pub", "SBT",
            "SpdxDocumentFile", "Stack", "SwiftPM", "Tycho", "Unmanaged", "Yarn", "Yarn2"};
}

// The settings an analyzer run used.  A missing key takes the default
// below; a key given with an empty value does not.
struct AnalyzerConfiguration {
    bool allow_dynamic_versions = false;
    std::vector<std::string> enabled_package_managers = default_enabled_package_managers();
    std::optional<std::vector<std::string>> disabled_package_managers;
    std::optional<OrderedMap<std::string, PackageManagerConfiguration>> package_managers;
    bool skip_excluded = false;

    friend bool operator==(const AnalyzerConfiguration&, const AnalyzerConfiguration&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::AnalyzerConfiguration> {
    using T = ort::AnalyzerConfiguration;
    static constexpr std::string_view name = "AnalyzerConfiguration";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        defaulted("allow_dynamic_versions", &T::allow_dynamic_versions),
        defaulted("enabled_package_managers", &T::enabled_package_managers),
        optional("disabled_package_managers", &T::disabled_package_managers),
        optional("package_managers", &T::package_managers),
        defaulted("skip_excluded", &T::skip_excluded),
    };
};
