#pragma once

#include <string>

#include "models/collections.hpp"
#include "models/model.hpp"

namespace brindle::models::ort {

// A file storage behind an HTTP endpoint.
struct HttpFileStorageConfiguration {
    std::string url;
    std::string query;
    OrderedMap<std::string, std::string> headers;

    friend bool operator==(const HttpFileStorageConfiguration&, const HttpFileStorageConfiguration&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::HttpFileStorageConfiguration> {
    using T = ort::HttpFileStorageConfiguration;
    static constexpr std::string_view name = "HttpFileStorageConfiguration";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        required("url", &T::url),
        defaulted("query", &T::query),
        defaulted("headers", &T::headers),
    };
};
