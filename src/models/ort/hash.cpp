#include "models/ort/hash.hpp"

#include <array>

namespace brindle::models::ort {

namespace {

struct Algorithm {
    std::string_view accepted;
    std::string_view name;
};

constexpr std::array<Algorithm, 13> algorithms = {{
    {"MD5", "MD5"},
    {"SHA-1", "SHA1"},
    {"SHA1", "SHA1"},
    {"SHA-256", "SHA256"},
    {"SHA256", "SHA256"},
    {"SHA-384", "SHA384"},
    {"SHA384", "SHA384"},
    {"SHA-512", "SHA512"},
    {"SHA512", "SHA512"},
    {"SHA-1-GIT", "SHA1GIT"},
    {"SHA1-GIT", "SHA1GIT"},
    {"SHA1GIT", "SHA1GIT"},
    {"SWHID", "SHA1GIT"},
}};

}  // namespace

std::string normalize_hash_algorithm(std::string_view text) {
    for (const Algorithm& a : algorithms)
        if (a.accepted == text) return std::string(a.name);
    return "UNKNOWN";
}

void read(Cursor& c, HashAlgorithm& out) {
    std::string text;
    read(c, text);
    out.name = normalize_hash_algorithm(text);
}

}  // namespace brindle::models::ort
