// Dependency graphs: their scopes and root indices, nodes, edges and the
// reference trees below the scope roots; strict reading with the exact
// failure texts, set identities, depth, and JSON/YAML writing.
#include <string>
#include <vector>

#include "models/json_writer.hpp"
#include "models/ort/dependency_graph.hpp"
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
    std::string input;
    std::string error;
};

void expect_errors(const std::vector<Case>& cases) {
    for (const auto& c : cases) EXPECT_EQ(read_error<DependencyGraph>(c.input), c.error) << c.input;
}

// A graph as an ORT result holds it: the result root, `analyzer`, `result`
// and `dependency_graphs` above it, so that nesting counts as in a file.
using Graphs = OrderedMap<std::string, DependencyGraph>;
using InResult = OrderedMap<std::string, OrderedMap<std::string, OrderedMap<std::string, Graphs>>>;

// A chain of references `depth` levels deep below one scope root, in a result.
std::string reference_chain(int depth) {
    std::string refs = "{pkg: 0, issues: []}";
    for (int i = 1; i < depth; ++i) refs = "{pkg: " + std::to_string(i) + ", issues: [], dependencies: [" + refs + "]}";
    return "analyzer:\n  result:\n    dependency_graphs:\n      G:\n        scope_roots: [" + refs + "]\n";
}

}  // namespace

TEST(DependencyGraph, GraphErrors) {
    expect_errors({
        {"~\n", "invalid type: unit value, expected struct DependencyGraph"},
        {"- packages: []\n", "invalid type: sequence, expected struct DependencyGraph"},
        {"packages: ~\n", "packages: invalid type: unit value, expected a sequence at line 1 column 11"},
        {"packages: null\n", "packages: invalid type: unit value, expected a sequence at line 1 column 11"},
        {"scope_roots: {}\n", "scope_roots: invalid type: map, expected a sequence at line 1 column 14"},
        {"nodes: x\n", "nodes: invalid type: string \"x\", expected a sequence at line 1 column 8"},
        {"edges: ~\n", "edges: invalid type: unit value, expected a sequence at line 1 column 8"},
        {"scopes: null\n", "scopes: invalid type: unit value, expected a map at line 1 column 9"},
        {"scopes: []\n", "scopes: invalid type: sequence, expected a map at line 1 column 9"},
        {"edge: []\n", "unknown field `edge`, expected one of `packages`, `scope_roots`, `scopes`, `nodes`, `edges`"},
        {"nodes: []\nNodes: []\n",
         "unknown field `Nodes`, expected one of `packages`, `scope_roots`, `scopes`, `nodes`, `edges` at line 2 "
         "column 1"},
        {"nodes: []\nedges: []\nnodes: ~\n", "duplicate field `nodes`"},
        {"packages:\n- \"Maven:junit:junit:4.12\"\n- \"Maven:junit:4.12\"\n",
         "packages: Field 'identifier' is invalid: must be in the format 'type:namespace:name:version' at line 2 "
         "column 1"},
        {"packages:\n- [a]\n", "packages[0]: invalid type: sequence, expected a string at line 2 column 3"},
    });
}

TEST(DependencyGraph, RootIndexErrors) {
    expect_errors({
        {"scopes:\n  s:\n  - {fragment: 1}\n", "scopes.s[0]: missing field `root` at line 3 column 5"},
        {"scopes:\n  s:\n  - {}\n", "scopes.s[0]: missing field `root` at line 3 column 5"},
        {"scopes:\n  s:\n  -\n", "scopes.s[0]: missing field `root` at line 3 column 4"},
        {"scopes:\n  s:\n  - ~\n",
         "scopes.s[0]: invalid type: unit value, expected struct RootDependencyIndex at line 3 column 5"},
        {"scopes:\n  s:\n  - root: '3'\n",
         "scopes.s[0].root: invalid type: string \"3\", expected i64 at line 3 column 11"},
        {"scopes:\n  s:\n  - root: ~\n", "scopes.s[0].root: invalid type: unit value, expected i64 at line 3 column 11"},
        {"scopes:\n  s:\n  - root: 1.0\n",
         "scopes.s[0].root: invalid type: floating point `1.0`, expected i64 at line 3 column 11"},
        {"scopes:\n  s:\n  - root: 9223372036854775808\n",
         "scopes.s[0].root: invalid type: integer `9223372036854775808`, expected i64 at line 3 column 11"},
        {"scopes:\n  s:\n  - {root: 1, fragment: 0, root: 2}\n", "scopes.s[0]: duplicate field `root` at line 3 column 5"},
        {"scopes:\n  s:\n  - {fragment: 1, root: 1, fragment: 0}\n",
         "scopes.s[0]: duplicate field `fragment` at line 3 column 5"},
        // The missing root is found only after every entry was read.
        {"scopes:\n  s:\n  - {x: 1, fragment: a}\n",
         "scopes.s[0].fragment: invalid type: string \"a\", expected i64 at line 3 column 22"},
    });
}

TEST(DependencyGraph, RootIndexValues) {
    auto g = read_ok<DependencyGraph>(
        "scopes:\n"
        "  a:\n"
        "  - root: 3\n"
        "  - {root: 0x10, fragment: -2, x: {y: [1]}, x: 2}\n"
        "  - {root: -1, fragment: 9223372036854775807}\n"
        "  b:\n"
        "  c: [{root: 0}]\n"
        "  c: [{root: 1}, {root: 1}]\n");
    ASSERT_EQ(g.scopes.size(), 3u);
    EXPECT_EQ(*g.scopes.find("a"), (std::vector<RootDependencyIndex>{{3, 0}, {16, -2}, {-1, INT64_MAX}}));
    EXPECT_EQ(*g.scopes.find("b"), std::vector<RootDependencyIndex>{});
    // A repeated scope keeps the list read last, duplicates kept.
    EXPECT_EQ(*g.scopes.find("c"), (std::vector<RootDependencyIndex>{{1, 0}, {1, 0}}));
    EXPECT_EQ(yaml(RootDependencyIndex{3, 0}), "root: 3\nfragment: 0\n");
    EXPECT_EQ(json(RootDependencyIndex{-1, 2}), "{\n  \"root\": -1,\n  \"fragment\": 2\n}");
}

TEST(DependencyGraph, ReferenceErrors) {
    const std::string keys = "expected one of `pkg`, `fragment`, `dependencies`, `linkage`, `issues`";
    expect_errors({
        // Absent, `pkg` is 0 and `issues` empty; given, they must be of their type.
        {"scope_roots:\n- {pkg: ~, issues: []}\n",
         "scope_roots[0].pkg: invalid type: unit value, expected i64 at line 2 column 9"},
        {"scope_roots:\n- {pkg: , issues: []}\n",
         "scope_roots[0].pkg: invalid type: unit value, expected i64 at line 2 column 9"},
        {"scope_roots:\n- ~\n",
         "scope_roots[0]: invalid type: unit value, expected struct DependencyReference at line 2 column 3"},
        {"scope_roots:\n- null\n",
         "scope_roots[0]: invalid type: unit value, expected struct DependencyReference at line 2 column 3"},
        {"scope_roots:\n- [1]\n",
         "scope_roots[0]: invalid type: sequence, expected struct DependencyReference at line 2 column 3"},
        {"scope_roots:\n- {pkg: 1, issues: ~}\n",
         "scope_roots[0].issues: invalid type: unit value, expected a sequence at line 2 column 20"},
        {"scope_roots:\n- {pkg: 1, issues: [], dependencies: 0}\n",
         "scope_roots[0].dependencies: invalid type: integer `0`, expected a sequence at line 2 column 38"},
        {"scope_roots:\n- {pkg: 1, fragment: ~, issues: []}\n",
         "scope_roots[0].fragment: invalid type: unit value, expected i64 at line 2 column 22"},
        {"scope_roots:\n- {pkg: '1', issues: []}\n",
         "scope_roots[0].pkg: invalid type: string \"1\", expected i64 at line 2 column 9"},
        {"scope_roots:\n- {pkg: 1, issues: [], pkg: 1}\n", "scope_roots[0]: duplicate field `pkg` at line 2 column 3"},
        {"scope_roots:\n- {pkg: 1, issues: [], Linkage: STATIC}\n",
         ("scope_roots[0]: unknown field `Linkage`, " + keys + " at line 2 column 24")},
        // An unknown key comes before the missing field found at the end.
        {"scope_roots:\n- {node: 1}\n", ("scope_roots[0]: unknown field `node`, " + keys + " at line 2 column 4")},
        {"scope_roots:\n- {pkg: 1, issues: [], linkage: }\n",
         "scope_roots[0]: invalid PackageLinkage value: Null at line 2 column 3"},
        {"scope_roots:\n- {pkg: 1, issues: [], linkage: static}\n",
         "scope_roots[0]: invalid PackageLinkage value: static at line 2 column 3"},
        {"scope_roots:\n- pkg: 1\n  issues: []\n  dependencies:\n  - {pkg: 2, issues: null}\n",
         "scope_roots[0].dependencies[0].issues: invalid type: unit value, expected a sequence at line 5 column 22"},
        {"scope_roots:\n- pkg: 1\n  issues:\n  - {timestamp: t, source: s, message: m}\n",
         "scope_roots[0].issues[0]: missing field `severity` at line 4 column 5"},
    });
}

TEST(DependencyGraph, NodeAndEdgeErrors) {
    expect_errors({
        {"nodes:\n- ~\n", "nodes[0]: invalid type: unit value, expected struct DependencyGraphNode at line 2 column 3"},
        {"nodes:\n- null\n",
         "nodes[0]: invalid type: unit value, expected struct DependencyGraphNode at line 2 column 3"},
        {"nodes:\n- {node: 1}\n",
         "nodes[0]: unknown field `node`, expected one of `pkg`, `fragment`, `linkage`, `issues` at line 2 column 4"},
        {"nodes:\n- {dependencies: []}\n",
         "nodes[0]: unknown field `dependencies`, expected one of `pkg`, `fragment`, `linkage`, `issues` at line 2 "
         "column 4"},
        {"nodes:\n- {pkg: ~, pkg: 1}\n", "nodes[0]: duplicate field `pkg` at line 2 column 3"},
        {"nodes:\n- {pkg: x}\n", "nodes[0].pkg: invalid type: string \"x\", expected i64 at line 2 column 9"},
        {"nodes:\n- {fragment: ~}\n", "nodes[0].fragment: invalid type: unit value, expected i64 at line 2 column 14"},
        {"nodes:\n- linkage:\n", "nodes[0]: invalid PackageLinkage value: Null at line 2 column 3"},
        {"nodes:\n- {issues: ~}\n", "nodes[0].issues: invalid type: unit value, expected a sequence at line 2 column 12"},
        {"edges:\n- {from: 1}\n", "edges[0]: missing field `to` at line 2 column 3"},
        {"edges:\n- {to: 1}\n", "edges[0]: missing field `from` at line 2 column 3"},
        {"edges:\n- {}\n", "edges[0]: missing field `from` at line 2 column 3"},
        {"edges:\n-\n", "edges[0]: missing field `from` at line 2 column 2"},
        {"edges:\n- ~\n", "edges[0]: invalid type: unit value, expected struct DependencyGraphEdge at line 2 column 3"},
        {"edges:\n- {from: 1, to: 2, via: 3}\n",
         "edges[0]: unknown field `via`, expected `from` or `to` at line 2 column 20"},
        {"edges:\n- {from: 1, from: 2}\n", "edges[0]: duplicate field `from` at line 2 column 3"},
        {"edges:\n- {from: 1, to: ''}\n", "edges[0].to: invalid type: string \"\", expected i64 at line 2 column 17"},
    });
}

TEST(DependencyGraph, LinkageValues) {
    struct LinkageCase {
        const char* value;
        PackageLinkage linkage;
    };
    for (const auto& c : std::vector<LinkageCase>{{"DYNAMIC", PackageLinkage::DYNAMIC},
                                                  {"1", PackageLinkage::DYNAMIC},
                                                  {"'STATIC'", PackageLinkage::STATIC},
                                                  {"3", PackageLinkage::PROJECT_DYNAMIC},
                                                  {"PROJECT_STATIC", PackageLinkage::PROJECT_STATIC},
                                                  {"0x4", PackageLinkage::PROJECT_STATIC}}) {
        std::string doc = std::string("nodes:\n- linkage: ") + c.value + "\n";
        auto g = read_ok<DependencyGraph>(doc);
        ASSERT_EQ(g.nodes.size(), 1u) << doc;
        EXPECT_EQ(g.nodes[0].linkage, c.linkage) << doc;
    }
    for (const auto& c : std::vector<Case>{{"dynamic", "dynamic"},
                                           {"0", "0"},
                                           {"5", "5"},
                                           {"-1", "-1"},
                                           {"2.0", "2.0"},
                                           {"'1'", "1"},
                                           {"~", "Null"},
                                           {"true", "Bool(true)"},
                                           {"[DYNAMIC]", "Sequence [String(\"DYNAMIC\")]"}}) {
        std::string doc = "nodes:\n- linkage: " + c.input + "\n";
        EXPECT_EQ(read_error<DependencyGraph>(doc),
                  std::string("nodes[0]: invalid PackageLinkage value: ") + c.error + " at line 2 column 3")
            << doc;
    }
}

TEST(DependencyGraph, EmptyGraphs) {
    for (const char* doc : {"{}\n", "", "packages:\nscope_roots:\nscopes:\nnodes:\nedges:\n"})
        EXPECT_EQ(read_ok<DependencyGraph>(doc), DependencyGraph{}) << doc;
    EXPECT_EQ(json(DependencyGraph{}),
              "{\n  \"packages\": [],\n  \"scope_roots\": [],\n  \"scopes\": {},\n  \"nodes\": [],\n  \"edges\": []\n}");
    EXPECT_EQ(yaml(DependencyGraph{}), "packages: []\nscope_roots: []\nscopes: {}\nnodes: []\nedges: []\n");
}

// Producers leave out a `pkg` of 0, empty `issues` and a DYNAMIC `linkage`;
// they read as those values and are written back always.
TEST(DependencyGraph, ReferenceDefaults) {
    const DependencyReference zero{0, 0, {}, PackageLinkage::DYNAMIC, {}};
    const DependencyReference one{1, 0, {}, PackageLinkage::DYNAMIC, {}};
    const std::pair<const char*, const DependencyReference*> cases[] = {
        {"- {pkg: 1}\n", &one},
        {"- {pkg: 1, issues: }\n", &one},
        {"- {issues: []}\n", &zero},
        {"- {}\n", &zero},
        {"-\n", &zero},
        {"- {fragment: 0}\n", &zero},
    };
    for (const auto& [input, expected] : cases) {
        auto g = read_ok<DependencyGraph>(std::string("scope_roots:\n") + input);
        ASSERT_EQ(g.scope_roots.size(), 1u) << input;
        EXPECT_EQ(g.scope_roots[0], *expected) << input;
    }
    auto g = read_ok<DependencyGraph>("scope_roots:\n- {dependencies: [{pkg: 2}, {}]}\n");
    ASSERT_EQ(g.scope_roots[0].dependencies.size(), 2u);
    EXPECT_EQ(g.scope_roots[0].dependencies[1], zero);
    EXPECT_EQ(yaml(g.scope_roots[0].dependencies[1]), "pkg: 0\nfragment: 0\ndependencies: []\nlinkage: DYNAMIC\nissues: []\n");
}

// A node without `pkg` is the graph's first package, and so is one whose
// `pkg` is null or empty, as earlier readers wrote it back.
TEST(DependencyGraph, NodePackageDefaults) {
    const std::pair<const char*, std::int64_t> cases[] = {
        {"{}", 0},           {"{fragment: 1}", 0}, {"{pkg: }", 0},     {"{pkg: ~}", 0}, {"{pkg: null}", 0},
        {"{pkg: NULL}", 0},  {"{pkg: !!null null}", 0}, {"{pkg: 0}", 0}, {"{pkg: 5}", 5}, {"", 0},
    };
    for (const auto& [node, pkg] : cases) {
        auto g = read_ok<DependencyGraph>(std::string("nodes:\n- ") + node + "\n");
        ASSERT_EQ(g.nodes.size(), 1u) << node;
        EXPECT_EQ(g.nodes[0].pkg, pkg) << node;
        std::string n = std::to_string(pkg);
        EXPECT_EQ(yaml(g.nodes[0]), "pkg: " + n + "\nfragment: " + (std::string(node) == "{fragment: 1}" ? "1" : "0") +
                                        "\nlinkage: DYNAMIC\nissues: []\n")
            << node;
        EXPECT_EQ(json(g.nodes[0]).substr(0, 12 + n.size()), "{\n  \"pkg\": " + n + ",") << node;
    }
    // A pkg behind an alias is read at its anchor.
    auto g = read_ok<DependencyGraph>("nodes:\n- {pkg: &p ~, fragment: 2}\n- {pkg: *p}\n");
    EXPECT_EQ(g.nodes[1].pkg, 0);
}

TEST(DependencyGraph, ReferencesAndTheirIdentity) {
    auto g = read_ok<DependencyGraph>(
        "scope_roots:\n"
        "- {pkg: 1, issues: []}\n"
        "- pkg: 2\n"
        "  issues:\n"
        "  dependencies:\n"
        "  - {pkg: 1, issues: []}\n"
        "  - {pkg: 1, fragment: 1, issues: [], linkage: 3}\n"
        "  - {pkg: 1, issues: [], linkage: STATIC, dependencies: [{pkg: 9, issues: []}]}\n"
        "- pkg: 1\n"
        "  linkage: STATIC\n"
        "  issues: [{timestamp: t, source: s, message: m, severity: ERROR}]\n"
        "  dependencies: [{pkg: 5, issues: []}]\n"
        "- {pkg: -3, fragment: -2, issues: []}\n");
    ASSERT_EQ(g.scope_roots.size(), 3u);
    // The first of two equal references stays, with its own dependencies.
    const DependencyReference& first = g.scope_roots[0];
    EXPECT_EQ(first, (DependencyReference{1, 0, {}, PackageLinkage::DYNAMIC, {}}));
    const DependencyReference& second = g.scope_roots[1];
    ASSERT_EQ(second.dependencies.size(), 2u);
    EXPECT_EQ(second.dependencies[0], (DependencyReference{1, 0, {}, PackageLinkage::DYNAMIC, {}}));
    EXPECT_EQ(second.dependencies[1].fragment, 1);
    EXPECT_EQ(second.dependencies[1].linkage, PackageLinkage::PROJECT_DYNAMIC);
    EXPECT_EQ(g.scope_roots[2].pkg, -3);
    EXPECT_EQ(g.scope_roots[2].fragment, -2);

    EXPECT_EQ(json(second),
              R"({
  "pkg": 2,
  "fragment": 0,
  "dependencies": [
    {
      "pkg": 1,
      "fragment": 0,
      "dependencies": [],
      "linkage": "DYNAMIC",
      "issues": []
    },
    {
      "pkg": 1,
      "fragment": 1,
      "dependencies": [],
      "linkage": "PROJECT_DYNAMIC",
      "issues": []
    }
  ],
  "linkage": "DYNAMIC",
  "issues": []
})");
    EXPECT_EQ(yaml(g.scope_roots[2]), "pkg: -3\nfragment: -2\ndependencies: []\nlinkage: DYNAMIC\nissues: []\n");
}

TEST(DependencyGraph, NodesEdgesAndPackages) {
    auto g = read_ok<DependencyGraph>(
        "packages:\n"
        "- \"Maven:junit:junit:4.12\"\n"
        "- \"Maven:junit:junit:4.12\"\n"
        "- \"::x:\"\n"
        "nodes:\n"
        "- pkg: 1\n"
        "- {}\n"
        "-\n"
        "- {pkg: ~, fragment: 7}\n"
        "- {pkg: 0, linkage: PROJECT_STATIC}\n"
        "- {pkg: 0, linkage: PROJECT_STATIC}\n"
        "- pkg: 99\n"
        "  issues:\n"
        "  - {timestamp: t, source: s, message: m, severity: HINT}\n"
        "  - {timestamp: t, source: s, message: m, severity: HINT}\n"
        "edges:\n"
        "- from: 1\n  to: 0\n"
        "- {from: 1, to: 0}\n"
        "- {from: 1, to: 2}\n"
        "- {from: -1, to: 100}\n");
    // Repeated identifiers and equal nodes stay; equal edges are held once.
    ASSERT_EQ(g.packages.size(), 3u);
    EXPECT_EQ(g.packages[0], g.packages[1]);
    ASSERT_EQ(g.nodes.size(), 7u);
    EXPECT_EQ(g.nodes[1], DependencyGraphNode{});
    EXPECT_EQ(g.nodes[2], DependencyGraphNode{});
    EXPECT_EQ(g.nodes[3], (DependencyGraphNode{0, 7, PackageLinkage::DYNAMIC, {}}));
    EXPECT_EQ(g.nodes[4], g.nodes[5]);
    EXPECT_EQ(g.nodes[4].pkg, 0);
    EXPECT_EQ(g.nodes[6].issues.size(), 2u);
    EXPECT_EQ(g.edges.size(), 3u);

    EXPECT_EQ(json(g.nodes[1]),
              "{\n  \"pkg\": 0,\n  \"fragment\": 0,\n  \"linkage\": \"DYNAMIC\",\n  \"issues\": []\n}");
    EXPECT_EQ(json(g.edges[2]), "{\n  \"from\": -1,\n  \"to\": 100\n}");
    g.nodes.resize(2);
    EXPECT_EQ(yaml(g),
              "packages:\n"
              "- Maven:junit:junit:4.12\n"
              "- Maven:junit:junit:4.12\n"
              "- '::x:'\n"
              "scope_roots: []\n"
              "scopes: {}\n"
              "nodes:\n"
              "- pkg: 1\n  fragment: 0\n  linkage: DYNAMIC\n  issues: []\n"
              "- pkg: 0\n  fragment: 0\n  linkage: DYNAMIC\n  issues: []\n"
              "edges:\n"
              "- from: 1\n  to: 0\n"
              "- from: 1\n  to: 2\n"
              "- from: -1\n  to: 100\n");
}

// A real graph with its scopes, nodes and edges reads and comes back as read.
TEST(DependencyGraph, RealGraphRoundTrip) {
    const char* doc =
        "packages:\n"
        "- \"Go::github.com/BurntSushi/toml:1.4.0\"\n"
        "- \"Go::github.com/davecgh/go-spew:1.1.1\"\n"
        "scopes:\n"
        "  :github.com/mercedes-benz/disclosure-cli:388ae2bdf6032a3d5b0ed06ac45267dfc0376a3d:vendor:\n"
        "  - root: 3\n"
        "  - root: 5\n"
        "    fragment: 1\n"
        "nodes:\n"
        "- linkage: \"PROJECT_STATIC\"\n"
        "- pkg: 5\n"
        "  fragment: 1\n"
        "  linkage: \"PROJECT_STATIC\"\n"
        "edges:\n"
        "- from: 1\n"
        "  to: 0\n";
    auto g = read_ok<DependencyGraph>(doc);
    EXPECT_EQ(read_ok<DependencyGraph>(yaml(g)), g);
    EXPECT_EQ(json(g), R"({
  "packages": [
    "Go::github.com/BurntSushi/toml:1.4.0",
    "Go::github.com/davecgh/go-spew:1.1.1"
  ],
  "scope_roots": [],
  "scopes": {
    ":github.com/mercedes-benz/disclosure-cli:388ae2bdf6032a3d5b0ed06ac45267dfc0376a3d:vendor": [
      {
        "root": 3,
        "fragment": 0
      },
      {
        "root": 5,
        "fragment": 1
      }
    ]
  },
  "nodes": [
    {
      "pkg": 0,
      "fragment": 0,
      "linkage": "PROJECT_STATIC",
      "issues": []
    },
    {
      "pkg": 5,
      "fragment": 1,
      "linkage": "PROJECT_STATIC",
      "issues": []
    }
  ],
  "edges": [
    {
      "from": 1,
      "to": 0
    }
  ]
})");
}

// In a result, references 61 levels deep below a scope root read; 62 do not.
TEST(DependencyGraph, ReferenceDepth) {
    auto result = read_ok<InResult>(reference_chain(61));
    const Graphs& graphs = *result.find("analyzer")->find("result")->find("dependency_graphs");
    const DependencyReference* r = &graphs.find("G")->scope_roots[0];
    int depth = 1;
    for (; !r->dependencies.empty(); ++depth) r = &r->dependencies[0];
    EXPECT_EQ(depth, 61);
    EXPECT_EQ(r->pkg, 0);

    std::string deep = reference_chain(62);
    std::string err = read_error<InResult>(deep);
    // At the innermost reference's mapping: the 62nd "{" of the chain.
    std::size_t at = 0;
    for (int i = 0; i < 62; ++i) at = deep.find('{', at) + 1;
    std::size_t line_start = deep.rfind('\n', at - 1) + 1;
    EXPECT_EQ(err, "recursion limit exceeded at line 5 column " + std::to_string(at - line_start));
}
