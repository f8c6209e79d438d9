#pragma once

#include <optional>
#include <string>
#include <vector>

#include "models/model.hpp"
#include "models/ort/identifier.hpp"
#include "models/ort/license_finding_curation.hpp"
#include "models/ort/path_exclude.hpp"
#include "models/ort/source_code_origin.hpp"
#include "models/ort/vcsmatcher.hpp"

namespace brindle::models::ort {

// Settings for one package, optionally tied to a source artifact, a
// version-control location and a source code origin: the path excludes and
// license finding curations that apply within it.
struct PackageConfiguration {
    Identifier id;
    std::optional<std::string> source_artifact_url;
    std::optional<VcsMatcher> vcs;
    std::optional<SourceCodeOrigin> source_code_origin;
    std::vector<PathExclude> path_excludes;
    std::vector<LicenseFindingCuration> license_finding_curations;

    friend bool operator==(const PackageConfiguration&, const PackageConfiguration&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::PackageConfiguration> {
    using T = ort::PackageConfiguration;
    static constexpr std::string_view name = "PackageConfiguration";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        required("id", &T::id),
        optional("source_artifact_url", &T::source_artifact_url),
        optional("vcs", &T::vcs),
        optional("source_code_origin", &T::source_code_origin),
        defaulted("path_excludes", &T::path_excludes),
        defaulted("license_finding_curations", &T::license_finding_curations),
    };
};
