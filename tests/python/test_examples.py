"""The example inputs under examples/, the demo that reads them and the
README's example of code of one's own run through scripts/python: all work on
a clone without the corpus."""

import json
import pathlib
import re
import runpy
import shlex
import subprocess
import sys
import textwrap

import pytest

import corpus
from brindle.ort import LicenseClassifications, OrtResult, RepositoryConfiguration

ROOT = pathlib.Path(__file__).resolve().parents[2]
EXAMPLES = ROOT / "examples"
DEMO = ROOT / "scripts" / "demo.py"
PYTHON = ROOT / "scripts" / "python"
FILES = {
    "result.yml": OrtResult,
    "result.json": OrtResult,
    "repository-configuration.yml": RepositoryConfiguration,
    "license-classifications.yml": LicenseClassifications,
}


def test_every_example_is_listed():
    assert sorted(p.name for p in EXAMPLES.iterdir()) == sorted(FILES)


@pytest.mark.parametrize("name, root", FILES.items())
def test_examples_read_and_read_back(name, root):
    value = root.from_yaml_file(str(EXAMPLES / name))
    assert value.to_dict() == json.loads(value.to_json())
    assert root.from_yaml_str(value.to_yaml()).to_json() == value.to_json()


def test_the_json_result_is_the_yaml_result():
    yml, json_ = (OrtResult.from_yaml_file(str(EXAMPLES / name)) for name in ("result.yml", "result.json"))
    assert json_.to_json() == yml.to_json()


def test_the_result_names_only_packages_it_has():
    result = OrtResult.from_yaml_file(str(EXAMPLES / "result.yml"))
    analyzed = result.analyzer.result
    projects = {project.id for project in analyzed.projects}
    packages = {package.id for package in analyzed.packages}
    assert len(projects) == 2 and len(packages) == 5

    def references(refs):
        for ref in refs:
            yield ref.id
            yield from references(ref.dependencies)

    named = {id for project in analyzed.projects for scope in project.scopes for id in references(scope.dependencies)}
    named |= {id for graph in analyzed.dependency_graphs.values() for id in graph.packages}
    named |= {v.pkg for v in result.evaluator.violations} | set(result.advisor.results)
    assert named <= packages
    scanned = set(result.scanner.scanners) | {p.id for p in result.scanner.provenances}
    assert scanned <= packages | projects
    assert set(analyzed.issues) <= packages | projects
    # Every run is there, with something found.
    scans = result.scanner.scan_results
    assert any(scan.summary.licenses for scan in scans) and any(scan.summary.copyrights for scan in scans)
    assert [v.id for rs in result.advisor.results.values() for r in rs for v in r.vulnerabilities] == [
        "EXAMPLE-2026-0042"]
    assert len(result.evaluator.violations) == 1


def test_the_classification_covers_the_licenses_of_the_result():
    result = OrtResult.from_yaml_file(str(EXAMPLES / "result.yml"))
    classified = {c.id for c in LicenseClassifications.from_yaml_file(
        str(EXAMPLES / "license-classifications.yml")).categorizations}
    found = {finding.license for scan in result.scanner.scan_results for finding in scan.summary.licenses}
    assert found <= classified


def demo(*args, cwd):
    return subprocess.run([sys.executable, str(DEMO), *args], cwd=cwd, capture_output=True, text=True, timeout=120)


def test_demo_summarises_each_example(tmp_path):
    # Without files, the examples, named from where it runs.
    run = demo(cwd=ROOT)
    assert (run.returncode, run.stderr) == (0, "")
    out = run.stdout
    assert [line for line in out.splitlines() if line.startswith("examples/")] == [
        f"examples/{name} ({root.__name__})" for name, root in FILES.items()]
    assert demo(cwd=tmp_path).stdout == out.replace("examples/", f"{EXAMPLES}/")
    for line in [
        "  analyzer: 2 projects, 5 packages, 1 issue\n",
        "  scanner: 3 scan results, 5 license findings, 3 copyright findings, 1 issue\n",
        "  advisor: 1 package advised, 1 vulnerability\n",
        "  evaluator: 1 rule violation\n",
        "  excludes: 2 paths, 2 scopes\n",
        "  resolutions: 1 issue, 1 rule violation, 1 vulnerability\n",
        "  license choices: 1 for the repository, 1 for packages\n",
        "  5 categories, 6 licenses classified\n",
        "    permissive: 3 licenses: Apache-2.0, MIT, ISC\n",
    ]:
        assert line in out


@pytest.mark.parametrize(
    "text, root",
    [
        ("repository:\n  vcs: {revision: r}\n  vcs_processed: {revision: r}\n  config: {}\n", "OrtResult"),
        ("# a comment\n---\n'labels': {}\nrepository: {vcs: {revision: r}, vcs_processed: {revision: r}, config: {}}\n",
         "OrtResult"),
        ("categorizations: []\n", "LicenseClassifications"),
        ('"categories":\n- name: a\n', "LicenseClassifications"),
        ("excludes:\n  paths: []\nanalyzer: {}\n", "RepositoryConfiguration"),
        ('{\n  "repository" : {"vcs": {"revision": "r"}, "vcs_processed": {"revision": "r"}, "config": {}}\n}\n',
         "OrtResult"),
        ('{"excludes": {"paths": []}, "analyzer": {}}', "RepositoryConfiguration"),
        ("\ufeffexcludes:\n  paths: []\nanalyzer: {}\n", "RepositoryConfiguration"),
    ],
)
def test_demo_tells_the_root_from_the_top_level_keys(tmp_path, text, root):
    (tmp_path / "in.yml").write_text(text, encoding="utf-8")
    run = demo("in.yml", cwd=tmp_path)
    assert (run.returncode, run.stderr) == (0, "")
    assert run.stdout.startswith(f"in.yml ({root})\n")


def test_demo_takes_the_root_from_the_option(tmp_path):
    (tmp_path / "empty.yml").write_text("{}\n", encoding="utf-8")
    run = demo("--root", "LicenseClassifications", "empty.yml", cwd=tmp_path)
    assert (run.returncode, run.stderr) == (0, "")
    assert run.stdout == "empty.yml (LicenseClassifications)\n  0 categories, 0 licenses classified\n\n"
    run = demo("--root", "RepositoryConfiguration", "--json", "empty.yml", cwd=tmp_path)
    assert run.returncode == 0
    assert json.loads(run.stdout) == RepositoryConfiguration.from_yaml_str("").to_dict()


@pytest.mark.parametrize(
    "name, text, args, error",
    [
        ("missing.yml", None, [], "demo: missing.yml: No such file or directory\n"),
        ("empty.yml", "", [],
         "demo: empty.yml: cannot tell what the file holds from its top-level keys (none); "
         "name the root with --root OrtResult|RepositoryConfiguration|LicenseClassifications\n"),
        ("odd.yml", "name: x\nother: 1\n", [],
         "demo: odd.yml: cannot tell what the file holds from its top-level keys (name, other); "
         "name the root with --root OrtResult|RepositoryConfiguration|LicenseClassifications\n"),
        ("bad.yml", "repository:\n  vcs: {revision: r}\n", [],
         "demo: bad.yml: OrtResult: repository: missing field `vcs_processed` at line 2 column 3\n"),
        ("result.yml", "repository: {}\n", ["--root", "LicenseClassifications"],
         "demo: result.yml: LicenseClassifications: unknown field `repository`, expected `categories` or "
         "`categorizations`\n"),
    ],
)
def test_demo_names_a_file_it_cannot_read(tmp_path, name, text, args, error):
    if text is not None:
        (tmp_path / name).write_text(text, encoding="utf-8")
    # The file after it is still read; the status tells of the failure.
    run = demo(*args, name, str(EXAMPLES / "license-classifications.yml"), cwd=tmp_path)
    assert run.returncode == 1
    assert run.stderr == error
    assert "Traceback" not in run.stdout
    assert "include-in-notice-file: 2 licenses" in run.stdout


# The demo's own functions, as it defines them.
DEMO_NAMES = runpy.run_path(str(DEMO), run_name="demo")


@pytest.mark.parametrize(
    "text, keys",
    [
        # A block mapping: only keys at the first key's indentation count,
        # with whatever line ends; a sequence under a key is no key.
        (b"repository:\n  vcs: {}\nanalyzer:\n- a: 1\n'labels': x\n\"scanner\" : y\n",
         ["repository", "analyzer", "labels", "scanner"]),
        (b"  a: 1\n  b:\n    c: 2\n  d: 3\n", ["a", "b", "d"]),
        (b"name: x\r\nother: 1\r\n", ["name", "other"]),
        # A JSON object and a YAML flow mapping: brackets and commas in quoted
        # text, a quote inside a plain scalar and a comment are skipped.
        (b'{\n  "repository" : {"a": [1, "}", {"b": "c,\\"d"}]},\n  "analyzer": null, "labels": {}\n}\n',
         ["repository", "analyzer", "labels"]),
        (b"{a: it's, 'b': [x, 'y}'], c: d # }\n , e: 1}", ["a", "b", "c", "e"]),
        # A byte order mark before either.
        (b"\xef\xbb\xbfexcludes:\n  paths: []\nanalyzer: {}\n", ["excludes", "analyzer"]),
        (b'\xef\xbb\xbf{"excludes": {}}', ["excludes"]),
        # Comments, directives and document markers before the keys; a
        # document end marker after them.
        (b"# c\n%YAML 1.2\n---\n# more\n\nlabels: {}\nrepository: x\n...\nother: 1\n", ["labels", "repository"]),
        (b"--- # c\n{repository: x}\n", ["repository"]),
        # No mapping at all.
        (b"", []),
        (b"- a: 1\n", []),
        (b"[{a: 1}]", []),
        (b"just text\n", []),
    ],
)
def test_demo_finds_the_top_level_keys(text, keys):
    assert list(DEMO_NAMES["top_level_keys"](text)) == keys


FOLDER_ROOTS = {"results": OrtResult, "repo-config": RepositoryConfiguration,
                "license-classifications": LicenseClassifications}


@pytest.mark.parametrize("path", [param for folder in FOLDER_ROOTS for param in corpus.files(folder, "*")])
def test_demo_tells_the_root_of_every_corpus_file(path):
    # Results in YAML and JSON among them.  One configuration snippet holds a
    # key no root has (rule_violations, by mistake at the top).
    if (path.parent.name, path.name) == ("repo-config", "45.yml"):
        with pytest.raises(DEMO_NAMES["DemoError"], match=r"\(analyzer, excludes, rule_violations\)"):
            DEMO_NAMES["root_of_file"](str(path))
    else:
        assert DEMO_NAMES["root_of_file"](str(path)) is FOLDER_ROOTS[path.parent.name]


def test_demo_reads_keys_only_until_it_can_tell():
    # A result's first key decides: the rest of a large file is not scanned.
    keys = iter(["repository", "analyzer"])
    assert DEMO_NAMES["root_for"](keys) is OrtResult
    assert list(keys) == ["analyzer"]


def test_the_readme_example_runs_through_scripts_python(tmp_path):
    # The README's indented blocks: the report's code, and the commands that
    # run it and a line of code given directly (without scripts/sid, which
    # these tests already run in).
    blocks = [textwrap.dedent(block) for block in
              re.findall(r"(?m)(?:^    .*\n(?:\n(?=    ))?)+", (ROOT / "README.md").read_text(encoding="utf-8"))]
    [report] = [block for block in blocks if block.startswith("import sys\n") and "brindle" in block]
    [commands] = [block.splitlines() for block in blocks if "scripts/sid scripts/python my_report.py" in block]
    (tmp_path / "my_report.py").write_text(report, encoding="utf-8")
    outputs = []
    for command in commands:
        sid, python, *args = shlex.split(command)
        assert (sid, python) == ("scripts/sid", "scripts/python")
        args = [str(tmp_path / arg) if arg == "my_report.py" else arg for arg in args]
        run = subprocess.run([str(PYTHON), *args], cwd=ROOT, capture_output=True, text=True, timeout=600)
        assert (run.returncode, run.stderr) == (0, "")
        outputs.append(run.stdout)
    assert outputs == [
        "Maven:org.example.tides:tide-tables:3.2.1 The Apache Software License, Version 2.0\n"
        "Maven:org.example.json:tiny-json:0.9.4 MIT\n"
        "Maven:org.example.test:checkmate:5.0.0 Eclipse Public License v2.0\n"
        "NPM::colour-names:2.3.0 MIT OR Apache-2.0\n"
        "NPM::left-fold:1.0.2 ISC\n",
        "<class 'brindle.ort.OrtResult'>\n",
    ]
