// The analyzer section of a repository configuration and the configuration
// of one package manager.
#include "models/json_writer.hpp"
#include "models/ort/repository_analyzer_configuration.hpp"
#include "models/write.hpp"
#include "models/yaml_writer.hpp"
#include "test_util.hpp"

using namespace brindle::models;
using brindle::models::ort::RepositoryAnalyzerConfiguration;
using brindle::test::read_error;
using brindle::test::read_ok;

namespace {

using Holder = OrderedMap<std::string, RepositoryAnalyzerConfiguration>;

std::string json(const RepositoryAnalyzerConfiguration& c) {
    JsonWriter w;
    write(w, c);
    return w.take();
}

TEST(RepositoryAnalyzer, Reading) {
    EXPECT_EQ(json(read_ok<RepositoryAnalyzerConfiguration>("{}")),
              "{\n  \"allow_dynamic_versions\": null,\n  \"enabled_package_managers\": null,\n"
              "  \"disabled_package_managers\": null,\n  \"package_managers\": null,\n  \"skip_excluded\": null\n}");
    auto c = read_ok<RepositoryAnalyzerConfiguration>(
        "allow_dynamic_versions: True\nenabled_package_managers: []\ndisabled_package_managers: [NPM, NPM]\n"
        "skip_excluded: ~\npackage_managers:\n  Gradle:\n    options: {a: 1, b: true, c: 1.50, d: 0x1F, e: '007', f: x}\n"
        "  NPM:\n  Maven: {must_run_after: [Gradle]}\n  NPM: {options: {legacy: v}}\n");
    EXPECT_EQ(c.allow_dynamic_versions, std::optional<bool>(true));
    EXPECT_TRUE(c.enabled_package_managers && c.enabled_package_managers->empty());
    EXPECT_EQ(c.disabled_package_managers, (std::optional<std::vector<std::string>>{{"NPM", "NPM"}}));
    EXPECT_FALSE(c.skip_excluded.has_value());
    ASSERT_TRUE(c.package_managers);
    ASSERT_EQ(c.package_managers->size(), 3u);
    const auto& gradle = *c.package_managers->find("Gradle");
    std::vector<std::string> texts;
    for (const auto& [k, v] : *gradle.options) texts.push_back(k + "=" + v.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"a=1", "b=true", "c=1.5", "d=31", "e=007", "f=x"}));
    EXPECT_EQ(c.package_managers->find("NPM")->options->begin()->second.text, "v");  // the later value
    YamlWriter y;
    write(y, gradle);
    EXPECT_EQ(y.take(), "must_run_after: null\noptions:\n  a: '1'\n  b: 'true'\n  c: '1.5'\n  d: '31'\n  e: '007'\n  f: x\n");
}

TEST(RepositoryAnalyzer, Errors) {
    struct Case {
        const char* input;
        const char* error;
    };
    const Case cases[] = {
        {"a:\n  enabled: []\n",
         "a: unknown field `enabled`, expected one of `allow_dynamic_versions`, `enabled_package_managers`, "
         "`disabled_package_managers`, `package_managers`, `skip_excluded` at line 2 column 3"},
        {"a:\n  allow_dynamic_versions: yes\n",
         "a.allow_dynamic_versions: invalid type: string \"yes\", expected a boolean at line 2 column 27"},
        {"a:\n  allow_dynamic_versions: 'true'\n",
         "a.allow_dynamic_versions: invalid type: string \"true\", expected a boolean at line 2 column 27"},
        {"a:\n  skip_excluded: ~\n  skip_excluded: true\n", "a: duplicate field `skip_excluded` at line 2 column 3"},
        {"a: [x]\n", "a: invalid type: sequence, expected struct RepositoryAnalyzerConfiguration at line 1 column 4"},
        {"a:\n  package_managers: x\n", "a.package_managers: invalid type: string \"x\", expected a map at line 2 column 21"},
        {"a:\n  package_managers:\n    NPM: ~\n",
         "a.package_managers.NPM: invalid type: unit value, expected struct PackageManagerConfiguration at line 3 column 10"},
        {"a:\n  package_managers:\n    NPM:\n      mustRunAfter: []\n",
         "a.package_managers.NPM: unknown field `mustRunAfter`, expected `must_run_after` or `options` at line 4 column 7"},
        {"a:\n  package_managers:\n    NPM:\n      options: {x: [1]}\n",
         "a.package_managers.NPM: option 'x' is not a scalar at line 4 column 7"},
        {"a:\n  package_managers:\n    NPM:\n      options: {x: ~}\n",
         "a.package_managers.NPM: option 'x' is not a scalar at line 4 column 7"},
        {"a:\n  package_managers:\n    NPM:\n      options: {x: [1], x: 2}\n", ""},
    };
    for (const auto& k : cases) EXPECT_EQ(read_error<Holder>(k.input), k.error) << k.input;
}

}  // namespace
