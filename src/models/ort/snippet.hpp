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

    // Equal only when every field is: the same package matched at two
    // places is two snippets.
    friend bool operator==(const Snippet&, const Snippet&) = default;
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

// Hashed by the package URL alone, which equal snippets share.
template <>
struct brindle::models::Hasher<brindle::models::ort::Snippet> {
    std::uint64_t operator()(const ort::Snippet& s) const { return hash_value(s.purl); }
};
