#pragma once

#include <string>
#include <vector>

#include "models/collections.hpp"
#include "models/model.hpp"
#include "models/ort/dependency_graph_edge.hpp"
#include "models/ort/dependency_graph_node.hpp"
#include "models/ort/dependency_reference.hpp"
#include "models/ort/identifier.hpp"
#include "models/ort/root_dependency_index.hpp"

namespace brindle::models::ort {

// The dependencies of the projects of one package manager as a graph: the
// packages it lists, the trees of references below each scope root, the
// scopes with their root indices, the nodes and the edges.  No index is
// resolved or checked against another.
struct DependencyGraph {
    std::vector<Identifier> packages;
    OrderedSet<DependencyReference> scope_roots;
    OrderedMap<std::string, std::vector<RootDependencyIndex>> scopes;
    std::vector<DependencyGraphNode> nodes;
    OrderedSet<DependencyGraphEdge> edges;

    friend bool operator==(const DependencyGraph&, const DependencyGraph&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::DependencyGraph> {
    using T = ort::DependencyGraph;
    static constexpr std::string_view name = "DependencyGraph";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        defaulted("packages", &T::packages),
        defaulted("scope_roots", &T::scope_roots),
        defaulted("scopes", &T::scopes),
        defaulted("nodes", &T::nodes),
        defaulted("edges", &T::edges),
    };
};
