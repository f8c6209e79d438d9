// Projects with their scopes and package reference trees: strict reading
// with the exact failure texts, required fields and defaults, set
// identities, depth, and JSON/YAML writing.
#include <algorithm>
#include <string>
#include <vector>

#include "models/json_writer.hpp"
#include "models/ort/project.hpp"
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

// The projects of an analyzer result, so that errors carry the paths and
// set identity of a real file.
struct Projects {
    OrderedSet<Project> projects;
};

struct Case {
    std::string input;
    std::string error;
};

// The seven required keys of a project from a real result, one a line, in
// declaration order.
const std::vector<std::pair<std::string, std::string>> required_keys = {
    {"id", "  id: \"Unmanaged::Example project name:\"\n"},
    {"definition_file_path", "  definition_file_path: \"\"\n"},
    {"declared_licenses", "  declared_licenses: []\n"},
    {"declared_licenses_processed", "  declared_licenses_processed: {}\n"},
    {"vcs",
     "  vcs:\n    type: \"Git\"\n    url: \"https://github.com/example/project.git\"\n"
     "    revision: \"2222222222222222222222222222222222222222\"\n    path: \"vcs-path/project\"\n"},
    {"vcs_processed", "  vcs_processed: {revision: \"2222222222222222222222222222222222222222\"}\n"},
    {"homepage_url", "  homepage_url: \"\"\n"},
};

// One project in `projects:` with the required keys but those dropped, then `extra`.
std::string project(const std::string& extra = "", const std::vector<std::string>& drop = {}) {
    std::string doc = "projects:\n- ";
    std::string body;
    for (const auto& [key, line] : required_keys)
        if (std::find(drop.begin(), drop.end(), key) == drop.end()) body += line;
    body += extra;
    if (body.empty()) return doc + "{}\n";
    return doc + body.substr(2);
}

// The one project read from `doc`.
Project the_project(const std::string& doc) {
    auto p = read_ok<Projects>(doc);
    EXPECT_EQ(p.projects.size(), 1u) << doc;
    return p.projects.empty() ? Project{} : p.projects[0];
}

void expect_errors(const std::vector<Case>& cases) {
    for (const auto& c : cases) EXPECT_EQ(read_error<Projects>(c.input), c.error) << c.input;
}

const std::string project_keys =
    "expected one of `id`, `cpe`, `definition_file_path`, `authors`, `declared_licenses`, "
    "`declared_licenses_processed`, `vcs`, `vcs_processed`, `description`, `homepage_url`, `scopes`, `scope_names`";
const std::string reference_keys = "expected one of `id`, `linkage`, `dependencies`, `issues`";

// Projects as an ORT result holds them, below the result root, `analyzer`
// and `result`, so that nesting counts as in a file.
using InResult = OrderedMap<std::string, OrderedMap<std::string, Projects>>;

// A chain of references `depth` levels deep below one scope, in a result.
std::string reference_chain(int depth) {
    std::string refs = "{id: r0, linkage: STATIC}";
    for (int i = 1; i < depth; ++i)
        refs = "{id: r" + std::to_string(i) + ", linkage: STATIC, dependencies: [" + refs + "]}";
    std::string doc = project("  scopes:\n  - name: s\n    dependencies: [" + refs + "]\n");
    // Indent the projects below `analyzer` and `result`.
    std::string out = "analyzer:\n  result:\n";
    for (std::size_t at = 0; at < doc.size();) {
        std::size_t end = doc.find('\n', at) + 1;
        out += "    " + doc.substr(at, end - at);
        at = end;
    }
    return out;
}

}  // namespace

template <>
struct brindle::models::Model<Projects> {
    static constexpr std::string_view name = "Projects";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{defaulted("projects", &Projects::projects)};
};

TEST(Project, MissingRequiredFields) {
    // Each required key dropped alone is the one reported.
    for (const auto& [key, line] : required_keys)
        EXPECT_EQ(read_error<Projects>(project("", {key})), "projects[0]: missing field `" + key + "` at line 2 column 3")
            << key;
    expect_errors({
        {"projects:\n- {}\n", "projects[0]: missing field `id` at line 2 column 3"},
        {"projects:\n-\n", "projects[0]: missing field `id` at line 2 column 2"},
        {project("", {"id", "homepage_url"}), "projects[0]: missing field `id` at line 2 column 3"},
        {project("", {"vcs_processed", "homepage_url"}), "projects[0]: missing field `vcs_processed` at line 2 column 3"},
        // An unknown key comes before the missing field found at the end.
        {project("  ID: x\n", {"id"}), "projects[0]: unknown field `ID`, " + project_keys + " at line 12 column 3"},
    });
}

TEST(Project, ReadErrors) {
    expect_errors({
        {"projects:\n- ~\n", "projects[0]: invalid type: unit value, expected struct Project at line 2 column 3"},
        {"projects:\n- ''\n", "projects[0]: invalid type: string \"\", expected struct Project at line 2 column 3"},
        {"projects:\n- []\n", "projects[0]: invalid type: sequence, expected struct Project at line 2 column 3"},
        {project("  cpe: null\n  cpe: x\n"), "projects[0]: duplicate field `cpe` at line 2 column 3"},
        {project("  id: x\n"), "projects[0]: duplicate field `id` at line 2 column 3"},
        {project("  [a]: x\n"),
         "projects[0]: invalid type: sequence, expected field identifier at line 13 column 3"},
        {project("", {"id"}) + "  id: \"NPM:a:1.0\"\n",
         "projects[0]: Field 'identifier' is invalid: must be in the format 'type:namespace:name:version' at line 2 "
         "column 3"},
        {project("", {"vcs"}) + "  vcs:\n",
         "projects[0].vcs: missing field `revision` at line 8 column 7"},
        {project("", {"vcs"}) + "  vcs: ~\n",
         "projects[0].vcs: invalid type: unit value, expected struct VcsInfo at line 8 column 8"},
        {project("  authors: ~\n"),
         "projects[0].authors: invalid type: unit value, expected a sequence at line 13 column 12"},
        {project("  scopes: {}\n"), "projects[0].scopes: invalid type: map, expected a sequence at line 13 column 11"},
        {project("  scope_names: x\n"),
         "projects[0].scope_names: invalid type: string \"x\", expected a sequence at line 13 column 16"},
        {project("", {"declared_licenses_processed"}) + "  declared_licenses_processed: {mapped: ~}\n",
         "projects[0].declared_licenses_processed.mapped: invalid type: unit value, expected a map at line 12 column "
         "41"},
    });
}

TEST(Project, RequiredAndDefaults) {
    Project p = the_project(project());
    EXPECT_EQ(to_text(p.id), "Unmanaged::Example project name:");
    EXPECT_EQ(p.cpe, std::nullopt);
    EXPECT_TRUE(p.authors.empty());
    EXPECT_EQ(p.description, "");
    EXPECT_TRUE(p.scopes.empty());
    EXPECT_EQ(p.scope_names, std::nullopt);
    EXPECT_EQ(p.vcs_processed.revision, "2222222222222222222222222222222222222222");

    // An empty value satisfies a required set or text.
    p = the_project(project("  declared_licenses:\n  definition_file_path:\n",
                            {"declared_licenses", "definition_file_path"}));
    EXPECT_TRUE(p.declared_licenses.empty());
    EXPECT_EQ(p.definition_file_path, "");

    // Null words: absent for the optional ones, the word itself for texts.
    p = the_project(project("  cpe: ~\n  description: ~\n  scope_names: ~\n"));
    EXPECT_EQ(p.cpe, std::nullopt);
    EXPECT_EQ(p.description, "~");
    EXPECT_EQ(p.scope_names, std::nullopt);
    p = the_project(project("  cpe: ''\n  scope_names: []\n"));
    EXPECT_EQ(p.cpe, "");
    EXPECT_EQ(p.scope_names, OrderedSet<std::string>{});
    p = the_project(project("  scope_names:\n"));
    EXPECT_EQ(p.scope_names, std::nullopt);

    // Repeated texts are held once.
    p = the_project(project("  authors: [a, b, a]\n  scope_names: [s, s]\n", {"declared_licenses"}) +
                    "  declared_licenses: [MIT, MIT]\n");
    EXPECT_EQ(p.authors.size(), 2u);
    EXPECT_EQ(p.declared_licenses.size(), 1u);
    EXPECT_EQ(p.scope_names->size(), 1u);
}

TEST(Project, Identity) {
    std::string first = project("  description: first\n");
    std::string doc = first + first.substr(std::string("projects:\n").size());
    // The same id twice: the first stays, whatever the other fields.
    std::size_t second = doc.rfind("description: first");
    doc.replace(second, std::string("description: first").size(), "description: second");
    auto p = read_ok<Projects>(doc);
    ASSERT_EQ(p.projects.size(), 1u);
    EXPECT_EQ(p.projects[0].description, "first");
    // Ids that differ in the version only are two projects.
    doc.replace(doc.rfind("name:\""), 6, "name:2\"");
    EXPECT_EQ(read_ok<Projects>(doc).projects.size(), 2u);
}

TEST(Project, Writing) {
    Project p = the_project(project());
    EXPECT_EQ(json(p), R"({
  "id": "Unmanaged::Example project name:",
  "cpe": null,
  "definition_file_path": "",
  "authors": [],
  "declared_licenses": [],
  "declared_licenses_processed": {
    "spdx_expression": null,
    "mapped": {},
    "unmapped": []
  },
  "vcs": {
    "type": "Git",
    "url": "https://github.com/example/project.git",
    "revision": "2222222222222222222222222222222222222222",
    "path": "vcs-path/project"
  },
  "vcs_processed": {
    "type": "",
    "url": "",
    "revision": "2222222222222222222222222222222222222222",
    "path": ""
  },
  "description": "",
  "homepage_url": "",
  "scopes": [],
  "scope_names": null
})");

    p = the_project(project(
        "  cpe: cpe:2.3:a\n"
        "  authors: [Author One]\n"
        "  scopes:\n"
        "  - name: main\n"
        "    dependencies:\n"
        "    - id: \"NPM::example-dependency-two:2.0.0\"\n"
        "      linkage: \"STATIC\"\n"
        "  scope_names: []\n"));
    EXPECT_EQ(yaml(p),
              "id: 'Unmanaged::Example project name:'\n"
              "cpe: cpe:2.3:a\n"
              "definition_file_path: ''\n"
              "authors:\n- Author One\n"
              "declared_licenses: []\n"
              "declared_licenses_processed:\n  spdx_expression: null\n  mapped: {}\n  unmapped: []\n"
              "vcs:\n  type: Git\n  url: https://github.com/example/project.git\n"
              "  revision: '2222222222222222222222222222222222222222'\n  path: vcs-path/project\n"
              "vcs_processed:\n  type: ''\n  url: ''\n  revision: '2222222222222222222222222222222222222222'\n"
              "  path: ''\n"
              "description: ''\n"
              "homepage_url: ''\n"
              "scopes:\n"
              "- name: main\n"
              "  dependencies:\n"
              "  - id: NPM::example-dependency-two:2.0.0\n"
              "    linkage: STATIC\n"
              "    dependencies: []\n"
              "    issues: []\n"
              "scope_names: []\n");
    // What is written reads back as the same project.
    Project back = read_ok<Project>(yaml(p));
    EXPECT_EQ(back, p);
    EXPECT_EQ(back.scopes[0].dependencies[0], p.scopes[0].dependencies[0]);
}

TEST(Scope, ReadErrors) {
    auto in_scopes = [](const std::string& scopes) { return project("  scopes:\n" + scopes); };
    const std::string at = "projects[0].scopes[0]";
    expect_errors({
        {in_scopes("  - {}\n"), at + ": missing field `name` at line 14 column 5"},
        {in_scopes("  -\n"), at + ": missing field `name` at line 14 column 4"},
        {in_scopes("  - {dependencies: []}\n"), at + ": missing field `name` at line 14 column 5"},
        {in_scopes("  - ~\n"), at + ": invalid type: unit value, expected struct Scope at line 14 column 5"},
        {in_scopes("  - Name: x\n"), at + ": unknown field `Name`, expected `name` or `dependencies` at line 14 column 5"},
        {in_scopes("  - {name: a, name: b}\n"), at + ": duplicate field `name` at line 14 column 5"},
        {in_scopes("  - {name: a, dependencies: ~}\n"),
         at + ".dependencies: invalid type: unit value, expected a sequence at line 14 column 29"},
        {in_scopes("  - name: a\n    dependencies:\n    - {}\n"),
         at + ".dependencies[0]: missing field `id` at line 16 column 7"},
        {in_scopes("  - name: a\n    dependencies:\n    -\n"),
         at + ".dependencies[0]: missing field `id` at line 16 column 6"},
        {in_scopes("  - name: a\n    dependencies:\n    - {id: x, linkage: null}\n"),
         at + ".dependencies[0]: invalid PackageLinkage value: Null at line 16 column 7"},
        {in_scopes("  - name: a\n    dependencies:\n    - {linkage: STATIC}\n"),
         at + ".dependencies[0]: missing field `id` at line 16 column 7"},
        {in_scopes("  - name: a\n    dependencies:\n    - ~\n"),
         at + ".dependencies[0]: invalid type: unit value, expected struct PackageReference at line 16 column 7"},
        {in_scopes("  - name: a\n    dependencies:\n    - {id: x, Linkage: STATIC}\n"),
         at + ".dependencies[0]: unknown field `Linkage`, " + reference_keys + " at line 16 column 15"},
        {in_scopes("  - name: a\n    dependencies:\n    - {id: x, linkage: STATIC, id: y}\n"),
         at + ".dependencies[0]: duplicate field `id` at line 16 column 7"},
        {in_scopes("  - name: a\n    dependencies:\n    - {id: x, linkage: STATIC, issues: ~}\n"),
         at + ".dependencies[0].issues: invalid type: unit value, expected a sequence at line 16 column 40"},
        {in_scopes("  - name: a\n    dependencies:\n    - {id: x, linkage: STATIC, dependencies: [{linkage: 1}]}\n"),
         at + ".dependencies[0].dependencies[0]: missing field `id` at line 16 column 47"},
    });
}

TEST(Scope, Linkage) {
    auto linkage = [](const std::string& value) {
        return project("  scopes:\n  - name: a\n    dependencies:\n    - id: x\n      linkage: " + value + "\n");
    };
    for (const auto& [value, expected] : std::vector<std::pair<std::string, PackageLinkage>>{
             {"DYNAMIC", PackageLinkage::DYNAMIC}, {"1", PackageLinkage::DYNAMIC}, {"\"STATIC\"", PackageLinkage::STATIC},
             {"4", PackageLinkage::PROJECT_STATIC}}) {
        Project p = the_project(linkage(value));
        ASSERT_EQ(p.scopes.size(), 1u) << value;
        EXPECT_EQ(p.scopes[0].dependencies[0].linkage, expected) << value;
    }
    // Producers leave out a DYNAMIC linkage; it is written back always.
    Project absent = the_project(project("  scopes:\n  - name: a\n    dependencies:\n    - id: x\n"));
    ASSERT_EQ(absent.scopes.size(), 1u);
    EXPECT_EQ(absent.scopes[0].dependencies[0], (PackageReference{"x", PackageLinkage::DYNAMIC, {}, {}}));
    EXPECT_EQ(yaml(absent.scopes[0].dependencies[0]), "id: x\nlinkage: DYNAMIC\ndependencies: []\nissues: []\n");
    const std::string at = "projects[0].scopes[0].dependencies[0]: invalid PackageLinkage value: ";
    for (const auto& [value, shown] : std::vector<std::pair<std::string, std::string>>{
             {"dynamic", "dynamic"}, {"0", "0"}, {"5", "5"}, {"-1", "-1"}, {"2.0", "2.0"}, {"'1'", "1"},
             {"", "Null"}, {"~", "Null"}, {"true", "Bool(true)"}})
        EXPECT_EQ(read_error<Projects>(linkage(value)), at + shown + " at line 16 column 7") << value;
}

TEST(Scope, ReferencesAndIdentity) {
    Project p = the_project(project(
        "  scopes:\n"
        "  - name: main\n"
        "    dependencies:\n"
        "    - id: 123\n"
        "      linkage: STATIC\n"
        "    - id: \"NPM::a:1.0\"\n"
        "      linkage: DYNAMIC\n"
        "      dependencies:\n"
        "      - {id: 123, linkage: PROJECT_STATIC}\n"
        "      issues:\n"
        "      - {timestamp: t, source: s, message: m, severity: WARNING}\n"
        "      - {timestamp: t, source: s, message: m, severity: WARNING}\n"
        "    - id: 123\n"
        "      linkage: DYNAMIC\n"
        "      dependencies: [{id: lost, linkage: STATIC}]\n"
        "  - name: main\n"
        "    dependencies: [{id: other, linkage: STATIC}]\n"
        "  - name: test\n"));
    // The second scope named `main` is dropped with its references.
    ASSERT_EQ(p.scopes.size(), 2u);
    EXPECT_EQ(p.scopes[1], (Scope{"test", {}}));
    const Scope& main = p.scopes[0];
    ASSERT_EQ(main.dependencies.size(), 2u);
    // The first reference of an id stays; ids are texts held unchecked.
    EXPECT_EQ(main.dependencies[0], (PackageReference{"123", PackageLinkage::STATIC, {}, {}}));
    const PackageReference& a = main.dependencies[1];
    EXPECT_EQ(a.id, "NPM::a:1.0");
    // The same id under another parent is held again.
    ASSERT_EQ(a.dependencies.size(), 1u);
    EXPECT_EQ(a.dependencies[0].id, "123");
    // Issues keep their order and duplicates.
    ASSERT_EQ(a.issues.size(), 2u);
    EXPECT_EQ(a.issues[0], a.issues[1]);

    EXPECT_EQ(json(main.dependencies[0]),
              "{\n  \"id\": \"123\",\n  \"linkage\": \"STATIC\",\n  \"dependencies\": [],\n  \"issues\": []\n}");
    EXPECT_EQ(yaml(a),
              "id: NPM::a:1.0\n"
              "linkage: DYNAMIC\n"
              "dependencies:\n"
              "- id: '123'\n  linkage: PROJECT_STATIC\n  dependencies: []\n  issues: []\n"
              "issues:\n"
              "- timestamp: t\n  source: s\n  message: m\n  severity: WARNING\n  affected_path: null\n"
              "- timestamp: t\n  source: s\n  message: m\n  severity: WARNING\n  affected_path: null\n");
    EXPECT_EQ(json(Scope{"s", {}}), "{\n  \"name\": \"s\",\n  \"dependencies\": []\n}");
}

// In a result, references 60 levels deep below a scope read; 61 do not.
TEST(Scope, ReferenceDepth) {
    auto result = read_ok<InResult>(reference_chain(60));
    const Project& p = result.find("analyzer")->find("result")->projects[0];
    const PackageReference* r = &p.scopes[0].dependencies[0];
    int depth = 1;
    for (; !r->dependencies.empty(); ++depth) r = &r->dependencies[0];
    EXPECT_EQ(depth, 60);
    EXPECT_EQ(r->id, "r0");

    std::string deep = reference_chain(61);
    std::size_t at = 0;
    for (int i = 0; i < 61; ++i) at = deep.find("{id", at) + 1;
    std::size_t line_start = deep.rfind('\n', at - 1) + 1;
    std::size_t line = 1 + static_cast<std::size_t>(
                               std::count(deep.begin(), deep.begin() + static_cast<std::ptrdiff_t>(at), '\n'));
    EXPECT_EQ(read_error<InResult>(deep), "recursion limit exceeded at line " + std::to_string(line) + " column " +
                                              std::to_string(at - line_start));
}
