#pragma once

#include <optional>
#include <string>

#include "models/model.hpp"
#include "models/ort/hash.hpp"

namespace brindle::models::ort {

// An artifact given by its URL and, optionally, its hash.
struct RemoteArtifact {
    std::string url;
    std::optional<Hash> hash;

    friend bool operator==(const RemoteArtifact&, const RemoteArtifact&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::RemoteArtifact> {
    using T = ort::RemoteArtifact;
    static constexpr std::string_view name = "RemoteArtifact";
    static constexpr auto unknown_keys = UnknownKeys::skip;
    static constexpr auto fields = std::tuple{
        defaulted("url", &T::url),
        optional("hash", &T::hash),
    };
};
