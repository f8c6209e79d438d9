#pragma once

#include <string>

#include "models/model.hpp"

namespace brindle::models::ort {

// The provenance that snippet choices apply to, by its URL (held as text).
struct SnippetProvenance {
    std::string url;

    friend bool operator==(const SnippetProvenance&, const SnippetProvenance&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::SnippetProvenance> {
    using T = ort::SnippetProvenance;
    static constexpr std::string_view name = "SnippetProvenance";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        required("url", &T::url),
    };
};
