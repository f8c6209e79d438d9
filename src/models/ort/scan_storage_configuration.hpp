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

// Takes one key of a storage's mapping and its value into the content; a
// repeated key keeps its last value.
void read_scan_storage_entry(std::string_view key, Cursor& value, ScanStorageConfiguration& out);

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
    static constexpr auto unknown_keys = UnknownKeys::custom;
    static constexpr auto fields = std::tuple{};
    static constexpr auto content = &T::content;
    static void read_unknown(std::string_view key, Cursor& value, T& out) { ort::read_scan_storage_entry(key, value, out); }
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
