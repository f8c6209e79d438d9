#pragma once

#include <string>

#include "models/collections.hpp"
#include "models/model.hpp"
#include "models/ort/package_reference.hpp"

namespace brindle::models::ort {

// A named group of a project's dependencies: the packages it uses directly.
struct Scope {
    std::string name;
    OrderedSet<PackageReference> dependencies;

    friend bool operator==(const Scope&, const Scope&) = default;
};

}  // namespace brindle::models::ort

// In a set, scopes are told apart by their name alone.
template <>
struct brindle::models::ElementIdentity<brindle::models::ort::Scope> {
    static constexpr auto member = &ort::Scope::name;
};

template <>
struct brindle::models::Model<brindle::models::ort::Scope> {
    using T = ort::Scope;
    static constexpr std::string_view name = "Scope";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        required("name", &T::name),
        defaulted("dependencies", &T::dependencies),
    };
};
