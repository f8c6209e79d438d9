#pragma once

#include <optional>
#include <string>

#include "models/model.hpp"
#include "models/ort/snippet_choice_reason.hpp"
#include "models/ort/text_location.hpp"

namespace brindle::models::ort {

// The place in the source code a snippet choice is about.
struct SnippetChoiceGiven {
    TextLocation source_location;

    friend bool operator==(const SnippetChoiceGiven&, const SnippetChoiceGiven&) = default;
};

// The choice made: the chosen snippet's package URL (plain text), if any.
struct SnippetChoiceCriteria {
    std::optional<std::string> purl;
    SnippetChoiceReason reason = SnippetChoiceReason::NO_RELEVANT_FINDING;
    std::optional<std::string> comment;

    friend bool operator==(const SnippetChoiceCriteria&, const SnippetChoiceCriteria&) = default;
};

struct SnippetChoice {
    SnippetChoiceGiven given;
    SnippetChoiceCriteria choice;

    friend bool operator==(const SnippetChoice&, const SnippetChoice&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::SnippetChoiceGiven> {
    using T = ort::SnippetChoiceGiven;
    static constexpr std::string_view name = "SnippetChoiceGiven";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        required("source_location", &T::source_location),
    };
};

template <>
struct brindle::models::Model<brindle::models::ort::SnippetChoiceCriteria> {
    using T = ort::SnippetChoiceCriteria;
    static constexpr std::string_view name = "SnippetChoiceCriteria";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        optional("purl", &T::purl),
        required("reason", &T::reason),
        optional("comment", &T::comment),
    };
};

template <>
struct brindle::models::Model<brindle::models::ort::SnippetChoice> {
    using T = ort::SnippetChoice;
    static constexpr std::string_view name = "SnippetChoice";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        required("given", &T::given),
        required("choice", &T::choice),
    };
};
