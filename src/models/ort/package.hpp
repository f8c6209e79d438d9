#pragma once

#include <optional>
#include <string>
#include <vector>

#include "models/collections.hpp"
#include "models/model.hpp"
#include "models/ort/identifier.hpp"
#include "models/ort/processed_declared_license.hpp"
#include "models/ort/remote_artifact.hpp"
#include "models/ort/source_code_origin.hpp"
#include "models/ort/vcs_info.hpp"

namespace brindle::models::ort {

// A package found among a repository's dependencies, held as read.
struct Package {
    Identifier id;
    std::string purl;
    std::optional<std::string> cpe;
    OrderedSet<std::string> authors;
    OrderedSet<std::string> declared_licenses;
    ProcessedDeclaredLicense declared_licenses_processed;
    std::optional<std::string> concluded_license;
    std::string description;
    std::string homepage_url;
    RemoteArtifact binary_artifact;
    RemoteArtifact source_artifact;
    VcsInfo vcs;
    VcsInfo vcs_processed;
    bool is_metadata_only = false;
    bool is_modified = false;
    std::optional<std::vector<SourceCodeOrigin>> source_code_origins;
    OrderedMap<std::string, std::string> labels;

    friend bool operator==(const Package&, const Package&) = default;
};

}  // namespace brindle::models::ort

// In a set, packages are told apart by their identifier alone.
template <>
struct brindle::models::ElementIdentity<brindle::models::ort::Package> {
    static constexpr auto member = &ort::Package::id;
};

template <>
struct brindle::models::Model<brindle::models::ort::Package> {
    using T = ort::Package;
    static constexpr std::string_view name = "Package";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        required("id", &T::id),
        required("purl", &T::purl),
        optional("cpe", &T::cpe),
        defaulted("authors", &T::authors),
        required("declared_licenses", &T::declared_licenses),
        required("declared_licenses_processed", &T::declared_licenses_processed),
        optional("concluded_license", &T::concluded_license),
        required("description", &T::description),
        required("homepage_url", &T::homepage_url),
        required("binary_artifact", &T::binary_artifact),
        required("source_artifact", &T::source_artifact),
        required("vcs", &T::vcs),
        required("vcs_processed", &T::vcs_processed),
        defaulted("is_metadata_only", &T::is_metadata_only),
        defaulted("is_modified", &T::is_modified),
        optional("source_code_origins", &T::source_code_origins),
        defaulted("labels", &T::labels),
    };
};
