#pragma once

#include <optional>
#include <string>

#include "models/collections.hpp"
#include "models/model.hpp"
#include "models/ort/identifier.hpp"
#include "models/ort/processed_declared_license.hpp"
#include "models/ort/scope.hpp"
#include "models/ort/vcs_info.hpp"

namespace brindle::models::ort {

// A project found in the repository: where it is defined, its declared
// metadata with the processed forms, and its dependency scopes.
struct Project {
    Identifier id;
    std::optional<std::string> cpe;
    std::string definition_file_path;
    OrderedSet<std::string> authors;
    OrderedSet<std::string> declared_licenses;
    ProcessedDeclaredLicense declared_licenses_processed;
    VcsInfo vcs;
    VcsInfo vcs_processed;
    std::string description;
    std::string homepage_url;
    OrderedSet<Scope> scopes;
    std::optional<OrderedSet<std::string>> scope_names;

    friend bool operator==(const Project&, const Project&) = default;
};

}  // namespace brindle::models::ort

// In a set, projects are told apart by their identifier alone.
template <>
struct brindle::models::ElementIdentity<brindle::models::ort::Project> {
    static constexpr auto member = &ort::Project::id;
};

template <>
struct brindle::models::Model<brindle::models::ort::Project> {
    using T = ort::Project;
    static constexpr std::string_view name = "Project";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        required("id", &T::id),
        optional("cpe", &T::cpe),
        required("definition_file_path", &T::definition_file_path),
        defaulted("authors", &T::authors),
        required("declared_licenses", &T::declared_licenses),
        required("declared_licenses_processed", &T::declared_licenses_processed),
        required("vcs", &T::vcs),
        required("vcs_processed", &T::vcs_processed),
        defaulted("description", &T::description),
        required("homepage_url", &T::homepage_url),
        defaulted("scopes", &T::scopes),
        optional("scope_names", &T::scope_names),
    };
};
