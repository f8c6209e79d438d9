#pragma once

#include <string>

#include "models/collections.hpp"
#include "models/model.hpp"
#include "models/ort/provenance.hpp"
#include "models/ort/text_location.hpp"

namespace brindle::models::ort {

// A piece of known code that a stretch of the scanned tree matches: the
// score of the match, where the piece lies and where its code comes from,
// its package URL and license (as written) and free extra data.
struct Snippet {
    double score = 0;
    TextLocation location;
    Provenance provenance{std::monostate{}};
    std::string purl;
    std::string license;
    OrderedMap<std::string, std::string> additional_data;

    // Equal only when every field is (the provenance with its whole record):
    // the same package matched at two places is two snippets.  A NaN score
    // equals a NaN score.  Hashed over every field.
    friend bool operator==(const Snippet& a, const Snippet& b) {
        return same_number(a.score, b.score) && a.location == b.location && a.provenance == b.provenance &&
               a.purl == b.purl && a.license == b.license && a.additional_data == b.additional_data;
    }
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::Snippet> {
    using T = ort::Snippet;
    static constexpr std::string_view name = "Snippet";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        required("score", &T::score),
        required("location", &T::location),
        required("provenance", &T::provenance),
        required("purl", &T::purl),
        required("license", &T::license),
        defaulted("additional_data", &T::additional_data),
    };
};
