#pragma once

#include <vector>

#include "models/model.hpp"
#include "models/ort/snippet_choice.hpp"
#include "models/ort/snippet_provenance.hpp"

namespace brindle::models::ort {

// The snippet choices made for the source code of one provenance.  Unlike
// the other lists of a configuration, `choices` must be given (it may be
// empty).
struct SnippetChoices {
    SnippetProvenance provenance;
    std::vector<SnippetChoice> choices;

    friend bool operator==(const SnippetChoices&, const SnippetChoices&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::SnippetChoices> {
    using T = ort::SnippetChoices;
    static constexpr std::string_view name = "SnippetChoices";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        required("provenance", &T::provenance),
        required("choices", &T::choices),
    };
};
