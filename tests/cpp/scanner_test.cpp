// The scanner's results: scan results with their scanner and summary, the
// license, copyright and snippet findings, provenance resolution results and
// file lists; reading with every rule and message, identity in sets, and
// writing as JSON and YAML.
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "models/json_writer.hpp"
#include "models/ort/file_list.hpp"
#include "models/ort/provenance_resolution_result.hpp"
#include "models/ort/scan_result.hpp"
#include "models/ort/scanner_run.hpp"
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

// The place of a scanner run in a result.
struct Result {
    std::optional<ScannerRun> scanner;
};

}  // namespace

template <>
struct brindle::models::Model<Result> {
    static constexpr std::string_view name = "Result";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{optional("scanner", &Result::scanner)};
};

namespace {

struct Case {
    std::string input;
    std::string error;  // "" when it reads
};

template <class T>
void expect_errors(const std::vector<Case>& cases) {
    for (const auto& k : cases) EXPECT_EQ(read_error<T>(k.input), k.error) << k.input;
}

const std::string loc = "{path: a, start_line: 1, end_line: 2}";
const std::string repo = "{vcs_info: {type: Git, url: u, revision: r, path: p}, resolved_revision: x}";
const std::string scanner = "{name: n, version: v, configuration: c}";
const std::string summary = "{start_time: s, end_time: e}";

std::string snippet(const std::string& purl, const std::string& more = "") {
    return "{score: 1, location: " + loc + ", provenance: ~, purl: " + purl + ", license: MIT" + more + "}";
}

// A scan result of a real result file.
constexpr const char* corpus_scan_result = R"(provenance:
  vcs_info:
    type: "Git"
    url: "https://github.com/oss-review-toolkit/ort-test-data-scanner-subrepo.git"
    revision: "a732695e03efcbd74539208af98c297ee86e49d5"
    path: ""
  resolved_revision: "a732695e03efcbd74539208af98c297ee86e49d5"
scanner:
  name: "Dummy"
  version: "1.0.0"
  configuration: ""
summary:
  start_time: "1970-01-01T00:00:00Z"
  end_time: "1970-01-01T00:00:00Z"
  licenses:
  - license: "NOASSERTION"
    location:
      path: "LICENSE"
      start_line: -1
      end_line: -1
  - license: "NOASSERTION"
    location:
      path: "README"
      start_line: -1
      end_line: -1
  - license: "NOASSERTION"
    location:
      path: "pkg-s1/pkg-s1.txt"
      start_line: -1
      end_line: -1
)";

TEST(Scanner, RealScanResult) {
    auto r = read_ok<ScanResult>(corpus_scan_result);
    ASSERT_TRUE(r.provenance.is_repository());
    EXPECT_EQ(std::get<RepositoryProvenance>(r.provenance).resolved_revision,
              "a732695e03efcbd74539208af98c297ee86e49d5");
    EXPECT_EQ(r.scanner, (ScannerDetails{"Dummy", "1.0.0", ""}));
    EXPECT_EQ(r.summary.start_time, "1970-01-01T00:00:00Z");
    // The same license in three files is three findings.
    ASSERT_EQ(r.summary.licenses.size(), 3u);
    EXPECT_EQ(r.summary.licenses[2].location, (TextLocation{"pkg-s1/pkg-s1.txt", -1, -1}));
    EXPECT_FALSE(r.summary.licenses[0].score);
    EXPECT_TRUE(r.additional_data.empty());
}

TEST(Scanner, ScanResultReading) {
    const std::string keys = "one of `provenance`, `scanner`, `summary`, `additional_data`";
    const std::string body = "scanner: " + scanner + "\nsummary: " + summary + "\n";
    expect_errors<ScanResult>({
        {"", "missing field `provenance`"},
        {"[]", "invalid type: sequence, expected struct ScanResult"},
        {body, "missing field `provenance`"},
        {"provenance: ~\n" + body, ""},
        {"provenance:\n" + body, ""},
        {"provenance: {a: b}\n" + body,
         "data did not match any variant of untagged enum Provenance"},
        {"provenance: ~\nsummary: " + summary + "\n", "missing field `scanner`"},
        {"provenance: ~\nscanner: " + scanner + "\n", "missing field `summary`"},
        {"provenance: ~\nprovenance: ~\n" + body, "duplicate field `provenance`"},
        {"Provenance: ~\n", "unknown field `Provenance`, expected " + keys + ""},
        {"provenance: ~\n" + body + "additional_data: {a: [b]}\n",
         "additional_data.a: invalid type: sequence, expected a string at line 4 column 22"},
        {"provenance: ~\n" + body + "additional_data: ~\n",
         "additional_data: invalid type: unit value, expected a map at line 4 column 18"},
        // Scanner details: any scalar is text, unknown keys fail.
        {"provenance: ~\nscanner: {name: n, version: 1.2}\nsummary: " + summary + "\n",
         "scanner: missing field `configuration` at line 2 column 10"},
        {"provenance: ~\nscanner: {name: n, version: 1, configuration: c, url: u}\nsummary: " + summary + "\n",
         "scanner: unknown field `url`, expected one of `name`, `version`, `configuration` at line 2 column 50"},
        {"provenance: ~\nscanner:\nsummary: " + summary + "\n", "scanner: missing field `name` at line 2 column 9"},
        {"provenance: ~\nscanner: x\nsummary: " + summary + "\n",
         "scanner: invalid type: string \"x\", expected struct ScannerDetails at line 2 column 10"},
    });
}

TEST(Scanner, SummaryAndFindingsReading) {
    const std::string summary_keys =
        "one of `start_time`, `end_time`, `licenses`, `copyrights`, `snippets`, `issues`";
    expect_errors<ScanSummary>({
        {"", "missing field `start_time`"},
        {"end_time: e\n", "missing field `start_time`"},
        {"start_time: 2024-01-01\n", "missing field `end_time`"},
        {"start_time: 1\nend_time: true\nlicenses:\ncopyrights: []\nsnippets:\nissues:\n", ""},
        {"start_time: s\nstart_time: s\n", "duplicate field `start_time`"},
        {"start_time: s\nend_time: e\nlicenses: ~\n",
         "licenses: invalid type: unit value, expected a sequence at line 3 column 11"},
        {"start_time: s\nend_time: e\ncopyrights: null\n",
         "copyrights: invalid type: unit value, expected a sequence at line 3 column 13"},
        {"start_time: s\nend_time: e\nlicense: []\n",
         "unknown field `license`, expected " + summary_keys + " at line 3 column 1"},
        {"[]", "invalid type: sequence, expected struct ScanSummary"},
        // An error inside a later duplicate still fails.
        {"start_time: s\nend_time: e\nlicenses:\n- {license: MIT, location: " + loc +
             "}\n- {license: MIT, location: " + loc + ", score: x}\n",
         "licenses[1].score: invalid type: string \"x\", expected f64 at line 5 column 74"},
    });
    expect_errors<LicenseFinding>({
        {"", "missing field `license`"},
        {"location: " + loc + "\n", "missing field `license`"},
        {"license: MIT\n", "missing field `location`"},
        {"license: MIT\nlocation: " + loc + "\nscore: ~\n", ""},
        {"license: MIT\nlocation: " + loc + "\nscore:\n", ""},
        {"license: MIT\nlocation: " + loc + "\nscore: '1'\n",
         "score: invalid type: string \"1\", expected f64 at line 3 column 8"},
        {"license: MIT\nlocation: " + loc + "\nscore: 1e999\n",
         "score: invalid type: string \"1e999\", expected f64 at line 3 column 8"},
        {"license: MIT\nlocation: " + loc + "\nscore: ~\nscore: 1\n", "duplicate field `score`"},
        {"license: MIT\nlocation: {path: a, start_line: 1}\n",
         "location: missing field `end_line` at line 2 column 11"},
        {"license: MIT\nlocation: " + loc + "\nurl: u\n",
         "unknown field `url`, expected one of `license`, `location`, `score` at line 3 column 1"},
        {"- a\n", "invalid type: sequence, expected struct LicenseFinding"},
    });
    expect_errors<CopyrightFinding>({
        {"", "missing field `statement`"},
        {"statement: (c) 2024\n", "missing field `location`"},
        {"statement: s\nlocation: " + loc + "\nscore: 1\n",
         "unknown field `score`, expected `statement` or `location` at line 3 column 1"},
        {"- a\n", "invalid type: sequence, expected struct CopyrightFinding"},
    });
}

TEST(Scanner, ScoresAndFloats) {
    struct Row {
        const char* text;
        double value;
        const char* json;
        const char* yaml;
    };
    const double inf = std::numeric_limits<double>::infinity();
    const Row rows[] = {
        {"1", 1.0, "1.0", "1.0"},
        {"0.5", 0.5, "0.5", "0.5"},
        {"1e16", 1e16, "1e+16", "1e16"},
        {"-0.0", -0.0, "-0.0", "-0.0"},
        {".inf", inf, "null", ".inf"},
        {"-.Inf", -inf, "null", "-.inf"},
    };
    for (const auto& row : rows) {
        std::string text = std::string("license: MIT\nlocation: ") + loc + "\nscore: " + row.text + "\n";
        auto f = read_ok<LicenseFinding>(text);
        ASSERT_TRUE(f.score) << row.text;
        EXPECT_EQ(*f.score, row.value) << row.text;
        EXPECT_NE(json(f).find(std::string("\"score\": ") + row.json), std::string::npos) << json(f);
        EXPECT_NE(yaml(f).find(std::string("score: ") + row.yaml), std::string::npos) << yaml(f);
    }
    auto nan = read_ok<Snippet>("score: .NaN\nlocation: " + loc + "\nprovenance:\npurl: p\nlicense: l\n");
    EXPECT_TRUE(std::isnan(nan.score));
    EXPECT_NE(yaml(nan).find("score: .nan"), std::string::npos);
    EXPECT_NE(json(nan).find("\"score\": null"), std::string::npos);
}

TEST(Scanner, SnippetsReading) {
    const std::string snippet_keys =
        "one of `score`, `location`, `provenance`, `purl`, `license`, `additional_data`";
    const std::string rest = "location: " + loc + "\nprovenance: ~\npurl: p\nlicense: l\n";
    expect_errors<Snippet>({
        {"", "missing field `score`"},
        {"{}", "missing field `score`"},
        {rest, "missing field `score`"},
        {"score: ~\n" + rest, "score: invalid type: unit value, expected f64 at line 1 column 8"},
        {"score:\n" + rest, "score: invalid type: unit value, expected f64 at line 1 column 7"},
        {"score: 1\nlocation: " + loc + "\npurl: p\nlicense: l\n", "missing field `provenance`"},
        {"score: 1\nlocation: " + loc + "\nprovenance: null\npurl: p\n", "missing field `license`"},
        {"score: 1\n" + rest + "url: u\n", "unknown field `url`, expected " + snippet_keys + " at line 6 column 1"},
        {"score: 1\n" + rest + "additional_data: {a: {b: c}}\n",
         "additional_data.a: invalid type: map, expected a string at line 6 column 22"},
        {"score: 1\n" + rest + "additional_data: [a]\n",
         "additional_data: invalid type: sequence, expected a map at line 6 column 18"},
        {"score: 1\n" + rest + "purl: q\n", "duplicate field `purl`"},
        {"score: 1\nlocation: " + loc + "\nprovenance: [1]\npurl: p\nlicense: l\n",
         "data did not match any variant of untagged enum Provenance"},
    });
    expect_errors<SnippetFinding>({
        {"", "missing field `source_location`"},
        {"snippets: []\n", "missing field `source_location`"},
        {"source_location: " + loc + "\n", "missing field `snippets`"},
        {"source_location: " + loc + "\nsnippets:\n", ""},
        {"source_location: " + loc + "\nsnippets: ~\n",
         "snippets: invalid type: unit value, expected a sequence at line 2 column 11"},
        {"source_location: " + loc + "\nsnippets: []\nscore: 1\n",
         "unknown field `score`, expected `source_location` or `snippets` at line 3 column 1"},
        {"- x\n", "invalid type: sequence, expected struct SnippetFinding"},
    });

    auto s = read_ok<Snippet>("score: 1\n" + rest + "additional_data: {a: 1, b: true, a: x}\n");
    EXPECT_TRUE(s.provenance.is_unknown());
    ASSERT_EQ(s.additional_data.size(), 2u);
    EXPECT_EQ(*s.additional_data.find("a"), "x");
    EXPECT_EQ(*s.additional_data.find("b"), "true");
    // Texts that would read back as other types are quoted.
    EXPECT_EQ(yaml(s),
              "score: 1.0\nlocation:\n  path: a\n  start_line: 1\n  end_line: 2\nprovenance: null\npurl: p\n"
              "license: l\nadditional_data:\n  a: x\n  b: 'true'\n");
}

// Elements are kept once when equal; for findings, snippets and scan
// results that means equal in every field.
TEST(Scanner, SetIdentity) {
    auto summary_of = [](const std::string& body) {
        return read_ok<ScanSummary>("start_time: s\nend_time: e\n" + body);
    };
    const std::string loc2 = "{path: b, start_line: 1, end_line: 2}";
    auto lic = summary_of("licenses:\n- {license: MIT, location: " + loc + "}\n- {license: MIT, location: " + loc +
                          "}\n- {license: MIT, location: " + loc2 + "}\n- {license: MIT, location: " + loc +
                          ", score: 1}\n- {license: mit, location: " + loc + "}\n");
    EXPECT_EQ(lic.licenses.size(), 4u);
    auto cop = summary_of("copyrights:\n- {statement: c, location: " + loc + "}\n- {statement: c, location: " +
                          loc + "}\n- {statement: c, location: " + loc2 + "}\n");
    EXPECT_EQ(cop.copyrights.size(), 2u);

    auto finding = [&](const std::string& l, const std::string& snippets) {
        return "- {source_location: " + l + ", snippets: [" + snippets + "]}\n";
    };
    const std::string first = finding(loc, snippet("p") + ", " + snippet("p") + ", " + snippet("P") + ", " +
                                               snippet("p", ", additional_data: {k: v}"));
    auto snip = summary_of("snippets:\n" + first + first + finding(loc, snippet("q")) + finding(loc2, snippet("p")));
    ASSERT_EQ(snip.snippets.size(), 3u);
    EXPECT_EQ(snip.snippets[0].snippets.size(), 3u);
    EXPECT_EQ(snip.snippets[0].snippets[2].additional_data.size(), 1u);

    // Scan results: the results of two scanners for one source are both kept.
    auto results = read_ok<OrderedSet<ScanResult>>(
        "- {provenance: " + repo + ", scanner: " + scanner + ", summary: " + summary + "}\n" +
        "- {provenance: " + repo + ", scanner: " + scanner + ", summary: " + summary + "}\n" +
        "- {provenance: " + repo + ", scanner: {name: m, version: v, configuration: c}, summary: " + summary +
        "}\n" + "- {provenance: ~, scanner: " + scanner + ", summary: " + summary + "}\n" +
        "- {provenance: , scanner: " + scanner + ", summary: " + summary + "}\n");
    ASSERT_EQ(results.size(), 3u);
    EXPECT_EQ(results[1].scanner.name, "m");
    // Two packages of one repository revision (other paths), or one artifact
    // url with other hashes: results of different sources, both kept.
    auto result = [&](const std::string& provenance, const std::string& license) {
        return "- {provenance: " + provenance + ", scanner: " + scanner +
               ", summary: {start_time: s, end_time: e, licenses: [{license: " + license + ", location: " + loc +
               "}]}}\n";
    };
    const std::string at_a = "{vcs_info: {type: Git, url: u, revision: r, path: a}, resolved_revision: x}";
    const std::string at_b = "{vcs_info: {type: Git, url: u, revision: r, path: b}, resolved_revision: x}";
    const std::string md5 = "{source_artifact: {url: z, hash: {value: '1', algorithm: MD5}}}";
    const std::string sha1 = "{source_artifact: {url: z, hash: {value: '2', algorithm: SHA-1}}}";
    auto sources = read_ok<OrderedSet<ScanResult>>(result(at_a, "MIT") + result(at_b, "BSD") + result(at_a, "MIT") +
                                                   result(md5, "MIT") + result(sha1, "MIT") + result(sha1, "MIT"));
    ASSERT_EQ(sources.size(), 4u);
    EXPECT_EQ(std::get<RepositoryProvenance>(sources[1].provenance).vcs_info.path, "b");
    EXPECT_EQ(sources[1].summary.licenses[0].license, "BSD");
    EXPECT_EQ(std::get<ArtifactProvenance>(sources[3].provenance).source_artifact.hash->value, "2");
    EXPECT_EQ(read_error<OrderedSet<ScanResult>>("- {provenance: ~, scanner: " + scanner + ", summary: " + summary +
                                                 "}\n-\n"),
              ".[1]: missing field `provenance` at line 2 column 2");
}

// The hash of every set element covers what its equality compares, so that
// elements that differ in one field alone (a license found in many files)
// spread over the index instead of sharing one chain; equal elements hash
// equally, whatever the order of their sets and maps.
TEST(Scanner, HashesCoverEquality) {
    struct Variant {
        std::string a;
        std::string b;
        bool equal;
    };
    const std::string loc2 = "{path: a, start_line: 1, end_line: 3}";
    auto check = [](auto element, const std::vector<Variant>& variants) {
        using T = decltype(element);
        for (const auto& v : variants) {
            T a = read_ok<T>(v.a), b = read_ok<T>(v.b);
            EXPECT_EQ(a == b, v.equal) << v.a << " / " << v.b;
            if (v.equal) EXPECT_EQ(hash_value(a), hash_value(b)) << v.a << " / " << v.b;
            else EXPECT_NE(hash_value(a), hash_value(b)) << v.a << " / " << v.b;
            OrderedSet<T> set;
            set.insert(a);
            set.insert(b);
            EXPECT_EQ(set.size(), v.equal ? 1u : 2u) << v.a << " / " << v.b;
        }
    };
    const std::string mit = "{license: MIT, location: " + loc;
    check(LicenseFinding{}, {
        {mit + "}", "{license: MIT, location: " + loc2 + "}", false},
        {mit + "}", "{license: MIT, location: {path: b, start_line: 1, end_line: 2}}", false},
        {mit + ", score: 1}", mit + ", score: 2}", false},
        {mit + "}", mit + ", score: 0}", false},
        {mit + ", score: 0.0}", mit + ", score: -0.0}", true},
        {mit + ", score: .nan}", mit + ", score: .NaN}", true},
        {mit + "}", "{license: BSD, location: " + loc + "}", false},
    });
    check(CopyrightFinding{}, {
        {"{statement: c, location: " + loc + "}", "{statement: c, location: " + loc2 + "}", false},
        {"{statement: c, location: " + loc + "}", "{statement: d, location: " + loc + "}", false},
    });
    check(Snippet{}, {
        {snippet("p"), snippet("p", ", additional_data: {k: v}"), false},
        {snippet("p", ", additional_data: {k: v, l: w}"), snippet("p", ", additional_data: {l: w, k: v}"), true},
        {snippet("p"), snippet("p").replace(snippet("p").find("MIT"), 3, "BSD"), false},
        {snippet("p"), snippet("p").replace(snippet("p").find("score: 1"), 8, "score: .nan"), false},
        {snippet("p").replace(snippet("p").find("score: 1"), 8, "score: .nan"),
         snippet("p").replace(snippet("p").find("score: 1"), 8, "score: .nan"), true},
        {snippet("p").replace(snippet("p").find("provenance: ~"), 13, "provenance: [{url: u, revision: r, path: a}, x]"),
         snippet("p").replace(snippet("p").find("provenance: ~"), 13, "provenance: [{url: u, revision: r, path: b}, x]"),
         false},
    });
    check(SnippetFinding{}, {
        {"{source_location: " + loc + ", snippets: [" + snippet("p") + "]}",
         "{source_location: " + loc + ", snippets: [" + snippet("q") + "]}", false},
        {"{source_location: " + loc + ", snippets: [" + snippet("p") + ", " + snippet("q") + "]}",
         "{source_location: " + loc + ", snippets: [" + snippet("q") + ", " + snippet("p") + "]}", true},
    });
    const std::string body = ", scanner: " + scanner + ", summary: ";
    check(ScanResult{}, {
        {"{provenance: " + repo + body + summary + "}",
         "{provenance: " + repo + body + "{start_time: s, end_time: e, licenses: [" + mit + "}]}}", false},
        {"{provenance: " + repo + body + summary + "}", "{provenance: " + repo + body + summary +
         ", additional_data: {k: v}}", false},
        {"{provenance: " + repo + body + summary + "}",
         "{provenance: " + repo + ", scanner: {name: n, version: w, configuration: c}, summary: " + summary + "}",
         false},
    });
}

TEST(Scanner, ProvenanceResolutionResults) {
    const std::string keys =
        "one of `id`, `package_provenance`, `sub_repositories`, `package_provenance_resolution_issue`, "
        "`nested_provenance_resolution_issue`";
    expect_errors<ProvenanceResolutionResult>({
        {"", "missing field `id`"},
        {"{}", "missing field `id`"},
        {"id: a:b:c\n", "Field 'identifier' is invalid: must be in the format 'type:namespace:name:version'"},
        {"Id: a:b:c:d\n", "unknown field `Id`, expected " + keys + ""},
        {"id: a:b:c:d\nid: a:b:c:d\n", "duplicate field `id`"},
        {"id: a:b:c:d\npackage_provenance: {x: y}\n",
         "data did not match any variant of untagged enum Provenance"},
        {"id: a:b:c:d\nsub_repositories: null\n",
         "sub_repositories: invalid type: unit value, expected a map at line 2 column 19"},
        {"id: a:b:c:d\nsub_repositories:\n", ""},
        {"id: a:b:c:d\npackage_provenance_resolution_issue: {source: s}\n",
         "package_provenance_resolution_issue: missing field `timestamp` at line 2 column 38"},
    });
    for (const char* p : {"null", "~", ""}) {
        auto r = read_ok<ProvenanceResolutionResult>(std::string("id: a:b:c:d\npackage_provenance: ") + p + "\n");
        EXPECT_FALSE(r.package_provenance) << p;
    }
    auto only_id = read_ok<ProvenanceResolutionResult>("id: 'Maven:g:a:1'\n");
    EXPECT_EQ(json(only_id),
              "{\n  \"id\": \"Maven:g:a:1\",\n  \"package_provenance\": null,\n  \"sub_repositories\": {},\n"
              "  \"package_provenance_resolution_issue\": null,\n  \"nested_provenance_resolution_issue\": null\n}");

    auto set = read_ok<OrderedSet<ProvenanceResolutionResult>>(
        "- {id: 'a:b:c:1', package_provenance: " + repo + "}\n" + "- {id: 'a:b:c:1'}\n- {id: 'a:b:c:2'}\n" +
        "- id: 'a:b:c:3'\n  sub_repositories: {x: {revision: r1}, x: {revision: r2}}\n");
    ASSERT_EQ(set.size(), 3u);
    EXPECT_TRUE(set[0].package_provenance);
    EXPECT_EQ(set[2].sub_repositories.find("x")->revision, "r2");
}

TEST(Scanner, FileLists) {
    expect_errors<FileList>({
        {"", "missing field `provenance`"},
        {"files: []\n", "missing field `provenance`"},
        {"provenance: ~\n", "missing field `files`"},
        {"provenance: ~\nfiles: null\n", "files: invalid type: unit value, expected a sequence at line 2 column 8"},
        {"provenance: ~\nfiles:\n", ""},
        {"provenance: ~\nfiles: []\npaths: []\n",
         "unknown field `paths`, expected `provenance` or `files` at line 3 column 1"},
        {"provenance: ~\nprovenance: ~\n", "duplicate field `provenance`"},
        {"provenance: 5\nfiles: []\n",
         "data did not match any variant of untagged enum Provenance"},
        {"[]", "invalid type: sequence, expected struct FileList"},
        {"provenance: ~\nfiles: [{path: a}]\n", "files[0]: missing field `sha1` at line 2 column 9"},
        {"provenance: ~\nfiles: [{sha1: a}]\n", "files[0]: missing field `path` at line 2 column 9"},
        {"provenance: ~\nfiles: [{path: a, sha1: [b]}]\n",
         "files[0].sha1: invalid type: sequence, expected a string at line 2 column 25"},
        {"provenance: ~\nfiles: [{path: a, sha: b}]\n",
         "files[0]: unknown field `sha`, expected `path` or `sha1` at line 2 column 19"},
        {"provenance: ~\nfiles: [x]\n",
         "files[0]: invalid type: string \"x\", expected struct FileListEntry at line 2 column 9"},
    });
    // One entry per path, one list per provenance key.
    auto lists = read_ok<OrderedSet<FileList>>(
        "- provenance: " + repo + "\n  files: [{path: a, sha1: 1234}, {path: a, sha1: x}, {path: b, sha1: y}]\n" +
        "- provenance: {vcs_info: {type: svn, url: u, revision: other}, resolved_revision: x}\n  files: []\n" +
        "- provenance: {vcs_info: {url: u, revision: r}, resolved_revision: y}\n  files: []\n" +
        "- provenance: ~\n  files: []\n- provenance:\n  files: [{path: c, sha1: z}]\n");
    ASSERT_EQ(lists.size(), 3u);
    ASSERT_EQ(lists[0].files.size(), 2u);
    EXPECT_EQ(lists[0].files[0], (FileListEntry{"a", "1234"}));
    EXPECT_TRUE(lists[2].provenance.is_unknown());
    EXPECT_TRUE(lists[2].files.empty());
    EXPECT_EQ(json(lists[2]), "{\n  \"provenance\": null,\n  \"files\": []\n}");
    EXPECT_EQ(yaml(lists[0]),
              "provenance:\n  vcs_info:\n    type: Git\n    url: u\n    revision: r\n    path: p\n"
              "  resolved_revision: x\nfiles:\n- path: a\n  sha1: '1234'\n- path: b\n  sha1: y\n");
}

TEST(Scanner, ScanResultWritten) {
    auto r = read_ok<ScanResult>(
        "provenance: ~\nscanner: {name: n, version: 1.2, configuration: ''}\nsummary:\n  start_time: s\n"
        "  end_time: e\n  licenses: [{license: MIT, location: " + loc + ", score: 0.25}]\n");
    EXPECT_EQ(r.scanner.version, "1.2");
    EXPECT_EQ(json(r),
              R"({
  "provenance": null,
  "scanner": {
    "name": "n",
    "version": "1.2",
    "configuration": ""
  },
  "summary": {
    "start_time": "s",
    "end_time": "e",
    "licenses": [
      {
        "license": "MIT",
        "location": {
          "path": "a",
          "start_line": 1,
          "end_line": 2
        },
        "score": 0.25
      }
    ],
    "copyrights": [],
    "snippets": [],
    "issues": []
  },
  "additional_data": {}
})");
    EXPECT_EQ(yaml(r),
              "provenance: null\nscanner:\n  name: n\n  version: '1.2'\n  configuration: ''\nsummary:\n"
              "  start_time: s\n  end_time: e\n  licenses:\n  - license: MIT\n    location:\n      path: a\n"
              "      start_line: 1\n      end_line: 2\n    score: 0.25\n  copyrights: []\n  snippets: []\n"
              "  issues: []\nadditional_data: {}\n");
}

const std::string base_keys =
    "  start_time: s\n  end_time: e\n  environment: [a, b, c, d, 1, 2]\n";
const std::string own_keys = "  config: {}\n  provenances: []\n  scanners:\n  files:\n";

TEST(Scanner, RunReading) {
    auto without = [](std::string keys, const std::string& line) {
        keys.erase(keys.find(line), line.size());
        return keys;
    };
    expect_errors<Result>({
        {"scanner:\n", ""},
        {"scanner: ~\n", ""},
        {"scanner: !x\n", "scanner: missing field `config` at line 1 column 10"},
        {"scanner: []\n", "scanner: invalid type: sequence, expected struct ScannerRun at line 1 column 10"},
        {"scanner:\n" + own_keys, "scanner: missing field `start_time` at line 2 column 3"},
        {"scanner:\n" + base_keys + without(own_keys, "  config: {}\n"),
         "scanner: missing field `config` at line 2 column 3"},
        {"scanner:\n" + without(without(own_keys, "  provenances: []\n"), "  files:\n"),
         "scanner: missing field `provenances` at line 2 column 3"},
        {"scanner:\n" + without(own_keys, "  scanners:\n"), "scanner: missing field `scanners` at line 2 column 3"},
        {"scanner:\n  config: {}\n  config: {}\n" + base_keys,
         "scanner: duplicate field `config` at line 2 column 3"},
        {"scanner:\n" + own_keys + base_keys + "  start_time: t\n",
         "scanner: duplicate field `start_time` at line 2 column 3"},
        {"scanner:\n" + own_keys + "  start_time: 5\n  end_time: e\n",
         "scanner: invalid type: integer `5`, expected a string at line 2 column 3"},
        {"scanner:\n" + own_keys + base_keys + "  other: !x y\n",
         "scanner.other: untagged and internally tagged enums do not support enum input at line 9 column 10"},
        {"scanner:\n" + without(own_keys, "  files:\n") + "  files: null\n" + base_keys,
         "scanner.files: invalid type: unit value, expected a sequence at line 5 column 10"},
        {"scanner:\n" + own_keys + base_keys + "  issues: ~\n",
         "scanner.issues: invalid type: unit value, expected a map at line 9 column 11"},
        {"scanner:\n" + own_keys + base_keys + "  issues: {'a:b:c': []}\n",
         "scanner.issues: Field 'identifier' is invalid: must be in the format 'type:namespace:name:version' at line 9 column 11"},
        {"scanner:\n" + without(own_keys, "  scanners:\n") + "  scanners: {a:b:c: [x]}\n" + base_keys,
         "scanner.scanners: Field 'identifier' is invalid: must be in the format 'type:namespace:name:version' at line 5 column 13"},
        {"scanner:\n" + own_keys + base_keys + "  Config: {a: [1, {b: c}]}\n  start_time: '5'\n", "scanner: duplicate field `start_time` at line 2 column 3"},
    });

    Result none = read_ok<Result>("scanner:\n" + own_keys + base_keys + "  scan_results: ~\n");
    ASSERT_TRUE(none.scanner);
    EXPECT_FALSE(none.scanner->scan_results);
    EXPECT_TRUE(none.scanner->issues.empty());
    Result empty = read_ok<Result>("scanner:\n" + own_keys + base_keys + "  scan_results: []\n");
    ASSERT_TRUE(empty.scanner->scan_results);
    EXPECT_TRUE(empty.scanner->scan_results->empty());
}

TEST(Scanner, RunWritten) {
    std::string text = "scanner:\n  Config: {a: [1, {b: c}]}\n  scanners: {'a:b:c:d': [x, x, y]}\n" +
                       std::string("  files: []\n  start_time: '5'\n  provenances: [{id: 'a:b:c:d'}]\n") +
                       "  issues: {'a:b:c:d': [{timestamp: t, source: s, message: m, severity: 2}]}\n" +
                       "  end_time: 2024-01-02T03:04:05Z\n  config: {}\n" +
                       "  environment: [a, b, c, d, 1, 2]\n";
    Result r = read_ok<Result>(text);
    ASSERT_TRUE(r.scanner);
    const ScannerRun& run = *r.scanner;
    EXPECT_EQ(run.base.start_time, "5");
    ASSERT_EQ(run.scanners.size(), 1u);
    EXPECT_EQ(run.scanners.begin()->second.size(), 2u);
    std::string j = json(run);
    EXPECT_EQ(j.find("Config"), std::string::npos);
    std::vector<std::size_t> at;
    for (const char* key : {"\"start_time\"", "\"end_time\"", "\"environment\"", "\"config\"",
                            "\"provenances\"", "\"scan_results\": null", "\"issues\"", "\"scanners\"",
                            "\"files\": []"})
        at.push_back(j.find(std::string("\n  ") + key));
    for (std::size_t i = 0; i < at.size(); ++i) {
        EXPECT_NE(at[i], std::string::npos) << i << j;
        if (i > 0) {
            EXPECT_LT(at[i - 1], at[i]) << i << j;
        }
    }
    EXPECT_NE(j.find("\"issues\": {\n    \"a:b:c:d\": [\n      {\n        \"timestamp\": \"t\""), std::string::npos) << j;
    std::string y = yaml(run);
    EXPECT_EQ(y.rfind("start_time: '5'\nend_time: 2024-01-02T03:04:05Z\nenvironment:\n", 0), 0u) << y;
    EXPECT_NE(y.find("scan_results: null\nissues:\n  a:b:c:d:\n"), std::string::npos) << y;
    EXPECT_NE(y.find("scanners:\n  a:b:c:d:\n  - x\n  - y\nfiles: []\n"), std::string::npos) << y;
    EXPECT_EQ(read_ok<Result>("scanner:\n" + own_keys + base_keys).scanner->issues.size(), 0u);
}

}  // namespace

namespace {

// A result file with only its scanner section read.
struct ScannerSection {
    std::optional<ScannerRun> scanner;
};

}  // namespace

template <>
struct brindle::models::Model<ScannerSection> {
    static constexpr std::string_view name = "ScannerSection";
    static constexpr auto unknown_keys = UnknownKeys::skip;
    static constexpr auto fields = std::tuple{optional("scanner", &ScannerSection::scanner)};
};

namespace {

TEST(Scanner, RealResultFiles) {
    BRINDLE_NEEDS_CORPUS();
    // Current files read whole; an older configuration and the placeholders
    // of an unfilled environment fail.
    struct Row {
        const char* file;
        std::size_t scan_results;
        std::size_t licenses;
        const char* error;
    };
    const Row rows[] = {
        {"07.yml", 7, 8, ""},
        {"26.yml", 7, 8, ""},
        {"18.yml", 0, 0, "scanner: invalid type: string \"<REPLACE_PROCESSORS>\", expected u32 at line 105 column 3"},
        {"24.yml", 0, 0, "scanner: missing field `build_jdk` at line 378 column 3"},
    };
    for (const auto& row : rows) {
        std::string text = brindle::test::file_text(brindle::test::corpus_path("results/" + std::string(row.file)));
        ScannerSection s;
        EXPECT_EQ(read_error<ScannerSection>(text, &s), row.error) << row.file;
        if (*row.error) continue;
        ASSERT_TRUE(s.scanner && s.scanner->scan_results) << row.file;
        EXPECT_EQ(s.scanner->scan_results->size(), row.scan_results) << row.file;
        std::size_t licenses = 0;
        for (const ScanResult& r : *s.scanner->scan_results) licenses += r.summary.licenses.size();
        EXPECT_EQ(licenses, row.licenses) << row.file;
        EXPECT_FALSE(s.scanner->files.empty()) << row.file;
    }
}

}  // namespace
