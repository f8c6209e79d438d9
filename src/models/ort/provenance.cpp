#include "models/ort/provenance.hpp"

namespace brindle::models::ort {

bool same_provenance_key(const Provenance& a, const Provenance& b) {
    if (a.index() != b.index()) return false;
    if (a.is_repository()) {
        const auto& x = std::get<RepositoryProvenance>(a);
        const auto& y = std::get<RepositoryProvenance>(b);
        return x.vcs_info.url == y.vcs_info.url && x.resolved_revision == y.resolved_revision;
    }
    if (a.is_artifact())
        return std::get<ArtifactProvenance>(a).source_artifact.url == std::get<ArtifactProvenance>(b).source_artifact.url;
    return true;
}

std::uint64_t hash_provenance_key(const Provenance& p) {
    std::uint64_t h = p.index();
    if (p.is_repository()) {
        const auto& r = std::get<RepositoryProvenance>(p);
        return hash_combine(hash_combine(h, hash_value(r.vcs_info.url)), hash_value(r.resolved_revision));
    }
    if (p.is_artifact()) return hash_combine(h, hash_value(std::get<ArtifactProvenance>(p).source_artifact.url));
    return h;
}

namespace {

// Reads `T` from the captured value, or nothing when it does not fit.
template <class T>
bool try_read(const Buffered& value, Provenance& out) {
    if (cannot_hold<T>(value)) return false;
    T record;
    try {
        read_buffered(value, record);
    } catch (const ReadError&) {
        return false;
    }
    out = std::move(record);
    return true;
}

}  // namespace

void read(Cursor& c, Provenance& out) {
    Buffered value = capture(c);
    if (try_read<RepositoryProvenance>(value, out) || try_read<ArtifactProvenance>(value, out)) return;
    if (!value.is_null()) throw ReadError("data did not match any variant of untagged enum Provenance");
    out = std::monostate{};
}

}  // namespace brindle::models::ort

std::uint64_t brindle::models::Hasher<brindle::models::ort::Provenance>::operator()(const ort::Provenance& p) const {
    std::uint64_t h = p.index();
    if (p.is_repository()) return hash_combine(h, hash_value(std::get<ort::RepositoryProvenance>(p)));
    if (p.is_artifact()) return hash_combine(h, hash_value(std::get<ort::ArtifactProvenance>(p)));
    return h;
}
