#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "models/json_value.hpp"
#include "models/model.hpp"
#include "models/ort/postgres_connection.hpp"
#include "models/yaml_value.hpp"

namespace brindle::models::ort {

// A named scan storage, kept as free-form settings: every key of its mapping
// is content.  It is written, and converted, as that content alone.
struct ScanStorageConfiguration {
    JsonValue content = JsonValue::object();

    friend bool operator==(const ScanStorageConfiguration&, const ScanStorageConfiguration&) = default;
};

// Reads a storage from a mapping, an alias to one, or an empty value.  Every
// value is captured first; the content is built once the mapping has been
// read, in input order, so a repeated key keeps its last value.  A nested key
// that is no text fails there, at the storage's own place.
void read(Cursor& c, ScanStorageConfiguration& out);

enum class StorageType : std::uint8_t { PACKAGE_BASED = 1, PROVENANCE_BASED };

// A storage in a PostgreSQL database.
struct PostgresStorageConfiguration {
    PostgresConnection connection;
    StorageType type = StorageType::PROVENANCE_BASED;

    friend bool operator==(const PostgresStorageConfiguration&, const PostgresStorageConfiguration&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::EnumInfo<brindle::models::ort::StorageType> {
    static constexpr std::string_view name = "StorageType";
    static constexpr std::array<std::string_view, 2> variants = {"PACKAGE_BASED", "PROVENANCE_BASED"};
};

template <>
struct brindle::models::Model<brindle::models::ort::ScanStorageConfiguration> {
    using T = ort::ScanStorageConfiguration;
    static constexpr std::string_view name = "ScanStorageConfiguration";
    // Every key is content; ort::read takes them all.
    static constexpr auto unknown_keys = UnknownKeys::custom;
    static constexpr auto fields = std::tuple{};
    static constexpr auto content = &T::content;
};

template <>
struct brindle::models::Model<brindle::models::ort::PostgresStorageConfiguration> {
    using T = ort::PostgresStorageConfiguration;
    static constexpr std::string_view name = "PostgresStorageConfiguration";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        required("connection", &T::connection),
        defaulted("type", &T::type),
    };
};
