import json
import re

import pytest
import yaml

import corpus
from brindle.ort import LicenseClassifications, Object, OrtResult

FIELDS = ["repository", "analyzer", "scanner", "advisor", "evaluator", "labels"]
REPOSITORY = "repository:\n  vcs: {revision: r}\n  vcs_processed: {revision: r}\n  config: {}\n"


@pytest.mark.corpus("results")
def test_a_real_result():
    result = OrtResult.from_yaml_file(str(corpus.CORPUS / "results" / "12.yml"))
    assert len(result) == 6 and result.keys() == FIELDS
    assert result.to_dict() == json.loads(result.to_json())
    assert result.repository.vcs.url == "https://github.com/pbassiner/sbt-multi-project-example.git"
    run = result.analyzer
    assert type(run).__name__ == "AnalyzerRun" and run.__type__ == "AnalyzerRun"
    assert run.keys()[:3] == ["start_time", "end_time", "environment"]
    assert isinstance(run.environment, Object) and isinstance(run.environment.max_memory, int)
    assert all(isinstance(p.id, str) for p in run.result.projects)
    assert OrtResult.from_yaml_str(result.to_yaml()).to_json() == result.to_json()


def test_root_rules():
    result = OrtResult.from_yaml_str(REPOSITORY + "unknown: {deep: [[[1]]]}\n")
    assert result.keys() == FIELDS
    assert [result[name] for name in FIELDS[1:5]] == [None] * 4
    assert result.labels == {}
    assert result.repository.config.keys()[0] == "analyzer"
    assert "unknown" not in result.to_json()
    with pytest.raises(ValueError) as info:
        OrtResult.from_yaml_str("labels: {}\n")
    assert str(info.value) == "missing field `repository`"
    with pytest.raises(ValueError) as info:
        OrtResult.from_yaml_str(REPOSITORY.replace("config: {}", "config: ~"))
    assert str(info.value) == (
        "repository.config: invalid type: unit value, expected struct RepositoryConfiguration at line 4 column 11")


# Older forms of the file and templates fail on what the model no longer has,
# or on a placeholder: what each such file's error says.
PLACEHOLDER = 'invalid type: string "<REPLACE_PROCESSORS>", expected u32'
NO_JDK = "missing field `build_jdk`"
ADVISOR_CONFIG = "advisor.config: unknown field `config`"
TOOL_VERSIONS = "analyzer.config: unknown field `ignore_tool_versions`"
NESTED_PACKAGE = "analyzer.result.packages[0]: unknown field `package`"
HAS_ISSUES = "analyzer.result: unknown field `has_issues`"
METADATA = "analyzer.result.packages[0]: unknown field `metadata`"
FAILING = {
    "01.yml": PLACEHOLDER, "02.yml": NO_JDK, "03.yml": PLACEHOLDER, "05.yml": NO_JDK, "06.yml": NO_JDK,
    "07.yml": ADVISOR_CONFIG, "08.yml": ADVISOR_CONFIG, "09.yml": NO_JDK, "10.yml": PLACEHOLDER,
    "14.yml": PLACEHOLDER, "15.yml": NO_JDK, "16.yml": NO_JDK, "17.yml": NO_JDK, "18.yml": PLACEHOLDER,
    "19.yml": TOOL_VERSIONS, "20.yml": NESTED_PACKAGE, "21.yml": HAS_ISSUES, "22.yml": NO_JDK,
    "23.yml": NO_JDK, "24.yml": NO_JDK, "25.yml": NO_JDK, "26.yml": ADVISOR_CONFIG, "27.yml": ADVISOR_CONFIG,
    "28.json": "repository.config.excludes.scopes[0]: unknown field `name`", "29.json": TOOL_VERSIONS,
    "30.yml": TOOL_VERSIONS, "31.yml": TOOL_VERSIONS, "32.yml": HAS_ISSUES,
    "33.yml": "scanner.config: unknown field `config`", "34.yml": NESTED_PACKAGE, "35.yml": NESTED_PACKAGE,
    "36.json": NESTED_PACKAGE, "37.yml": METADATA, "38.yml": METADATA,
}


@pytest.mark.parametrize("path", corpus.files("results", "*"))
def test_real_files_read_or_fail_cleanly(path):
    if path.name in FAILING:
        with pytest.raises(ValueError) as info:
            OrtResult.from_yaml_file(str(path))
        assert FAILING[path.name] in str(info.value)
        return
    # The files of the current form read and write back: 11.yml and 13.yml
    # leave out the values of references that their producer does not write,
    # 39.json escapes characters above U+FFFF as surrogate pairs.
    result = OrtResult.from_yaml_file(str(path))
    assert result.to_dict() == json.loads(result.to_json())
    assert OrtResult.from_yaml_str(result.to_yaml()).to_json() == result.to_json()


@pytest.mark.corpus("results")
def test_references_without_the_values_left_out():
    scope = OrtResult.from_yaml_file(str(corpus.CORPUS / "results" / "13.yml")).analyzer.result.projects[0].scopes[0]
    assert scope.dependencies[0].dependencies[0].linkage == "DYNAMIC"
    graph = OrtResult.from_yaml_file(str(corpus.CORPUS / "results" / "11.yml")).analyzer.result.dependency_graphs["SBT"]
    # The first scope root has neither `pkg` nor `issues`.
    first = graph.scope_roots[0]
    assert (first.pkg, first.linkage, first.issues) == (0, "DYNAMIC", [])
    assert [d.pkg for d in first.dependencies] == [1, 2]


# Pairs of \u escapes of one character above U+FFFF (not after an escaped
# backslash), with the text before them.
SURROGATE_PAIR = re.compile(r"(?<!\\)((?:\\\\)*)\\u(d[89ab][0-9a-f]{2})\\u(d[c-f][0-9a-f]{2})", re.IGNORECASE)


@pytest.mark.corpus("results")
def test_a_real_json_result_with_surrogate_pairs(tmp_path):
    path = corpus.CORPUS / "results" / "39.json"
    text = path.read_text(encoding="utf-8")
    raw, pairs = SURROGATE_PAIR.subn(
        lambda m: m[1] + chr(0x10000 + ((int(m[2], 16) - 0xD800) << 10) + int(m[3], 16) - 0xDC00), text)
    assert pairs == 14
    (tmp_path / "raw.json").write_text(raw, encoding="utf-8")
    written = OrtResult.from_yaml_file(str(path)).to_json()
    assert written == OrtResult.from_yaml_file(str(tmp_path / "raw.json")).to_json()
    assert "\U0001F496" in written


ANALYZER = ("analyzer:\n  start_time: s\n  end_time: e\n"
            "  environment: {ort_version: v, build_jdk: j, java_version: j, os: o, processors: 1, max_memory: 1}\n"
            "  config: {allow_dynamic_versions: false, skip_excluded: false}\n"
            "  result:\n    projects: []\n    packages: []\n"
            "    dependency_graphs:\n      NPM:\n        packages: [NPM::a:1]\n        nodes:\n")


# The producer leaves out a node's `pkg` of 0; earlier builds wrote it back as
# null.  Every form is that number on every road out.
@pytest.mark.parametrize("node, pkg", [
    ("{}", 0), ("", 0), ("{pkg: }", 0), ("{pkg: ~}", 0), ("{pkg: null}", 0), ("{pkg: !!null null}", 0),
    ("{pkg: 0}", 0), ("{pkg: 5}", 5),
])
def test_a_graph_node_without_pkg_is_the_first_package(node, pkg):
    result = OrtResult.from_yaml_str(REPOSITORY + ANALYZER + "        - " + node + "\n")
    graph = result.analyzer.result.dependency_graphs["NPM"]
    assert type(graph.nodes[0].pkg) is int and graph.nodes[0].pkg == pkg
    assert result.to_dict()["analyzer"]["result"]["dependency_graphs"]["NPM"]["nodes"][0]["pkg"] == pkg
    assert json.loads(graph.to_json())["nodes"][0]["pkg"] == pkg
    assert f"\n  pkg: {pkg}\n" in graph.to_yaml()
    with pytest.raises(ValueError) as info:
        OrtResult.from_yaml_str(REPOSITORY + ANALYZER + "        - {pkg: x}\n")
    assert str(info.value).startswith(
        'analyzer.result.dependency_graphs.NPM.nodes[0].pkg: invalid type: string "x", expected i64')


# In every real graph each node names one of the graph's packages.
@pytest.mark.corpus("results")
def test_every_real_graph_node_names_a_package():
    graphs = 0
    for path in sorted((corpus.CORPUS / "results").iterdir()):
        if path.name in FAILING:
            continue
        analyzer = OrtResult.from_yaml_file(str(path)).analyzer
        for graph in (analyzer.result.dependency_graphs.values() if analyzer else []):
            graphs += 1
            for node in graph.nodes:
                assert type(node.pkg) is int and 0 <= node.pkg < len(graph.packages), path.name
    assert graphs > 0


def test_scan_results_of_two_packages_of_one_repository():
    # Same url and resolved revision, other paths: two sources, both kept with their findings.
    def result(path, license):
        return (f"  - provenance:\n      vcs_info: {{type: Git, url: u, revision: r, path: {path}}}\n"
                f"      resolved_revision: x\n    scanner: {{name: n, version: v, configuration: c}}\n"
                f"    summary:\n      start_time: s\n      end_time: e\n"
                f"      licenses: [{{license: {license}, location: {{path: f, start_line: 1, end_line: 1}}}}]\n")

    text = (REPOSITORY + "scanner:\n  start_time: s\n  end_time: e\n"
            "  environment: {ort_version: v, build_jdk: j, java_version: j, os: o, processors: 1, max_memory: 1}\n"
            "  config: {}\n  provenances: []\n  scanners: {}\n  files: []\n  scan_results:\n"
            + result("a", "MIT") + result("b", "BSD") + result("a", "MIT"))
    results = OrtResult.from_yaml_str(text).scanner.scan_results
    assert [(r.provenance.vcs_info.path, r.summary.licenses[0].license) for r in results] == [("a", "MIT"), ("b", "BSD")]



# The line and paragraph separators are line breaks to some YAML readers and
# plain characters to others: the YAML written never holds one raw, so it ends
# with a line feed and reads back the same everywhere.
@pytest.mark.parametrize("labels", [
    {"z": "a\nb\u2028"}, {"z": "a\nb\u2029c", "zz": "end"}, {"z": "\u2028"}, {"z": "a\u2029"},
    {"z": "\n\u2028x"}, {"a\nb\u2028": "v", "zz": "end"}, {"\u2029": "v"},
])
def test_separators_are_escaped_in_yaml(labels):
    result = OrtResult.from_yaml_str(REPOSITORY + "labels: " + json.dumps(labels) + "\n")
    last = list(labels)[-1] + list(labels.values())[-1]
    classifications = LicenseClassifications.from_yaml_str("categories: " + json.dumps([{"name": last}]))
    cases = [
        (result.to_yaml(), lambda back: back["labels"], labels),
        (classifications.to_yaml(), lambda back: back["categories"][0]["name"], last),
        (classifications.categories[0].to_yaml(), lambda back: back["name"], last),
    ]
    for written, pick, expected in cases:
        assert written.endswith("\n") and "\u2028" not in written and "\u2029" not in written, written
        assert pick(yaml.load(written, Loader=yaml.CSafeLoader)) == expected
    assert OrtResult.from_yaml_str(result.to_yaml()).labels == labels
    assert LicenseClassifications.from_yaml_str(classifications.to_yaml()).to_json() == classifications.to_json()
    assert json.loads(result.to_json())["labels"] == labels


# Characters that a JSON string holds raw and libyaml reads otherwise: NEL, LS
# and PS as line breaks, the others as characters not allowed.
JSON_RAW = ["\x7f", "\x80", "\x85", "\x9f", "\u2028", "\u2029", "\ufffe", "\uffff"]
PLACEMENTS = ["{}", "a{}b", "a{}", "{}a", "a {} b", " {} ", "{}{}", "a\n{}\t{}\\"]


@pytest.mark.parametrize("char", JSON_RAW, ids=lambda c: f"U+{ord(c):04X}")
def test_json_strings_read_as_json_reads_them(char):
    labels = {p.format(char, char): p.format(char, char) + "!" for p in PLACEMENTS}
    text = json.dumps({"repository": yaml.safe_load(REPOSITORY)["repository"], "labels": labels},
                      ensure_ascii=False, indent=1)
    assert char in text
    result = OrtResult.from_yaml_str(text)
    assert result.labels == labels
    for written in (result.to_json(), result.to_yaml(), "\t" + text + "\n\t\n"):
        assert OrtResult.from_yaml_str(written).labels == labels
    assert json.loads(result.to_json())["labels"] == labels
    # Elsewhere it reads as it always has: a control character fails where it
    # stands.  An error after such a text is placed as after any other.
    if char not in "\x85\u2028\u2029":
        with pytest.raises(ValueError, match="^control characters are not allowed at position 15$"):
            LicenseClassifications.from_yaml_str('categories: [x"{}]'.format(char))
    broken = '{"categories": [{"name": "a@b", "description": []}]}'
    with pytest.raises(ValueError) as info:
        LicenseClassifications.from_yaml_str(broken.replace("@", char))
    assert str(info.value) == ("categories[0].description: invalid type: sequence, expected a string"
                               " at line 1 column 48")
