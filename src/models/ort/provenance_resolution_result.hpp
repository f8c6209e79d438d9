#pragma once

#include <optional>
#include <string>

#include "models/collections.hpp"
#include "models/model.hpp"
#include "models/ort/identifier.hpp"
#include "models/ort/issue.hpp"
#include "models/ort/provenance.hpp"
#include "models/ort/vcs_info.hpp"

namespace brindle::models::ort {

// Where the source code of one package was found to come from, the
// repositories nested in it, and what went wrong on the way.  One result per
// package: in a set they are matched by `id`.
struct ProvenanceResolutionResult {
    Identifier id;
    std::optional<Provenance> package_provenance;
    OrderedMap<std::string, VcsInfo> sub_repositories;
    std::optional<Issue> package_provenance_resolution_issue;
    std::optional<Issue> nested_provenance_resolution_issue;

    friend bool operator==(const ProvenanceResolutionResult&, const ProvenanceResolutionResult&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::ProvenanceResolutionResult> {
    using T = ort::ProvenanceResolutionResult;
    static constexpr std::string_view name = "ProvenanceResolutionResult";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        required("id", &T::id),
        optional("package_provenance", &T::package_provenance),
        defaulted("sub_repositories", &T::sub_repositories),
        optional("package_provenance_resolution_issue", &T::package_provenance_resolution_issue),
        optional("nested_provenance_resolution_issue", &T::nested_provenance_resolution_issue),
    };
};

template <>
struct brindle::models::ElementIdentity<brindle::models::ort::ProvenanceResolutionResult> {
    static constexpr auto member = &ort::ProvenanceResolutionResult::id;
};
