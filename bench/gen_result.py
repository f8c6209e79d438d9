"""Writes valid, deterministic result files for the benchmark (standard
library only): a full result of about a given size, and small results in
which one set holds many elements that share the key the set hashes them by
(or, for comparison, as many elements with distinct keys).

    python3 bench/gen_result.py --mb 20 [--seed 1] -o result.yml
    python3 bench/gen_result.py --one-key licenses --same -o same.yml

The same arguments always give the same bytes.  Every element of every set
is distinct, so that a reader keeps all of them: `counts` in the printed
statistics (--stats) is what a reader must find.
"""

import argparse
import json
import random
import re
import sys

# ---------------------------------------------------------------- YAML text

_PLAIN_KEY = re.compile(r"[a-z_][a-z0-9_]*\Z")
_dumps = json.JSONEncoder(ensure_ascii=False).encode


def text(s):
    # A JSON string is a valid YAML double-quoted scalar (no U+2028, U+2029
    # or U+FEFF appear in what is generated here).
    return _dumps(s)


def scalar(v):
    if v is True:
        return "true"
    if v is False:
        return "false"
    if v is None:
        return "null"
    if isinstance(v, str):
        return text(v)
    if isinstance(v, float):
        return repr(v)
    return str(v)


def key(k):
    return k if _PLAIN_KEY.match(k) and k not in ("y", "n", "yes", "no", "on", "off", "true", "false", "null") \
        else text(k)


def block_map(d, ind, out, first=None):
    """A block mapping at indent `ind`; `first` replaces the indent of its
    first line (a sequence item's "- ")."""
    pre = ind if first is None else first
    for k, v in d.items():
        t = type(v)
        if t is dict:
            if v:
                out.append(f"{pre}{key(k)}:\n")
                block_map(v, ind + "  ", out)
            else:
                out.append(f"{pre}{key(k)}: {{}}\n")
        elif t is list:
            if v:
                out.append(f"{pre}{key(k)}:\n")
                block_seq(v, ind, out)  # indentless, as the producer writes it
            else:
                out.append(f"{pre}{key(k)}: []\n")
        else:
            out.append(f"{pre}{key(k)}: {scalar(v)}\n")
        pre = ind


def block_seq(items, ind, out):
    dash = ind + "- "
    for v in items:
        if type(v) is dict and v:
            block_map(v, ind + "  ", out, dash)
        elif type(v) is dict:
            out.append(dash + "{}\n")
        else:
            out.append(dash + scalar(v) + "\n")


def yaml_map(d, ind=""):
    out = []
    block_map(d, ind, out)
    return "".join(out)


def yaml_item(d, ind):
    out = []
    block_map(d, ind + "  ", out, ind + "- ")
    return "".join(out)


# ---------------------------------------------------------------- vocabulary

WORDS = ("amber anchor arrow aspen atlas birch blaze bolt bridge canyon cedar cipher cloud cobalt comet coral crane "
         "delta drift dune echo ember falcon fern flint forge frost garnet glacier granite harbor hawk helix indigo "
         "iris jade juniper kite lagoon lark lumen lynx maple marble meadow meteor nebula nova oak onyx orbit pebble "
         "pine pixel prism pulse quartz quill radar raven reef ridge river sage slate solar spark spruce stone storm "
         "summit swift tempo thistle tide timber topaz trail tundra vapor vector velvet violet wave willow wren "
         "zinc").split()
PARTS = "core api util commons client server parser codec io json xml http logging runtime plugin cli config".split()
AUTHORS = ["Jane Doe <jane@example.org>", "John Smith", "Ana Lima", "Wei Zhang", "Olga Petrova", "Kenji Sato",
           "María José Peña", "Jürgen Müller", "Zoë O'Brien", "Nguyễn Văn An", "The Example Authors"]
DECLARED = [("Apache License, Version 2.0", "Apache-2.0"), ("Apache-2.0", "Apache-2.0"), ("MIT", "MIT"),
            ("The MIT License", "MIT"), ("BSD-3-Clause", "BSD-3-Clause"), ("ISC", "ISC"),
            ("Eclipse Public License - v 2.0", "EPL-2.0"), ("MPL-2.0", "MPL-2.0"),
            ("GNU Lesser General Public License", "LGPL-2.1-or-later"), ("Public Domain", None),
            ("See LICENSE file", None)]
DETECTED = ["Apache-2.0", "MIT", "BSD-3-Clause", "BSD-2-Clause", "ISC", "EPL-2.0", "LGPL-2.1-or-later", "MPL-2.0",
            "GPL-2.0-only WITH Classpath-exception-2.0", "CC0-1.0", "LicenseRef-scancode-public-domain",
            "LicenseRef-scancode-unknown-license-reference", "GPL-3.0-or-later"]
EXTENSIONS = ["java", "kt", "js", "ts", "py", "go", "c", "h", "md", "txt", "json", "xml"]
TIME = "2025-03-14T08:%02d:%02d.%06dZ"
ENVIRONMENT = {"ort_version": "62.1.0", "build_jdk": "21.0.7+6-LTS", "java_version": "21.0.7", "os": "Linux",
               "processors": 16, "max_memory": 17179869184,
               "variables": {"HOME": "/home/ort", "JAVA_HOME": "/opt/java/openjdk", "GOPATH": "/home/ort/go"}}
SCANNER = {"name": "ScanCode", "version": "32.2.1", "configuration": "--copyright --license --info --strip-root"}
HOW_TO_FIX = "Ask the `legal` team:\n\n* check the license\n* or remove the dependency\n"


# ---------------------------------------------------------------- a full result

class Package:
    __slots__ = ("eco", "ns", "name", "version", "ident", "purl", "declared", "provenance", "files",
                 "licenses", "copyrights", "issue", "advice", "violation")


class Result:
    """A result with `n` packages, each with its analyzer entry, provenance,
    scan result with license and copyright findings, scanners, file list,
    and now and then issues, vulnerabilities and rule violations."""

    def __init__(self, n, seed):
        self.seed = seed
        rng = random.Random(f"{seed}:packages")
        self.packages = []
        used = set()
        for i in range(n):
            p = Package()
            x = rng.random()
            p.eco = "maven" if x < 0.5 else "npm" if x < 0.8 else "pypi" if x < 0.9 else "go"
            w1, w2, part = rng.choice(WORDS), rng.choice(WORDS), rng.choice(PARTS)
            p.version = f"{rng.choice((0, 1, 2, 3, 4, 7))}.{rng.randrange(30)}.{rng.randrange(20)}"
            base = f"{w2}-{part}-{i}"
            if p.eco == "maven":
                p.ns, p.name = f"org.{w1}", base
                p.ident = f"Maven:{p.ns}:{p.name}:{p.version}"
                p.purl = f"pkg:maven/{p.ns}/{p.name}@{p.version}"
            elif p.eco == "npm":
                p.ns, p.name = (f"@{w1}" if rng.random() < 0.3 else ""), base
                p.ident = f"NPM:{p.ns}:{p.name}:{p.version}"
                p.purl = f"pkg:npm/{p.ns.replace('@', '%40') + '/' if p.ns else ''}{p.name}@{p.version}"
            elif p.eco == "pypi":
                p.ns, p.name = "", base
                p.ident = f"PyPI::{p.name}:{p.version}"
                p.purl = f"pkg:pypi/{p.name}@{p.version}"
            else:
                p.ns, p.name, p.version = "", f"github.com/{w1}/{base}", "v" + p.version
                p.ident = f"Go::{p.name}:{p.version}"
                p.purl = f"pkg:golang/{p.name}@{p.version}"
            assert p.ident not in used
            used.add(p.ident)
            p.declared = rng.sample(DECLARED, rng.choice((1, 1, 1, 2)))
            sha = "%040x" % rng.getrandbits(160)
            if p.eco == "go":
                p.provenance = {"vcs_info": {"type": "Git", "url": f"https://{p.name}.git", "revision": p.version,
                                             "path": ""}, "resolved_revision": sha}
            else:
                p.provenance = {"source_artifact": {"url": f"https://repo.example.org/{p.eco}/{p.name}/{p.version}/"
                                                           f"{p.name}-{p.version}-sources.tar.gz",
                                                    "hash": {"value": sha, "algorithm": "SHA-1"}}}
            p.files = rng.randint(3, 40)
            p.licenses = rng.randint(1, 2 * p.files)
            p.copyrights = rng.randint(0, p.files)
            p.issue = rng.random() < 0.03
            p.advice = rng.random() < 0.3
            p.violation = rng.random() < 0.05
            self.packages.append(p)
        self.projects = self._projects()

    def counts(self):
        ps = self.packages
        return {"packages": len(ps), "scan_results": len(ps), "file_lists": len(ps),
                "files": sum(p.files for p in ps), "license_findings": sum(p.licenses for p in ps),
                "copyright_findings": sum(p.copyrights for p in ps)}

    # -- the analyzer's projects with their dependency trees; Go modules go into a dependency graph
    def _projects(self):
        rng = random.Random(f"{self.seed}:projects")
        projects = []
        for eco, pid, path, scopes in (
                ("maven", "Maven:org.example.mono:platform:1.0.0-SNAPSHOT", "platform/pom.xml",
                 ("compile", "runtime", "test")),
                ("npm", "NPM::frontend:0.1.0", "frontend/package.json", ("dependencies", "devDependencies")),
                ("pypi", "PIP::ml-tools:2.3.0", "ml-tools/requirements.txt", ("install",))):
            members = [p for p in self.packages if p.eco == eco]
            trees = []
            for s, name in enumerate(scopes):
                part = members[s::len(scopes)]
                nodes = [{"id": p.ident, "linkage": "DYNAMIC"} for p in part]
                depth = [0] * len(part)
                roots = []
                for j, node in enumerate(nodes):
                    parent = rng.randrange(j) if j and rng.random() < 0.7 else None
                    if parent is None or depth[parent] >= 4:
                        roots.append(node)
                        continue
                    depth[j] = depth[parent] + 1
                    nodes[parent].setdefault("dependencies", []).append(node)
                if rng.random() < 0.2 and roots:
                    roots[0]["issues"] = [self.issue(rng, "Maven", "Could not resolve a dependency.")]
                trees.append({"name": name, "dependencies": roots})
            projects.append({"id": pid, "definition_file_path": path, "authors": ["Example Org"],
                             "declared_licenses": ["MIT"], "declared_licenses_processed": {"spdx_expression": "MIT"},
                             "vcs": self.repo_vcs(""), "vcs_processed": self.repo_vcs(path.split("/")[0]),
                             "description": f"The {path.split('/')[0]} part of the example repository.",
                             "homepage_url": "https://example.org/mono", "scopes": trees})
        projects.append({"id": "GoMod::github.com/example/agent:v0.0.0", "definition_file_path": "agent/go.mod",
                         "declared_licenses": [], "declared_licenses_processed": {}, "vcs": self.repo_vcs(""),
                         "vcs_processed": self.repo_vcs("agent"), "homepage_url": "", "scope_names": ["main"]})
        return projects

    def dependency_graph(self):
        rng = random.Random(f"{self.seed}:graph")
        go = [p for p in self.packages if p.eco == "go"]
        n = len(go)
        edges = []
        for i in range(n - 1):
            for j in sorted({rng.randrange(i + 1, n) for _ in range(rng.randint(0, 3))}):
                edges.append({"from": i, "to": j})
        roots = sorted({rng.randrange(n) for _ in range(max(1, n // 5))}) if n else []
        return {"packages": [p.ident for p in go],
                "scope_roots": [{"pkg": i, "issues": []} for i in roots[:5]],
                "scopes": {"GoMod::github.com/example/agent:v0.0.0:main": [{"root": i} for i in roots]},
                "nodes": [{"pkg": i, "linkage": "STATIC" if i % 7 == 0 else "DYNAMIC"} for i in range(n)],
                "edges": edges}

    @staticmethod
    def repo_vcs(path):
        return {"type": "Git", "url": "https://example.org/mono.git",
                "revision": "0123456789abcdef0123456789abcdef01234567", "path": path}

    @staticmethod
    def stamp(rng):
        return TIME % (rng.randrange(60), rng.randrange(60), rng.randrange(1000000))

    def issue(self, rng, source, message):
        return {"timestamp": self.stamp(rng), "source": source, "message": message,
                "severity": rng.choice(("HINT", "WARNING", "ERROR"))}

    # -- per-package pieces, in document order
    def package_entry(self, p, rng):
        spdx = [s for _, s in p.declared if s]
        unmapped = [d for d, s in p.declared if not s]
        processed = {}
        if spdx:
            processed["spdx_expression"] = " AND ".join(dict.fromkeys(spdx))
        mapped = {d: s for d, s in p.declared if s and d != s}
        if mapped:
            processed["mapped"] = mapped
        if unmapped:
            processed["unmapped"] = unmapped
        d = {"id": p.ident, "purl": p.purl,
             "authors": rng.sample(AUTHORS, rng.randint(0, 2)),
             "declared_licenses": [d for d, _ in p.declared], "declared_licenses_processed": processed,
             "description": f"The {p.name} library: {rng.choice(WORDS)} {rng.choice(PARTS)} support.",
             "homepage_url": f"https://{rng.choice(WORDS)}.example.org/{p.name}",
             "binary_artifact": {"url": f"https://repo.example.org/{p.eco}/{p.name}/{p.version}/{p.name}.jar",
                                 "hash": {"value": "%040x" % rng.getrandbits(160), "algorithm": "SHA-1"}}
             if p.eco == "maven" else {"url": "", "hash": {"value": "", "algorithm": ""}},
             "source_artifact": p.provenance.get("source_artifact", {"url": "", "hash": {"value": "",
                                                                                        "algorithm": ""}}),
             "vcs": {"type": "Git", "url": f"https://github.com/{rng.choice(WORDS)}/{p.name}.git",
                     "revision": "", "path": ""}}
        d["vcs_processed"] = dict(d["vcs"], revision="main")
        if rng.random() < 0.1:
            d["labels"] = {"origin": "bench"}
        return d

    def file_paths(self, p):
        return [f"src/{WORDS[(k * 7) % len(WORDS)]}/{PARTS[k % len(PARTS)]}_{k}.{EXTENSIONS[k % len(EXTENSIONS)]}"
                for k in range(p.files)]

    def scan_result(self, p, rng):
        paths = self.file_paths(p)
        licenses = [{"license": rng.choice(DETECTED),
                     "location": {"path": paths[j % p.files], "start_line": 1 + 40 * (j // p.files),
                                  "end_line": 20 + 40 * (j // p.files)},
                     "score": round(rng.uniform(50, 100), 2)} for j in range(p.licenses)]
        year = 2000 + rng.randrange(25)
        copyrights = [{"statement": f"Copyright (c) {year + j % 3} {rng.choice(AUTHORS)}",
                       "location": {"path": paths[j], "start_line": 1 + j % 3, "end_line": 1 + j % 3}}
                      for j in range(p.copyrights)]
        summary = {"start_time": self.stamp(rng), "end_time": self.stamp(rng),
                   "licenses": licenses, "copyrights": copyrights}
        if p.issue:
            summary["issues"] = [self.issue(rng, "ScanCode", f"Timeout of 300 s reached for {paths[0]}.")]
        return {"provenance": p.provenance, "scanner": SCANNER, "summary": summary}

    def file_list(self, p, rng):
        return {"provenance": p.provenance,
                "files": [{"path": path, "sha1": "%040x" % rng.getrandbits(160)} for path in self.file_paths(p)]}

    def advisor_entry(self, p, rng):
        result = {"advisor": {"name": "OSV", "capabilities": ["VULNERABILITIES"]},
                  "summary": {"start_time": self.stamp(rng), "end_time": self.stamp(rng)}}
        if rng.random() < 0.3:
            result["vulnerabilities"] = [{
                "id": f"GHSA-{rng.getrandbits(16):04x}-{rng.getrandbits(16):04x}-{k}",
                "summary": f"A {rng.choice(WORDS)} flaw in {p.name}",
                "description": f"Crafted input makes the {rng.choice(PARTS)} module of {p.name} fail.\n"
                               "Upgrade to a fixed version.",
                "references": [{"url": f"https://osv.example.org/{p.name}/{k}", "scoring_system": "CVSS:3.1",
                                "severity": "HIGH", "score": 7.5,
                                "vector": "CVSS:3.1/AV:N/AC:L/PR:N/UI:N/S:U/C:N/I:N/A:H"}],
                "first_fixed_versions": [p.version + ".1"]} for k in range(rng.randint(1, 3))]
        return text(p.ident) + ":\n" + yaml_item(result, "    ")

    def violation(self, p, rng):
        return {"rule": "COPYLEFT_IN_DEPENDENCY", "pkg": p.ident, "license": "GPL-3.0-or-later",
                "license_sources": ["DETECTED"], "severity": rng.choice(("WARNING", "ERROR")),
                "message": f"The package {p.ident} has the copyleft license GPL-3.0-or-later.",
                "how_to_fix": HOW_TO_FIX}

    def run_head(self, name, minute):
        return yaml_map({name: {"start_time": TIME % (minute, 0, 0), "end_time": TIME % (minute + 1, 0, 0),
                                "environment": ENVIRONMENT}})

    def write(self, emit):
        ps = self.packages
        sec = lambda name: random.Random(f"{self.seed}:{name}")  # noqa: E731
        emit("---\n")
        emit(yaml_map({"repository": {"vcs": self.repo_vcs(""), "vcs_processed": self.repo_vcs(""),
                                      "config": {"excludes": {"paths": [{"pattern": "docs/**", "reason":
                                                                         "DOCUMENTATION_OF"}]}}}}))
        emit(self.run_head("analyzer", 1))
        emit(yaml_map({"config": {"allow_dynamic_versions": False, "skip_excluded": True}}, "  "))
        emit("  result:\n")
        emit(yaml_map({"projects": self.projects}, "    "))
        emit("    packages:\n")
        rng = sec("packages")
        for p in ps:
            emit(yaml_item(self.package_entry(p, rng), "    "))
        rng = sec("analyzer-issues")
        issues = [p for p in ps if p.issue]
        if issues:
            emit("    issues:\n")
            for p in issues:
                emit(f"      {text(p.ident)}:\n" + yaml_item(self.issue(rng, "Maven", "Metadata incomplete."),
                                                             "      "))
        emit(yaml_map({"dependency_graphs": {"GoMod": self.dependency_graph()}}, "    "))

        emit(self.run_head("scanner", 10))
        emit(yaml_map({"config": {"skip_concluded": False, "ignore_patterns": ["**/*.ort.yml", "**/META-INF/NOTICE"],
                                  "detected_license_mapping": {"LicenseRef-scancode-unknown": "NOASSERTION"}}}, "  "))
        emit("  provenances:\n")
        for p in ps:
            emit(yaml_item({"id": p.ident, "package_provenance": p.provenance}, "  "))
        emit("  scan_results:\n")
        rng = sec("scan-results")
        for p in ps:
            emit(yaml_item(self.scan_result(p, rng), "  "))
        emit("  scanners:\n")
        for p in ps:
            emit(f"    {text(p.ident)}:\n    - \"ScanCode\"\n")
        emit("  files:\n")
        rng = sec("files")
        for p in ps:
            emit(yaml_item(self.file_list(p, rng), "  "))

        emit(self.run_head("advisor", 30))
        emit("  config: {}\n  results:\n")
        rng = sec("advisor")
        for p in ps:
            if p.advice:
                emit("    " + self.advisor_entry(p, rng))

        emit(self.run_head("evaluator", 40))
        emit("  violations:\n")
        rng = sec("evaluator")
        for p in ps:
            if p.violation:
                emit(yaml_item(self.violation(p, rng), "  "))
        emit(yaml_map({"labels": {"job": "nightly", "generated_by": "bench/gen_result.py"}}))


def result_size(n, seed):
    size = 0

    def count(s):
        nonlocal size
        size += len(s.encode())

    Result(n, seed).write(count)
    return size


def packages_for(mb, seed):
    """The package count that gives about `mb` MB (10^6 bytes), from the sizes
    of two small results (the size grows linearly with the count)."""
    n1, n2 = 100, 300
    s1, s2 = result_size(n1, seed), result_size(n2, seed)
    per = (s2 - s1) / (n2 - n1)
    return max(1, round(n1 + (mb * 1e6 - s1) / per))


# ---------------------------------------------------------------- one set, one key

ONE_KEY_CASES = {
    "licenses": "license findings of one scan summary that share one license",
    "copyrights": "copyright findings of one scan summary that share one statement",
    "scan_results": "scan results that share one provenance",
    "snippet_findings": "snippet findings of one scan summary that share one source location",
    "snippets": "snippets of one snippet finding that share one package URL",
}


def one_key(case, same, count, emit):
    """A result whose one large set has `count` distinct elements that all
    share the key the set hashes by (`same`), or have distinct keys; the
    text of the two forms has the same length."""
    tag = (lambda i: "000000") if same else (lambda i: "%06d" % i)
    env = yaml_map({"environment": ENVIRONMENT}, "  ")
    emit("---\nrepository:\n  vcs:\n    revision: \"\"\n  vcs_processed:\n    revision: \"\"\n  config: {}\n")
    emit(f"scanner:\n  start_time: \"{TIME % (1, 0, 0)}\"\n  end_time: \"{TIME % (2, 0, 0)}\"\n{env}")
    emit("  config: {}\n  provenances: []\n  scan_results:\n")
    artifact = '{"source_artifact": {"url": "https://example.org/src-%s.tgz", "hash": {"value": "", "algorithm": ""}}}'
    location = '{"path": "src/file-%06d.c", "start_line": 1, "end_line": 9}'
    summary = '    summary:\n      start_time: ""\n      end_time: ""\n'
    if case == "scan_results":
        for i in range(count):
            emit(f"  - provenance: {artifact % tag(i)}\n"
                 f"    scanner: {{\"name\": \"ScanCode\", \"version\": \"{i}\", \"configuration\": \"\"}}\n{summary}")
    else:
        emit(f"  - provenance: {artifact % 'x'}\n    scanner: {{\"name\": \"ScanCode\", \"version\": \"1\", "
             f"\"configuration\": \"\"}}\n{summary}")
        if case == "licenses":
            emit("      licenses:\n")
            for i in range(count):
                emit(f"      - {{\"license\": \"LicenseRef-bench-{tag(i)}\", \"location\": {location % i}}}\n")
        elif case == "copyrights":
            emit("      copyrights:\n")
            for i in range(count):
                emit(f"      - {{\"statement\": \"Copyright 2025 Author {tag(i)}\", \"location\": {location % i}}}\n")
        elif case in ("snippet_findings", "snippets"):
            emit("      snippets:\n")
            snippet = ('{"score": 1.0, "location": ' + location + ', "provenance": ' + artifact % 'x' +
                       ', "purl": "pkg:generic/bench@%s", "license": "MIT"}')
            if case == "snippet_findings":
                for i in range(count):
                    emit(f"      - {{\"source_location\": {{\"path\": \"src/{tag(i)}.c\", \"start_line\": 1, "
                         f"\"end_line\": 9}}, \"snippets\": [{snippet % (i, '%06d' % i)}]}}\n")
            else:
                emit('      - source_location: {"path": "src/a.c", "start_line": 1, "end_line": 9}\n'
                     "        snippets:\n")
                for i in range(count):
                    emit(f"        - {snippet % (i, tag(i))}\n")
        else:
            raise ValueError(f"no one-key case {case!r}")
    emit("  scanners: {}\n  files: []\n")


# ---------------------------------------------------------------- command line

def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--mb", type=float, default=1.0, help="size of a full result in MB (10^6 bytes), default 1")
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--one-key", choices=sorted(ONE_KEY_CASES), help="a one-set result instead of a full one")
    ap.add_argument("--same", action="store_true", help="with --one-key: all elements share the key")
    ap.add_argument("--count", type=int, default=100_000, help="with --one-key: elements in the set")
    ap.add_argument("-o", "--output", required=True)
    ap.add_argument("--stats", action="store_true", help="print what a reader must find, as JSON")
    a = ap.parse_args()

    chunks, pending = [], 0
    with open(a.output, "w", encoding="utf-8", newline="\n") as f:
        def emit(s):
            nonlocal pending
            chunks.append(s)
            pending += len(s)
            if pending > 1 << 22:
                f.write("".join(chunks))
                chunks.clear()
                pending = 0

        if a.one_key:
            one_key(a.one_key, a.same, a.count, emit)
            counts = {a.one_key: a.count}
        else:
            result = Result(packages_for(a.mb, a.seed), a.seed)
            result.write(emit)
            counts = result.counts()
        f.write("".join(chunks))
    if a.stats:
        print(json.dumps(counts))


if __name__ == "__main__":
    sys.exit(main())
