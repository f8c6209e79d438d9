#pragma once

#include "models/collections.hpp"
#include "models/model.hpp"
#include "models/ort/file_list_entry.hpp"
#include "models/ort/provenance.hpp"

namespace brindle::models::ort {

// The files of one scanned source.  One list per source: in a set they are
// matched by the provenance key.
struct FileList {
    Provenance provenance{std::monostate{}};
    OrderedSet<FileListEntry> files;

    friend bool operator==(const FileList&, const FileList&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::FileList> {
    using T = ort::FileList;
    static constexpr std::string_view name = "FileList";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        required("provenance", &T::provenance),
        required("files", &T::files),
    };
};

// In a set, file lists are told apart by the provenance key alone.
template <>
struct brindle::models::SameElement<brindle::models::ort::FileList> {
    bool operator()(const ort::FileList& a, const ort::FileList& b) const {
        return ort::same_provenance_key(a.provenance, b.provenance);
    }
};
template <>
struct brindle::models::Hasher<brindle::models::ort::FileList> {
    std::uint64_t operator()(const ort::FileList& l) const { return ort::hash_provenance_key(l.provenance); }
};
