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

template <>
struct brindle::models::ElementIdentity<brindle::models::ort::FileList> {
    static constexpr auto member = &ort::FileList::provenance;
};
