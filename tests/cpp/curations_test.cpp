// Curations of a repository configuration (package curations with their
// data, version-control curations and free-form license mappings; license
// finding curations) and package configurations: reading with every rule
// and message, and writing as JSON and YAML.
#include <string>
#include <vector>

#include "models/json_writer.hpp"
#include "models/ort/curations.hpp"
#include "models/ort/package_configuration.hpp"
#include "models/write.hpp"
#include "models/yaml_writer.hpp"
#include "test_util.hpp"

using namespace brindle::models;
using namespace brindle::models::ort;
using brindle::test::read_error;
using brindle::test::read_ok;
using brindle::test::json;
using brindle::test::yaml;

namespace {

// The two places of a repository configuration that hold these types.
struct Sections {
    std::optional<Curations> curations;
    std::vector<PackageConfiguration> package_configurations;
};

}  // namespace

template <>
struct brindle::models::Model<Sections> {
    static constexpr std::string_view name = "Sections";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        optional("curations", &Sections::curations),
        defaulted("package_configurations", &Sections::package_configurations),
    };
};

namespace {

struct Case {
    const char* input;
    std::string error;  // "" when it reads
};

void expect_errors(const std::vector<Case>& cases) {
    for (const auto& k : cases) EXPECT_EQ(read_error<Sections>(k.input), k.error) << k.input;
}

const std::string data_keys =
    "one of `comment`, `purl`, `cpe`, `authors`, `concluded_license`, `description`, `homepage_url`, "
    "`binary_artifact`, `source_artifact`, `vcs`, `is_metadata_only`, `is_modified`, "
    "`declared_license_mapping`, `source_code_origins`, `labels`";
const std::string finding_keys =
    "one of `path`, `start_lines`, `line_count`, `detected_license`, `concluded_license`, `reason`, `comment`";
const std::string config_keys =
    "one of `id`, `source_artifact_url`, `vcs`, `source_code_origin`, `path_excludes`, `license_finding_curations`";

// Curations and a package configuration of real configurations.
constexpr const char* corpus_curations = R"(curations:
  license_findings:
  - path: "src/**/*.cpp"
    start_lines: "3,8"
    line_count: 1
    detected_license: "GPL-2.0-only"
    reason: "CODE"
    comment: "The scanner matches a variable named `gpl`."
    concluded_license: "Apache-2.0"
  packages:
  - id: "Maven:com.example:dummy:0.0.1"
    curations:
      comment: "An explanation why the curation is needed."
      homepage_url: "https://example.com"
      is_modified: false
      vcs:
        type: "Git"
        url: "https://example.com/package.git"
        revision: "main"
      authors:
      - "Name of the author"
      is_metadata_only: false
      concluded_license: "BSD-2-Clause"
      declared_license_mapping:
        The BSD License: "BSD-2-Clause"
package_configurations:
- id: 'Maven:com.example:package:1.2.3'
  source_artifact_url: "https://repo.maven.apache.org/maven2/com/example/package/1.2.3/package-1.2.3-sources.jar"
  license_finding_curations:
  - path: "path/to/problematic/file.java"
    start_lines: 22
    line_count: 1
    detected_license: "GPL-2.0-only"
    reason: "CODE"
    comment: "The scanner matches a variable named `gpl`."
    concluded_license: "Apache-2.0"
)";

TEST(Curations, RealFile) {
    auto s = read_ok<Sections>(corpus_curations);
    ASSERT_TRUE(s.curations);
    const Curations& c = *s.curations;
    ASSERT_EQ(c.license_findings.size(), 1u);
    const LicenseFindingCuration& f = c.license_findings[0];
    EXPECT_EQ(f.start_lines, (ScalarText{"3,8"}));
    EXPECT_EQ(f.line_count, 1);
    EXPECT_EQ(f.reason, LicenseFindingCurationReason::CODE);
    EXPECT_EQ(f.concluded_license, "Apache-2.0");
    ASSERT_EQ(c.packages.size(), 1u);
    const PackageCurationData& d = c.packages[0].curations;
    EXPECT_EQ(c.packages[0].id, "Maven:com.example:dummy:0.0.1");
    EXPECT_EQ(d.is_modified, false);
    ASSERT_TRUE(d.vcs);
    EXPECT_EQ(d.vcs->type, VcsType{"Git"});
    EXPECT_FALSE(d.vcs->path);
    EXPECT_EQ(d.authors, std::vector<std::string>{"Name of the author"});
    EXPECT_EQ(d.declared_license_mapping.size(), 1u);
    EXPECT_EQ(d.declared_license_mapping.find("The BSD License")[0], JsonValue::text("BSD-2-Clause"));
    EXPECT_FALSE(d.purl);
    EXPECT_FALSE(d.source_code_origins);

    ASSERT_EQ(s.package_configurations.size(), 1u);
    const PackageConfiguration& p = s.package_configurations[0];
    EXPECT_EQ(p.id, (Identifier{"Maven", "com.example", "package", "1.2.3"}));
    EXPECT_FALSE(p.vcs);
    EXPECT_TRUE(p.path_excludes.empty());
    ASSERT_EQ(p.license_finding_curations.size(), 1u);
    EXPECT_EQ(p.license_finding_curations[0].start_lines, (ScalarText{"22"}));
}

TEST(Curations, PackageCurationReading) {
    const std::string p = "curations.packages";
    expect_errors({
        {"curations: {}", ""},
        {"curations:", ""},
        {"curations: {packages: null}",
         "curations.packages: invalid type: unit value, expected a sequence at line 1 column 23"},
        {"curations: {packages: }", ""},
        {"curations: []", "curations: invalid type: sequence, expected struct Curations at line 1 column 12"},
        {"curations: {package: []}",
         "curations: unknown field `package`, expected `packages` or `license_findings` at line 1 column 13"},
        {"curations:\n  packages:\n  - {}", p + "[0]: missing field `id` at line 3 column 5"},
        {"curations:\n  packages:\n  -", p + "[0]: missing field `id` at line 3 column 4"},
        {"curations:\n  packages:\n  - id: a", p + "[0]: missing field `curations` at line 3 column 5"},
        {"curations:\n  packages:\n  - {name: x}",
         p + "[0]: unknown field `name`, expected `id` or `curations` at line 3 column 6"},
        {"curations:\n  packages:\n  - [a]",
         p + "[0]: invalid type: sequence, expected struct PackageCuration at line 3 column 5"},
        {"curations:\n  packages:\n  - {id: a, id: b, curations: {}}",
         p + "[0]: duplicate field `id` at line 3 column 5"},
        {"curations:\n  packages:\n  - {id: a, curations: null}",
         p + "[0].curations: invalid type: unit value, expected struct PackageCurationData at line 3 column 24"},
        {"curations:\n  packages:\n  - {id: a, curations: {declared_licenses: [x]}}",
         p + "[0].curations: unknown field `declared_licenses`, expected " + data_keys + " at line 3 column 25"},
        {"curations:\n  packages:\n  - {id: a, curations: {vcs: {type: git, revison: x, revison: [y]}}}", ""},
        {"curations:\n  packages:\n  - {id: a, curations: {labels: null}}",
         p + "[0].curations.labels: invalid type: unit value, expected a map at line 3 column 33"},
        {"curations:\n  packages:\n  - {id: a, curations: {declared_license_mapping: null}}",
         p + "[0].curations.declared_license_mapping: invalid type: unit value, expected a map at line 3 column 51"},
        {"curations:\n  packages:\n  - {id: a, curations: {labels: {}, labels: {}}}",
         p + "[0].curations: duplicate field `labels` at line 3 column 24"},
        {"curations:\n  packages:\n  - {id: a, curations: {source_code_origins: [VCS, vcs]}}",
         p + "[0].curations.source_code_origins: invalid SourceCodeOrigin value: vcs at line 3 column 46"},
        {"curations:\n  packages:\n  - {id: a, curations: {is_modified: yes}}",
         p + "[0].curations.is_modified: invalid type: string \"yes\", expected a boolean at line 3 column 38"},
    });
}

TEST(Curations, PackageCurationValues) {
    auto c = read_ok<Curations>(R"(packages:
- {id: a:b:c, curations: }
- id: null
  curations:
    authors: [a, a]
    source_code_origins: [VCS, 2]
    is_modified: ~
    labels: {a: x, a: y}
    vcs: {type: cvs}
- id: word
  curations:
    vcs: {type: svn, url: u, revison: r}
)");
    ASSERT_EQ(c.packages.size(), 3u);
    EXPECT_EQ(c.packages[0].id, "a:b:c");
    EXPECT_EQ(c.packages[0].curations, PackageCurationData{});
    const PackageCurationData& d = c.packages[1].curations;
    EXPECT_EQ(c.packages[1].id, "null");
    EXPECT_EQ(d.authors, (std::vector<std::string>{"a", "a"}));
    EXPECT_EQ(d.source_code_origins,
              (std::vector<SourceCodeOrigin>{SourceCodeOrigin::VCS, SourceCodeOrigin::ARTIFACT}));
    EXPECT_FALSE(d.is_modified);
    EXPECT_EQ(d.labels.size(), 1u);
    EXPECT_EQ(d.labels.find("a")[0], "y");
    // An unknown type is the empty text, which is present.
    EXPECT_EQ(d.vcs, (VcsInfoCurationData{VcsType{""}, {}, {}, {}}));
    EXPECT_EQ(c.packages[2].curations.vcs, (VcsInfoCurationData{VcsType{"svn"}, "u", {}, {}}));
}

TEST(Curations, DeclaredLicenseMappingValues) {
    auto c = read_ok<PackageCurationData>(R"(declared_license_mapping:
  u: 1
  i: -1
  f: 1.5
  inf: .inf
  nan: .nan
  q: '1'
  word: MIT
  zero: 007
  empty:
  nul: ~
  b: true
  seq: [1, 2]
  obj: {z: 1, b: [true, null, 2.5], b: [x]}
  big: '123456789012345678901234567890123456789012'
  tagged: !!str 12
)");
    const auto& m = c.declared_license_mapping;
    auto at = [&](const char* k) { return *m.find(k); };
    EXPECT_EQ(at("u"), JsonValue::number(std::uint64_t{1}));
    EXPECT_EQ(at("i").value, (decltype(JsonValue::value){std::int64_t{-1}}));
    EXPECT_EQ(at("f"), JsonValue::number(1.5));
    EXPECT_EQ(at("inf"), JsonValue::null());
    EXPECT_EQ(at("nan"), JsonValue::null());
    EXPECT_EQ(at("q"), JsonValue::text("1"));
    EXPECT_EQ(at("word"), JsonValue::text("MIT"));
    EXPECT_EQ(at("zero"), JsonValue::text("007"));
    EXPECT_EQ(at("empty"), JsonValue::null());
    EXPECT_EQ(at("nul"), JsonValue::null());
    EXPECT_EQ(at("b"), JsonValue::boolean(true));
    EXPECT_EQ(at("seq"), JsonValue::array({JsonValue::number(std::uint64_t{1}), JsonValue::number(std::uint64_t{2})}));
    EXPECT_EQ(json(at("obj")), "{\n  \"b\": [\n    \"x\"\n  ],\n  \"z\": 1\n}");
    // Quoted, the digits of an integer too large for any number are a text.
    EXPECT_EQ(at("big"), JsonValue::text("123456789012345678901234567890123456789012"));
    EXPECT_EQ(at("tagged"), JsonValue::text("12"));
}

TEST(Curations, DeclaredLicenseMappingErrors) {
    const std::string p = "declared_license_mapping";
    struct Row {
        const char* value;
        std::string error;
    };
    const Row rows[] = {
        {"18446744073709551616", p + ".k: JSON number out of range at line 2 column 6"},
        {"-9223372036854775809", p + ".k: JSON number out of range at line 2 column 6"},
        // Beyond 128 bits too, where the digits would otherwise become a float.
        {"340282366920938463463374607431768211456", p + ".k: JSON number out of range at line 2 column 6"},
        {"-170141183460469231731687303715884105729", p + ".k: JSON number out of range at line 2 column 6"},
        {"123456789012345678901234567890123456789012", p + ".k: JSON number out of range at line 2 column 6"},
        {"+123456789012345678901234567890123456789012", p + ".k: JSON number out of range at line 2 column 6"},
        {"[1, -123456789012345678901234567890123456789012]", p + ".k[1]: JSON number out of range at line 2 column 10"},
        {"!!int 123456789012345678901234567890123456789012", p + ".k: JSON number out of range at line 2 column 6"},
        {"0123456789012345678901234567890123456789012", ""},
        {"1234567890123456789012345678901234567890.5", ""},
        {"'18446744073709551616'", ""},
        {"!local 1", p + ".k: invalid type: enum, expected any valid JSON value at line 2 column 6"},
        {"[1, !local x]", p + ".k[1]: invalid type: enum, expected any valid JSON value at line 2 column 10"},
        {"{[a]: 1}", p + ".k: invalid type: sequence, expected a string key at line 2 column 7"},
        {"{a: 1, {b: 2}: 1}", p + ".k: invalid type: map, expected a string at line 2 column 13"},
        {"!!int x", p + ".k: invalid value: string \"x\", expected an integer at line 2 column 6"},
        {"{a: *nope}", "unknown anchor at line 2 column 10"},
        // An alias inside its own anchor's node ends at the nesting limit.
        {"&a {x: [*a]}", "recursion limit exceeded at line 2 column 6"},
    };
    for (const auto& r : rows) {
        std::string input = p + ":\n  k: " + r.value + "\n";
        EXPECT_EQ(read_error<PackageCurationData>(input), r.error) << r.value;
    }
    // A large object with its keys in descending order reads in one sort.
    std::string many = p + ":\n  k: {";
    for (int i = 99999; i >= 0; --i) many += "k" + std::to_string(100000 + i) + ": " + std::to_string(i) + ", ";
    many += "}\n";
    auto big = read_ok<PackageCurationData>(many);
    const auto& members = std::get<JsonValue::Object>(big.declared_license_mapping.find("k")[0].value);
    ASSERT_EQ(members.size(), 100000u);
    EXPECT_EQ(members.front().first, "k100000");
    EXPECT_EQ(members.back().second, JsonValue::number(std::uint64_t{99999}));

    // Aliases are followed.
    auto d = read_ok<PackageCurationData>(p + ":\n  a: &x {n: [1]}\n  b: *x\n");
    EXPECT_EQ(d.declared_license_mapping.find("a")[0], d.declared_license_mapping.find("b")[0]);
}

TEST(Curations, LicenseFindingCurationReading) {
    const std::string p = "curations.license_findings[0]";
    const std::string head = "curations:\n  license_findings:\n  - ";
    struct Row {
        const char* element;
        std::string error;
    };
    const Row rows[] = {
        {"{}", p + ": missing field `path` at line 3 column 5"},
        {"", p + ": missing field `path` at line 3 column 4"},
        {"~", p + ": invalid type: unit value, expected struct LicenseFindingCuration at line 3 column 5"},
        {"{path: a}", p + ": missing field `concluded_license` at line 3 column 5"},
        {"{path: a, reason: CODE}", p + ": missing field `concluded_license` at line 3 column 5"},
        {"{path: a, concluded_license: x}", p + ": missing field `reason` at line 3 column 5"},
        {"{reason: CODE}", p + ": missing field `path` at line 3 column 5"},
        {"{path: a, concluded_license: x, reason: code}",
         p + ": invalid LicenseFindingCurationReason value: code at line 3 column 5"},
        {"{path: a, concluded_license: x, reason: 0}",
         p + ": invalid LicenseFindingCurationReason value: 0 at line 3 column 5"},
        {"{path: a, concluded_license: x, reason: 7}",
         p + ": invalid LicenseFindingCurationReason value: 7 at line 3 column 5"},
        {"{path: a, concluded_license: x, reason: '3'}",
         p + ": invalid LicenseFindingCurationReason value: 3 at line 3 column 5"},
        {"{path: a, concluded_license: x, reason: 2.0}",
         p + ": invalid LicenseFindingCurationReason value: 2.0 at line 3 column 5"},
        {"{path: a, concluded_license: x, reason: }",
         p + ": invalid LicenseFindingCurationReason value: Null at line 3 column 5"},
        {"{path: a, concluded_license: x, reason: true}",
         p + ": invalid LicenseFindingCurationReason value: Bool(true) at line 3 column 5"},
        {"{path: a, concluded_license: x, reason: CODE, start_lines: [1, 2]}",
         p + ": expected a string or an integer scalar at line 3 column 5"},
        {"{path: a, concluded_license: x, reason: CODE, start_lines: !t 1}",
         p + ": expected a string or an integer scalar at line 3 column 5"},
        {"{path: a, concluded_license: x, reason: CODE, line_count: '5'}",
         p + ".line_count: invalid type: string \"5\", expected i64 at line 3 column 63"},
        {"{path: a, concluded_license: x, reason: CODE, line_count: 9223372036854775808}",
         p + ".line_count: invalid type: integer `9223372036854775808`, expected i64 at line 3 column 63"},
        {"{path: a, lines: 1}", p + ": unknown field `lines`, expected " + finding_keys + " at line 3 column 15"},
        {"{path: a, path: b}", p + ": duplicate field `path` at line 3 column 5"},
    };
    for (const auto& r : rows) EXPECT_EQ(read_error<Sections>(head + r.element), r.error) << r.element;
}

TEST(Curations, LicenseFindingCurationValues) {
    struct Row {
        const char* field;  // `field: value` added to a valid curation
        const char* value;
        std::optional<std::string> start_lines;
        std::optional<std::string> detected_license;
    };
    const Row rows[] = {
        {"start_lines", "12", "12", {}},
        {"start_lines", "'3-5,9'", "3-5,9", {}},
        {"start_lines", "1,5,9", "1,5,9", {}},
        {"start_lines", "007", "007", {}},
        {"start_lines", "0x10", "16", {}},
        {"start_lines", "+7", "7", {}},
        {"start_lines", "1.50", "1.5", {}},
        {"start_lines", "2.0", "2.0", {}},
        {"start_lines", "true", "true", {}},
        {"start_lines", "''", {}, {}},
        {"start_lines", "~", {}, {}},
        {"start_lines", "", {}, {}},
        {"detected_license", "1.50", {}, "1.50"},
        {"detected_license", "null", {}, {}},
    };
    for (const auto& r : rows) {
        auto f = read_ok<LicenseFindingCuration>(std::string("path: a\nconcluded_license: x\nreason: CODE\n") +
                                                 r.field + ": " + r.value + "\n");
        EXPECT_EQ(f.start_lines ? std::optional(f.start_lines->text) : std::nullopt, r.start_lines) << r.value;
        EXPECT_EQ(f.detected_license, r.detected_license) << r.value;
    }
    auto f = read_ok<LicenseFindingCuration>(
        "path:\nconcluded_license: null\nreason: 5\nline_count: 0x10\ncomment: 0x10\n");
    EXPECT_EQ(f.path, "");
    EXPECT_EQ(f.concluded_license, "null");
    EXPECT_EQ(f.reason, LicenseFindingCurationReason::NOT_DETECTED);
    EXPECT_EQ(f.line_count, 16);
    EXPECT_EQ(f.comment, "0x10");
    EXPECT_EQ(read_ok<LicenseFindingCuration>("{path: a, concluded_license: x, reason: 0x2}").reason,
              LicenseFindingCurationReason::DATA_OF);
    EXPECT_EQ(read_ok<LicenseFindingCuration>("{path: a, concluded_license: x, reason: NOT_DETECTED}").reason,
              LicenseFindingCurationReason::NOT_DETECTED);
    EXPECT_FALSE(read_ok<LicenseFindingCuration>("{path: a, concluded_license: x, reason: 1, line_count: ~}").line_count);

    // The same text in both places gives equal records.
    const char* curation = "{path: a, start_lines: 3, concluded_license: MIT, reason: REFERENCE}";
    auto s = read_ok<Sections>(std::string("curations:\n  license_findings:\n  - ") + curation +
                               "\npackage_configurations:\n- id: a:b:c:d\n  license_finding_curations:\n  - " +
                               curation + "\n");
    EXPECT_EQ(s.curations->license_findings.at(0), s.package_configurations.at(0).license_finding_curations.at(0));
}

TEST(Curations, PackageConfigurationReading) {
    const std::string p = "package_configurations[1]";
    const std::string head = "package_configurations:\n- id: a:b:c:d\n- ";
    const std::string bad_id = "Field 'identifier' is invalid: must be in the format 'type:namespace:name:version'";
    struct Row {
        const char* element;
        std::string error;
    };
    const Row rows[] = {
        {"{id: ':::'}", ""},
        {"", p + ": missing field `id` at line 3 column 2"},
        {"~", p + ": invalid type: unit value, expected struct PackageConfiguration at line 3 column 3"},
        {"{source_artifact_url: u}", p + ": missing field `id` at line 3 column 3"},
        {"{id: a:b:c}", p + ": " + bad_id + " at line 3 column 3"},
        {"{id: a:b:c:d:e}", p + ": " + bad_id + " at line 3 column 3"},
        {"{id: [a]}", p + ".id: invalid type: sequence, expected a string at line 3 column 8"},
        {"{id: a:b:c:d, source_code_origin: vcs}", p + ": invalid SourceCodeOrigin value: vcs at line 3 column 3"},
        {"{id: a:b:c:d, source_code_origin: ~, source_code_origin: VCS}",
         p + ": duplicate field `source_code_origin` at line 3 column 3"},
        {"{id: a:b:c:d, path_excludes: ~}",
         p + ".path_excludes: invalid type: unit value, expected a sequence at line 3 column 32"},
        {"{id: a:b:c:d, path_excludes: }", ""},
        {"{id: a:b:c:d, license_finding_curations: x}",
         p + ".license_finding_curations: invalid type: string \"x\", expected a sequence at line 3 column 44"},
        {"{id: a:b:c:d, vcs: {}}", p + ".vcs: missing field `type` at line 3 column 22"},
        {"{id: a:b:c:d, vcs: ~}", ""},
        {"{id: a:b:c:d, excludes: []}",
         p + ": unknown field `excludes`, expected " + config_keys + " at line 3 column 17"},
        {"{id: a:b:c:d, path_excludes: [{pattern: x}]}",
         p + ".path_excludes[0]: missing field `reason` at line 3 column 33"},
    };
    for (const auto& r : rows) EXPECT_EQ(read_error<Sections>(head + r.element), r.error) << r.element;

    auto c = read_ok<PackageConfiguration>(R"(id: Maven:org.example:lib:1.0
source_artifact_url: https://example.com/lib-1.0-sources.jar
vcs: {type: Git, url: https://example.com/lib.git, revision: v1.0}
source_code_origin: 2
path_excludes:
- {pattern: "test/**", reason: TEST_OF, comment: Tests.}
license_finding_curations:
- {path: LICENSE, concluded_license: MIT, reason: INCORRECT}
)");
    EXPECT_EQ(c.id, (Identifier{"Maven", "org.example", "lib", "1.0"}));
    EXPECT_EQ(c.source_code_origin, SourceCodeOrigin::ARTIFACT);
    EXPECT_EQ(c.vcs->revision, "v1.0");
    EXPECT_EQ(c.path_excludes.at(0).pattern, "test/**");
    EXPECT_EQ(c.license_finding_curations.at(0).reason, LicenseFindingCurationReason::INCORRECT);
}

TEST(Curations, Written) {
    // Every field, in declaration order; absent values as null.
    auto c = read_ok<Curations>(R"(packages:
- id: 'true'
  curations:
    purl: pkg:maven/a/b@1
    vcs: {type: cvs, url: u}
    is_modified: false
    source_code_origins: [2]
    declared_license_mapping: {lic: {z: 1, b: [true, null, 2.5]}}
    labels: {k: v}
license_findings:
- {path: a, start_lines: 10, line_count: 2, concluded_license: MIT, reason: 5}
)");
    EXPECT_EQ(yaml(c), R"(packages:
- id: 'true'
  curations:
    comment: null
    purl: pkg:maven/a/b@1
    cpe: null
    authors: null
    concluded_license: null
    description: null
    homepage_url: null
    binary_artifact: null
    source_artifact: null
    vcs:
      type: ''
      url: u
      revision: null
      path: null
    is_metadata_only: null
    is_modified: false
    declared_license_mapping:
      lic:
        b:
        - true
        - null
        - 2.5
        z: 1
    source_code_origins:
    - ARTIFACT
    labels:
      k: v
license_findings:
- path: a
  start_lines: '10'
  line_count: 2
  detected_license: null
  concluded_license: MIT
  reason: NOT_DETECTED
  comment: null
)");
    EXPECT_EQ(json(c.license_findings[0]), R"({
  "path": "a",
  "start_lines": "10",
  "line_count": 2,
  "detected_license": null,
  "concluded_license": "MIT",
  "reason": "NOT_DETECTED",
  "comment": null
})");
    EXPECT_EQ(json(read_ok<PackageCuration>("{id: x, curations: }").curations), R"({
  "comment": null,
  "purl": null,
  "cpe": null,
  "authors": null,
  "concluded_license": null,
  "description": null,
  "homepage_url": null,
  "binary_artifact": null,
  "source_artifact": null,
  "vcs": null,
  "is_metadata_only": null,
  "is_modified": null,
  "declared_license_mapping": {},
  "source_code_origins": null,
  "labels": {}
})");
    EXPECT_EQ(yaml(read_ok<Curations>("")), "packages: []\nlicense_findings: []\n");
    EXPECT_EQ(json(read_ok<Curations>("{}")), "{\n  \"packages\": [],\n  \"license_findings\": []\n}");

    auto p = read_ok<PackageConfiguration>("id: ':::'");
    EXPECT_EQ(json(p), R"({
  "id": ":::",
  "source_artifact_url": null,
  "vcs": null,
  "source_code_origin": null,
  "path_excludes": [],
  "license_finding_curations": []
})");
    EXPECT_EQ(yaml(read_ok<PackageConfiguration>(
                  "id: a:b:c:d\nsource_code_origin: VCS\nvcs: {type: git, url: u}\n"
                  "path_excludes: [{pattern: x, reason: OTHER}]")),
              R"(id: a:b:c:d
source_artifact_url: null
vcs:
  type: git
  url: u
  revision: null
source_code_origin: VCS
path_excludes:
- pattern: x
  reason: OTHER
  comment: ''
license_finding_curations: []
)");
}

}  // namespace
