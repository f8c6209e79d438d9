#pragma once

#include <optional>
#include <string>

#include "models/model.hpp"

namespace brindle::models::ort {

// A file storage in an S3 bucket.  The secret key is held as given.
struct S3FileStorageConfiguration {
    std::optional<std::string> access_key_id;
    std::optional<std::string> aws_region;
    std::string bucket_name;
    bool compression = false;
    std::optional<std::string> custom_endpoint;
    bool path_style_access = false;
    std::optional<std::string> secret_access_key;

    friend bool operator==(const S3FileStorageConfiguration&, const S3FileStorageConfiguration&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::S3FileStorageConfiguration> {
    using T = ort::S3FileStorageConfiguration;
    static constexpr std::string_view name = "S3FileStorageConfiguration";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        optional("access_key_id", &T::access_key_id),
        optional("aws_region", &T::aws_region),
        required("bucket_name", &T::bucket_name),
        defaulted("compression", &T::compression),
        optional("custom_endpoint", &T::custom_endpoint),
        defaulted("path_style_access", &T::path_style_access),
        optional("secret_access_key", &T::secret_access_key),
    };
};
