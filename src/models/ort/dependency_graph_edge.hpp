#pragma once

#include <cstdint>

#include "models/model.hpp"

namespace brindle::models::ort {

// An edge of a dependency graph between two node indices, kept as read.
struct DependencyGraphEdge {
    std::int64_t from = 0;
    std::int64_t to = 0;

    friend bool operator==(const DependencyGraphEdge&, const DependencyGraphEdge&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::DependencyGraphEdge> {
    using T = ort::DependencyGraphEdge;
    static constexpr std::string_view name = "DependencyGraphEdge";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        required("from", &T::from),
        required("to", &T::to),
    };
};
