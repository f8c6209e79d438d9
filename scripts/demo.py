"""Reads result, repository configuration and license classification files
with brindle and prints what each holds.

Usage: python3 scripts/demo.py [--root CLASS] [--json] [FILE...]

Without files it reads the examples under examples/.

The root class of each file comes from --root (OrtResult,
RepositoryConfiguration or LicenseClassifications) or, without it, from the
file's top-level keys, those of a block mapping or of a JSON object alike.
--json prints each file as brindle writes it back instead of a summary.  A
file that cannot be read is reported with its name and the error, and the
exit status is 1; the other files are still read.
"""

import argparse
import mmap
import os
import pathlib
import re
import sys

from brindle.ort import LicenseClassifications, OrtResult, RepositoryConfiguration

EXAMPLES = pathlib.Path(__file__).resolve().parent.parent / "examples"
EXAMPLE_FILES = ["result.yml", "result.json", "repository-configuration.yml", "license-classifications.yml"]
ROOTS = {cls.__name__: cls for cls in (OrtResult, RepositoryConfiguration, LicenseClassifications)}
RESULT_KEYS = {"repository"}
CLASSIFICATION_KEYS = {"categories", "categorizations"}
CONFIGURATION_KEYS = {"analyzer", "includes", "excludes", "resolutions", "curations", "package_configurations",
                      "license_choices", "snippet_choices"}

# Where the document's keys are looked for, in the bytes of the file: a byte
# order mark, which the reader skips too, then blank lines, comments,
# directives and document markers, then a block mapping whose keys stand at
# the indentation of the first, or a flow mapping (a JSON object).
BOM = b"\xef\xbb\xbf"
SPACE = re.compile(rb"(?:\s++|#[^\n]*+)*+")
DOCUMENT_MARKER = rb"(?:---|\.\.\.)(?=\s|\Z)"
MARKER = re.compile(rb"%[^\n]*+|" + DOCUMENT_MARKER)


def key_pattern(plain):
    """A double-quoted, single-quoted or plain key (`plain`: the characters
    after its first), and the colon after it."""
    return (rb"""(?:"((?:[^"\\\n]|\\.)*+)"|'((?:[^'\n]|'')*+)'|([^\s#'"{}\[\],:?!&*|>%@`-]"""
            + plain + rb"*?))[ \t]*:")


BLOCK_KEY = key_pattern(rb"[^:#\n]") + rb"(?=\s|\Z)"
FLOW_KEY = re.compile(key_pattern(rb"[^{}\[\],:#\n]"), re.S)
# What a flow value holds up to the next bracket, or the next comma while it
# is the value of a top-level key: scalars, with quoted ones (in which
# brackets and commas are text) and comments taken whole.  A quote inside a
# plain scalar (it's) starts nothing.
QUOTED = rb"""(?<![^\s{\[,:])(?:"[^"\\]*+(?:\\.[^"\\]*+)*+"|'[^']*+(?:''[^']*+)*+')|(?<!\S)#[^\n]*+|["'#]"""
FILL = re.compile(rb"""(?:[^"'#{}\[\],]++|""" + QUOTED + rb")*+", re.S)
FILL_NESTED = re.compile(rb"""(?:[^"'#{}\[\]]++|""" + QUOTED + rb")*+", re.S)
OPEN, CLOSE, COMMA = b"{[", b"}]", ord(",")


class DemoError(Exception):
    """A file that cannot be shown; its text is what the user reads."""


def top_level_keys(data):
    """Yields the keys of the document's top-level mapping in the bytes
    `data`, in order, each as soon as it is found; nothing when the
    document is not a mapping.  Values are skipped, not read."""
    text = pos = len(BOM) if data[:len(BOM)] == BOM else 0
    while True:
        pos = SPACE.match(data, pos).end()
        marker = (pos == text or data[pos - 1] == ord("\n")) and MARKER.match(data, pos)
        if not marker:
            break
        pos = marker.end()
    if data[pos:pos + 1] == b"{":
        yield from flow_keys(data, pos + 1)
    else:
        yield from block_keys(data, pos, text)


def key_text(match):
    return next(group for group in match.groups() if group is not None).decode("utf-8", "replace")


def block_keys(data, pos, text):
    # Every later key stands at the start of a line, at the first key's
    # indentation (`text`: where the text starts, past a byte order mark); a
    # line that starts with a document marker ends the document.
    indent = pos - max(data.rfind(b"\n", 0, pos) + 1, text)
    later = re.compile(rb"(?m)^ {%d}(?:%s|%s)" % (indent, DOCUMENT_MARKER, BLOCK_KEY))
    match = re.compile(BLOCK_KEY).match(data, pos)
    while match and match.group(0)[-1:] == b":":
        yield key_text(match)
        match = later.search(data, match.end())


def flow_keys(data, pos):
    while True:
        pos = SPACE.match(data, pos).end()
        key = FLOW_KEY.match(data, pos)
        if not key:
            return
        yield key_text(key)
        # Past the value, to the comma after it or the end of the mapping.
        pos, depth = key.end(), 0
        while True:
            pos = (FILL_NESTED if depth else FILL).match(data, pos).end()
            if pos == len(data):
                return
            c = data[pos]
            pos += 1
            if c in OPEN:
                depth += 1
            elif c in CLOSE:
                if not depth:
                    return
                depth -= 1
            elif c == COMMA:
                break


def root_for(keys):
    """The root class that a file's top-level keys show; `keys` is read only
    as far as it takes to tell."""
    seen = []
    for key in keys:
        if key in RESULT_KEYS:
            return OrtResult
        seen.append(key)
    keys = set(seen)
    if keys & CLASSIFICATION_KEYS:
        return LicenseClassifications
    if keys and keys <= CONFIGURATION_KEYS:
        return RepositoryConfiguration
    shown = ", ".join(sorted(keys)) or "none"
    raise DemoError(f"cannot tell what the file holds from its top-level keys ({shown}); "
                    f"name the root with --root {'|'.join(ROOTS)}")


def root_of_file(path):
    """The root class for the file at `path`, from as little of it as tells:
    a result's first key is usually `repository`."""
    try:
        with open(path, "rb") as f:
            try:
                data = mmap.mmap(f.fileno(), 0, access=mmap.ACCESS_READ)
            except (ValueError, OSError):
                # Empty, or not a regular file: read as it comes.
                return root_for(top_level_keys(f.read()))
            with data:
                return root_for(top_level_keys(data))
    except OSError as error:
        raise DemoError(error.strerror or str(error)) from None


def count(n, one, many=None):
    return f"{n} {one if n == 1 else (many or one + 's')}"


def show_result(result, out):
    repository = result.repository
    vcs = repository.vcs_processed
    out(f"  repository: {vcs.url or '(no url)'} at {vcs.revision or '(no revision)'}")
    if repository.nested_repositories:
        out(f"    nested: {', '.join(repository.nested_repositories)}")
    if result.analyzer:
        analyzed = result.analyzer.result
        if analyzed is None:
            out("  analyzer: ran, no result")
        else:
            out(f"  analyzer: {count(len(analyzed.projects), 'project')}, "
                  f"{count(len(analyzed.packages), 'package')}, "
                  f"{count(sum(len(i) for i in analyzed.issues.values()), 'issue')}")
            for project in analyzed.projects:
                scopes = [scope.name for scope in project.scopes] or list(project.scope_names or [])
                out(f"    project {project.id} ({project.definition_file_path}): "
                      f"scopes {', '.join(scopes) or '(none)'}")
            for package in analyzed.packages:
                license = package.declared_licenses_processed.spdx_expression or "(no declared license)"
                out(f"    package {package.id}: {license}")
            if analyzed.dependency_graphs:
                out(f"    dependency graphs: {', '.join(analyzed.dependency_graphs)}")
    if result.scanner:
        scans = result.scanner.scan_results or []
        licenses = sum(len(scan.summary.licenses) for scan in scans)
        copyrights = sum(len(scan.summary.copyrights) for scan in scans)
        issues = sum(len(scan.summary.issues) for scan in scans)
        found = sorted({finding.license for scan in scans for finding in scan.summary.licenses})
        out(f"  scanner: {count(len(scans), 'scan result')}, {count(licenses, 'license finding')}, "
              f"{count(copyrights, 'copyright finding')}, {count(issues, 'issue')}")
        if found:
            out(f"    licenses found: {', '.join(found)}")
    if result.advisor:
        results = result.advisor.results
        vulnerabilities = [(package, v) for package, rs in results.items() for r in rs for v in r.vulnerabilities]
        out(f"  advisor: {count(len(results), 'package')} advised, "
              f"{count(len(vulnerabilities), 'vulnerability', 'vulnerabilities')}")
        for package, vulnerability in vulnerabilities:
            out(f"    {vulnerability.id} in {package}: {vulnerability.summary or '(no summary)'}")
    if result.evaluator:
        violations = result.evaluator.violations
        out(f"  evaluator: {count(len(violations), 'rule violation')}")
        for violation in violations:
            out(f"    {violation.severity} {violation.rule}: {violation.message}")
    if result.labels:
        out(f"  labels: {', '.join(f'{k}={v}' for k, v in result.labels.items())}")


def show_configuration(config, out):
    shown = False
    if config.analyzer:
        managers = config.analyzer.enabled_package_managers
        out(f"  analyzer: package managers {', '.join(managers) if managers is not None else '(default)'}")
        shown = True
    if config.includes:
        out(f"  includes: {count(len(config.includes.paths), 'path')}")
        shown = True
    if config.excludes:
        out(f"  excludes: {count(len(config.excludes.paths), 'path')}, "
              f"{count(len(config.excludes.scopes), 'scope')}")
        for exclude in config.excludes.paths + config.excludes.scopes:
            out(f"    {exclude.pattern} ({exclude.reason})")
        shown = True
    if config.resolutions:
        r = config.resolutions
        out(f"  resolutions: {count(len(r.issues), 'issue')}, {count(len(r.rule_violations), 'rule violation')}, "
              f"{count(len(r.vulnerabilities), 'vulnerability', 'vulnerabilities')}")
        shown = True
    if config.curations:
        c = config.curations
        out(f"  curations: {count(len(c.packages), 'package')}, {count(len(c.license_findings), 'license finding')}")
        for curation in c.packages:
            out(f"    {curation.id}: {curation.curations.comment or '(no comment)'}")
        shown = True
    if config.package_configurations:
        out(f"  package configurations: {', '.join(p.id for p in config.package_configurations)}")
        shown = True
    if config.license_choices:
        choices = config.license_choices
        out(f"  license choices: {len(choices.repository_license_choices)} for the repository, "
              f"{len(choices.package_license_choices)} for packages")
        for choice in choices.repository_license_choices:
            out(f"    {choice.given or '(any)'} -> {choice.choice}")
        shown = True
    if config.snippet_choices:
        out(f"  snippet choices: {count(len(config.snippet_choices), 'provenance')}")
        shown = True
    if not shown:
        out("  (empty: every setting at its default)")


def show_classifications(classifications, out):
    licenses = {}
    for categorization in classifications.categorizations:
        for name in categorization.categories:
            licenses.setdefault(name, []).append(categorization.id)
    out(f"  {count(len(classifications.categories), 'category', 'categories')}, "
          f"{count(len(classifications.categorizations), 'license')} classified")
    for category in classifications.categories:
        members = licenses.get(category.name, [])
        shown = ", ".join(members[:5]) + (", ..." if len(members) > 5 else "")
        out(f"    {category.name}: {count(len(members), 'license')}{': ' + shown if members else ''}")


SHOW = {OrtResult: show_result, RepositoryConfiguration: show_configuration,
        LicenseClassifications: show_classifications}


def show(path, root, as_json):
    if root is None:
        root = root_of_file(path)
    try:
        value = root.from_yaml_file(path)
    except (OSError, ValueError, MemoryError, RecursionError) as error:
        raise DemoError(f"{root.__name__}: {error}") from None
    try:
        if as_json:
            text = value.to_json() + "\n"
        else:
            # Built whole before printing, so a file that cannot be shown
            # leaves no half of its summary.
            lines = []
            SHOW[root](value, lines.append)
            text = f"{path} ({root.__name__})\n" + "".join(line + "\n" for line in lines) + "\n"
    except (MemoryError, RecursionError) as error:
        raise DemoError(f"{root.__name__}: read, but cannot be shown: {error}") from None
    sys.stdout.write(text)


def main(argv=None):
    parser = argparse.ArgumentParser(prog="demo", description="Reads files with brindle and prints what they hold.")
    parser.add_argument("--root", choices=list(ROOTS), help="the root class of every FILE (default: from its keys)")
    parser.add_argument("--json", action="store_true", help="print each file as JSON instead of a summary")
    parser.add_argument("files", nargs="*", metavar="FILE", help="default: the examples under examples/")
    args = parser.parse_args(argv)
    if not args.files:
        here = pathlib.Path.cwd()
        shown = EXAMPLES.relative_to(here) if EXAMPLES.is_relative_to(here) else EXAMPLES
        args.files = [os.path.join(shown, name) for name in EXAMPLE_FILES]
    root = ROOTS[args.root] if args.root else None
    failed = 0
    for path in args.files:
        try:
            show(path, root, args.json)
        except DemoError as error:
            sys.stdout.flush()
            print(f"demo: {path}: {error}", file=sys.stderr)
            failed += 1
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
