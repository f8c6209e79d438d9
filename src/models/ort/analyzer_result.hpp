#pragma once

#include <string>
#include <vector>

#include "models/collections.hpp"
#include "models/model.hpp"
#include "models/ort/dependency_graph.hpp"
#include "models/ort/identifier.hpp"
#include "models/ort/issue.hpp"
#include "models/ort/package.hpp"
#include "models/ort/project.hpp"

namespace brindle::models::ort {

// What an analyzer run found: projects and packages (each kept once per
// identifier, the first one read), the issues of each identifier, and the
// dependency graphs by name.
struct AnalyzerResult {
    OrderedSet<Project> projects;
    OrderedSet<Package> packages;
    OrderedMap<Identifier, std::vector<Issue>> issues;
    OrderedMap<std::string, DependencyGraph> dependency_graphs;

    friend bool operator==(const AnalyzerResult&, const AnalyzerResult&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::AnalyzerResult> {
    using T = ort::AnalyzerResult;
    static constexpr std::string_view name = "AnalyzerResult";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        required("projects", &T::projects),
        required("packages", &T::packages),
        defaulted("issues", &T::issues),
        defaulted("dependency_graphs", &T::dependency_graphs),
    };
};
