#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "models/model.hpp"

namespace brindle::models::ort {

// The canonical name of an algorithm: "MD5", "SHA1", "SHA256", "SHA384",
// "SHA512", "SHA1GIT", or "UNKNOWN" for every text (compared exactly, no case
// folded) that names none of them.  Never fails.
std::string normalize_hash_algorithm(std::string_view text);

// A hash algorithm, held by its canonical name.
struct HashAlgorithm {
    std::string name;

    friend bool operator==(const HashAlgorithm&, const HashAlgorithm&) = default;
};

// Any scalar's text, normalised.
void read(Cursor& c, HashAlgorithm& out);

inline const std::string& text_of(const HashAlgorithm& a) { return a.name; }

// A hash value, kept as given, and its algorithm.
struct Hash {
    std::string value;
    HashAlgorithm algorithm;

    friend bool operator==(const Hash&, const Hash&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::Hash> {
    using T = ort::Hash;
    static constexpr std::string_view name = "Hash";
    static constexpr auto unknown_keys = UnknownKeys::skip;
    static constexpr auto fields = std::tuple{
        required("value", &T::value),
        required("algorithm", &T::algorithm),
    };
};
