// The small model types that every area shares: identifiers, version-control
// locations, hashes, artifacts, text locations, issues, their enums and the
// lenient texts; read from YAML, written as JSON and YAML.
#include <string>
#include <vector>

#include "models/json_writer.hpp"
#include "models/ort/identifier.hpp"
#include "models/ort/issue.hpp"
#include "models/ort/remote_artifact.hpp"
#include "models/ort/source_code_origin.hpp"
#include "models/ort/text_location.hpp"
#include "models/ort/vcs_info.hpp"
#include "models/ort/vcsmatcher.hpp"
#include "models/scalar_text.hpp"
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

// Identifiers where the model has them: a field, list elements, map keys.
struct Ids {
    std::optional<Identifier> id;
    std::vector<Identifier> list;
    OrderedMap<Identifier, std::int32_t> map;
};

// A set element identified by its id.
struct Item {
    Identifier id;
    std::string note;
    friend bool operator==(const Item&, const Item&) = default;
};

struct Lenient {
    std::optional<ScalarText> lines;
    std::optional<OrderedMap<std::string, ScalarText>> options;
};

}  // namespace

template <>
struct brindle::models::Model<Ids> {
    static constexpr std::string_view name = "Ids";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        optional("id", &Ids::id),
        defaulted("list", &Ids::list),
        defaulted("map", &Ids::map),
    };
};
template <>
struct brindle::models::Model<Item> {
    static constexpr std::string_view name = "Item";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{required("id", &Item::id), defaulted("note", &Item::note)};
};
template <>
struct brindle::models::ElementIdentity<Item> {
    static constexpr auto member = &Item::id;
};
template <>
struct brindle::models::Model<Lenient> {
    static constexpr std::string_view name = "Lenient";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{optional("lines", &Lenient::lines), optional("options", &Lenient::options)};
};

namespace {

constexpr const char* bad_id = "Field 'identifier' is invalid: must be in the format 'type:namespace:name:version'";

TEST(SharedTypes, IdentifierParts) {
    struct Case {
        const char* text;
        Identifier id;
    };
    const Case cases[] = {
        {"Maven:group:artifact:1.0", {"Maven", "group", "artifact", "1.0"}},
        {":::", {"", "", "", ""}},
        {"NPM::pkg:", {"NPM", "", "pkg", ""}},
        {" a : b : c : d ", {" a ", " b ", " c ", " d "}},
    };
    for (const auto& k : cases) {
        auto id = parse_identifier(k.text);
        ASSERT_TRUE(id) << k.text;
        EXPECT_EQ(*id, k.id) << k.text;
        EXPECT_EQ(to_text(*id), k.text);
    }
    for (const char* text : {"a:b:c", "a:b:c:d:e", "Maven:g:a:1:2", "", "42"}) EXPECT_FALSE(parse_identifier(text)) << text;
    EXPECT_EQ(invalid_identifier().text(), bad_id);
}

TEST(SharedTypes, IdentifierReading) {
    const std::string bad = bad_id;
    struct Case {
        const char* input;
        std::string error;  // "" when it reads
    };
    const Case cases[] = {
        {"id: Maven:group:artifact:1.0", ""},
        {"id: ':::'", ""},
        {"id: a:b:c:d:e", bad_id},
        {"id: 42", bad_id},
        {"id: ''", bad_id},
        {"id: [a]", "id: invalid type: sequence, expected a string at line 1 column 5"},
        // Placed at the enclosing list or map, not at the text.
        {"list:\n  - a:b:c:d\n  - a:b:c", "list: " + bad + " at line 2 column 3"},
        {"map:\n  a:b:c:d: 1\n  a:b: 2", "map: " + bad + " at line 2 column 3"},
        {"- id: a:b:c:d\n- id: a:b:c", ".[1]: " + bad + " at line 2 column 3"},
    };
    for (const auto& k : cases) {
        std::string err = std::string(k.input).starts_with("-") ? read_error<std::vector<Ids>>(k.input)
                                                               : read_error<Ids>(k.input);
        EXPECT_EQ(err, k.error) << k.input;
    }
}

TEST(SharedTypes, IdentifierAsMapKey) {
    // The same text form is the same key (the later value wins); letter case counts.
    auto ids = read_ok<Ids>("list: [a:b:c:d]\nmap:\n  a:b:c:d: 1\n  A:b:c:d: 2\n  'a:b:c:d': 3\n");
    ASSERT_EQ(ids.map.size(), 2u);
    EXPECT_EQ(*ids.map.find(Identifier{"a", "b", "c", "d"}), 3);
    EXPECT_EQ(json(ids), R"({
  "id": null,
  "list": [
    "a:b:c:d"
  ],
  "map": {
    "a:b:c:d": 3,
    "A:b:c:d": 2
  }
})");
    EXPECT_EQ(yaml(ids), "id: null\nlist:\n- a:b:c:d\nmap:\n  a:b:c:d: 3\n  A:b:c:d: 2\n");
}

TEST(SharedTypes, IdentifiedSetElements) {
    // Elements with the same id are one element, whatever else differs; the
    // first stays, also past the size where the set keeps a hash index.
    std::string input;
    for (int i = 0; i < 12; ++i) input += "- {id: 'T::n" + std::to_string(i) + ":1', note: first}\n";
    input += "- {id: 'T::n3:1', note: second}\n- {id: 'T::n3:2', note: other}\n";
    auto set = read_ok<OrderedSet<Item>>(input);
    ASSERT_EQ(set.size(), 13u);
    EXPECT_EQ(set[3].note, "first");
    EXPECT_EQ(set[12].note, "other");
    EXPECT_TRUE(set.contains(Item{{"T", "", "n3", "1"}, "anything"}));

    Item a{{"T", "", "n", "1"}, "x"}, b{{"T", "", "n", "1"}, "y"};
    EXPECT_EQ(hash_value(a), hash_value(b));
    EXPECT_EQ(hash_value(a), hash_value(a.id));
    // The parts are kept apart in the hash.
    EXPECT_NE(hash_value(Identifier{"ab", "c", "", ""}), hash_value(Identifier{"a", "bc", "", ""}));
}

TEST(SharedTypes, VcsTypeNames) {
    struct Case {
        const char* given;
        const char* held;
    };
    const Case cases[] = {
        {"git", "git"},         {"GIT", "GIT"},         {"Git", "Git"},           {"GitRepo", "GitRepo"},
        {"git-repo", "git-repo"}, {"Git-Repo", "Git-Repo"}, {"HG", "HG"},         {"SVN", "SVN"},
        {"subversion", "subversion"}, {"github", "github"}, {"REPO", "REPO"},     {"Mercurial", "Mercurial"},
        {"git_repo", ""},       {"cvs", ""},            {"'git '", ""},           {"''", ""},
        {"", ""},               {"~", ""},              {"1", ""},                {"gİt", ""},
    };
    for (const auto& k : cases) {
        auto info = read_ok<VcsInfo>(std::string("{revision: r, type: ") + k.given + "}");
        EXPECT_EQ(info.type.text, k.held) << k.given;
    }
    EXPECT_EQ(read_error<VcsInfo>("revision: r\ntype: [git]"),
              "type: invalid type: sequence, expected a string at line 2 column 7");
}

TEST(SharedTypes, VcsInfoAndMatcher) {
    struct Case {
        const char* input;
        const char* error;
    };
    const Case info_cases[] = {
        {"revision: r\nbranch: {any: [thing]}", ""},
        {"", "missing field `revision`"},
        {"{}", "missing field `revision`"},
        {"[]", "invalid type: sequence, expected struct VcsInfo"},
        {"revision: r\nrevision: s", "duplicate field `revision`"},
        {"revision: [r]", "revision: invalid type: sequence, expected a string at line 1 column 11"},
    };
    for (const auto& k : info_cases) EXPECT_EQ(read_error<VcsInfo>(k.input), k.error) << k.input;
    const Case matcher_cases[] = {
        {"{type: git, url: u}", ""},
        {"{type: git, url: u, branch: main}",
         "unknown field `branch`, expected one of `type`, `url`, `revision` at line 1 column 21"},
        {"", "missing field `type`"},
        {"{url: u}", "missing field `type`"},
        {"{type: git}", "missing field `url`"},
        {"[]", "invalid type: sequence, expected struct VcsMatcher"},
    };
    for (const auto& k : matcher_cases) EXPECT_EQ(read_error<VcsMatcher>(k.input), k.error) << k.input;

    auto info = read_ok<VcsInfo>("revision: r\n");
    EXPECT_EQ(json(info), "{\n  \"type\": \"\",\n  \"url\": \"\",\n  \"revision\": \"r\",\n  \"path\": \"\"\n}");
    EXPECT_EQ(yaml(info), "type: ''\nurl: ''\nrevision: r\npath: ''\n");
    info = read_ok<VcsInfo>("{type: GIT, url: 'https://h/r.git', revision: 0abc, path: sub/dir}");
    EXPECT_EQ(yaml(info), "type: GIT\nurl: https://h/r.git\nrevision: 0abc\npath: sub/dir\n");

    auto matcher = read_ok<VcsMatcher>("{type: Git, url: u, revision: ~}");
    EXPECT_FALSE(matcher.revision);
    EXPECT_EQ(json(matcher), "{\n  \"type\": \"Git\",\n  \"url\": \"u\",\n  \"revision\": null\n}");
    EXPECT_EQ(yaml(matcher), "type: Git\nurl: u\nrevision: null\n");
    EXPECT_EQ(*read_ok<VcsMatcher>("{type: Git, url: u, revision: 'null'}").revision, "null");
}

TEST(SharedTypes, HashAlgorithms) {
    struct Case {
        const char* given;
        const char* held;
    };
    const Case cases[] = {
        {"MD5", "MD5"},         {"SHA-1", "SHA1"},       {"SHA1", "SHA1"},         {"SHA-256", "SHA256"},
        {"SHA256", "SHA256"},   {"SHA-384", "SHA384"},   {"SHA384", "SHA384"},     {"SHA-512", "SHA512"},
        {"SHA512", "SHA512"},   {"SHA-1-GIT", "SHA1GIT"}, {"SHA1-GIT", "SHA1GIT"}, {"SHA1GIT", "SHA1GIT"},
        {"SWHID", "SHA1GIT"},   {"sha1", "UNKNOWN"},     {"Sha1", "UNKNOWN"},      {"sha256", "UNKNOWN"},
        {"Sha-256", "UNKNOWN"}, {"SHA_256", "UNKNOWN"},  {"SHA-224", "UNKNOWN"},   {"' SHA1'", "UNKNOWN"},
        {"''", "UNKNOWN"},      {"5", "UNKNOWN"},        {"UNKNOWN", "UNKNOWN"},
    };
    for (const auto& k : cases) {
        auto h = read_ok<Hash>(std::string("{value: AbC0, algorithm: ") + k.given + "}");
        EXPECT_EQ(h.algorithm.name, k.held) << k.given;
        EXPECT_EQ(h.value, "AbC0");
    }
}

TEST(SharedTypes, HashAndRemoteArtifact) {
    struct Case {
        const char* input;
        const char* error;
    };
    const Case hash_cases[] = {
        {"{value: v, algorithm: MD5, size: [1]}", ""},
        {"", "missing field `value`"},
        {"{}", "missing field `value`"},
        {"{value: v}", "missing field `algorithm`"},
        {"{algorithm: MD5, algorithm: MD5}", "duplicate field `algorithm`"},
        {"- x", "invalid type: sequence, expected struct Hash"},
    };
    for (const auto& k : hash_cases) EXPECT_EQ(read_error<Hash>(k.input), k.error) << k.input;
    const Case artifact_cases[] = {
        {"", ""},
        {"{}", ""},
        {"{url: u, size: 5, hash: ~}", ""},
        {"hash: {}", "hash: missing field `value` at line 1 column 7"},
        {"url: [u]", "url: invalid type: sequence, expected a string at line 1 column 6"},
        {"5", "invalid type: integer `5`, expected struct RemoteArtifact"},
    };
    for (const auto& k : artifact_cases) EXPECT_EQ(read_error<RemoteArtifact>(k.input), k.error) << k.input;

    auto empty = read_ok<RemoteArtifact>("");
    EXPECT_EQ(json(empty), "{\n  \"url\": \"\",\n  \"hash\": null\n}");
    EXPECT_EQ(yaml(empty), "url: ''\nhash: null\n");
    auto artifact = read_ok<RemoteArtifact>("url: https://h/a.tgz\nhash:\n  value: '0123'\n  algorithm: SHA-256\n");
    EXPECT_EQ(json(artifact),
              "{\n  \"url\": \"https://h/a.tgz\",\n  \"hash\": {\n    \"value\": \"0123\",\n    \"algorithm\": \"SHA256\"\n  }\n}");
    EXPECT_EQ(yaml(artifact), "url: https://h/a.tgz\nhash:\n  value: '0123'\n  algorithm: SHA256\n");
}

TEST(SharedTypes, TextLocation) {
    struct Case {
        const char* input;
        const char* error;
    };
    const Case cases[] = {
        {"{path: p, start_line: 2147483647, end_line: -2147483648}", ""},
        {"{path: p, start_line: 0, end_line: -1}", ""},
        {"{path: p, start_line: 2147483648, end_line: 1}",
         "start_line: invalid value: integer `2147483648`, expected i32 at line 1 column 23"},
        {"{path: p, start_line: '5', end_line: 1}",
         "start_line: invalid type: string \"5\", expected i32 at line 1 column 23"},
        {"{path: p, start_line: 1.0, end_line: 1}",
         "start_line: invalid type: floating point `1.0`, expected i32 at line 1 column 23"},
        {"{path: p, start_line: 1, end_line: 2, size: 3}",
         "unknown field `size`, expected one of `path`, `start_line`, `end_line` at line 1 column 39"},
        {"", "missing field `path`"},
        {"{end_line: 1, start_line: 1}", "missing field `path`"},
        {"{path: p, end_line: 1}", "missing field `start_line`"},
        {"{path: p, start_line: 1}", "missing field `end_line`"},
        {"[p, 1, 2]", "invalid type: sequence, expected struct TextLocation"},
    };
    for (const auto& k : cases) EXPECT_EQ(read_error<TextLocation>(k.input), k.error) << k.input;

    auto loc = read_ok<TextLocation>("{path: src/a.c, start_line: 0x10, end_line: 3}");
    EXPECT_EQ(loc, (TextLocation{"src/a.c", 16, 3}));
    EXPECT_EQ(json(loc), "{\n  \"path\": \"src/a.c\",\n  \"start_line\": 16,\n  \"end_line\": 3\n}");
    EXPECT_EQ(yaml(loc), "path: src/a.c\nstart_line: 16\nend_line: 3\n");
    EXPECT_NE(hash_value(loc), hash_value(TextLocation{"src/a.c", 3, 16}));
}

TEST(SharedTypes, IssueAndSeverity) {
    auto issue = [](const char* severity) {
        return std::string("- {timestamp: t, source: s, message: m, severity: ") + severity + "}";
    };
    struct Case {
        const char* severity;
        const char* result;  // the variant, or the error
    };
    const Case cases[] = {
        {"HINT", "HINT"},
        {"WARNING", "WARNING"},
        {"2", "WARNING"},
        {"0x3", "ERROR"},
        {"warning", ".[0]: invalid Severity value: warning at line 1 column 3"},
        {"0", ".[0]: invalid Severity value: 0 at line 1 column 3"},
        {"4", ".[0]: invalid Severity value: 4 at line 1 column 3"},
        {"-1", ".[0]: invalid Severity value: -1 at line 1 column 3"},
        {"2.0", ".[0]: invalid Severity value: 2.0 at line 1 column 3"},
        {"'2'", ".[0]: invalid Severity value: 2 at line 1 column 3"},
        {"", ".[0]: invalid Severity value: Null at line 1 column 3"},
        {"~", ".[0]: invalid Severity value: Null at line 1 column 3"},
        {"true", ".[0]: invalid Severity value: Bool(true) at line 1 column 3"},
        {"[ERROR]", ".[0]: invalid Severity value: Sequence [String(\"ERROR\")] at line 1 column 3"},
    };
    for (const auto& k : cases) {
        std::vector<Issue> issues;
        std::string err = read_error<std::vector<Issue>>(issue(k.severity), &issues);
        EXPECT_EQ(err.empty() ? std::string(enum_name(issues[0].severity)) : err, k.result) << k.severity;
    }

    const struct {
        const char* input;
        const char* error;
    } errors[] = {
        {"{timestamp: t, source: s, message: m}", "missing field `severity`"},
        {"", "missing field `timestamp`"},
        {"{severity: HINT}", "missing field `timestamp`"},
        {"{timestamp: t, message: m, severity: HINT}", "missing field `source`"},
        {"{timestamp: t, source: s, severity: HINT}", "missing field `message`"},
        {"{timestamp: t, source: s, message: m, severity: HINT, level: 1}",
         "unknown field `level`, expected one of `timestamp`, `source`, `message`, `severity`, `affected_path` at line "
         "1 column 55"},
        {"{timestamp: t, source: s, message: m, severity: HINT, affected_path: ~, affected_path: p}",
         "duplicate field `affected_path`"},
    };
    for (const auto& k : errors) EXPECT_EQ(read_error<Issue>(k.input), k.error) << k.input;

    auto read = read_ok<Issue>("{timestamp: 2024-01-02T03:04:05Z, source: 12, message: 'a: b', severity: 3}");
    EXPECT_EQ(read.timestamp, "2024-01-02T03:04:05Z");
    EXPECT_EQ(read.source, "12");
    EXPECT_FALSE(read.affected_path);
    EXPECT_EQ(json(read), R"({
  "timestamp": "2024-01-02T03:04:05Z",
  "source": "12",
  "message": "a: b",
  "severity": "ERROR",
  "affected_path": null
})");
    EXPECT_EQ(yaml(read),
              "timestamp: 2024-01-02T03:04:05Z\nsource: '12'\nmessage: 'a: b'\nseverity: ERROR\naffected_path: null\n");
    EXPECT_EQ(*read_ok<Issue>("{timestamp: t, source: s, message: m, severity: 1, affected_path: 'null'}").affected_path,
              "null");
}

TEST(SharedTypes, SourceCodeOrigin) {
    auto origins = read_ok<std::vector<SourceCodeOrigin>>("[VCS, 1, ARTIFACT, 2]");
    EXPECT_EQ(origins, (std::vector{SourceCodeOrigin::VCS, SourceCodeOrigin::VCS, SourceCodeOrigin::ARTIFACT,
                                    SourceCodeOrigin::ARTIFACT}));
    EXPECT_EQ(json(origins), "[\n  \"VCS\",\n  \"VCS\",\n  \"ARTIFACT\",\n  \"ARTIFACT\"\n]");
    EXPECT_EQ(read_error<std::vector<SourceCodeOrigin>>("x:\n  - VCS\n  - vcs"), "invalid type: map, expected a sequence");
    EXPECT_EQ(read_error<std::vector<std::vector<SourceCodeOrigin>>>("- [VCS]\n- [VCS, vcs]"),
              ".[1]: invalid SourceCodeOrigin value: vcs at line 2 column 3");
    EXPECT_EQ(read_error<std::vector<SourceCodeOrigin>>("[3]"), "invalid SourceCodeOrigin value: 3");
}

TEST(SharedTypes, ScalarToText) {
    struct Case {
        const char* input;
        const char* text;  // nullptr: not a scalar
    };
    const Case cases[] = {
        {"True", "true"},   {"FALSE", "false"}, {"0x10", "16"},     {"+5", "5"},          {"-0b101", "-5"},
        {"1.50", "1.5"},    {"2.0", "2.0"},     {"1e16", "1e16"},   {".NaN", ".nan"},     {"-.inf", "-.inf"},
        {"'007'", "007"},   {"007", "007"},     {"''", ""},         {"1,5,9", "1,5,9"},   {"!!str 5", "5"},
        {"~", nullptr},     {"", nullptr},      {"[1]", nullptr},   {"{a: 1}", nullptr},  {"!local x", nullptr},
    };
    for (const auto& k : cases) {
        auto text = scalar_to_text(read_ok<YamlValue>(k.input));
        if (k.text) EXPECT_EQ(text, std::optional<std::string>(k.text)) << k.input;
        else EXPECT_FALSE(text) << k.input;
    }
}

TEST(SharedTypes, LenientTexts) {
    struct Case {
        const char* input;
        const char* lines;  // nullptr: absent
    };
    const Case lines[] = {
        {"lines: 10", "10"}, {"lines: 0x10", "16"}, {"lines: 1.50", "1.5"}, {"lines: true", "true"},
        {"lines: 1,5,9", "1,5,9"}, {"lines: ''", nullptr}, {"lines: ~", nullptr}, {"lines:", nullptr},
        {"lines: !!null null", nullptr}, {"{}", nullptr},
    };
    for (const auto& k : lines) {
        auto v = read_ok<Lenient>(k.input);
        if (k.lines) EXPECT_EQ(v.lines, ScalarText{k.lines}) << k.input;
        else EXPECT_FALSE(v.lines) << k.input;
    }

    auto aliased = read_ok<std::vector<Lenient>>("- lines: &a 0x7\n- lines: *a\n- lines: &b ~\n- lines: *b");
    EXPECT_EQ(aliased[1].lines, ScalarText{"7"});
    EXPECT_FALSE(aliased[3].lines);

    auto v = read_ok<Lenient>("options: {a: 1, b: true, c: 1.50, d: 0x1F, e: '007', f: text}");
    ASSERT_TRUE(v.options);
    std::vector<std::string> got;
    for (const auto& [key, text] : *v.options) got.push_back(key + "=" + text.text);
    EXPECT_EQ(got, (std::vector<std::string>{"a=1", "b=true", "c=1.5", "d=31", "e=007", "f=text"}));
    EXPECT_EQ(yaml(v), "lines: null\noptions:\n  a: '1'\n  b: 'true'\n  c: '1.5'\n  d: '31'\n  e: '007'\n  f: text\n");
    // A repeated key keeps its last value before any value is looked at.
    v = read_ok<Lenient>("options:\n  a: [1]\n  a: 2");
    EXPECT_EQ(*v.options->find("a"), ScalarText{"2"});
    EXPECT_FALSE(read_ok<Lenient>("options: ~").options);

    // Placed at the enclosing struct, not at the value.
    const struct {
        const char* input;
        const char* error;
    } errors[] = {
        {"lines: [1]", "expected a string or an integer scalar"},
        {"lines: {a: 1}", "expected a string or an integer scalar"},
        {"lines: !x 1", "expected a string or an integer scalar"},
        {"- {}\n- lines: [1]", ".[1]: expected a string or an integer scalar at line 2 column 3"},
        {"options: {a: 1, b: ~}", "option 'b' is not a scalar"},
        {"options: {a: [1], b: {}}", "option 'a' is not a scalar"},
        {"- {}\n- options:\n    a: ''\n    b:", ".[1]: option 'b' is not a scalar at line 2 column 3"},
        {"options: 5", "options: invalid type: integer `5`, expected a map at line 1 column 10"},
    };
    for (const auto& k : errors) {
        std::string err = std::string(k.input).starts_with("-") ? read_error<std::vector<Lenient>>(k.input)
                                                               : read_error<Lenient>(k.input);
        EXPECT_EQ(err, k.error) << k.input;
    }
}

}  // namespace
