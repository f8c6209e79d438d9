// The analyzer model: its configuration, packages with their processed
// declared licenses, and the run with its result.
#include "models/json_writer.hpp"
#include "models/ort/analyzer_configuration.hpp"
#include "models/ort/analyzer_run.hpp"
#include "models/ort/package.hpp"
#include "models/ort/processed_declared_license.hpp"
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

struct Case {
    const char* input;
    const char* error;
};

// A package of the ten required keys, from a real result, indented under `p:`.
constexpr const char* package_keys =
    "  id: \"Dummy::pkg0:1.0.0\"\n"
    "  purl: \"\"\n"
    "  declared_licenses: []\n"
    "  declared_licenses_processed: {}\n"
    "  description: \"\"\n"
    "  homepage_url: \"\"\n"
    "  binary_artifact:\n    url: \"\"\n    hash:\n      value: \"\"\n      algorithm: \"\"\n"
    "  source_artifact:\n    url: \"\"\n"
    "  vcs:\n    type: \"Git\"\n    url: \"https://example.com/scanner.git\"\n    revision: \"97d57bb\"\n    path: \"\"\n"
    "  vcs_processed:\n    revision: \"97d57bb\"\n";

std::string package(const std::string& extra) { return "p:\n" + std::string(package_keys) + extra; }

using Packages = OrderedMap<std::string, Package>;
using Configurations = OrderedMap<std::string, AnalyzerConfiguration>;

Package the_package(const Packages& m) { return *m.find("p"); }

TEST(AnalyzerConfiguration, Defaults) {
    const std::vector<std::string> defaults = {
        "Bazel", "Bower", "Bundler", "Cargo", "Carthage", "CocoaPods", "Composer", "Conan", "GoMod",
        "GradleInspector", "Maven", "NPM", "NuGet", "PIP", "Pipenv", "PNPM", "Poetry", "Pub", "SBT",
        "SpdxDocumentFile", "Stack", "SwiftPM", "Tycho", "Unmanaged", "Yarn", "Yarn2"};
    for (const char* empty : {"c:\n", "c: {}\n"}) {
        auto m = read_ok<Configurations>(empty);
        const auto& c = *m.find("c");
        EXPECT_EQ(c.enabled_package_managers, defaults) << empty;
        EXPECT_FALSE(c.allow_dynamic_versions || c.skip_excluded);
        EXPECT_FALSE(c.disabled_package_managers || c.package_managers);
    }
    // Only a missing key takes the default list.
    EXPECT_TRUE(read_ok<AnalyzerConfiguration>("enabled_package_managers:\n").enabled_package_managers.empty());
    EXPECT_EQ(read_ok<AnalyzerConfiguration>("enabled_package_managers: [Maven, NPM, Maven]\n").enabled_package_managers,
              (std::vector<std::string>{"Maven", "NPM", "Maven"}));
    EXPECT_FALSE(read_ok<AnalyzerConfiguration>("disabled_package_managers: ~\n").disabled_package_managers);
    EXPECT_TRUE(read_ok<AnalyzerConfiguration>("allow_dynamic_versions: True\n").allow_dynamic_versions);
    auto pm = read_ok<AnalyzerConfiguration>("package_managers:\n  NPM:\n").package_managers;
    ASSERT_TRUE(pm && pm->find("NPM"));
    EXPECT_EQ(*pm->find("NPM"), PackageManagerConfiguration{});
}

TEST(AnalyzerConfiguration, Writing) {
    auto c = read_ok<AnalyzerConfiguration>(
        "skip_excluded: true\nenabled_package_managers: [NPM]\npackage_managers: {NPM: {options: {strict: true}}}\n");
    EXPECT_EQ(json(c),
              "{\n  \"allow_dynamic_versions\": false,\n  \"enabled_package_managers\": [\n    \"NPM\"\n  ],\n"
              "  \"disabled_package_managers\": null,\n  \"package_managers\": {\n    \"NPM\": {\n"
              "      \"must_run_after\": null,\n      \"options\": {\n        \"strict\": \"true\"\n      }\n"
              "    }\n  },\n  \"skip_excluded\": true\n}");
    EXPECT_EQ(yaml(c),
              "allow_dynamic_versions: false\nenabled_package_managers:\n- NPM\ndisabled_package_managers: null\n"
              "package_managers:\n  NPM:\n    must_run_after: null\n    options:\n      strict: 'true'\n"
              "skip_excluded: true\n");
}

TEST(AnalyzerConfiguration, Errors) {
    const Case cases[] = {
        {"c: ~\n", "c: invalid type: unit value, expected struct AnalyzerConfiguration at line 1 column 4"},
        {"c: [x]\n", "c: invalid type: sequence, expected struct AnalyzerConfiguration at line 1 column 4"},
        {"c:\n  enabled_package_managers: ~\n",
         "c.enabled_package_managers: invalid type: unit value, expected a sequence at line 2 column 29"},
        {"c:\n  disabled_package_managers: ~\n  disabled_package_managers: []\n",
         "c: duplicate field `disabled_package_managers` at line 2 column 3"},
        {"c:\n  allow_dynamic_versions: yes\n",
         "c.allow_dynamic_versions: invalid type: string \"yes\", expected a boolean at line 2 column 27"},
        {"c:\n  allow_dynamic_versions: \"true\"\n",
         "c.allow_dynamic_versions: invalid type: string \"true\", expected a boolean at line 2 column 27"},
        {"c:\n  allow_dynamic_versions:\n",
         "c.allow_dynamic_versions: invalid type: unit value, expected a boolean at line 2 column 26"},
        {"c:\n  enabledPackageManagers: []\n",
         "c: unknown field `enabledPackageManagers`, expected one of `allow_dynamic_versions`, "
         "`enabled_package_managers`, `disabled_package_managers`, `package_managers`, `skip_excluded` at line 2 "
         "column 3"},
        {"c:\n  package_managers: ~\n", ""},
        {"c:\n  package_managers: [x]\n", "c.package_managers: invalid type: sequence, expected a map at line 2 column 21"},
        {"c:\n  package_managers:\n    NPM: ~\n",
         "c.package_managers.NPM: invalid type: unit value, expected struct PackageManagerConfiguration at line 3 "
         "column 10"},
        {"c:\n  package_managers:\n    NPM:\n      options: {a: 1, b: {}}\n",
         "c.package_managers.NPM: option 'b' is not a scalar at line 4 column 7"},
    };
    for (const auto& k : cases)
        EXPECT_EQ(read_error<Configurations>(k.input), k.error) << k.input;
}

TEST(ProcessedDeclaredLicense, Reading) {
    using Holder = OrderedMap<std::string, ProcessedDeclaredLicense>;
    for (const char* empty : {"d:\n", "d: {}\n"})
        EXPECT_EQ(*read_ok<Holder>(empty).find("d"), ProcessedDeclaredLicense{}) << empty;
    auto d = read_ok<ProcessedDeclaredLicense>(
        "spdx_expression: MIT OR Apache-2.0\nmapped: {a: x, b: 1, a: y}\nunmapped: [u, v, u]\n");
    EXPECT_EQ(d.spdx_expression, std::optional<std::string>("MIT OR Apache-2.0"));
    EXPECT_EQ(*d.mapped.find("a"), "y");
    EXPECT_EQ(*d.mapped.find("b"), "1");
    EXPECT_EQ(d.unmapped.size(), 2u);
    for (const char* absent : {"spdx_expression: ~\n", "spdx_expression: null\n", "spdx_expression:\n"})
        EXPECT_FALSE(read_ok<ProcessedDeclaredLicense>(absent).spdx_expression) << absent;
    EXPECT_EQ(read_ok<ProcessedDeclaredLicense>("spdx_expression: ''\n").spdx_expression, std::optional<std::string>(""));
    EXPECT_EQ(json(ProcessedDeclaredLicense{}),
              "{\n  \"spdx_expression\": null,\n  \"mapped\": {},\n  \"unmapped\": []\n}");
    EXPECT_EQ(yaml(read_ok<ProcessedDeclaredLicense>("spdx_expression: ''\nmapped: {x: y}\nunmapped: [z]\n")),
              "spdx_expression: ''\nmapped:\n  x: y\nunmapped:\n- z\n");

    const Case cases[] = {
        {"d: ~\n", "d: invalid type: unit value, expected struct ProcessedDeclaredLicense at line 1 column 4"},
        {"d:\n  Mapped: {}\n",
         "d: unknown field `Mapped`, expected one of `spdx_expression`, `mapped`, `unmapped` at line 2 column 3"},
        {"d:\n  mapped: {}\n  mapped: {}\n", "d: duplicate field `mapped` at line 2 column 3"},
        {"d:\n  unmapped: ~\n", "d.unmapped: invalid type: unit value, expected a sequence at line 2 column 13"},
        {"d:\n  mapped: ~\n", "d.mapped: invalid type: unit value, expected a map at line 2 column 11"},
        {"d:\n  unmapped: [{a: b}]\n", "d.unmapped[0]: invalid type: map, expected a string at line 2 column 14"},
    };
    for (const auto& k : cases) EXPECT_EQ(read_error<Holder>(k.input), k.error) << k.input;
}

TEST(Package, RequiredKeysOnly) {
    Package p = the_package(read_ok<Packages>(package("")));
    EXPECT_EQ(to_text(p.id), "Dummy::pkg0:1.0.0");
    EXPECT_EQ(json(p),
              "{\n  \"id\": \"Dummy::pkg0:1.0.0\",\n  \"purl\": \"\",\n  \"cpe\": null,\n  \"authors\": [],\n"
              "  \"declared_licenses\": [],\n  \"declared_licenses_processed\": {\n    \"spdx_expression\": null,\n"
              "    \"mapped\": {},\n    \"unmapped\": []\n  },\n  \"concluded_license\": null,\n"
              "  \"description\": \"\",\n  \"homepage_url\": \"\",\n  \"binary_artifact\": {\n    \"url\": \"\",\n"
              "    \"hash\": {\n      \"value\": \"\",\n      \"algorithm\": \"UNKNOWN\"\n    }\n  },\n"
              "  \"source_artifact\": {\n    \"url\": \"\",\n    \"hash\": null\n  },\n  \"vcs\": {\n"
              "    \"type\": \"Git\",\n    \"url\": \"https://example.com/scanner.git\",\n    \"revision\": \"97d57bb\",\n"
              "    \"path\": \"\"\n  },\n  \"vcs_processed\": {\n    \"type\": \"\",\n    \"url\": \"\",\n"
              "    \"revision\": \"97d57bb\",\n    \"path\": \"\"\n  },\n  \"is_metadata_only\": false,\n"
              "  \"is_modified\": false,\n  \"source_code_origins\": null,\n  \"labels\": {}\n}");
}

TEST(Package, Fields) {
    auto p = the_package(read_ok<Packages>(package(
        "  authors: [a, b, a]\n  labels: {k: 1, k: 2}\n  source_code_origins: [ARTIFACT, 1]\n  cpe: ''\n"
        "  is_modified: TRUE\n")));
    EXPECT_EQ(p.authors.size(), 2u);
    EXPECT_EQ(*p.labels.find("k"), "2");
    EXPECT_EQ(p.source_code_origins,
              (std::optional<std::vector<SourceCodeOrigin>>{{SourceCodeOrigin::ARTIFACT, SourceCodeOrigin::VCS}}));
    EXPECT_EQ(p.cpe, std::optional<std::string>(""));
    EXPECT_TRUE(p.is_modified);
    EXPECT_NE(yaml(p).find("cpe: ''\n"), std::string::npos);
    EXPECT_NE(yaml(p).find("source_code_origins:\n- ARTIFACT\n- VCS\n"), std::string::npos);

    EXPECT_EQ(the_package(read_ok<Packages>(package("  source_code_origins: []\n"))).source_code_origins,
              (std::optional<std::vector<SourceCodeOrigin>>{std::vector<SourceCodeOrigin>{}}));
    EXPECT_FALSE(the_package(read_ok<Packages>(package("  source_code_origins: ~\n  cpe:\n"))).cpe);
    EXPECT_TRUE(the_package(read_ok<Packages>(package("  authors:\n"))).authors.empty());

    // Plain texts keep null-looking scalars as written.
    std::string text = package("");
    text.replace(text.find("description: \"\""), 15, "description: null");
    text.replace(text.find("purl: \"\""), 8, "purl: ~");
    Package q = the_package(read_ok<Packages>(text));
    EXPECT_EQ(q.description, "null");
    EXPECT_EQ(q.purl, "~");

    // Keys in another order read the same package.
    std::string reversed = "p:\n  vcs_processed:\n    revision: \"97d57bb\"\n" + std::string(package_keys).substr(0,
        std::string(package_keys).find("  vcs_processed:"));
    EXPECT_EQ(the_package(read_ok<Packages>(reversed)), the_package(read_ok<Packages>(package(""))));
}

TEST(Package, Errors) {
    const Case cases[] = {
        {"p:\n  id: a:b:c:d\n", "p: missing field `purl` at line 2 column 3"},
        {"p:\n", "p: missing field `id` at line 1 column 3"},
        {"p: ~\n", "p: invalid type: unit value, expected struct Package at line 1 column 4"},
        {"p: null\n", "p: invalid type: unit value, expected struct Package at line 1 column 4"},
        {"p: [a]\n", "p: invalid type: sequence, expected struct Package at line 1 column 4"},
        {"p:\n  Purl: x\n",
         "p: unknown field `Purl`, expected one of `id`, `purl`, `cpe`, `authors`, `declared_licenses`, "
         "`declared_licenses_processed`, `concluded_license`, `description`, `homepage_url`, `binary_artifact`, "
         "`source_artifact`, `vcs`, `vcs_processed`, `is_metadata_only`, `is_modified`, `source_code_origins`, "
         "`labels` at line 2 column 3"},
        {"p:\n  purl: x\n  purl: x\n", "p: duplicate field `purl` at line 2 column 3"},
        {"p:\n  authors: ~\n", "p.authors: invalid type: unit value, expected a sequence at line 2 column 12"},
        {"p:\n  labels: ~\n", "p.labels: invalid type: unit value, expected a map at line 2 column 11"},
        {"p:\n  declared_licenses: null\n",
         "p.declared_licenses: invalid type: unit value, expected a sequence at line 2 column 22"},
        {"p:\n  is_modified: yes\n",
         "p.is_modified: invalid type: string \"yes\", expected a boolean at line 2 column 16"},
        {"p:\n  source_code_origins: [VCS, Vcs]\n", "p.source_code_origins: invalid SourceCodeOrigin value: Vcs at line 2 column 24"},
        {"p:\n  vcs:\n", "p.vcs: missing field `revision` at line 2 column 7"},
        {"p:\n  id:\n",
         "p: Field 'identifier' is invalid: must be in the format 'type:namespace:name:version' at line 2 column 3"},
    };
    for (const auto& k : cases) EXPECT_EQ(read_error<Packages>(k.input), k.error) << k.input;
}

TEST(Package, SetKeepsTheFirstOfOneIdentifier) {
    OrderedSet<Package> set;
    Package a = the_package(read_ok<Packages>(package("")));
    Package b = a;
    b.purl = "pkg:other";
    EXPECT_TRUE(set.insert(a));
    EXPECT_FALSE(set.insert(b));
    EXPECT_EQ(set.begin()->purl, "");
}

// The analyzer section as a result holds it, so that errors carry the
// paths a real file gives.
struct Sections {
    std::optional<AnalyzerRun> analyzer;
};

}  // namespace

template <>
struct brindle::models::Model<Sections> {
    static constexpr std::string_view name = "Sections";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{optional("analyzer", &Sections::analyzer)};
};

namespace {

const std::string run_base =
    "analyzer:\n  start_time: \"1970-01-01T00:00:00Z\"\n  end_time: 1970-01-01T00:00:01Z\n"
    "  environment: {ort_version: HEAD, build_jdk: j, java_version: '17', os: Linux, processors: 8, "
    "max_memory: 1024, variables: {}}\n";

// A project and a package, in flow style, from a real result.
std::string project(const std::string& id, const std::string& path) {
    return "{id: \"" + id + "\", definition_file_path: \"" + path +
           "\", declared_licenses: [], declared_licenses_processed: {}, vcs: {revision: ''}, "
           "vcs_processed: {revision: ''}, homepage_url: ''}";
}
std::string flow_package(const std::string& id, const std::string& purl) {
    return "{id: \"" + id + "\", purl: \"" + purl +
           "\", declared_licenses: [], declared_licenses_processed: {}, description: '', homepage_url: '', "
           "binary_artifact: {url: ''}, source_artifact: {url: ''}, vcs: {revision: ''}, vcs_processed: {revision: ''}}";
}

AnalyzerRun run_ok(const std::string& text) {
    auto s = read_ok<Sections>(text);
    EXPECT_TRUE(s.analyzer) << text;
    return s.analyzer.value_or(AnalyzerRun{});
}

TEST(AnalyzerRun, Reading) {
    AnalyzerRun r = run_ok(run_base + "  config:\n  note: hello\n");
    EXPECT_EQ(r.base.start_time, "1970-01-01T00:00:00Z");
    EXPECT_EQ(r.base.end_time, "1970-01-01T00:00:01Z");
    EXPECT_EQ(r.config, AnalyzerConfiguration{});
    EXPECT_FALSE(r.result);
    EXPECT_EQ(run_ok(run_base + "  config: {}\n  result:\n").result, std::nullopt);
    EXPECT_EQ(run_ok("analyzer:\n  start_time: '1700000000'\n" + run_base.substr(run_base.find("  end_time")) +
                     "  config: {}\n")
                  .base.start_time,
              "1700000000");

    // Keys in any order; the base part is written first in both forms, and the
    // extra key nowhere.
    AnalyzerRun s = run_ok("analyzer:\n  config: {enabled_package_managers: [NPM]}\n  result:\n    projects: []\n"
                           "    packages: []\n  note: hello\n" + run_base.substr(run_base.find("  start_time")));
    EXPECT_EQ(json(s),
              "{\n  \"start_time\": \"1970-01-01T00:00:00Z\",\n  \"end_time\": \"1970-01-01T00:00:01Z\",\n"
              "  \"environment\": {\n    \"ort_version\": \"HEAD\",\n    \"build_jdk\": \"j\",\n"
              "    \"java_version\": \"17\",\n    \"os\": \"Linux\",\n    \"processors\": 8,\n"
              "    \"max_memory\": 1024,\n    \"variables\": {}\n  },\n  \"config\": {\n"
              "    \"allow_dynamic_versions\": false,\n    \"enabled_package_managers\": [\n      \"NPM\"\n    ],\n"
              "    \"disabled_package_managers\": null,\n    \"package_managers\": null,\n"
              "    \"skip_excluded\": false\n  },\n  \"result\": {\n    \"projects\": [],\n    \"packages\": [],\n"
              "    \"issues\": {},\n    \"dependency_graphs\": {}\n  }\n}");
    EXPECT_EQ(yaml(s),
              "start_time: 1970-01-01T00:00:00Z\nend_time: 1970-01-01T00:00:01Z\nenvironment:\n  ort_version: HEAD\n"
              "  build_jdk: j\n  java_version: '17'\n  os: Linux\n  processors: 8\n  max_memory: 1024\n"
              "  variables: {}\nconfig:\n  allow_dynamic_versions: false\n  enabled_package_managers:\n  - NPM\n"
              "  disabled_package_managers: null\n  package_managers: null\n  skip_excluded: false\nresult:\n"
              "  projects: []\n  packages: []\n  issues: {}\n  dependency_graphs: {}\n");
    EXPECT_EQ(run_ok(run_base + "  config: {}\n  result: null\n").result, std::nullopt);
    EXPECT_NE(yaml(r).find("\nresult: null\n"), std::string::npos);
}

TEST(AnalyzerRun, Errors) {
    const Case cases[] = {
        {"analyzer:\n  start_time: s\n", "analyzer: missing field `config` at line 2 column 3"},
        {"analyzer:\n", ""},
        {"analyzer: [x]\n", "analyzer: invalid type: sequence, expected struct AnalyzerRun at line 1 column 11"},
        {"analyzer:\n  end_time: e\n  config:\n", "analyzer: missing field `start_time` at line 2 column 3"},
        {"analyzer:\n  config: ~\n",
         "analyzer.config: invalid type: unit value, expected struct AnalyzerConfiguration at line 2 column 11"},
        {"analyzer:\n  config:\n  note: !custom hello\n",
         "analyzer.note: untagged and internally tagged enums do not support enum input at line 3 column 9"},
        {"analyzer:\n  start_time: 1700000000\n  end_time: e\n  environment: {}\n  config:\n",
         "analyzer: invalid type: integer `1700000000`, expected a string at line 2 column 3"},
        {"analyzer:\n  start_time: s\n  start_time: s\n  config:\n",
         "analyzer: duplicate field `start_time` at line 2 column 3"},
        {"analyzer:\n  start_time: s\n  start_time: s\n  config: {x: 1}\n",
         "analyzer.config: unknown field `x`, expected one of `allow_dynamic_versions`, `enabled_package_managers`, "
         "`disabled_package_managers`, `package_managers`, `skip_excluded` at line 4 column 12"},
        {"analyzer:\n  config:\n  result: ~\n  result: ~\n", "analyzer: duplicate field `result` at line 2 column 3"},
        {"analyzer:\n  config:\n  result: {}\n", "analyzer.result: missing field `projects` at line 3 column 11"},
        {"analyzer:\n  config:\n  result: {projects: []}\n",
         "analyzer.result: missing field `packages` at line 3 column 11"},
        {"analyzer:\n  config:\n  result: [x]\n",
         "analyzer.result: invalid type: sequence, expected struct AnalyzerResult at line 3 column 11"},
        {"analyzer:\n  config:\n  result: {Projects: []}\n",
         "analyzer.result: unknown field `Projects`, expected one of `projects`, `packages`, `issues`, "
         "`dependency_graphs` at line 3 column 12"},
        {"analyzer:\n  config:\n  result: {projects: [], packages: [], issues: {\"a:b:c\": []}}\n",
         "analyzer.result.issues: Field 'identifier' is invalid: must be in the format 'type:namespace:name:version' "
         "at line 3 column 48"},
        {"analyzer:\n  config:\n  result: {projects: [], packages: [], issues: ~}\n",
         "analyzer.result.issues: invalid type: unit value, expected a map at line 3 column 48"},
        {"analyzer:\n  config:\n  result: {projects: ~, packages: []}\n",
         "analyzer.result.projects: invalid type: unit value, expected a sequence at line 3 column 22"},
    };
    for (const auto& k : cases) EXPECT_EQ(read_error<Sections>(k.input), k.error) << k.input;
}

TEST(AnalyzerResult, Sets) {
    AnalyzerRun r = run_ok(run_base + "  config:\n  result:\n    projects: [" + project("P::p:1", "a/pom.xml") + ", " +
                           project("P::p:1", "b/pom.xml") + "]\n    packages: [" + flow_package("M:g:a:1", "first") +
                           ", " + flow_package("M:g:a:1", "second") + ", " + flow_package("M:g:b:1", "") +
                           "]\n    issues:\n      \"::x:\": []\n      \"A:b:c:d\": [{timestamp: t, source: s, "
                           "message: m, severity: ERROR}]\n      \"A:b:c:d\": []\n");
    ASSERT_TRUE(r.result);
    const AnalyzerResult& res = *r.result;
    ASSERT_EQ(res.projects.size(), 1u);
    EXPECT_EQ(res.projects.begin()->definition_file_path, "a/pom.xml");
    ASSERT_EQ(res.packages.size(), 2u);
    EXPECT_EQ(res.packages.begin()->purl, "first");
    ASSERT_EQ(res.issues.size(), 2u);
    EXPECT_TRUE(res.issues.find(*parse_identifier("::x:"))->empty());
    EXPECT_TRUE(res.issues.find(*parse_identifier("A:b:c:d"))->empty());  // the later list
    EXPECT_TRUE(res.dependency_graphs.empty());
}

TEST(AnalyzerRun, RealResult) {
    BRINDLE_NEEDS_CORPUS();
    // The analyzer section of a real result, its other sections passed over.
    std::string text = brindle::test::file_text(brindle::test::corpus_path("results/33.yml"));
    std::string section = text.substr(text.find("analyzer:\n"));
    section = section.substr(0, section.find("\nscanner:") + 1);
    AnalyzerRun r = run_ok(section);
    EXPECT_EQ(r.base.start_time, "2024-10-31T10:34:52Z");
    EXPECT_TRUE(r.config.allow_dynamic_versions && r.config.skip_excluded);
    EXPECT_EQ(r.config.enabled_package_managers.size(), 16u);
    EXPECT_TRUE(r.config.package_managers && r.config.package_managers->empty());
    ASSERT_TRUE(r.result);
    EXPECT_FALSE(r.result->projects.empty());
    // Written and read again, the same run.
    EXPECT_TRUE(read_ok<AnalyzerRun>(yaml(r)) == r);
}

}  // namespace
