#pragma once

#include <cstdint>
#include <vector>

#include "models/collections.hpp"
#include "models/model.hpp"
#include "models/ort/issue.hpp"
#include "models/ort/package_linkage.hpp"

namespace brindle::models::ort {

// A scope root of a dependency graph, or a dependency below one: the
// package's index into the graph, its fragment, its linkage and issues, and
// the references of its own dependencies.  The numbers are kept as read.
struct DependencyReference {
    std::int64_t pkg = 0;
    std::int64_t fragment = 0;
    OrderedSet<DependencyReference> dependencies;
    PackageLinkage linkage = PackageLinkage::DYNAMIC;
    std::vector<Issue> issues;

    friend bool operator==(const DependencyReference&, const DependencyReference&) = default;
};

}  // namespace brindle::models::ort

// In a set, references are told apart by `pkg` and `fragment` together;
// their dependencies, linkage and issues take no part.
template <>
struct brindle::models::SameElement<brindle::models::ort::DependencyReference> {
    bool operator()(const ort::DependencyReference& a, const ort::DependencyReference& b) const {
        return a.pkg == b.pkg && a.fragment == b.fragment;
    }
};
template <>
struct brindle::models::Hasher<brindle::models::ort::DependencyReference> {
    std::uint64_t operator()(const ort::DependencyReference& r) const {
        return hash_combine(hash_value(r.pkg), hash_value(r.fragment));
    }
};

template <>
struct brindle::models::Model<brindle::models::ort::DependencyReference> {
    using T = ort::DependencyReference;
    static constexpr std::string_view name = "DependencyReference";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        // Written always, but producers leave out a `pkg` of 0 and empty `issues`.
        defaulted("pkg", &T::pkg),
        defaulted("fragment", &T::fragment),
        defaulted("dependencies", &T::dependencies),
        defaulted("linkage", &T::linkage),
        defaulted("issues", &T::issues),
    };
};
