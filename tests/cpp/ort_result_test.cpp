// Result files: the root's own rules, and the real files of several ages.
#include <filesystem>
#include <map>

#include "models/json_writer.hpp"
#include "models/ort/ort_result.hpp"
#include "models/write.hpp"
#include "models/yaml_writer.hpp"
#include "test_util.hpp"

using namespace brindle::models;
using brindle::models::ort::OrtResult;
using brindle::test::file_text;
using brindle::test::read_error;
using brindle::test::read_ok;

namespace {

const char* repository = "repository:\n  vcs: {revision: r}\n  vcs_processed: {revision: r}\n  config: {}\n";

template <class W>
std::string written(const OrtResult& r) {
    W w;
    write(w, r);
    return w.take();
}

TEST(OrtResult, RootRules) {
    auto only = read_ok<OrtResult>(repository);
    EXPECT_FALSE(only.analyzer || only.scanner || only.advisor || only.evaluator);
    std::string json = written<JsonWriter>(only);
    EXPECT_NE(json.find("\"analyzer\": null,\n  \"scanner\": null,\n  \"advisor\": null,\n  \"evaluator\": null,\n"
                        "  \"labels\": {}\n}"),
              std::string::npos);
    // Unknown top-level keys are skipped, however deep, and not written back.
    auto extra = read_ok<OrtResult>(std::string("x: &x [[[1]]]\n") + repository + "extra: {a: [[[1]]], b: *x}\n");
    EXPECT_EQ(written<JsonWriter>(extra), json);
    struct Case {
        const char* input;
        const char* error;
    };
    const Case cases[] = {
        {"labels: {}\n", "missing field `repository`"},
        {"", "missing field `repository`"},
        {"\n{labels: {}}\n", "missing field `repository` at line 2 column 1"},
        {"repository:\n  vcs: {revision: r}\n  vcs_procesed: {revision: r}\n",
         "repository: unknown field `vcs_procesed`, expected one of `vcs`, `vcs_processed`, `nested_repositories`, "
         "`config` at line 3 column 3"},
        {"repository:\n  vcs: {revision: r}\n", "repository: missing field `vcs_processed` at line 2 column 3"},
        {"repository:\n  vcs: {revision: r}\n  vcs_processed: {revision: r}\n  config: {}\nlabels: ~\n",
         "labels: invalid type: unit value, expected a map at line 5 column 9"},
        {"repository:\n  vcs: {revision: r}\n  vcs_processed: {revision: r}\n  config: {}\nanalyzer: 'null'\n",
         "analyzer: invalid type: string \"null\", expected struct AnalyzerRun at line 5 column 11"},
        {"[]", "invalid type: sequence, expected struct OrtResult"},
    };
    for (const auto& k : cases) EXPECT_EQ(read_error<OrtResult>(k.input), k.error) << k.input;
    auto labels = read_ok<OrtResult>(std::string(repository) + "analyzer: ~\nlabels: {a: '1', a: '2'}\n");
    EXPECT_FALSE(labels.analyzer.has_value());
    EXPECT_EQ(*labels.labels.find("a"), "2");
}

// Real result files: those of the current form read whole and write back to
// themselves (11.yml and 13.yml leave out values of references, 39.json
// escapes characters above U+FFFF as surrogate pairs); older forms and
// templates fail on what the model no longer has, or on a placeholder.
TEST(OrtResult, RealFiles) {
    BRINDLE_NEEDS_CORPUS();
    const std::string placeholder = "invalid type: string \"<REPLACE_PROCESSORS>\", expected u32";
    const std::string no_jdk = "missing field `build_jdk`";
    const std::string advisor_config = "advisor.config: unknown field `config`";
    const std::string tool_versions = "analyzer.config: unknown field `ignore_tool_versions`";
    const std::string nested_package = "analyzer.result.packages[0]: unknown field `package`";
    const std::string has_issues = "analyzer.result: unknown field `has_issues`";
    const std::string metadata = "analyzer.result.packages[0]: unknown field `metadata`";
    // What each file's error text holds; "" for the files that read.
    const std::map<std::string, std::string> expected = {
        {"01.yml", placeholder},     {"02.yml", no_jdk},          {"03.yml", placeholder},
        {"04.yml", ""},              {"05.yml", no_jdk},          {"06.yml", no_jdk},
        {"07.yml", advisor_config},  {"08.yml", advisor_config},  {"09.yml", no_jdk},
        {"10.yml", placeholder},     {"11.yml", ""},              {"12.yml", ""},
        {"13.yml", ""},              {"14.yml", placeholder},     {"15.yml", no_jdk},
        {"16.yml", no_jdk},          {"17.yml", no_jdk},          {"18.yml", placeholder},
        {"19.yml", tool_versions},   {"20.yml", nested_package},  {"21.yml", has_issues},
        {"22.yml", no_jdk},          {"23.yml", no_jdk},          {"24.yml", no_jdk},
        {"25.yml", no_jdk},          {"26.yml", advisor_config},  {"27.yml", advisor_config},
        {"28.json", "repository.config.excludes.scopes[0]: unknown field `name`"},
        {"29.json", tool_versions},  {"30.yml", tool_versions},   {"31.yml", tool_versions},
        {"32.yml", has_issues},      {"33.yml", "scanner.config: unknown field `config`"},
        {"34.yml", nested_package},  {"35.yml", nested_package},  {"36.json", nested_package},
        {"37.yml", metadata},        {"38.yml", metadata},        {"39.json", ""},
        {"40.yml", ""},              {"41.yml", ""},
    };
    std::size_t seen = 0;
    for (const auto& entry : std::filesystem::directory_iterator(brindle::test::corpus_path("results"))) {
        std::string name = entry.path().filename().string();
        auto it = expected.find(name);
        ASSERT_NE(it, expected.end()) << name;
        ++seen;
        OrtResult r;
        std::string err = read_error<OrtResult>(file_text(entry.path().string()), &r);
        if (!it->second.empty()) {
            EXPECT_NE(err.find(it->second), std::string::npos) << name << ": " << err;
            continue;
        }
        ASSERT_EQ(err, "") << name;
        OrtResult back;
        EXPECT_EQ(read_error<OrtResult>(written<YamlWriter>(r), &back), "") << name;
        EXPECT_TRUE(back == r) << name;
        EXPECT_EQ(written<JsonWriter>(back), written<JsonWriter>(r)) << name;
    }
    EXPECT_EQ(seen, expected.size());
    // A file of the current form, read in full.
    auto r = read_ok<OrtResult>(file_text(brindle::test::corpus_path("results/12.yml")));
    ASSERT_TRUE(r.analyzer.has_value());
    EXPECT_EQ(r.repository.vcs.url, "https://github.com/pbassiner/sbt-multi-project-example.git");
    // A reference without `linkage` (13.yml) and one without `issues` (11.yml).
    auto without_linkage = read_ok<OrtResult>(file_text(brindle::test::corpus_path("results/13.yml")));
    ASSERT_TRUE(without_linkage.analyzer && without_linkage.analyzer->result);
    const auto& scope = without_linkage.analyzer->result->projects[0].scopes[0];
    ASSERT_FALSE(scope.dependencies.empty());
    ASSERT_FALSE(scope.dependencies[0].dependencies.empty());
    EXPECT_EQ(scope.dependencies[0].dependencies[0].linkage, ort::PackageLinkage::DYNAMIC);
    auto without_issues = read_ok<OrtResult>(file_text(brindle::test::corpus_path("results/11.yml")));
    ASSERT_TRUE(without_issues.analyzer && without_issues.analyzer->result);
    EXPECT_FALSE(without_issues.analyzer->result->dependency_graphs.find("SBT")->scope_roots.empty());
}

}  // namespace
