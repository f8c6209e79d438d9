#pragma once

#include <string>
#include <vector>

#include "models/collections.hpp"
#include "models/model.hpp"
#include "models/ort/issue.hpp"
#include "models/ort/package_linkage.hpp"

namespace brindle::models::ort {

// One package used by a project, with the references of its own
// dependencies below it.  The identifier is kept as the text written; it is
// not split or checked.
struct PackageReference {
    std::string id;
    PackageLinkage linkage = PackageLinkage::DYNAMIC;
    OrderedSet<PackageReference> dependencies;
    std::vector<Issue> issues;

    friend bool operator==(const PackageReference&, const PackageReference&) = default;
};

}  // namespace brindle::models::ort

// In a set, references are told apart by their identifier text alone.
template <>
struct brindle::models::ElementIdentity<brindle::models::ort::PackageReference> {
    static constexpr auto member = &ort::PackageReference::id;
};

template <>
struct brindle::models::Model<brindle::models::ort::PackageReference> {
    using T = ort::PackageReference;
    static constexpr std::string_view name = "PackageReference";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        required("id", &T::id),
        // Written always, but left out by producers when it is DYNAMIC.
        defaulted("linkage", &T::linkage),
        defaulted("dependencies", &T::dependencies),
        defaulted("issues", &T::issues),
    };
};
