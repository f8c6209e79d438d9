#pragma once

#include <optional>

#include "models/model.hpp"
#include "models/ort/http_file_storage_configuration.hpp"
#include "models/ort/local_file_storage_configuration.hpp"
#include "models/ort/s3_file_storage_configuration.hpp"

namespace brindle::models::ort {

// Where a file storage keeps its files; any of the three kinds, or none.
struct FileStorageConfiguration {
    std::optional<HttpFileStorageConfiguration> http_file_storage;
    std::optional<LocalFileStorageConfiguration> local_file_storage;
    std::optional<S3FileStorageConfiguration> s3_file_storage;

    friend bool operator==(const FileStorageConfiguration&, const FileStorageConfiguration&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::FileStorageConfiguration> {
    using T = ort::FileStorageConfiguration;
    static constexpr std::string_view name = "FileStorageConfiguration";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        optional("http_file_storage", &T::http_file_storage),
        optional("local_file_storage", &T::local_file_storage),
        optional("s3_file_storage", &T::s3_file_storage),
    };
};
