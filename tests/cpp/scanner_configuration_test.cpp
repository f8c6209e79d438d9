// The scanner configuration and its storage configurations.
#include "models/json_writer.hpp"
#include "models/ort/scanner_configuration.hpp"
#include "models/write.hpp"
#include "models/yaml_writer.hpp"
#include "test_util.hpp"

using namespace brindle::models;
using brindle::models::ort::ScannerConfiguration;
using brindle::test::read_error;
using brindle::test::read_ok;
using brindle::test::json;
using brindle::test::yaml;

namespace {

struct Case {
    const char* input;
    const char* expected;  // JSON text, or the error text
};

// A configuration read from `input` written back as JSON, or the error text.
std::string json_or_error(const char* input) {
    ScannerConfiguration c;
    std::string err = read_error<ScannerConfiguration>(input, &c);
    return err.empty() ? json(c) : err;
}

// The JSON of a configuration that holds only what `members` says, the
// other fields at their defaults.
std::string config_json(const std::string& members) {
    return "{\n  \"skip_concluded\": false,\n  \"skip_excluded\": false,\n  \"include_files_without_findings\": false,\n"
           "  \"archive\": null,\n  \"detected_license_mapping\": {},\n  \"file_list_storage\": null,\n"
           "  \"scanners\": null,\n  \"storages\": null,\n  \"storage_readers\": null,\n  \"storage_writers\": null,\n"
           "  \"ignore_patterns\": [],\n  \"provenance_storage\": null" +
           members + "\n}";
}

// The JSON of one field of the configuration read from `input`, or the error text.
template <class M>
std::string field_json(const char* input, M ScannerConfiguration::*member) {
    ScannerConfiguration c;
    std::string err = read_error<ScannerConfiguration>(input, &c);
    return err.empty() ? json(c.*member) : err;
}

void expect_cases(std::initializer_list<Case> cases, std::string (*run)(const char*)) {
    for (const auto& k : cases) EXPECT_EQ(run(k.input), k.expected) << k.input;
}

const char* const twelve_names =
    "expected one of `skip_concluded`, `skip_excluded`, `include_files_without_findings`, `archive`, "
    "`detected_license_mapping`, `file_list_storage`, `scanners`, `storages`, `storage_readers`, "
    "`storage_writers`, `ignore_patterns`, `provenance_storage`";

TEST(ScannerConfiguration, Defaults) {
    EXPECT_EQ(json_or_error("{}"), config_json(""));
    EXPECT_EQ(json_or_error(""), config_json(""));
    EXPECT_EQ(yaml(ScannerConfiguration{}),
              "skip_concluded: false\nskip_excluded: false\ninclude_files_without_findings: false\narchive: null\n"
              "detected_license_mapping: {}\nfile_list_storage: null\nscanners: null\nstorages: null\n"
              "storage_readers: null\nstorage_writers: null\nignore_patterns: []\nprovenance_storage: null\n");
}

TEST(ScannerConfiguration, Fields) {
    auto c = read_ok<ScannerConfiguration>(
        "skip_concluded: True\nskip_excluded: false\ninclude_files_without_findings: TRUE\n"
        "detected_license_mapping: {LicenseRef-a: MIT, LicenseRef-a: Apache-2.0, b: c}\n"
        "storage_readers: [x, y, x]\nstorage_writers: []\nignore_patterns: ['**/.git', '**/.git']\n");
    EXPECT_TRUE(c.skip_concluded);
    EXPECT_FALSE(c.skip_excluded);
    EXPECT_TRUE(c.include_files_without_findings);
    EXPECT_EQ(json(c.detected_license_mapping), "{\n  \"LicenseRef-a\": \"Apache-2.0\",\n  \"b\": \"c\"\n}");
    EXPECT_EQ(c.storage_readers, (std::optional<std::vector<std::string>>{{"x", "y", "x"}}));
    EXPECT_EQ(json(c.storage_writers), "[]");
    EXPECT_EQ(c.ignore_patterns, (std::vector<std::string>{"**/.git", "**/.git"}));

    const std::pair<const char*, const char*> scanners[] = {
        {"scanners: null", "null"},
        {"scanners: ~", "null"},
        {"scanners:", "null"},
        {"scanners: {}", "{}"},
        {"scanners: {X: {b: 1, a: [1e16, 3.0, '42', 007, 0x1F, .inf, 1e400, inf, !!str 12, !!int '12']}}",
         "{\n  \"X\": {\n    \"a\": [\n      1e+16,\n      3.0,\n      \"42\",\n      \"007\",\n      31,\n"
         "      null,\n      \"1e400\",\n      \"inf\",\n      \"12\",\n      12\n    ],\n    \"b\": 1\n  }\n}"},
        {"scanners: {X: {a: {1: x}}}", "{\n  \"X\": {\n    \"a\": {\n      \"1\": \"x\"\n    }\n  }\n}"},
        {"scanners: {X: 18446744073709551616}", "scanners.X: JSON number out of range at line 1 column 15"},
        {"scanners: {X: {n: [1234567890123456789012345678901234567890]}}",
         "scanners.X.n[0]: JSON number out of range at line 1 column 20"},
        {"scanners: {X: !custom value}",
         "scanners.X: invalid type: enum, expected any valid JSON value at line 1 column 15"},
    };
    for (const auto& [input, expected] : scanners)
        EXPECT_EQ(field_json(input, &ScannerConfiguration::scanners), expected) << input;
    EXPECT_EQ(field_json("ignore_patterns:", &ScannerConfiguration::ignore_patterns), "[]");
}

TEST(ScannerConfiguration, Errors) {
    expect_cases(
        {
            {"skip_concluded: yes", "skip_concluded: invalid type: string \"yes\", expected a boolean at line 1 column 17"},
            {"ignore_patterns: null",
             "ignore_patterns: invalid type: unit value, expected a sequence at line 1 column 18"},
            {"detected_license_mapping: null",
             "detected_license_mapping: invalid type: unit value, expected a map at line 1 column 27"},
            {"archive: ~\narchive: {}", "duplicate field `archive`"},
            {"[]", "invalid type: sequence, expected struct ScannerConfiguration"},
        },
        json_or_error);
    EXPECT_EQ(json_or_error("scanner: {}"), std::string("unknown field `scanner`, ") + twelve_names);
}

std::string storages_json(const char* input) { return field_json(input, &ScannerConfiguration::storages); }

TEST(ScanStorageConfiguration, Content) {
    expect_cases(
        {
            {"storages:\n  s:\n", "{\n  \"s\": {}\n}"},
            {"storages:\n  s:\n    b: 1\n    a: x\n    B: 2\n    a: y\n",
             "{\n  \"s\": {\n    \"B\": 2,\n    \"a\": \"y\",\n    \"b\": 1\n  }\n}"},
            {"storages: {s: {1: a, true: b, ~: c}}",
             "{\n  \"s\": {\n    \"1\": \"a\",\n    \"true\": \"b\",\n    \"~\": \"c\"\n  }\n}"},
            {"storages: {s: {v: [42, '42', 007, 0x1F, .inf, .nan, 1e400, inf, !!str 12, !!int '12', 1e16, 3.0]}}",
             "{\n  \"s\": {\n    \"v\": [\n      42,\n      \"42\",\n      \"007\",\n      31,\n      null,\n"
             "      null,\n      \"1e400\",\n      \"inf\",\n      \"12\",\n      12,\n      1e+16,\n      3.0\n"
             "    ]\n  }\n}"},
            {"storages:\n  s: &a {k: v}\n  t: *a\n",
             "{\n  \"s\": {\n    \"k\": \"v\"\n  },\n  \"t\": {\n    \"k\": \"v\"\n  }\n}"},
            {"storages:\n  s: ~\n",
             "storages.s: invalid type: unit value, expected struct ScanStorageConfiguration at line 2 column 6"},
            {"storages:\n  s: [a]\n",
             "storages.s: invalid type: sequence, expected struct ScanStorageConfiguration at line 2 column 6"},
            {"storages:\n  s: ''\n",
             "storages.s: invalid type: string \"\", expected struct ScanStorageConfiguration at line 2 column 6"},
            {"storages:\n  s:\n    [k]: v\n",
             "storages.s: invalid type: sequence, expected field identifier at line 3 column 5"},
            {"storages:\n  s:\n    a: 1\n    n: {1: x}\n",
             "storages.s: invalid type: integer `1`, expected a string key at line 3 column 5"},
            {"storages:\n  s:\n    n: {a: x, 1: x}\n",
             "storages.s: invalid type: integer `1`, expected a string at line 3 column 5"},
            {"storages:\n  s:\n    n: 18446744073709551616\n",
             "storages.s.n: invalid type: integer `18446744073709551616` as u128, expected any value at line 3 column 8"},
            // Longer integers fail in the same words, instead of losing their digits as floats.
            {"storages:\n  s:\n    n: [+1234567890123456789012345678901234567890]\n",
             "storages.s.n[0]: invalid type: integer `1234567890123456789012345678901234567890` as u128, expected any "
             "value at line 3 column 9"},
            {"storages:\n  s:\n    n: {m: -1234567890123456789012345678901234567890}\n",
             "storages.s.n.m: invalid type: integer `-1234567890123456789012345678901234567890` as i128, expected any "
             "value at line 3 column 12"},
            {"storages:\n  s:\n    n: '1234567890123456789012345678901234567890'\n",
             "{\n  \"s\": {\n    \"n\": \"1234567890123456789012345678901234567890\"\n  }\n}"},
            // Every value is captured before the content is built.
            {"storages:\n  s:\n    a: {1: x}\n    n: !custom value\n",
             "storages.s.n: untagged and internally tagged enums do not support enum input at line 4 column 8"},
            {"storages:\n  s:\n    n: !custom value\n",
             "storages.s.n: untagged and internally tagged enums do not support enum input at line 3 column 8"},
        },
        storages_json);
    // Large contents with their keys in descending order, at the top and
    // nested, are sorted once, the last of a repeated key kept.
    std::string many;
    for (int i = 99999; i >= 0; --i) many += "k" + std::to_string(100000 + i) + ": " + std::to_string(i) + ", ";
    auto large = read_ok<ScannerConfiguration>("storages:\n  s: {" + many + "k100000: last, n: {" + many + "}}\n");
    const auto& top = std::get<JsonValue::Object>(large.storages->find("s")->content.value);
    ASSERT_EQ(top.size(), 100001u);
    EXPECT_EQ(top.front(), (std::pair<std::string, JsonValue>{"k100000", JsonValue::text("last")}));
    const auto& nested = std::get<JsonValue::Object>(top.back().second.value);
    ASSERT_EQ(nested.size(), 100000u);
    EXPECT_EQ(nested.back(), (std::pair<std::string, JsonValue>{"k199999", JsonValue::number(std::uint64_t{99999})}));
    // Written as its content in YAML too.
    auto c = read_ok<ScannerConfiguration>("storages:\n  s: {b: 1e16, a: [], B: {}, c: 3.0}\n  t:\n");
    EXPECT_EQ(yaml(*c.storages), "s:\n  B: {}\n  a: []\n  b: 1e16\n  c: 3.0\nt: {}\n");
}

TEST(ScanStorageConfiguration, ContentThatIsNoMapping) {
    ort::ScanStorageConfiguration s;
    s.content = JsonValue::null();
    EXPECT_EQ(json(s), "{}");
    EXPECT_EQ(yaml(s), "{}\n");
    const std::pair<JsonValue, const char*> kinds[] = {
        {JsonValue::boolean(true), "a boolean"},   {JsonValue::number(std::int64_t{-1}), "an integer"},
        {JsonValue::number(1.5), "a float"},       {JsonValue::text("x"), "a string"},
        {JsonValue::array(), "a sequence"},
    };
    for (const auto& [content, kind] : kinds) {
        s.content = content;
        try {
            json(s);
            ADD_FAILURE() << kind;
        } catch (const ReadError& e) {
            EXPECT_EQ(e.text(), std::string("can only flatten structs and maps (got ") + kind + ")");
        }
    }
}

std::string archive_json(const char* input) { return field_json(input, &ScannerConfiguration::archive); }

// An archive configuration whose PostgreSQL storage has `connection` and `type`.
std::string postgres_archive(const char* connection, const char* type = "") {
    return std::string("archive:\n  postgres_storage:\n    connection: ") + connection + "\n" + type;
}

TEST(PostgresStorageConfiguration, Defaults) {
    auto c = read_ok<ScannerConfiguration>(postgres_archive("{url: 'jdbc:postgresql://db/scans', username: ort}"));
    const std::string connection =
        "{\n      \"url\": \"jdbc:postgresql://db/scans\",\n      \"schema\": \"public\",\n"
        "      \"username\": \"ort\",\n      \"password\": \"\",\n      \"sslmode\": \"verify-full\",\n"
        "      \"sslcert\": null,\n      \"sslkey\": null,\n      \"sslrootcert\": null,\n"
        "      \"connection_timeout\": null,\n      \"idle_timeout\": null,\n      \"keepalive_time\": null,\n"
        "      \"max_lifetime\": null,\n      \"maximum_pool_size\": null,\n      \"minimum_idle\": null\n    }";
    EXPECT_EQ(json(c.archive), "{\n  \"enabled\": true,\n  \"file_storage\": null,\n  \"postgres_storage\": {\n"
                               "    \"connection\": " + connection + ",\n    \"type\": \"PROVENANCE_BASED\"\n  }\n}");
    EXPECT_EQ(yaml(c.archive->postgres_storage),
              "connection:\n  url: jdbc:postgresql://db/scans\n  schema: public\n  username: ort\n  password: ''\n"
              "  sslmode: verify-full\n  sslcert: null\n  sslkey: null\n  sslrootcert: null\n"
              "  connection_timeout: null\n  idle_timeout: null\n  keepalive_time: null\n  max_lifetime: null\n"
              "  maximum_pool_size: null\n  minimum_idle: null\ntype: PROVENANCE_BASED\n");
}

TEST(PostgresStorageConfiguration, Fields) {
    auto c = read_ok<ScannerConfiguration>(postgres_archive(
        "\n      url: u\n      username: n\n      schema:\n      sslmode: ~\n      sslcert: ~\n"
        "      password: secret\n      idle_timeout: null\n      max_lifetime: 600\n      minimum_idle: -1\n"));
    const ort::PostgresConnection& k = c.archive->postgres_storage->connection;
    EXPECT_EQ(k.schema, "");
    EXPECT_EQ(k.sslmode, "~");
    EXPECT_EQ(k.password, "secret");
    EXPECT_FALSE(k.sslcert.has_value());
    EXPECT_FALSE(k.idle_timeout.has_value());
    EXPECT_EQ(k.max_lifetime, std::optional<std::int64_t>(600));
    EXPECT_EQ(k.minimum_idle, std::optional<std::int64_t>(-1));
}

TEST(PostgresStorageConfiguration, Types) {
    using ort::StorageType;
    const std::pair<const char*, const char*> cases[] = {
        {"1", "PACKAGE_BASED"},
        {"2", "PROVENANCE_BASED"},
        {"PACKAGE_BASED", "PACKAGE_BASED"},
        {"'1'", "invalid StorageType value: 1"},
        {"3", "invalid StorageType value: 3"},
        {"0", "invalid StorageType value: 0"},
        {"1.0", "invalid StorageType value: 1.0"},
        {"package_based", "invalid StorageType value: package_based"},
        {"", "invalid StorageType value: Null"},
        {"~", "invalid StorageType value: Null"},
        {"true", "invalid StorageType value: Bool(true)"},
    };
    for (const auto& [type, expected] : cases) {
        std::string input = postgres_archive("{url: u, username: n}", "    type: ") + type + "\n";
        ScannerConfiguration c;
        std::string err = read_error<ScannerConfiguration>(input, &c);
        // The error is placed at the storage, not at its type.
        std::string got = err.empty() ? std::string(enum_name(c.archive->postgres_storage->type)) : err;
        std::string want = expected;
        if (want.starts_with("invalid")) want = "archive.postgres_storage: " + want + " at line 3 column 5";
        EXPECT_EQ(got, want) << input;
    }
}

TEST(PostgresStorageConfiguration, Errors) {
    expect_cases(
        {
            {"archive:\n  postgres_storage:\n    connection: {}\n",
             "archive.postgres_storage.connection: missing field `url` at line 3 column 17"},
            {"archive:\n  postgres_storage:\n    connection: {url: u}\n",
             "archive.postgres_storage.connection: missing field `username` at line 3 column 17"},
            {"archive:\n  postgres_storage:\n    connection:\n",
             "archive.postgres_storage.connection: missing field `url` at line 3 column 16"},
            {"archive:\n  postgres_storage:\n    type: 1\n",
             "archive.postgres_storage: missing field `connection` at line 3 column 5"},
            {"archive:\n  postgres_storage: [x]\n",
             "archive.postgres_storage: invalid type: sequence, expected struct PostgresStorageConfiguration at line 2 "
             "column 21"},
            {"archive:\n  postgres_storage:\n    connection: {url: u, username: n, idle_timeout: '30'}\n",
             "archive.postgres_storage.connection.idle_timeout: invalid type: string \"30\", expected i64 at line 3 "
             "column 53"},
            {"archive:\n  postgres_storage:\n    connection: {url: u, username: n, url: v}\n",
             "archive.postgres_storage.connection: duplicate field `url` at line 3 column 17"},
            {"archive:\n  postgres_storage:\n    connection: {url: u, username: n}\n    tpye: 1\n",
             "archive.postgres_storage: unknown field `tpye`, expected `connection` or `type` at line 4 column 5"},
            {"archive:\n  postgres_storage:\n    connection: {url: u, username: n, port: 5432}\n",
             "archive.postgres_storage.connection: unknown field `port`, expected one of `url`, `schema`, `username`, "
             "`password`, `sslmode`, `sslcert`, `sslkey`, `sslrootcert`, `connection_timeout`, `idle_timeout`, "
             "`keepalive_time`, `max_lifetime`, `maximum_pool_size`, `minimum_idle` at line 3 column 39"},
        },
        archive_json);
}

TEST(FileArchiverConfiguration, Reading) {
    expect_cases(
        {
            {"archive:", "null"},
            {"archive: {}", "{\n  \"enabled\": true,\n  \"file_storage\": null,\n  \"postgres_storage\": null\n}"},
            {"archive: {enabled: false, file_storage: null}",
             "{\n  \"enabled\": false,\n  \"file_storage\": null,\n  \"postgres_storage\": null\n}"},
            {"archive:\n  file_storage: {local_file_storage: {directory: /tmp/a}}\n"
             "  postgres_storage: {connection: {url: u, username: n}, type: PACKAGE_BASED}\n",
             ""},
            {"archive: {enabled: }",
             "archive.enabled: invalid type: unit value, expected a boolean at line 1 column 20"},
            {"archive: {enabled: ~}",
             "archive.enabled: invalid type: unit value, expected a boolean at line 1 column 20"},
            {"archive: {file_storage: ~, file_storage: {}}",
             "archive: duplicate field `file_storage` at line 1 column 10"},
            {"archive: {storage: {}}",
             "archive: unknown field `storage`, expected one of `enabled`, `file_storage`, `postgres_storage` at line 1 "
             "column 11"},
            {"archive: [x]",
             "archive: invalid type: sequence, expected struct FileArchiverConfiguration at line 1 column 10"},
        },
        +[](const char* input) -> std::string {
            std::string out = archive_json(input);
            // Both storages present: only whether both were kept.
            if (out.starts_with("{") && std::string_view(input).find("PACKAGE_BASED") != std::string_view::npos) {
                auto c = read_ok<ScannerConfiguration>(input);
                return c.archive->file_storage && c.archive->postgres_storage ? "" : out;
            }
            return out;
        });
    auto c = read_ok<ScannerConfiguration>("archive: {enabled: false}");
    EXPECT_EQ(yaml(c.archive), "enabled: false\nfile_storage: null\npostgres_storage: null\n");
}

std::string file_storage_json(const char* input) {
    ScannerConfiguration c;
    std::string err = read_error<ScannerConfiguration>(std::string("archive:\n  file_storage:") + input, &c);
    return err.empty() ? json(c.archive->file_storage) : err;
}

TEST(FileStorageConfiguration, Reading) {
    expect_cases(
        {
            {"", "null"},
            {" ~", "null"},
            {" {}",
             "{\n  \"http_file_storage\": null,\n  \"local_file_storage\": null,\n  \"s3_file_storage\": null\n}"},
            {" {local_file_storage: }",
             "{\n  \"http_file_storage\": null,\n  \"local_file_storage\": null,\n  \"s3_file_storage\": null\n}"},
            {" {local_file_storage: {directory: d}}",
             "{\n  \"http_file_storage\": null,\n  \"local_file_storage\": {\n    \"directory\": \"d\",\n"
             "    \"compression\": true\n  },\n  \"s3_file_storage\": null\n}"},
            {" {s3_file_storage: {bucket_name: b}}",
             "{\n  \"http_file_storage\": null,\n  \"local_file_storage\": null,\n  \"s3_file_storage\": {\n"
             "    \"access_key_id\": null,\n    \"aws_region\": null,\n    \"bucket_name\": \"b\",\n"
             "    \"compression\": false,\n    \"custom_endpoint\": null,\n    \"path_style_access\": false,\n"
             "    \"secret_access_key\": null\n  }\n}"},
            {"\n    http_file_storage: {url: 'https://h', query: null, headers: {A: '1', A: '2', B: x}}\n"
             "    local_file_storage: {directory: ~, compression: TRUE}\n"
             "    s3_file_storage: {bucket_name: b, secret_access_key: s, compression: true}\n",
             "{\n  \"http_file_storage\": {\n    \"url\": \"https://h\",\n    \"query\": \"null\",\n"
             "    \"headers\": {\n      \"A\": \"2\",\n      \"B\": \"x\"\n    }\n  },\n"
             "  \"local_file_storage\": {\n    \"directory\": \"~\",\n    \"compression\": true\n  },\n"
             "  \"s3_file_storage\": {\n    \"access_key_id\": null,\n    \"aws_region\": null,\n"
             "    \"bucket_name\": \"b\",\n    \"compression\": true,\n    \"custom_endpoint\": null,\n"
             "    \"path_style_access\": false,\n    \"secret_access_key\": \"s\"\n  }\n}"},
            {" {http_file_storage: {url: u, headers: }}",
             "{\n  \"http_file_storage\": {\n    \"url\": \"u\",\n    \"query\": \"\",\n    \"headers\": {}\n"
             "  },\n  \"local_file_storage\": null,\n  \"s3_file_storage\": null\n}"},
            {" {local_file_storage: {directory: }}",
             "{\n  \"http_file_storage\": null,\n  \"local_file_storage\": {\n    \"directory\": \"\",\n"
             "    \"compression\": true\n  },\n  \"s3_file_storage\": null\n}"},
        },
        file_storage_json);
}

TEST(FileStorageConfiguration, Errors) {
    expect_cases(
        {
            {" {local_file_storage: {}}",
             "archive.file_storage.local_file_storage: missing field `directory` at line 2 column 38"},
            {" {http_file_storage: {}}",
             "archive.file_storage.http_file_storage: missing field `url` at line 2 column 37"},
            {" {s3_file_storage: {}}",
             "archive.file_storage.s3_file_storage: missing field `bucket_name` at line 2 column 35"},
            {" {http_file_storage: {url: u, headers: ~}}",
             "archive.file_storage.http_file_storage.headers: invalid type: unit value, expected a map at line 2 "
             "column 55"},
            {" {local_file_storage: {directory: [d]}}",
             "archive.file_storage.local_file_storage.directory: invalid type: sequence, expected a string at line 2 "
             "column 50"},
            {" {s3_file_storage: {bucket_name: b, path_style_access: yes}}",
             "archive.file_storage.s3_file_storage.path_style_access: invalid type: string \"yes\", expected a boolean "
             "at line 2 column 71"},
            {" {local_file_storage: {directory: d, compression: \"true\"}}",
             "archive.file_storage.local_file_storage.compression: invalid type: string \"true\", expected a boolean "
             "at line 2 column 66"},
            {" {local_file_storage: {Directory: d}}",
             "archive.file_storage.local_file_storage: unknown field `Directory`, expected `directory` or "
             "`compression` at line 2 column 39"},
            {" {s3_file_storage: {bucket: b}}",
             "archive.file_storage.s3_file_storage: unknown field `bucket`, expected one of `access_key_id`, "
             "`aws_region`, `bucket_name`, `compression`, `custom_endpoint`, `path_style_access`, "
             "`secret_access_key` at line 2 column 36"},
            {" {http_file_storage: ~, http_file_storage: {url: u}}",
             "archive.file_storage: duplicate field `http_file_storage` at line 2 column 17"},
            {" {s3_file_storage: [b]}",
             "archive.file_storage.s3_file_storage: invalid type: sequence, expected struct S3FileStorageConfiguration "
             "at line 2 column 35"},
            {" [x]", "archive.file_storage: invalid type: sequence, expected struct FileStorageConfiguration at line 2 "
                     "column 17"},
        },
        file_storage_json);
}

TEST(FileListAndProvenanceStorage, Reading) {
    // The same members under either key are written alike.
    for (const char* key : {"file_list_storage", "provenance_storage"}) {
        auto json_of = [&](const std::string& value) {
            ScannerConfiguration c;
            std::string err = read_error<ScannerConfiguration>(std::string(key) + ":" + value, &c);
            if (!err.empty()) return err;
            return c.file_list_storage ? json(c.file_list_storage) : json(c.provenance_storage);
        };
        const std::string both_none = "{\n  \"file_storage\": null,\n  \"postgres_storage\": null\n}";
        EXPECT_EQ(json_of(""), "null") << key;
        EXPECT_EQ(json_of(" {}"), both_none) << key;
        EXPECT_EQ(json_of(" {file_storage: , postgres_storage: ~}"), both_none) << key;
        EXPECT_EQ(json_of(" {file_storage: {}, postgres_storage: {connection: {url: u, username: n}}}").substr(0, 40),
                  "{\n  \"file_storage\": {\n    \"http_file_sto")
            << key;
        EXPECT_EQ(json_of(" {file_storages: {}}"),
                  std::string(key) + ": unknown field `file_storages`, expected `file_storage` or `postgres_storage` "
                                     "at line 1 column " + std::to_string(std::string_view(key).size() + 4));
        EXPECT_EQ(json_of(" {postgres_storage: , postgres_storage: ~}"),
                  std::string(key) + ": duplicate field `postgres_storage` at line 1 column " +
                      std::to_string(std::string_view(key).size() + 3));
    }
    EXPECT_EQ(json_or_error("file_list_storage: [x]"),
              "file_list_storage: invalid type: sequence, expected struct FileListStorageConfiguration at line 1 column 20");
    EXPECT_EQ(json_or_error("provenance_storage: [x]"),
              "provenance_storage: invalid type: sequence, expected struct ProvenanceStorageConfiguration at line 1 "
              "column 21");
    auto c = read_ok<ScannerConfiguration>("provenance_storage: {file_storage: {local_file_storage: {directory: d}}}");
    EXPECT_EQ(yaml(c.provenance_storage),
              "file_storage:\n  http_file_storage: null\n  local_file_storage:\n    directory: d\n    compression: true\n"
              "  s3_file_storage: null\npostgres_storage: null\n");
}

// Configurations as real result files record them; the older forms fail.
TEST(ScannerConfiguration, RealConfigurations) {
    auto c = read_ok<ScannerConfiguration>(
        "skip_concluded: false\nskip_excluded: false\ninclude_files_without_findings: false\n"
        "archive:\n  enabled: false\n"
        "detected_license_mapping:\n  LicenseRef-scancode-free-unknown: \"NOASSERTION\"\n"
        "  LicenseRef-scancode-generic-cla: \"NOASSERTION\"\n"
        "ignore_patterns:\n- \"**/*.ort.yml\"\n- \"**/META-INF/DEPENDENCIES\"\n");
    EXPECT_EQ(json(c),
              "{\n  \"skip_concluded\": false,\n  \"skip_excluded\": false,\n  \"include_files_without_findings\": false,\n"
              "  \"archive\": {\n    \"enabled\": false,\n    \"file_storage\": null,\n    \"postgres_storage\": null\n  },\n"
              "  \"detected_license_mapping\": {\n    \"LicenseRef-scancode-free-unknown\": \"NOASSERTION\",\n"
              "    \"LicenseRef-scancode-generic-cla\": \"NOASSERTION\"\n  },\n  \"file_list_storage\": null,\n"
              "  \"scanners\": null,\n  \"storages\": null,\n  \"storage_readers\": null,\n  \"storage_writers\": null,\n"
              "  \"ignore_patterns\": [\n    \"**/*.ort.yml\",\n    \"**/META-INF/DEPENDENCIES\"\n  ],\n"
              "  \"provenance_storage\": null\n}");
    expect_cases(
        {
            {"archive: null\nconfig: null\n",
             "unknown field `config`, expected one of `skip_concluded`, `skip_excluded`, "
             "`include_files_without_findings`, `archive`, `detected_license_mapping`, `file_list_storage`, "
             "`scanners`, `storages`, `storage_readers`, `storage_writers`, `ignore_patterns`, `provenance_storage` "
             "at line 2 column 1"},
            {"file_based_storage: null\npostgres_storage: null\n",
             "unknown field `file_based_storage`, expected one of `skip_concluded`, `skip_excluded`, "
             "`include_files_without_findings`, `archive`, `detected_license_mapping`, `file_list_storage`, "
             "`scanners`, `storages`, `storage_readers`, `storage_writers`, `ignore_patterns`, `provenance_storage`"},
        },
        json_or_error);
}

}  // namespace
