#pragma once

#include "models/collections.hpp"
#include "models/model.hpp"
#include "models/ort/snippet.hpp"
#include "models/ort/text_location.hpp"

namespace brindle::models::ort {

// A stretch of the scanned tree and the known code it matches.
struct SnippetFinding {
    TextLocation source_location;
    OrderedSet<Snippet> snippets;

    // Equal only when the stretch and its snippets are: two findings for the
    // same stretch with different matches are both kept.  Hashed over both.
    friend bool operator==(const SnippetFinding&, const SnippetFinding&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::SnippetFinding> {
    using T = ort::SnippetFinding;
    static constexpr std::string_view name = "SnippetFinding";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        required("source_location", &T::source_location),
        required("snippets", &T::snippets),
    };
};
