// Repository configuration files: the real files, the root's own rules, and
// one text read as a file and written back.
#include <filesystem>
#include <map>

#include "models/json_writer.hpp"
#include "models/ort/repository_configuration.hpp"
#include "models/write.hpp"
#include "models/yaml_writer.hpp"
#include "test_util.hpp"

using namespace brindle::models;
using brindle::models::ort::RepositoryConfiguration;
using brindle::test::file_text;
using brindle::test::read_error;
using brindle::test::read_ok;

namespace {

template <class W>
std::string written(const RepositoryConfiguration& c) {
    W w;
    write(w, c);
    return w.take();
}

// Documentation snippets with placeholders or mistakes among the real files.
const std::map<std::string, std::string> failing_files = {
    {"22.yml", "includes.paths[0]: invalid PathIncludeReason value: One of PathIncludeReason e.g. SOURCE_OF. "
               "at line 3 column 5"},
    {"24.yml", "includes: unknown field `scopes`, expected `paths` at line 2 column 3"},
    {"25.yml", "excludes: invalid type: string \"...\", expected struct Excludes at line 4 column 3"},
    {"26.yml", "excludes.paths[0]: invalid PathExcludeReason value: One of PathExcludeReason e.g. BUILD_TOOL_OF, "
               "DOCUMENTATION_OF or TEST_OF. at line 3 column 5"},
    {"29.yml", "resolutions.issues[0]: invalid IssueResolutionReason value: One of IssueResolutionReason e.g "
               "BUILD_TOOL_ISSUE,CANT_FIX_ISSUE. at line 3 column 5"},
    {"31.yml", "resolutions.rule_violations[0]: invalid RuleViolationResolutionReason value: One of "
               "RuleViolationResolutionReason e.g. CANT_FIX_EXCEPTION, DYNAMIC_LINKAGE_EXCEPTION. at line 3 column 5"},
    {"33.yml", "resolutions.vulnerabilities[0]: invalid VulnerabilityResolutionReason value: One of "
               "VulnerabilityResolutionReason e.g. CANT_FIX_VULNERABILITY, INEFFECTIVE_VULNERABILITY. at line 3 column 5"},
    {"45.yml", "unknown field `rule_violations`, expected one of `analyzer`, `includes`, `excludes`, `resolutions`, "
               "`curations`, `package_configurations`, `license_choices`, `snippet_choices` at line 11 column 1"},
    {"53.yml", "excludes.scopes[0]: unknown field `name`, expected one of `pattern`, `reason`, `comment` "
               "at line 10 column 5"},
};

TEST(RepositoryConfiguration, RealFiles) {
    BRINDLE_NEEDS_CORPUS();
    std::size_t read = 0;
    for (const auto& entry : std::filesystem::directory_iterator(brindle::test::corpus_path("repo-config"))) {
        std::string name = entry.path().filename().string();
        std::string text = file_text(entry.path().string());
        RepositoryConfiguration c;
        std::string err = read_error<RepositoryConfiguration>(text, &c);
        auto expected = failing_files.find(name);
        EXPECT_EQ(err, expected == failing_files.end() ? "" : expected->second) << name;
        if (!err.empty()) continue;
        ++read;
        // Written as YAML, it reads back to the same configuration.
        RepositoryConfiguration back;
        EXPECT_EQ(read_error<RepositoryConfiguration>(written<YamlWriter>(c), &back), "") << name;
        EXPECT_TRUE(back == c) << name;
        EXPECT_EQ(written<JsonWriter>(back), written<JsonWriter>(c)) << name;
    }
    EXPECT_EQ(read, 45u);
}

TEST(RepositoryConfiguration, RootRules) {
    const char* empty_json =
        "{\n  \"analyzer\": null,\n  \"includes\": null,\n  \"excludes\": null,\n  \"resolutions\": null,\n"
        "  \"curations\": null,\n  \"package_configurations\": [],\n  \"license_choices\": null,\n"
        "  \"snippet_choices\": []\n}";
    for (const char* empty : {"", "# only a comment\n", "---\n", "{}"})
        EXPECT_EQ(written<JsonWriter>(read_ok<RepositoryConfiguration>(empty)), empty_json) << empty;
    for (const char* absent : {"curations:", "curations: ~", "curations: null"})
        EXPECT_FALSE(read_ok<RepositoryConfiguration>(absent).curations.has_value()) << absent;
    EXPECT_TRUE(read_ok<RepositoryConfiguration>("curations: {}").curations.has_value());
    EXPECT_TRUE(read_ok<RepositoryConfiguration>("package_configurations:").package_configurations.empty());
    struct Case {
        const char* input;
        const char* error;
    };
    const Case cases[] = {
        {"package_configurations: null",
         "package_configurations: invalid type: unit value, expected a sequence at line 1 column 25"},
        {"exclude: {}",
         "unknown field `exclude`, expected one of `analyzer`, `includes`, `excludes`, `resolutions`, `curations`, "
         "`package_configurations`, `license_choices`, `snippet_choices`"},
        {"[]", "invalid type: sequence, expected struct RepositoryConfiguration"},
        {"~", "invalid type: unit value, expected struct RepositoryConfiguration"},
        {"excludes: ~\nexcludes: {}\n", "duplicate field `excludes`"},
        {"\nexcludes: ~\nexcludes: {}\n", "duplicate field `excludes` at line 2 column 1"},
        {"package_configurations:\n  - vcs: {type: Git, url: u}\n",
         "package_configurations[0]: missing field `id` at line 2 column 5"},
        {"a: 1\n---\n", "unknown field `a`, expected one of `analyzer`, `includes`, `excludes`, `resolutions`, "
                       "`curations`, `package_configurations`, `license_choices`, `snippet_choices`"},
        {"{}\n---\n", "deserializing from YAML containing more than one document is not supported"},
    };
    for (const auto& k : cases) EXPECT_EQ(read_error<RepositoryConfiguration>(k.input), k.error) << k.input;
    // A section given through an alias reads the anchored node.
    auto c = read_ok<RepositoryConfiguration>(
        "snippet_choices: []\nanalyzer: &a {skip_excluded: true}\nresolutions: {issues: []}\n");
    EXPECT_EQ(c.analyzer->skip_excluded, std::optional<bool>(true));
}

}  // namespace
