#pragma once

#include <string>

#include "models/model.hpp"

namespace brindle::models::ort {

// One file of a scanned source and its SHA-1, kept as the text given.  In a
// file list each path is there once.
struct FileListEntry {
    std::string path;
    std::string sha1;

    friend bool operator==(const FileListEntry&, const FileListEntry&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::FileListEntry> {
    using T = ort::FileListEntry;
    static constexpr std::string_view name = "FileListEntry";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        required("path", &T::path),
        required("sha1", &T::sha1),
    };
};

template <>
struct brindle::models::ElementIdentity<brindle::models::ort::FileListEntry> {
    static constexpr auto member = &ort::FileListEntry::path;
};
