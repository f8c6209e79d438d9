#include "models/collections.hpp"

#include <cstring>
#include <random>

namespace brindle::models {

namespace {

struct SipKey {
    std::uint64_t k0, k1;
};

const SipKey& process_key() {
    static const SipKey key = [] {
        std::random_device rd;
        auto word = [&] { return (static_cast<std::uint64_t>(rd()) << 32) | rd(); };
        return SipKey{word(), word()};
    }();
    return key;
}

inline std::uint64_t rotl(std::uint64_t x, int b) { return (x << b) | (x >> (64 - b)); }

inline void round(std::uint64_t& v0, std::uint64_t& v1, std::uint64_t& v2, std::uint64_t& v3) {
    v0 += v1; v1 = rotl(v1, 13); v1 ^= v0; v0 = rotl(v0, 32);
    v2 += v3; v3 = rotl(v3, 16); v3 ^= v2;
    v0 += v3; v3 = rotl(v3, 21); v3 ^= v0;
    v2 += v1; v1 = rotl(v1, 17); v1 ^= v2; v2 = rotl(v2, 32);
}

}  // namespace

std::uint64_t hash_bytes(const void* data, std::size_t size) noexcept {
    const SipKey& key = process_key();
    std::uint64_t v0 = 0x736f6d6570736575ULL ^ key.k0, v1 = 0x646f72616e646f6dULL ^ key.k1;
    std::uint64_t v2 = 0x6c7967656e657261ULL ^ key.k0, v3 = 0x7465646279746573ULL ^ key.k1;
    auto p = static_cast<const unsigned char*>(data);
    std::size_t whole = size & ~static_cast<std::size_t>(7);
    for (std::size_t i = 0; i < whole; i += 8) {
        std::uint64_t m;
        std::memcpy(&m, p + i, 8);
        v3 ^= m;
        round(v0, v1, v2, v3);
        v0 ^= m;
    }
    std::uint64_t last = static_cast<std::uint64_t>(size) << 56;
    for (std::size_t i = whole; i < size; ++i) last |= static_cast<std::uint64_t>(p[i]) << (8 * (i - whole));
    v3 ^= last;
    round(v0, v1, v2, v3);
    v0 ^= last;
    v2 ^= 0xff;
    round(v0, v1, v2, v3);
    round(v0, v1, v2, v3);
    round(v0, v1, v2, v3);
    return v0 ^ v1 ^ v2 ^ v3;
}

}  // namespace brindle::models
