#pragma once

#include <optional>

#include "models/model.hpp"
#include "models/ort/file_storage_configuration.hpp"
#include "models/ort/scan_storage_configuration.hpp"

namespace brindle::models::ort {

// The storage for the scanner's file lists: a file storage, a database, both or neither.
struct FileListStorageConfiguration {
    std::optional<FileStorageConfiguration> file_storage;
    std::optional<PostgresStorageConfiguration> postgres_storage;

    friend bool operator==(const FileListStorageConfiguration&, const FileListStorageConfiguration&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::FileListStorageConfiguration> {
    using T = ort::FileListStorageConfiguration;
    static constexpr std::string_view name = "FileListStorageConfiguration";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        optional("file_storage", &T::file_storage),
        optional("postgres_storage", &T::postgres_storage),
    };
};
