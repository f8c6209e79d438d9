// The sections of a repository configuration: includes, excludes,
// resolutions, license choices and snippet choices; their reason enums,
// strict reading with the exact failure texts, and JSON/YAML writing.
#include <string>
#include <vector>

#include "models/json_writer.hpp"
#include "models/ort/excludes.hpp"
#include "models/ort/includes.hpp"
#include "models/ort/license_choices.hpp"
#include "models/ort/resolutions.hpp"
#include "models/ort/snippet_choices.hpp"
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
    const char* yaml;
    const char* error;
};

template <class T>
void expect_errors(const std::vector<ErrorCase>& cases) {
    for (const auto& c : cases) EXPECT_EQ(read_error<T>(c.yaml), c.error) << c.yaml;
}

// How a reason value reads in each enum, by its written name; "" for a
// value that fails (the failure text is checked by the error tables).
struct ReasonCase {
    const char* value;
    const char* written;
};

template <class Holder>
void expect_reasons(const char* prefix, const std::vector<ReasonCase>& cases) {
    for (const auto& c : cases) {
        std::string doc = std::string(prefix) + c.value + "\n";
        Holder h{};
        std::string err = read_error<Holder>(doc, &h);
        if (*c.written == '\0') {
            EXPECT_NE(err, "") << doc;
        } else {
            EXPECT_EQ(err, "") << doc;
            EXPECT_EQ(enum_name(h.reason), c.written) << doc;
        }
    }
}

// The list of snippet choices as a configuration holds it, so that errors
// carry the paths a real file gives.
struct SnippetHolder {
    std::vector<SnippetChoices> snippet_choices;
};

void expect_snippet_errors(const std::vector<ErrorCase>& cases) {
    for (const auto& c : cases) {
        std::string doc = std::string("snippet_choices:\n") + c.yaml;
        EXPECT_EQ(read_error<SnippetHolder>(doc), c.error) << doc;
    }
}

}  // namespace

template <>
struct brindle::models::Model<SnippetHolder> {
    static constexpr std::string_view name = "SnippetHolder";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{defaulted("snippet_choices", &SnippetHolder::snippet_choices)};
};

// ---------------------------------------------------------------- includes

TEST(RepositorySections, IncludesReadErrors) {
    expect_errors<Includes>({
        {"paths: ~\n", "paths: invalid type: unit value, expected a sequence at line 1 column 8"},
        {"- a\n", "invalid type: sequence, expected struct Includes"},
        {"path: []\n", "unknown field `path`, expected `paths`"},
        {"paths: []\npaths: []\n", "duplicate field `paths`"},
        {"paths:\n- reason: OTHER\n", "paths[0]: missing field `pattern` at line 2 column 3"},
        {"paths:\n- pattern: a\n", "paths[0]: missing field `reason` at line 2 column 3"},
        {"paths:\n-\n", "paths[0]: missing field `pattern` at line 2 column 2"},
        {"paths:\n- ~\n", "paths[0]: invalid type: unit value, expected struct PathInclude at line 2 column 3"},
        {"paths:\n- Pattern: a\n",
         "paths[0]: unknown field `Pattern`, expected one of `pattern`, `reason`, `comment` at line 2 column 3"},
        {"paths:\n- pattern: [a]\n  reason: OTHER\n",
         "paths[0].pattern: invalid type: sequence, expected a string at line 2 column 12"},
        {"paths:\n- pattern: a\n  reason: '1'\n", "paths[0]: invalid PathIncludeReason value: 1 at line 2 column 3"},
        {"paths:\n- pattern: a\n  reason: 0\n", "paths[0]: invalid PathIncludeReason value: 0 at line 2 column 3"},
        {"paths:\n- pattern: a\n  reason: 3\n", "paths[0]: invalid PathIncludeReason value: 3 at line 2 column 3"},
        {"paths:\n- pattern: a\n  reason: -1\n", "paths[0]: invalid PathIncludeReason value: -1 at line 2 column 3"},
        {"paths:\n- pattern: a\n  reason: 1.0\n", "paths[0]: invalid PathIncludeReason value: 1.0 at line 2 column 3"},
        {"paths:\n- pattern: a\n  reason: source_of\n",
         "paths[0]: invalid PathIncludeReason value: source_of at line 2 column 3"},
        {"paths:\n- pattern: a\n  reason: ~\n", "paths[0]: invalid PathIncludeReason value: Null at line 2 column 3"},
        {"paths:\n- pattern: a\n  reason: true\n",
         "paths[0]: invalid PathIncludeReason value: Bool(true) at line 2 column 3"},
    });
}

TEST(RepositorySections, IncludesReadAndWrite) {
    EXPECT_EQ(read_ok<Includes>("{}\n"), Includes{});
    EXPECT_EQ(read_ok<Includes>("paths:\n"), Includes{});
    EXPECT_EQ(json(Includes{}), "{\n  \"paths\": []\n}");
    EXPECT_EQ(yaml(Includes{}), "paths: []\n");

    // From a real configuration, with numbers and odd scalars for the texts.
    auto inc = read_ok<Includes>(
        "paths:\n"
        "- pattern: \"src/**\"\n"
        "  reason: \"SOURCE_OF\"\n"
        "  comment: \"The sources.\"\n"
        "- pattern: 12\n"
        "  reason: 2\n"
        "  comment: ~\n"
        "- pattern: a\n"
        "  reason: 1\n");
    ASSERT_EQ(inc.paths.size(), 3u);
    EXPECT_EQ(inc.paths[1].pattern, "12");
    EXPECT_EQ(inc.paths[1].reason, PathIncludeReason::OTHER);
    EXPECT_EQ(inc.paths[1].comment, "~");
    EXPECT_EQ(inc.paths[2].reason, PathIncludeReason::SOURCE_OF);
    EXPECT_EQ(inc.paths[2].comment, "");
    EXPECT_EQ(json(inc.paths[2]), "{\n  \"pattern\": \"a\",\n  \"reason\": \"SOURCE_OF\",\n  \"comment\": \"\"\n}");
    EXPECT_EQ(yaml(inc),
              "paths:\n"
              "- pattern: src/**\n  reason: SOURCE_OF\n  comment: The sources.\n"
              "- pattern: '12'\n  reason: OTHER\n  comment: '~'\n"
              "- pattern: a\n  reason: SOURCE_OF\n  comment: ''\n");
}

// ---------------------------------------------------------------- excludes

TEST(RepositorySections, ExcludesReadErrors) {
    expect_errors<Excludes>({
        {"paths: ~\n", "paths: invalid type: unit value, expected a sequence at line 1 column 8"},
        {"scopes: null\n", "scopes: invalid type: unit value, expected a sequence at line 1 column 9"},
        {"path: []\n", "unknown field `path`, expected `paths` or `scopes`"},
        {"paths:\n- ~\n", "paths[0]: invalid type: unit value, expected struct PathExclude at line 2 column 3"},
        {"scopes:\n- []\n", "scopes[0]: invalid type: sequence, expected struct ScopeExclude at line 2 column 3"},
        {"paths:\n- reason: OTHER\n  comment: c\n", "paths[0]: missing field `pattern` at line 2 column 3"},
        {"paths:\n- pattern: a\n", "paths[0]: missing field `reason` at line 2 column 3"},
        {"paths:\n- {}\n", "paths[0]: missing field `pattern` at line 2 column 3"},
        {"paths:\n-\n", "paths[0]: missing field `pattern` at line 2 column 2"},
        {"scopes:\n- Pattern: a\n",
         "scopes[0]: unknown field `Pattern`, expected one of `pattern`, `reason`, `comment` at line 2 column 3"},
        {"paths:\n- pattern: a\n  reasons: OTHER\n",
         "paths[0]: unknown field `reasons`, expected one of `pattern`, `reason`, `comment` at line 3 column 3"},
        {"paths:\n- pattern: a\n  reason: OTHER\n  pattern: a\n",
         "paths[0]: duplicate field `pattern` at line 2 column 3"},
        {"paths:\n- pattern: [a]\n", "paths[0].pattern: invalid type: sequence, expected a string at line 2 column 12"},
        {"paths:\n- pattern: a\n  reason: '6'\n", "paths[0]: invalid PathExcludeReason value: 6 at line 2 column 3"},
        {"paths:\n- pattern: a\n  reason: 0\n", "paths[0]: invalid PathExcludeReason value: 0 at line 2 column 3"},
        {"paths:\n- pattern: a\n  reason: 10\n", "paths[0]: invalid PathExcludeReason value: 10 at line 2 column 3"},
        {"paths:\n- pattern: a\n  reason: other\n",
         "paths[0]: invalid PathExcludeReason value: other at line 2 column 3"},
        {"paths:\n- pattern: a\n  reason: 'OTHER '\n",
         "paths[0]: invalid PathExcludeReason value: OTHER  at line 2 column 3"},
        {"paths:\n- pattern: a\n  reason: ~\n", "paths[0]: invalid PathExcludeReason value: Null at line 2 column 3"},
        {"paths:\n- pattern: a\n  reason:\n", "paths[0]: invalid PathExcludeReason value: Null at line 2 column 3"},
        {"paths:\n- pattern: a\n  reason: true\n",
         "paths[0]: invalid PathExcludeReason value: Bool(true) at line 2 column 3"},
        {"scopes:\n- pattern: a\n  reason: 10\n",
         "scopes[0]: invalid ScopeExcludeReason value: 10 at line 2 column 3"},
        {"scopes:\n- pattern: a\n  reason: DATA_FILE_OF\n",
         "scopes[0]: invalid ScopeExcludeReason value: DATA_FILE_OF at line 2 column 3"},
    });
}

// The two enums share names under different numbers.
TEST(RepositorySections, ExcludeReasonNumbers) {
    expect_reasons<PathExclude>("pattern: a\nreason: ", {
        {"OTHER", "OTHER"}, {"6", "OTHER"}, {"0x6", "OTHER"}, {"PROVIDED_BY", "PROVIDED_BY"}, {"7", "PROVIDED_BY"},
        {"1", "BUILD_TOOL_OF"}, {"9", "TEST_TOOL_OF"}, {"RUNTIME_DEPENDENCY_OF", ""},
    });
    expect_reasons<ScopeExclude>("pattern: a\nreason: ", {
        {"PROVIDED_BY", "PROVIDED_BY"}, {"5", "PROVIDED_BY"}, {"2", "BUILD_DEPENDENCY_OF"}, {"7", "TEST_TOOL_OF"},
        {"8", "TEST_DEPENDENCY_OF"}, {"9", "RUNTIME_DEPENDENCY_OF"}, {"OTHER", ""},
    });
    EXPECT_EQ(static_cast<int>(read_ok<PathExclude>("pattern: a\nreason: PROVIDED_BY\n").reason), 7);
    EXPECT_EQ(static_cast<int>(read_ok<ScopeExclude>("pattern: a\nreason: PROVIDED_BY\n").reason), 5);
}

TEST(RepositorySections, ExcludesReadAndWrite) {
    EXPECT_EQ(read_ok<Excludes>("{}\n"), Excludes{});
    EXPECT_EQ(read_ok<Excludes>("paths:\nscopes:\n"), Excludes{});
    EXPECT_EQ(json(Excludes{}), "{\n  \"paths\": [],\n  \"scopes\": []\n}");
    EXPECT_EQ(yaml(Excludes{}), "paths: []\nscopes: []\n");

    // Repeated equal elements stay, in order; keys in any order; odd scalars as texts.
    auto ex = read_ok<Excludes>(
        "scopes:\n"
        "- pattern: \"test.*\"\n"
        "  reason: \"TEST_DEPENDENCY_OF\"\n"
        "  comment: \"Packages for testing only.\"\n"
        "paths:\n"
        "- {reason: 8, pattern: '**/test/**'}\n"
        "- pattern: '**/test/**'\n  reason: TEST_OF\n"
        "- pattern: 42\n  reason: OTHER\n  comment: ~\n");
    ASSERT_EQ(ex.paths.size(), 3u);
    EXPECT_EQ(ex.paths[0], ex.paths[1]);
    EXPECT_EQ(ex.paths[2].pattern, "42");
    EXPECT_EQ(ex.paths[2].comment, "~");
    EXPECT_EQ(json(ex),
              R"({
  "paths": [
    {
      "pattern": "**/test/**",
      "reason": "TEST_OF",
      "comment": ""
    },
    {
      "pattern": "**/test/**",
      "reason": "TEST_OF",
      "comment": ""
    },
    {
      "pattern": "42",
      "reason": "OTHER",
      "comment": "~"
    }
  ],
  "scopes": [
    {
      "pattern": "test.*",
      "reason": "TEST_DEPENDENCY_OF",
      "comment": "Packages for testing only."
    }
  ]
})");
    EXPECT_EQ(yaml(ex),
              "paths:\n"
              "- pattern: '**/test/**'\n  reason: TEST_OF\n  comment: ''\n"
              "- pattern: '**/test/**'\n  reason: TEST_OF\n  comment: ''\n"
              "- pattern: '42'\n  reason: OTHER\n  comment: '~'\n"
              "scopes:\n"
              "- pattern: test.*\n  reason: TEST_DEPENDENCY_OF\n  comment: Packages for testing only.\n");
}

// ---------------------------------------------------------------- resolutions

TEST(RepositorySections, ResolutionsReadErrors) {
    expect_errors<Resolutions>({
        {"issues: ~\n", "issues: invalid type: unit value, expected a sequence at line 1 column 9"},
        {"rule_violation: []\n",
         "unknown field `rule_violation`, expected one of `issues`, `rule_violations`, `vulnerabilities`"},
        {"issues:\n- message: m\n  reason: CANT_FIX_ISSUE\n", "issues[0]: missing field `comment` at line 2 column 3"},
        {"issues:\n- comment: c\n", "issues[0]: missing field `message` at line 2 column 3"},
        {"vulnerabilities:\n- comment: c\n", "vulnerabilities[0]: missing field `id` at line 2 column 3"},
        {"vulnerabilities:\n- id: x\n  comment: c\n", "vulnerabilities[0]: missing field `reason` at line 2 column 3"},
        {"vulnerabilities:\n-\n", "vulnerabilities[0]: missing field `id` at line 2 column 2"},
        {"issues:\n-\n", "issues[0]: missing field `message` at line 2 column 2"},
        {"rule_violations:\n-\n", "rule_violations[0]: missing field `message` at line 2 column 2"},
        {"rule_violations:\n- ''\n",
         "rule_violations[0]: invalid type: string \"\", expected struct RuleViolationResolution at line 2 column 3"},
        {"vulnerabilities:\n- message: m\n",
         "vulnerabilities[0]: unknown field `message`, expected one of `id`, `reason`, `comment` at line 2 column 3"},
        {"issues:\n- id: m\n",
         "issues[0]: unknown field `id`, expected one of `message`, `reason`, `comment` at line 2 column 3"},
        {"issues:\n- message: m\n  comment: c\n  comment: c\n",
         "issues[0]: duplicate field `comment` at line 2 column 3"},
        {"issues:\n- message: {}\n", "issues[0].message: invalid type: map, expected a string at line 2 column 12"},
        {"issues:\n- message: m\n  reason: 4\n",
         "issues[0]: invalid IssueResolutionReason value: 4 at line 2 column 3"},
        {"issues:\n- message: m\n  reason: cant_fix_issue\n",
         "issues[0]: invalid IssueResolutionReason value: cant_fix_issue at line 2 column 3"},
        {"rule_violations:\n- message: m\n  reason: ~\n",
         "rule_violations[0]: invalid RuleViolationResolutionReason value: Null at line 2 column 3"},
        {"rule_violations:\n- message: m\n  reason: 7\n",
         "rule_violations[0]: invalid RuleViolationResolutionReason value: 7 at line 2 column 3"},
        {"vulnerabilities:\n- id: m\n  reason: 1.0\n",
         "vulnerabilities[0]: invalid VulnerabilityResolutionReason value: 1.0 at line 2 column 3"},
        {"vulnerabilities:\n- id: m\n  reason: 8\n",
         "vulnerabilities[0]: invalid VulnerabilityResolutionReason value: 8 at line 2 column 3"},
    });
}

TEST(RepositorySections, ResolutionReasonNumbers) {
    expect_reasons<IssueResolution>("message: m\ncomment: c\nreason: ", {
        {"CANT_FIX_ISSUE", "CANT_FIX_ISSUE"}, {"2", "CANT_FIX_ISSUE"}, {"3", "SCANNER_ISSUE"}, {"4", ""},
    });
    expect_reasons<RuleViolationResolution>("message: m\ncomment: c\nreason: ", {
        {"4", "LICENSE_ACQUIRED_EXCEPTION"}, {"6", "PATENT_GRANT_EXCEPTION"}, {"7", ""},
    });
    expect_reasons<VulnerabilityResolution>("id: m\ncomment: c\nreason: ", {
        {"4", "MITIGATED_VULNERABILITY"}, {"7", "WORKAROUND_FOR_VULNERABILITY"}, {"0", ""},
    });
}

TEST(RepositorySections, ResolutionsReadAndWrite) {
    EXPECT_EQ(read_ok<Resolutions>("{}\n"), Resolutions{});
    EXPECT_EQ(read_ok<Resolutions>("issues:\n"), Resolutions{});
    EXPECT_EQ(json(Resolutions{}), "{\n  \"issues\": [],\n  \"rule_violations\": [],\n  \"vulnerabilities\": []\n}");
    EXPECT_EQ(yaml(Resolutions{}), "issues: []\nrule_violations: []\nvulnerabilities: []\n");

    auto r = read_ok<Resolutions>(
        "issues:\n"
        "- message: \"ERROR: Timeout after 300 seconds while scanning file '.*(\"\n"
        "  reason: \"SCANNER_ISSUE\"\n"
        "  comment: >-\n    The file holds no license.\n"
        "- message: ~\n  reason: 1\n  comment:\n"
        "- message: ~\n  reason: 1\n  comment:\n"
        "rule_violations:\n"
        "- {comment: c, reason: 2, message: m}\n"
        "vulnerabilities:\n"
        "- id: 12\n  reason: INEFFECTIVE_VULNERABILITY\n  comment: ''\n");
    ASSERT_EQ(r.issues.size(), 3u);
    EXPECT_EQ(r.issues[0].message, "ERROR: Timeout after 300 seconds while scanning file '.*(");
    EXPECT_EQ(r.issues[1].message, "~");
    EXPECT_EQ(r.issues[1].comment, "");
    EXPECT_EQ(r.issues[1], r.issues[2]);
    EXPECT_EQ(r.vulnerabilities[0].id, "12");
    EXPECT_EQ(json(r.rule_violations[0]),
              "{\n  \"message\": \"m\",\n  \"reason\": \"DYNAMIC_LINKAGE_EXCEPTION\",\n  \"comment\": \"c\"\n}");
    EXPECT_EQ(yaml(r),
              "issues:\n"
              "- message: 'ERROR: Timeout after 300 seconds while scanning file ''.*('\n"
              "  reason: SCANNER_ISSUE\n  comment: The file holds no license.\n"
              "- message: '~'\n  reason: BUILD_TOOL_ISSUE\n  comment: ''\n"
              "- message: '~'\n  reason: BUILD_TOOL_ISSUE\n  comment: ''\n"
              "rule_violations:\n"
              "- message: m\n  reason: DYNAMIC_LINKAGE_EXCEPTION\n  comment: c\n"
              "vulnerabilities:\n"
              "- id: '12'\n  reason: INEFFECTIVE_VULNERABILITY\n  comment: ''\n");
}

// ---------------------------------------------------------------- license choices

TEST(RepositorySections, LicenseChoicesReadErrors) {
    expect_errors<LicenseChoices>({
        {"[]\n", "invalid type: sequence, expected struct LicenseChoices"},
        {"repository_license_choices: ~\n",
         "repository_license_choices: invalid type: unit value, expected a sequence at line 1 column 29"},
        {"repository_license_choice: []\n",
         "unknown field `repository_license_choice`, expected `repository_license_choices` or "
         "`package_license_choices`"},
        {"package_license_choices: []\npackage_license_choices: 5\n", "duplicate field `package_license_choices`"},
        {"repository_license_choices:\n- Choice: MIT\n",
         "repository_license_choices[0]: unknown field `Choice`, expected `given` or `choice` at line 2 column 3"},
        {"repository_license_choices:\n-\n",
         "repository_license_choices[0]: missing field `choice` at line 2 column 2"},
        {"repository_license_choices:\n- given: MIT OR BSD-2-Clause\n",
         "repository_license_choices[0]: missing field `choice` at line 2 column 3"},
        {"repository_license_choices:\n- ~\n",
         "repository_license_choices[0]: invalid type: unit value, expected struct SpdxLicenseChoice at line 2 "
         "column 3"},
        {"package_license_choices:\n- license_choices: []\n",
         "package_license_choices[0]: missing field `package_id` at line 2 column 3"},
        {"package_license_choices:\n-\n", "package_license_choices[0]: missing field `package_id` at line 2 column 2"},
        {"package_license_choices:\n- package_id: a:b:c\n",
         "package_license_choices[0]: Field 'identifier' is invalid: must be in the format "
         "'type:namespace:name:version' at line 2 column 3"},
        {"package_license_choices:\n- package_id: a:b:c:d:e\n",
         "package_license_choices[0]: Field 'identifier' is invalid: must be in the format "
         "'type:namespace:name:version' at line 2 column 3"},
        {"package_license_choices:\n- package_id: a:b:c:d\n  license_choices:\n  - {given: [x], choice: y}\n",
         "package_license_choices[0].license_choices[0].given: invalid type: sequence, expected a string at line 4 "
         "column 13"},
    });
}

TEST(RepositorySections, LicenseChoicesReadAndWrite) {
    EXPECT_EQ(read_ok<LicenseChoices>("{}\n"), LicenseChoices{});
    EXPECT_EQ(read_ok<LicenseChoices>("repository_license_choices:\n"), LicenseChoices{});
    EXPECT_EQ(json(LicenseChoices{}), "{\n  \"repository_license_choices\": [],\n  \"package_license_choices\": []\n}");

    auto lc = read_ok<LicenseChoices>(
        "repository_license_choices:\n"
        "- given: \"(Apache-2.0 OR MS-PL) AND MIT\"\n"
        "  choice: \"Apache-2.0 AND MIT\"\n"
        "- choice: null\n"
        "- choice: null\n"
        "- {given: ~, choice: }\n"
        "- {given: '', choice: 42}\n"
        "package_license_choices:\n"
        "- package_id: \":::\"\n"
        "- license_choices:\n  - given:\n    choice: MIT\n"
        "  package_id: Maven:org.example:lib:1.0\n");
    ASSERT_EQ(lc.repository_license_choices.size(), 5u);
    EXPECT_EQ(lc.repository_license_choices[1], lc.repository_license_choices[2]);
    EXPECT_EQ(lc.repository_license_choices[1].given, std::nullopt);
    EXPECT_EQ(lc.repository_license_choices[1].choice, "null");
    EXPECT_EQ(lc.repository_license_choices[3].given, std::nullopt);
    EXPECT_EQ(lc.repository_license_choices[3].choice, "");
    EXPECT_EQ(lc.repository_license_choices[4].given, std::optional<std::string>(""));
    EXPECT_EQ(lc.repository_license_choices[4].choice, "42");
    ASSERT_EQ(lc.package_license_choices.size(), 2u);
    EXPECT_EQ(lc.package_license_choices[0].package_id, Identifier{});
    EXPECT_TRUE(lc.package_license_choices[0].license_choices.empty());
    EXPECT_EQ(json(lc.package_license_choices[1]),
              R"({
  "package_id": "Maven:org.example:lib:1.0",
  "license_choices": [
    {
      "given": null,
      "choice": "MIT"
    }
  ]
})");
    EXPECT_EQ(yaml(lc),
              "repository_license_choices:\n"
              "- given: (Apache-2.0 OR MS-PL) AND MIT\n  choice: Apache-2.0 AND MIT\n"
              "- given: null\n  choice: 'null'\n"
              "- given: null\n  choice: 'null'\n"
              "- given: null\n  choice: ''\n"
              "- given: ''\n  choice: '42'\n"
              "package_license_choices:\n"
              "- package_id: ':::'\n  license_choices: []\n"
              "- package_id: Maven:org.example:lib:1.0\n  license_choices:\n  - given: null\n    choice: MIT\n");
}

// ---------------------------------------------------------------- snippet choices

TEST(RepositorySections, SnippetChoicesReadErrors) {
    expect_snippet_errors({
        {"- provenance: {url: u}\n", "snippet_choices[0]: missing field `choices` at line 2 column 3"},
        {"- choices: []\n", "snippet_choices[0]: missing field `provenance` at line 2 column 3"},
        {"- {}\n", "snippet_choices[0]: missing field `provenance` at line 2 column 3"},
        {"-\n", "snippet_choices[0]: missing field `provenance` at line 2 column 2"},
        {"- 5\n", "snippet_choices[0]: invalid type: integer `5`, expected struct SnippetChoices at line 2 column 3"},
        {"- provenance: {url: u}\n  choices: ~\n",
         "snippet_choices[0].choices: invalid type: unit value, expected a sequence at line 3 column 12"},
        {"- provenance: {url: u}\n  choices:\n  -\n",
         "snippet_choices[0].choices[0]: missing field `given` at line 4 column 4"},
        {"- provenance:\n  choices: []\n", "snippet_choices[0].provenance: missing field `url` at line 2 column 14"},
        {"- provenance: {urls: u}\n  choices: []\n",
         "snippet_choices[0].provenance: unknown field `urls`, expected `url` at line 2 column 16"},
        {"- provenance: {url: u, url: u}\n  choices: []\n",
         "snippet_choices[0].provenance: duplicate field `url` at line 2 column 15"},
        {"- provenance: {url: u}\n  choice: []\n",
         "snippet_choices[0]: unknown field `choice`, expected `provenance` or `choices` at line 3 column 3"},
        {"- provenance: {url: u}\n  choices:\n  - given:\n    choice: {reason: OTHER}\n",
         "snippet_choices[0].choices[0].given: missing field `source_location` at line 4 column 11"},
        {"- provenance: {url: u}\n  choices:\n  - given: {source_location: {path: p, start_line: 1}}\n"
         "    choice: {reason: OTHER}\n",
         "snippet_choices[0].choices[0].given.source_location: missing field `end_line` at line 4 column 30"},
        {"- provenance: {url: u}\n  choices:\n  - given:\n      source_location:\n    choice: {reason: OTHER}\n",
         "snippet_choices[0].choices[0].given.source_location: missing field `path` at line 5 column 23"},
        {"- provenance: {url: u}\n  choices:\n  - given: {location: x}\n",
         "snippet_choices[0].choices[0].given: unknown field `location`, expected `source_location` at line 4 "
         "column 13"},
        {"- provenance: {url: u}\n  choices:\n  - given: {source_location: {path: p, start_line: 1, end_line: 2}}\n"
         "    choice:\n",
         "snippet_choices[0].choices[0].choice: missing field `reason` at line 5 column 12"},
        {"- provenance: {url: u}\n  choices:\n  - choice: {Reason: OTHER}\n",
         "snippet_choices[0].choices[0].choice: unknown field `Reason`, expected one of `purl`, `reason`, `comment` "
         "at line 4 column 14"},
    });
}

// Reasons, and where a bad one is reported: at the start of its criteria
// mapping, with the path of the criteria.
TEST(RepositorySections, SnippetChoiceReasons) {
    expect_reasons<SnippetChoiceCriteria>("reason: ", {
        {"OTHER", "OTHER"}, {"3", "OTHER"}, {"0x3", "OTHER"}, {"2", "ORIGINAL_FINDING"},
        {"NO_RELEVANT_FINDING", "NO_RELEVANT_FINDING"},
    });
    expect_errors<SnippetChoiceCriteria>({
        {"reason: other\n", "invalid SnippetChoiceReason value: other"},
        {"reason: '2'\n", "invalid SnippetChoiceReason value: 2"},
        {"reason: 0\n", "invalid SnippetChoiceReason value: 0"},
        {"reason: 4\n", "invalid SnippetChoiceReason value: 4"},
        {"reason: -1\n", "invalid SnippetChoiceReason value: -1"},
        {"reason: 0x10\n", "invalid SnippetChoiceReason value: 16"},
        {"reason: 2.0\n", "invalid SnippetChoiceReason value: 2.0"},
        {"reason:\n", "invalid SnippetChoiceReason value: Null"},
        {"reason: ~\n", "invalid SnippetChoiceReason value: Null"},
        {"reason: true\n", "invalid SnippetChoiceReason value: Bool(true)"},
        {"comment: c\n", "missing field `reason`"},
    });
    expect_snippet_errors({
        {"- provenance:\n    url: u\n  choices:\n"
         "  - given: {source_location: {path: p, start_line: 1, end_line: 2}}\n"
         "    choice: {reason: OTHER}\n"
         "  - given: {source_location: {path: p, start_line: 1, end_line: 2}}\n"
         "    choice:\n"
         "      comment: c\n"
         "      reason: 9\n",
         "snippet_choices[0].choices[1].choice: invalid SnippetChoiceReason value: 9 at line 9 column 7"},
    });
}

TEST(RepositorySections, SnippetChoicesReadAndWrite) {
    // From a real configuration, plus a second equal choice and odd texts.
    auto holder = read_ok<SnippetHolder>(
        "snippet_choices:\n"
        "- provenance:\n"
        "    url: \"https://example.com/provenance\"\n"
        "  choices:\n"
        "  - given:\n"
        "      source_location:\n"
        "        path: \"custom/path/to/file\"\n"
        "        start_line: 1\n"
        "        end_line: 42\n"
        "    choice:\n"
        "      purl: \"pkg:maven/org.apache.commons/commons-lang3@3.9\"\n"
        "      comment: \"This is a comment.\"\n"
        "      reason: NO_RELEVANT_FINDING\n"
        "  - choice: {reason: 2, purl: ''}\n"
        "    given: {source_location: {path: p, start_line: 3, end_line: 4}}\n"
        "  - choice: {reason: 2, purl: ''}\n"
        "    given: {source_location: {path: p, start_line: 3, end_line: 4}}\n"
        "- provenance: {url: null}\n"
        "  choices:\n"
        "- provenance: {url: }\n"
        "  choices: []\n");
    auto& sc = holder.snippet_choices;
    ASSERT_EQ(sc.size(), 3u);
    ASSERT_EQ(sc[0].choices.size(), 3u);
    EXPECT_EQ(sc[0].choices[1], sc[0].choices[2]);
    EXPECT_EQ(sc[0].choices[1].choice.purl, std::optional<std::string>(""));
    EXPECT_EQ(sc[0].choices[1].choice.comment, std::nullopt);
    EXPECT_EQ(sc[0].choices[0].given.source_location.end_line, 42);
    EXPECT_EQ(sc[1].provenance.url, "null");
    EXPECT_TRUE(sc[1].choices.empty());
    EXPECT_EQ(sc[2].provenance.url, "");

    EXPECT_EQ(json(sc[0].choices[1]),
              R"({
  "given": {
    "source_location": {
      "path": "p",
      "start_line": 3,
      "end_line": 4
    }
  },
  "choice": {
    "purl": "",
    "reason": "ORIGINAL_FINDING",
    "comment": null
  }
})");
    EXPECT_EQ(json(sc[1]), "{\n  \"provenance\": {\n    \"url\": \"null\"\n  },\n  \"choices\": []\n}");
    EXPECT_EQ(yaml(sc[0]),
              "provenance:\n  url: https://example.com/provenance\n"
              "choices:\n"
              "- given:\n    source_location:\n      path: custom/path/to/file\n      start_line: 1\n"
              "      end_line: 42\n"
              "  choice:\n    purl: pkg:maven/org.apache.commons/commons-lang3@3.9\n"
              "    reason: NO_RELEVANT_FINDING\n    comment: This is a comment.\n"
              "- given:\n    source_location:\n      path: p\n      start_line: 3\n      end_line: 4\n"
              "  choice:\n    purl: ''\n    reason: ORIGINAL_FINDING\n    comment: null\n"
              "- given:\n    source_location:\n      path: p\n      start_line: 3\n      end_line: 4\n"
              "  choice:\n    purl: ''\n    reason: ORIGINAL_FINDING\n    comment: null\n");
}
