#pragma once

#include <string>

#include "models/model.hpp"

namespace brindle::models::ort {

// A file storage in a local directory.
struct LocalFileStorageConfiguration {
    std::string directory;
    bool compression = true;

    friend bool operator==(const LocalFileStorageConfiguration&, const LocalFileStorageConfiguration&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::LocalFileStorageConfiguration> {
    using T = ort::LocalFileStorageConfiguration;
    static constexpr std::string_view name = "LocalFileStorageConfiguration";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        required("directory", &T::directory),
        defaulted("compression", &T::compression),
    };
};
