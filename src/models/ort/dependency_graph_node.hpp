#pragma once

#include <cstdint>
#include <vector>

#include "models/model.hpp"
#include "models/ort/issue.hpp"
#include "models/ort/package_linkage.hpp"

namespace brindle::models::ort {

// One node of a dependency graph: its package's index, its fragment, linkage
// and issues.  The numbers are kept as read.
struct DependencyGraphNode {
    std::int64_t pkg = 0;
    std::int64_t fragment = 0;
    PackageLinkage linkage = PackageLinkage::DYNAMIC;
    std::vector<Issue> issues;

    friend bool operator==(const DependencyGraphNode&, const DependencyGraphNode&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::DependencyGraphNode> {
    using T = ort::DependencyGraphNode;
    static constexpr std::string_view name = "DependencyGraphNode";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        // Producers leave out a `pkg` of 0; files written back by earlier
        // readers hold `pkg: null` for it.
        defaulted_or_null("pkg", &T::pkg),
        defaulted("fragment", &T::fragment),
        defaulted("linkage", &T::linkage),
        defaulted("issues", &T::issues),
    };
};
