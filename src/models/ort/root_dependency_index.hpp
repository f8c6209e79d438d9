#pragma once

#include <cstdint>

#include "models/model.hpp"

namespace brindle::models::ort {

// Where a scope of a dependency graph starts: a root index and its fragment.
struct RootDependencyIndex {
    std::int64_t root = 0;
    std::int64_t fragment = 0;

    friend bool operator==(const RootDependencyIndex&, const RootDependencyIndex&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::RootDependencyIndex> {
    using T = ort::RootDependencyIndex;
    static constexpr std::string_view name = "RootDependencyIndex";
    static constexpr auto unknown_keys = UnknownKeys::skip;
    static constexpr auto fields = std::tuple{
        required("root", &T::root),
        defaulted("fragment", &T::fragment),
    };
};
