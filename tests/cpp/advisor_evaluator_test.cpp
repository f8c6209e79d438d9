// The advisor and evaluator sections: runs with their base part, advisor
// results with vulnerabilities and defects, rule violations; the exact
// failure texts with their places, and JSON/YAML writing.
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "models/json_writer.hpp"
#include "models/ort/advisor_run.hpp"
#include "models/ort/evaluator_run.hpp"
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

struct ErrorCase {
    std::string yaml;
    std::string error;
};

// The two runs as a result holds them, so that errors carry the paths a
// real file gives.
struct Sections {
    std::optional<AdvisorRun> advisor;
    std::optional<EvaluatorRun> evaluator;
};
// The same sections in a whole result file, its other sections passed over.
struct ResultSections : Sections {};

template <class T>
void expect_errors(const std::vector<ErrorCase>& cases) {
    for (const auto& c : cases) EXPECT_EQ(read_error<T>(c.yaml), c.error) << c.yaml;
}

const std::string base =
    "  start_time: s\n  end_time: e\n"
    "  environment: {ort_version: v, build_jdk: j, java_version: '17', os: Linux, processors: 8, max_memory: 1024}\n";

// An evaluator run of the base part and the given violations.
std::string violations(const std::string& body) { return "evaluator:\n" + base + "  violations:\n" + body; }

// An advisor run of the base part, an empty configuration and one package's results.
std::string results(const std::string& body) {
    return "advisor:\n" + base + "  config:\n  results:\n    'A:n:x:1':\n" + body;
}

const char* result_head =
    "    - advisor: {name: a}\n"
    "      summary: {start_time: s, end_time: e}\n";

}  // namespace

template <>
struct brindle::models::Model<Sections> {
    static constexpr std::string_view name = "Sections";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields =
        std::tuple{optional("advisor", &Sections::advisor), optional("evaluator", &Sections::evaluator)};
};
template <>
struct brindle::models::Model<ResultSections> {
    static constexpr std::string_view name = "ResultSections";
    static constexpr auto unknown_keys = UnknownKeys::skip;
    static constexpr auto fields = Model<Sections>::fields;
};

namespace {

// ---------------------------------------------------------------- rule violations

TEST(RuleViolation, ReadErrors) {
    const char* rule_keys = "expected one of `rule`, `pkg`, `license`, `license_sources`, `severity`, `message`, `how_to_fix`";
    const std::string ok = "  - rule: r\n    severity: ERROR\n    message: m\n    how_to_fix: h\n";
    expect_errors<Sections>({
        {violations("  -\n"), "evaluator.violations[0]: missing field `rule` at line 6 column 4"},
        {violations("  - rule: r\n    how_to_fix: h\n"),
         "evaluator.violations[0]: missing field `severity` at line 6 column 5"},
        {violations("  - rule: r\n    severity: ERROR\n"),
         "evaluator.violations[0]: missing field `message` at line 6 column 5"},
        {violations("  - rule: r\n    severity: ERROR\n    message: m\n"),
         "evaluator.violations[0]: missing field `how_to_fix` at line 6 column 5"},
        {violations("  - ~\n"), "evaluator.violations[0]: invalid type: unit value, expected struct RuleViolation at line 6 column 5"},
        {violations("  - [r]\n"), "evaluator.violations[0]: invalid type: sequence, expected struct RuleViolation at line 6 column 5"},
        {violations(ok + "    severity:\n"),
         "evaluator.violations[0]: duplicate field `severity` at line 6 column 5"},
        {violations("  - rule: r\n    severity:\n    message: m\n    how_to_fix: h\n"),
         "evaluator.violations[0]: invalid Severity value: Null at line 6 column 5"},
        {violations("  - rule: r\n    severity: ~\n    message: m\n    how_to_fix: h\n"),
         "evaluator.violations[0]: invalid Severity value: Null at line 6 column 5"},
        {violations(ok + "    Rule: r\n"), std::string("evaluator.violations[0]: unknown field `Rule`, ") + rule_keys + " at line 10 column 5"},
        {violations(ok + "    license_source: DETECTED\n"),
         std::string("evaluator.violations[0]: unknown field `license_source`, ") + rule_keys + " at line 10 column 5"},
        {violations(ok + "    license: ~\n    license: MIT\n"),
         "evaluator.violations[0]: duplicate field `license` at line 6 column 5"},
        {violations(ok + "    pkg: a:b:c\n"),
         "evaluator.violations[0]: Field 'identifier' is invalid: must be in the format "
         "'type:namespace:name:version' at line 6 column 5"},
        {violations(ok + "    pkg: [a]\n"),
         "evaluator.violations[0].pkg: invalid type: sequence, expected a string at line 10 column 10"},
        {violations(ok + "    rule: {a: b}\n"), "evaluator.violations[0]: duplicate field `rule` at line 6 column 5"},
        {violations("  - rule: {a: b}\n"),
         "evaluator.violations[0].rule: invalid type: map, expected a string at line 6 column 11"},
        {violations(ok + "    license_sources: ~\n"),
         "evaluator.violations[0].license_sources: invalid type: unit value, expected a sequence at line 10 column 22"},
        // An element is matched after it was read whole: the error is the sequence's.
        {violations(ok + "    license_sources: [declared]\n"),
         "evaluator.violations[0].license_sources: invalid LicenseSource value: declared at line 10 column 22"},
        {violations(ok + "    license_sources: [DECLARED, 0]\n"),
         "evaluator.violations[0].license_sources: invalid LicenseSource value: 0 at line 10 column 22"},
        {violations(ok + "    license_sources: [4]\n"),
         "evaluator.violations[0].license_sources: invalid LicenseSource value: 4 at line 10 column 22"},
        {violations(ok + "    license_sources: [-1]\n"),
         "evaluator.violations[0].license_sources: invalid LicenseSource value: -1 at line 10 column 22"},
        {violations(ok + "    license_sources: ['1']\n"),
         "evaluator.violations[0].license_sources: invalid LicenseSource value: 1 at line 10 column 22"},
        {violations(ok + "    license_sources:\n    - ~\n"),
         "evaluator.violations[0].license_sources: invalid LicenseSource value: Null at line 11 column 5"},
    });
}

TEST(RuleViolation, ReadAndWrite) {
    // The fewest fields: no package, no license, no sources.
    auto v = read_ok<RuleViolation>("rule: r\nseverity: 2\nmessage: m\nhow_to_fix: h\n");
    EXPECT_EQ(v.severity, Severity::WARNING);
    EXPECT_FALSE(v.pkg);
    EXPECT_FALSE(v.license);
    EXPECT_TRUE(v.license_sources.empty());
    EXPECT_EQ(json(v),
              "{\n  \"rule\": \"r\",\n  \"pkg\": null,\n  \"license\": null,\n  \"license_sources\": [],\n"
              "  \"severity\": \"WARNING\",\n  \"message\": \"m\",\n  \"how_to_fix\": \"h\"\n}");
    EXPECT_EQ(yaml(v),
              "rule: r\npkg: null\nlicense: null\nlicense_sources: []\nseverity: WARNING\nmessage: m\nhow_to_fix: h\n");

    // Sources by name and number, a repeat kept once; a package of empty parts.
    auto full = read_ok<RuleViolation>(
        "rule: r\npkg: ':::'\nlicense: MIT\nlicense_sources: [DECLARED, 2, DETECTED]\n"
        "severity: ERROR\nmessage: m\nhow_to_fix: h\n");
    ASSERT_TRUE(full.pkg);
    EXPECT_EQ(to_text(*full.pkg), ":::");
    EXPECT_EQ(full.license_sources.size(), 2u);
    EXPECT_TRUE(full.license_sources.contains(LicenseSource::DECLARED));
    EXPECT_TRUE(full.license_sources.contains(LicenseSource::DETECTED));
    std::string y = yaml(full);
    EXPECT_NE(y.find("pkg: ':::'\n"), std::string::npos) << y;
    EXPECT_EQ(read_ok<RuleViolation>(y), full);
    EXPECT_EQ(read_ok<RuleViolation>("rule: r\npkg: ~\nlicense_sources:\nseverity: 1\nmessage: m\nhow_to_fix: h\n").pkg,
              std::nullopt);
}

// ---------------------------------------------------------------- evaluator run

TEST(EvaluatorRun, ReadErrors) {
    const std::string rv = "  - {rule: r, severity: HINT, message: m, how_to_fix: h}\n";
    expect_errors<Sections>({
        {"evaluator: {}\n", "evaluator: missing field `start_time` at line 1 column 12"},
        {"evaluator:\n  violations: []\n", "evaluator: missing field `start_time` at line 2 column 3"},
        {"evaluator: !x\n", "evaluator: missing field `start_time` at line 1 column 12"},
        {"evaluator: [a]\n", "evaluator: invalid type: sequence, expected struct EvaluatorRun at line 1 column 12"},
        {"evaluator: x\n", "evaluator: invalid type: string \"x\", expected struct EvaluatorRun at line 1 column 12"},
        {"evaluator:\n  violations: []\n  violations: [!x a]\n",
         "evaluator: duplicate field `violations` at line 2 column 3"},
        {"evaluator:\n" + base + "  start_time: s\n", "evaluator: duplicate field `start_time` at line 2 column 3"},
        {"evaluator:\n  start_time: 2024\n", "evaluator: invalid type: integer `2024`, expected a string at line 2 column 3"},
        {"evaluator:\n  start_time: ~\n", "evaluator: invalid type: unit value, expected a string at line 2 column 3"},
        {"evaluator:\n  start_time: '2024'\n  end_time: 2024-01-02T03:04:05Z\n",
         "evaluator: missing field `environment` at line 2 column 3"},
        {"evaluator:\n" + base + "  violations: ~\n",
         "evaluator.violations: invalid type: unit value, expected a sequence at line 5 column 15"},
        {"evaluator:\n" + base + "  Violations: !x {a: [1]}\n",
         "evaluator.Violations: untagged and internally tagged enums do not support enum input at line 5 column 15"},
        {"evaluator:\n  [a]: 1\n", "evaluator: invalid type: sequence, expected field identifier at line 2 column 3"},
    });
    for (const char* empty : {"", "evaluator:\n", "evaluator: ~\n", "evaluator: null\n"})
        EXPECT_FALSE(read_ok<Sections>(empty).evaluator) << empty;
}

TEST(EvaluatorRun, ReadAndWrite) {
    // Keys in any order; unknown ones dropped; equal violations both kept.
    auto s = read_ok<Sections>(
        "evaluator:\n"
        "  violations:\n"
        "  - {rule: r, pkg: 'Maven:g:a:1', license_sources: [CONCLUDED], severity: ERROR, message: m, how_to_fix: h}\n"
        "  - {rule: r, pkg: 'Maven:g:a:1', license_sources: [CONCLUDED], severity: ERROR, message: m, how_to_fix: h}\n"
        "  Violations: {x: [1, {y: z}]}\n"
        "  end_time: '2024'\n"
        "  environment: [v, j, '17', Linux, 8, 1024]\n"
        "  start_time: 2024-01-02T03:04:05Z\n");
    ASSERT_TRUE(s.evaluator);
    const EvaluatorRun& run = *s.evaluator;
    EXPECT_EQ(run.base.start_time, "2024-01-02T03:04:05Z");
    EXPECT_EQ(run.base.end_time, "2024");
    ASSERT_EQ(run.violations.size(), 2u);
    EXPECT_EQ(run.violations[0], run.violations[1]);
    std::string j = json(run);
    EXPECT_EQ(j.find("Violations"), std::string::npos);
    EXPECT_EQ(j.rfind("{\n  \"start_time\": \"2024-01-02T03:04:05Z\",\n  \"end_time\": \"2024\",\n  \"environment\": {", 0), 0u) << j;
    EXPECT_LT(j.find("\"environment\""), j.find("\"violations\""));
    std::string y = yaml(run);
    EXPECT_EQ(y.rfind("start_time: 2024-01-02T03:04:05Z\nend_time: '2024'\nenvironment:\n", 0), 0u) << y;
    EXPECT_EQ(read_ok<EvaluatorRun>(y), run);

    // Only the base part: an empty list of violations.
    auto bare = read_ok<EvaluatorRun>(base);
    EXPECT_TRUE(bare.violations.empty());
    EXPECT_NE(json(bare).find("\"violations\": []\n}"), std::string::npos);
    EXPECT_NE(yaml(bare).find("\nviolations: []\n"), std::string::npos);
    EXPECT_TRUE(read_ok<EvaluatorRun>(base + "  violations:\n").violations.empty());
}

// ---------------------------------------------------------------- vulnerabilities and defects

TEST(Vulnerability, ReadErrors) {
    const char* vuln_keys = "expected one of `id`, `summary`, `description`, `references`, `first_fixed_versions`";
    const char* ref_keys = "expected one of `url`, `scoring_system`, `severity`, `score`, `vector`";
    const std::string p = "advisor.results.A:n:x:1[0].vulnerabilities[0]";
    auto vuln = [](const std::string& body) { return results(std::string(result_head) + "      vulnerabilities:\n" + body); };
    expect_errors<Sections>({
        {vuln("      -\n"), p + ": missing field `id` at line 11 column 8"},
        {vuln("      - {}\n"), p + ": missing field `id` at line 11 column 9"},
        {vuln("      - {id: x}\n"), p + ": missing field `references` at line 11 column 9"},
        {vuln("      - ~\n"), p + ": invalid type: unit value, expected struct Vulnerability at line 11 column 9"},
        {vuln("      - {id: x, references: ~}\n"),
         p + ".references: invalid type: unit value, expected a sequence at line 11 column 29"},
        {vuln("      - {id: x, references: [], severity: HIGH}\n"),
         p + ": unknown field `severity`, " + vuln_keys + " at line 11 column 33"},
        {vuln("      - {id: x, references: [], references: []}\n"),
         p + ": duplicate field `references` at line 11 column 9"},
        {vuln("      - {id: x, summary: ~, summary: s, references: []}\n"),
         p + ": duplicate field `summary` at line 11 column 9"},
        {vuln("      - {id: x, references: [~]}\n"),
         p + ".references[0]: invalid type: unit value, expected struct VulnerabilityReference at line 11 column 30"},
        {vuln("      - id: x\n        references:\n        -\n"),
         p + ".references[0]: missing field `url` at line 13 column 10"},
        {vuln("      - {id: x, references: [{url: u, rank: 1}]}\n"),
         p + ".references[0]: unknown field `rank`, " + ref_keys + " at line 11 column 39"},
        {vuln("      - {id: x, references: [{url: u, score: '7'}]}\n"),
         p + ".references[0].score: invalid type: string \"7\", expected f64 at line 11 column 46"},
        {vuln("      - {id: x, references: [{url: u, score: 1e400}]}\n"),
         p + ".references[0].score: invalid type: string \"1e400\", expected f64 at line 11 column 46"},
        {vuln("      - {id: x, references: [], first_fixed_versions: ~}\n"),
         p + ".first_fixed_versions: invalid type: unit value, expected a sequence at line 11 column 55"},
    });
}

TEST(Vulnerability, ReadAndWrite) {
    auto v = read_ok<Vulnerability>("id: null\nsummary: null\nreferences:\n");
    EXPECT_EQ(v.id, "null");
    EXPECT_FALSE(v.summary);
    EXPECT_TRUE(v.references.empty());
    EXPECT_EQ(json(v),
              "{\n  \"id\": \"null\",\n  \"summary\": null,\n  \"description\": null,\n  \"references\": [],\n"
              "  \"first_fixed_versions\": []\n}");
    EXPECT_EQ(yaml(v), "id: 'null'\nsummary: null\ndescription: null\nreferences: []\nfirst_fixed_versions: []\n");

    auto versions = read_ok<Vulnerability>("id: x\nreferences: []\nfirst_fixed_versions: [1.2, \"1.2\", 1.3]\n");
    EXPECT_EQ(versions.first_fixed_versions.size(), 2u);
    EXPECT_TRUE(read_ok<Vulnerability>("id: x\nreferences: []\nfirst_fixed_versions:\n").first_fixed_versions.empty());

    // Scores: their reading and both written forms.
    struct ScoreCase {
        const char* input;
        const char* json;
        const char* yaml;
    };
    const ScoreCase scores[] = {
        {"7", "7.0", "7.0"},
        {"0.25", "0.25", "0.25"},
        {"1e16", "1e+16", "1e16"},
        {"0.00001", "0.00001", "0.00001"},
        {"0.000001", "1e-6", "1e-6"},
        {".nan", "null", ".nan"},
        {"-.Inf", "null", "-.inf"},
        {"+.inf", "null", ".inf"},
        {"~", "null", "null"},
        {"", "null", "null"},
    };
    for (const auto& c : scores) {
        auto r = read_ok<VulnerabilityReference>(std::string("url: u\nscore: ") + c.input + "\n");
        EXPECT_NE(json(r).find(std::string("\"score\": ") + c.json + ",\n"), std::string::npos) << c.input << json(r);
        EXPECT_NE(yaml(r).find(std::string("\nscore: ") + c.yaml + "\n"), std::string::npos) << c.input << yaml(r);
    }
    auto nan = read_ok<VulnerabilityReference>(yaml(read_ok<VulnerabilityReference>("url: u\nscore: .NaN\n")));
    ASSERT_TRUE(nan.score);
    EXPECT_TRUE(std::isnan(*nan.score));

    // A rating that looks like a number stays text.
    auto r = read_ok<VulnerabilityReference>("url: u\nseverity: 7.5\n");
    EXPECT_EQ(r.severity, "7.5");
    EXPECT_EQ(yaml(r), "url: u\nscoring_system: null\nseverity: '7.5'\nscore: null\nvector: null\n");
    EXPECT_NE(json(r).find("\"severity\": \"7.5\""), std::string::npos);
}

TEST(Defect, ReadErrors) {
    const char* keys =
        "expected one of `id`, `url`, `title`, `state`, `severity`, `description`, `creation_time`, "
        "`modification_time`, `closing_time`, `fix_release_version`, `fix_release_url`, `labels`";
    expect_errors<Defect>({
        {"", "missing field `id`"},
        {"id: x\n", "missing field `url`"},
        {"url: u\n", "missing field `id`"},
        {"~\n", "invalid type: unit value, expected struct Defect"},
        {"[a]\n", "invalid type: sequence, expected struct Defect"},
        {"id: x\nurl: u\nlabels: {}\nlabels: {}\n", "duplicate field `labels`"},
        {"id: x\nurl: u\nsummary: s\n", std::string("unknown field `summary`, ") + keys + " at line 3 column 1"},
        {"id: x\nurl: u\nlabels: ~\n", "labels: invalid type: unit value, expected a map at line 3 column 9"},
        {"id: x\nurl: u\nlabels: {a: [b]}\n", "labels.a: invalid type: sequence, expected a string at line 3 column 13"},
        {"id: x\nurl: u\ntitle: [t]\n", "title: invalid type: sequence, expected a string at line 3 column 8"},
    });
}

TEST(Defect, ReadAndWrite) {
    auto d = read_ok<Defect>("id: x\nurl: u\n");
    EXPECT_EQ(json(d),
              "{\n  \"id\": \"x\",\n  \"url\": \"u\",\n  \"title\": null,\n  \"state\": null,\n  \"severity\": null,\n"
              "  \"description\": null,\n  \"creation_time\": null,\n  \"modification_time\": null,\n"
              "  \"closing_time\": null,\n  \"fix_release_version\": null,\n  \"fix_release_url\": null,\n"
              "  \"labels\": {}\n}");
    EXPECT_EQ(yaml(d),
              "id: x\nurl: u\ntitle: null\nstate: null\nseverity: null\ndescription: null\ncreation_time: null\n"
              "modification_time: null\nclosing_time: null\nfix_release_version: null\nfix_release_url: null\n"
              "labels: {}\n");

    auto full = read_ok<Defect>(
        "id: x\nurl: u\ntitle: 'null'\nseverity: 3\ncreation_time: 45\nmodification_time: 2024-01-31T12:00:00Z\n"
        "labels: {a: 1, b: true, a: 2}\n");
    EXPECT_EQ(full.title, "null");
    EXPECT_EQ(full.severity, "3");
    EXPECT_EQ(full.creation_time, "45");
    ASSERT_EQ(full.labels.size(), 2u);
    EXPECT_EQ(*full.labels.find("a"), "2");
    std::string y = yaml(full);
    for (const char* part : {"title: 'null'\n", "severity: '3'\n", "creation_time: '45'\n",
                             "modification_time: 2024-01-31T12:00:00Z\n", "  b: 'true'\n"})
        EXPECT_NE(y.find(part), std::string::npos) << part << y;
    EXPECT_EQ(read_ok<Defect>(y), full);
    EXPECT_EQ(read_ok<Defect>(json(full)), full);
    EXPECT_EQ(read_ok<Defect>("id: x\nurl: u\nlabels:\n").labels.size(), 0u);
}

// ---------------------------------------------------------------- advisor results

TEST(AdvisorResult, ReadErrors) {
    const std::string p = "advisor.results.A:n:x:1[0]";
    expect_errors<Sections>({
        {results("    -\n"), p + ": missing field `advisor` at line 8 column 6"},
        {results("    - {summary: {start_time: s, end_time: e}}\n"), p + ": missing field `advisor` at line 8 column 7"},
        {results("    - {advisor: {name: a}}\n"), p + ": missing field `summary` at line 8 column 7"},
        {results("    - {advisor: {}, summary: {}}\n"), p + ".advisor: missing field `name` at line 8 column 17"},
        {results("    - {advisor: {name: a}, summary: {end_time: e}}\n"),
         p + ".summary: missing field `start_time` at line 8 column 37"},
        {results("    - {advisor: {name: a, version: 1}}\n"),
         p + ".advisor: unknown field `version`, expected `name` or `capabilities` at line 8 column 27"},
        {results("    - {advisor: {name: a}, summary: {start_time: s, end_time: e, issue: []}}\n"),
         p + ".summary: unknown field `issue`, expected one of `start_time`, `end_time`, `issues` at line 8 column 66"},
        {results("    - {advisor: {name: a}, summary: {start_time: s, end_time: e}, defect: []}\n"),
         p + ": unknown field `defect`, expected one of `advisor`, `summary`, `vulnerabilities`, `defects` at line 8 column 67"},
        {results("    - {advisor: ~}\n"), p + ".advisor: invalid type: unit value, expected struct AdvisorDetails at line 8 column 17"},
        {results("    - {advisor: {name: a}, summary: [s, e]}\n"),
         p + ".summary: invalid type: sequence, expected struct AdvisorSummary at line 8 column 37"},
        {results("    - {advisor: {name: a, capabilities: [defects]}}\n"),
         p + ".advisor.capabilities: invalid AdvisorCapability value: defects at line 8 column 41"},
        {results("    - {advisor: {name: a, capabilities: [3]}}\n"),
         p + ".advisor.capabilities: invalid AdvisorCapability value: 3 at line 8 column 41"},
        {results("    - {advisor: {name: a, capabilities: [0]}}\n"),
         p + ".advisor.capabilities: invalid AdvisorCapability value: 0 at line 8 column 41"},
        {results("    - {advisor: {name: a, capabilities: ['1']}}\n"),
         p + ".advisor.capabilities: invalid AdvisorCapability value: 1 at line 8 column 41"},
        {results("    - {advisor: {name: a, capabilities: DEFECTS}}\n"),
         p + ".advisor.capabilities: invalid type: string \"DEFECTS\", expected a sequence at line 8 column 41"},
        {results(std::string(result_head) + "      defects: ~\n"),
         p + ".defects: invalid type: unit value, expected a sequence at line 10 column 16"},
    });
}

TEST(AdvisorResult, ReadAndWrite) {
    auto r = read_ok<AdvisorResult>("advisor: {name: a}\nsummary: {start_time: 2024-01-01, end_time: 5}\n");
    EXPECT_FALSE(r.advisor.capabilities);
    EXPECT_EQ(r.summary.start_time, "2024-01-01");
    EXPECT_EQ(r.summary.end_time, "5");
    EXPECT_EQ(json(r),
              "{\n  \"advisor\": {\n    \"name\": \"a\",\n    \"capabilities\": null\n  },\n"
              "  \"summary\": {\n    \"start_time\": \"2024-01-01\",\n    \"end_time\": \"5\",\n    \"issues\": []\n  },\n"
              "  \"vulnerabilities\": [],\n  \"defects\": []\n}");
    EXPECT_EQ(yaml(r),
              "advisor:\n  name: a\n  capabilities: null\nsummary:\n  start_time: 2024-01-01\n  end_time: '5'\n"
              "  issues: []\nvulnerabilities: []\ndefects: []\n");

    // Capabilities: none and empty differ; repeats kept once.
    struct CapabilityCase {
        const char* value;
        std::size_t count;  // SIZE_MAX: none
    };
    const CapabilityCase caps[] = {{"", SIZE_MAX}, {"~", SIZE_MAX}, {"[]", 0}, {"[DEFECTS, 2, DEFECTS]", 2}, {"[1]", 1}};
    for (const auto& c : caps) {
        auto d = read_ok<AdvisorDetails>(std::string("name: a\ncapabilities: ") + c.value + "\n");
        if (c.count == SIZE_MAX) {
            EXPECT_FALSE(d.capabilities) << c.value;
            EXPECT_EQ(yaml(d), "name: a\ncapabilities: null\n");
        } else {
            ASSERT_TRUE(d.capabilities) << c.value;
            EXPECT_EQ(d.capabilities->size(), c.count) << c.value;
            EXPECT_EQ(read_ok<AdvisorDetails>(yaml(d)), d);
        }
    }
    EXPECT_EQ(json(read_ok<AdvisorDetails>("name: a\ncapabilities: []\n")),
              "{\n  \"name\": \"a\",\n  \"capabilities\": []\n}");
}

// ---------------------------------------------------------------- advisor run

TEST(AdvisorRun, ReadErrors) {
    expect_errors<Sections>({
        {"advisor:\n  end_time: e\n", "advisor: missing field `config` at line 2 column 3"},
        {"advisor: {}\n", "advisor: missing field `config` at line 1 column 10"},
        {"advisor: !x\n", "advisor: missing field `config` at line 1 column 10"},
        {"advisor: [a]\n", "advisor: invalid type: sequence, expected struct AdvisorRun at line 1 column 10"},
        {"advisor:\n  config:\n", "advisor: missing field `start_time` at line 2 column 3"},
        {"advisor:\n  config:\n  config: {}\n", "advisor: duplicate field `config` at line 2 column 3"},
        {"advisor:\n" + base + "  start_time: s\n  config:\n", "advisor: duplicate field `start_time` at line 2 column 3"},
        {"advisor:\n" + base + "  start_time: s\n", "advisor: missing field `config` at line 2 column 3"},
        {"advisor:\n  config:\n  start_time: 2024\n", "advisor: invalid type: integer `2024`, expected a string at line 2 column 3"},
        {"advisor:\n  config:\n  start_time: true\n", "advisor: invalid type: boolean `true`, expected a string at line 2 column 3"},
        {"advisor:\n  config:\n  start_time:\n", "advisor: invalid type: unit value, expected a string at line 2 column 3"},
        {"advisor:\n  config: ~\n", "advisor.config: invalid type: unit value, expected struct AdvisorConfiguration at line 2 column 11"},
        {"advisor:\n  config: {skip: true}\n",
         "advisor.config: unknown field `skip`, expected `skip_excluded` or `advisors` at line 2 column 12"},
        {"advisor:\n  config: {advisors: ~, advisors: {}}\n", "advisor.config: duplicate field `advisors` at line 2 column 11"},
        {"advisor:\n  config: {skip_excluded: 'true'}\n",
         "advisor.config.skip_excluded: invalid type: string \"true\", expected a boolean at line 2 column 27"},
        {"advisor:\n  config:\n  other: !x ~\n",
         "advisor.other: untagged and internally tagged enums do not support enum input at line 3 column 10"},
        {"advisor:\n  config:\n  provider_issues: ~\n",
         "advisor.provider_issues: invalid type: unit value, expected a sequence at line 3 column 20"},
        {"advisor:\n  config:\n  results:\n    a:b:c: []\n",
         "advisor.results: Field 'identifier' is invalid: must be in the format 'type:namespace:name:version' at line 4 column 5"},
        {"advisor:\n  config:\n  results: []\n", "advisor.results: invalid type: sequence, expected a map at line 3 column 12"},
    });
    for (const char* empty : {"advisor:\n", "advisor: ~\n", "advisor: null\n"})
        EXPECT_FALSE(read_ok<Sections>(empty).advisor) << empty;
}

TEST(AdvisorRun, ReadAndWrite) {
    // From a real result, with its old configuration shape replaced.
    const std::string text =
        "  results:\n"
        "    Maven:org.apache.commons:commons-text:1.1:\n"
        "    - advisor:\n"
        "        name: \"VulnerableCode\"\n"
        "        capabilities:\n"
        "        - \"VULNERABILITIES\"\n"
        "      summary:\n"
        "        start_time: \"1970-01-01T00:00:00Z\"\n"
        "        end_time: \"1970-01-01T00:00:00Z\"\n"
        "        issues:\n"
        "        - timestamp: \"1970-01-01T00:00:00Z\"\n"
        "          source: \"VulnerableCode\"\n"
        "          message: \"Example advisor hint.\"\n"
        "          severity: \"HINT\"\n"
        "      vulnerabilities:\n"
        "      - id: \"VULCOID-VULNERABILITY_ID\"\n"
        "        summary: \"summary text\"\n"
        "        references:\n"
        "        - url: \"https://registry.vulnerability-url/\"\n"
        "          scoring_system: \"SCORING_SYSTEM_NAME\"\n"
        "          severity: \"ERROR\"\n"
        "          score: 5.5\n"
        "      defects:\n"
        "      - id: \"1\"\n"
        "        url: \"https://defects/1\"\n"
        "  config:\n"
        "    advisors:\n"
        "      VulnerableCode:\n"
        "        options: {server_url: \"http://localhost:8000\", retries: 3}\n"
        "  provider_issues:\n"
        "    - timestamp: \"2026-02-26T08:54:38.920436615Z\"\n"
        "      source: \"Advisor\"\n"
        "      message: \"Example provider issue.\"\n"
        "      severity: \"ERROR\"\n"
        "  has_issues: true\n" +
        base;
    auto s = read_ok<Sections>("advisor:\n" + text);
    ASSERT_TRUE(s.advisor);
    const AdvisorRun& run = *s.advisor;
    EXPECT_EQ(run.provider_issues.size(), 1u);
    ASSERT_EQ(run.results.size(), 1u);
    const auto& [id, list] = *run.results.begin();
    EXPECT_EQ(to_text(id), "Maven:org.apache.commons:commons-text:1.1");
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].vulnerabilities[0].references[0].score, 5.5);
    ASSERT_TRUE(run.config.advisors);
    EXPECT_EQ(run.config.advisors->size(), 1u);

    std::string j = json(run);
    EXPECT_EQ(j.find("has_issues"), std::string::npos);
    std::size_t at = 0;
    for (const char* key : {"\n  \"start_time\"", "\n  \"end_time\"", "\n  \"environment\"", "\n  \"config\"",
                            "\n  \"provider_issues\"", "\n  \"results\""}) {
        std::size_t next = j.find(key, at);
        EXPECT_NE(next, std::string::npos) << key << j;
        at = next;
    }
    EXPECT_NE(j.find("\"results\": {\n    \"Maven:org.apache.commons:commons-text:1.1\": ["), std::string::npos) << j;
    std::string y = yaml(run);
    EXPECT_EQ(y.rfind("start_time: s\nend_time: e\nenvironment:\n", 0), 0u) << y;
    EXPECT_EQ(read_ok<AdvisorRun>(y), run);

    // The configuration: no advisors and none differ.
    auto none = read_ok<AdvisorConfiguration>("");
    EXPECT_FALSE(none.skip_excluded);
    EXPECT_FALSE(none.advisors);
    EXPECT_EQ(json(none), "{\n  \"skip_excluded\": false,\n  \"advisors\": null\n}");
    EXPECT_EQ(yaml(none), "skip_excluded: false\nadvisors: null\n");
    auto empty = read_ok<AdvisorConfiguration>("skip_excluded: true\nadvisors: {}\n");
    EXPECT_EQ(json(empty), "{\n  \"skip_excluded\": true,\n  \"advisors\": {}\n}");
    EXPECT_EQ(yaml(empty), "skip_excluded: true\nadvisors: {}\n");
    auto defaults = read_ok<AdvisorRun>(base + "  config:\n  results:\n  provider_issues:\n");
    EXPECT_TRUE(defaults.results.empty());
    EXPECT_TRUE(defaults.provider_issues.empty());
}

// ---------------------------------------------------------------- real result files

TEST(AdvisorEvaluator, RealResultFiles) {
    BRINDLE_NEEDS_CORPUS();
    auto file = [](const char* name) {
        return brindle::test::file_text(brindle::test::corpus_path("results/" + std::string(name)));
    };
    // A current result: its evaluator reads; its advisor configuration has an older shape.
    std::string current = file("27.yml");
    EXPECT_EQ(read_error<ResultSections>(current),
              "advisor.config: unknown field `config`, expected `skip_excluded` or `advisors` at line 778 column 5");
    std::string::size_type config = current.find("  config:\n    config:\n");
    ASSERT_NE(config, std::string::npos);
    current.replace(config, std::string("  config:\n    config:\n").size(), "  config:\n    advisors:\n");
    auto sections = read_ok<ResultSections>(current);
    ASSERT_TRUE(sections.advisor);
    ASSERT_TRUE(sections.evaluator);
    EXPECT_FALSE(sections.evaluator->violations.empty());
    EXPECT_EQ(sections.evaluator->violations[0].license_sources.size(), 1u);
    ASSERT_FALSE(sections.advisor->results.empty());
    EXPECT_EQ(read_ok<AdvisorRun>(yaml(*sections.advisor)), *sections.advisor);
    EXPECT_EQ(read_ok<EvaluatorRun>(json(*sections.evaluator)), *sections.evaluator);
    // An old one names a single license source.
    EXPECT_NE(read_error<ResultSections>(file("38.yml")).find("unknown field `license_source`"), std::string::npos);
}

}  // namespace
