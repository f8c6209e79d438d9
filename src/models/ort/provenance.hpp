// Where scanned source code came from: a repository revision, a source
// artifact, or nothing known.  A provenance carries no tag; its kind follows
// from its content, tried as a repository, then as an artifact, then as null.
#pragma once

#include <cstdint>
#include <string>
#include <variant>

#include "models/buffered.hpp"
#include "models/ort/remote_artifact.hpp"
#include "models/ort/vcs_info.hpp"

namespace brindle::models::ort {

struct RepositoryProvenance {
    VcsInfo vcs_info;
    std::string resolved_revision;

    friend bool operator==(const RepositoryProvenance&, const RepositoryProvenance&) = default;
};

struct ArtifactProvenance {
    RemoteArtifact source_artifact;

    friend bool operator==(const ArtifactProvenance&, const ArtifactProvenance&) = default;
};

// One of the two records, or the unknown provenance (written as null).
struct Provenance : std::variant<RepositoryProvenance, ArtifactProvenance, std::monostate> {
    using variant::variant;

    bool is_repository() const noexcept { return index() == 0; }
    bool is_artifact() const noexcept { return index() == 1; }
    bool is_unknown() const noexcept { return index() == 2; }

    // Equal when of one kind with equal records, every field compared.
    friend bool operator==(const Provenance& a, const Provenance& b) {
        return static_cast<const variant&>(a) == static_cast<const variant&>(b);
    }
};

// The provenance key, which tells file lists apart: the kind and, for a
// repository, the url and resolved revision, for an artifact its url.  Two
// packages of one repository (other `vcs_info.path`) or one artifact url with
// other hashes share a key, but not a provenance.
bool same_provenance_key(const Provenance& a, const Provenance& b);
std::uint64_t hash_provenance_key(const Provenance& p);

void read(Cursor& c, Provenance& out);

// The texts inside a captured provenance follow the same rules as read
// directly: a version-control type is matched, an algorithm normalised.
inline void read_buffered(const Buffered& v, VcsType& out) {
    std::string text;
    read_buffered(v, text);
    out = match_vcs_type(std::move(text));
}
inline void read_buffered(const Buffered& v, HashAlgorithm& out) {
    std::string text;
    read_buffered(v, text);
    out.name = normalize_hash_algorithm(text);
}

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::RepositoryProvenance> {
    using T = ort::RepositoryProvenance;
    static constexpr std::string_view name = "RepositoryProvenance";
    static constexpr auto unknown_keys = UnknownKeys::skip;
    static constexpr auto fields = std::tuple{
        required("vcs_info", &T::vcs_info),
        required("resolved_revision", &T::resolved_revision),
    };
};

template <>
struct brindle::models::Model<brindle::models::ort::ArtifactProvenance> {
    using T = ort::ArtifactProvenance;
    static constexpr std::string_view name = "ArtifactProvenance";
    static constexpr auto unknown_keys = UnknownKeys::skip;
    static constexpr auto fields = std::tuple{
        required("source_artifact", &T::source_artifact),
    };
};

// The kind and every field of its record, as equality compares them.
template <>
struct brindle::models::Hasher<brindle::models::ort::Provenance> {
    std::uint64_t operator()(const ort::Provenance& p) const;
};
