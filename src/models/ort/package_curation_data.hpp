#pragma once

#include <optional>
#include <string>
#include <vector>

#include "models/collections.hpp"
#include "models/json_value.hpp"
#include "models/model.hpp"
#include "models/ort/remote_artifact.hpp"
#include "models/ort/source_code_origin.hpp"
#include "models/ort/vcsinfo_curation_data.hpp"

namespace brindle::models::ort {

// The corrected metadata of a package: every value optional, so that a
// curation holds only what it changes.
struct PackageCurationData {
    std::optional<std::string> comment;
    std::optional<std::string> purl;
    std::optional<std::string> cpe;
    std::optional<std::vector<std::string>> authors;
    std::optional<std::string> concluded_license;
    std::optional<std::string> description;
    std::optional<std::string> homepage_url;
    std::optional<RemoteArtifact> binary_artifact;
    std::optional<RemoteArtifact> source_artifact;
    std::optional<VcsInfoCurationData> vcs;
    std::optional<bool> is_metadata_only;
    std::optional<bool> is_modified;
    OrderedMap<std::string, JsonValue> declared_license_mapping;
    std::optional<std::vector<SourceCodeOrigin>> source_code_origins;
    OrderedMap<std::string, std::string> labels;

    friend bool operator==(const PackageCurationData&, const PackageCurationData&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::PackageCurationData> {
    using T = ort::PackageCurationData;
    static constexpr std::string_view name = "PackageCurationData";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        optional("comment", &T::comment),
        optional("purl", &T::purl),
        optional("cpe", &T::cpe),
        optional("authors", &T::authors),
        optional("concluded_license", &T::concluded_license),
        optional("description", &T::description),
        optional("homepage_url", &T::homepage_url),
        optional("binary_artifact", &T::binary_artifact),
        optional("source_artifact", &T::source_artifact),
        optional("vcs", &T::vcs),
        optional("is_metadata_only", &T::is_metadata_only),
        optional("is_modified", &T::is_modified),
        defaulted("declared_license_mapping", &T::declared_license_mapping),
        optional("source_code_origins", &T::source_code_origins),
        defaulted("labels", &T::labels),
    };
};
