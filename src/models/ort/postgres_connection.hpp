#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "models/model.hpp"

namespace brindle::models::ort {

// How to reach a PostgreSQL database: server, schema, credentials, SSL
// settings and pool and timeout settings, held as given.
struct PostgresConnection {
    std::string url;
    std::string schema = "public";
    std::string username;
    std::string password;
    std::string sslmode = "verify-full";
    std::optional<std::string> sslcert;
    std::optional<std::string> sslkey;
    std::optional<std::string> sslrootcert;
    std::optional<std::int64_t> connection_timeout;
    std::optional<std::int64_t> idle_timeout;
    std::optional<std::int64_t> keepalive_time;
    std::optional<std::int64_t> max_lifetime;
    std::optional<std::int64_t> maximum_pool_size;
    std::optional<std::int64_t> minimum_idle;

    friend bool operator==(const PostgresConnection&, const PostgresConnection&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::PostgresConnection> {
    using T = ort::PostgresConnection;
    static constexpr std::string_view name = "PostgresConnection";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        required("url", &T::url),
        defaulted("schema", &T::schema),
        required("username", &T::username),
        defaulted("password", &T::password),
        defaulted("sslmode", &T::sslmode),
        optional("sslcert", &T::sslcert),
        optional("sslkey", &T::sslkey),
        optional("sslrootcert", &T::sslrootcert),
        optional("connection_timeout", &T::connection_timeout),
        optional("idle_timeout", &T::idle_timeout),
        optional("keepalive_time", &T::keepalive_time),
        optional("max_lifetime", &T::max_lifetime),
        optional("maximum_pool_size", &T::maximum_pool_size),
        optional("minimum_idle", &T::minimum_idle),
    };
};
