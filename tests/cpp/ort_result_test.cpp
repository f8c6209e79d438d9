// Result files: the root's own rules, and the real files of several ages.
#include <filesystem>

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
// themselves; older ones fail on what the model no longer has.
TEST(OrtResult, RealFiles) {
    BRINDLE_NEEDS_CORPUS();
    std::size_t read = 0, failed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(brindle::test::corpus_path("results"))) {
        std::string name = entry.path().filename().string();
        OrtResult r;
        std::string err = read_error<OrtResult>(file_text(entry.path().string()), &r);
        if (!err.empty()) {
            ++failed;
            EXPECT_TRUE(err.find("missing field") != std::string::npos || err.find("unknown field") != std::string::npos)
                << name << ": " << err;
            continue;
        }
        ++read;
        OrtResult back;
        EXPECT_EQ(read_error<OrtResult>(written<YamlWriter>(r), &back), "") << name;
        EXPECT_TRUE(back == r) << name;
    }
    EXPECT_GE(read, 2u);
    EXPECT_EQ(read + failed, 38u);
    // A file of the current form, read in full.
    auto r = read_ok<OrtResult>(file_text(brindle::test::corpus_path("results/12.yml")));
    ASSERT_TRUE(r.analyzer.has_value());
    EXPECT_EQ(r.repository.vcs.url, "https://github.com/pbassiner/sbt-multi-project-example.git");
}

}  // namespace
