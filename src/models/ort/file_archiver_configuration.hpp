#pragma once

#include <optional>

#include "models/model.hpp"
#include "models/ort/file_storage_configuration.hpp"
#include "models/ort/scan_storage_configuration.hpp"

namespace brindle::models::ort {

// Whether scanned sources are archived, and the storages that take them.
struct FileArchiverConfiguration {
    bool enabled = true;
    std::optional<FileStorageConfiguration> file_storage;
    std::optional<PostgresStorageConfiguration> postgres_storage;

    friend bool operator==(const FileArchiverConfiguration&, const FileArchiverConfiguration&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::FileArchiverConfiguration> {
    using T = ort::FileArchiverConfiguration;
    static constexpr std::string_view name = "FileArchiverConfiguration";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        defaulted("enabled", &T::enabled),
        optional("file_storage", &T::file_storage),
        optional("postgres_storage", &T::postgres_storage),
    };
};
