"""Reading and writing speed and memory, side by side in one table: one row
per input, every figure a ratio to the floor, which is libyaml parsing the
same text into events with nothing kept (a C loop in the benchmark program).

Rows: real corpus files, results generated at 1 and 20 MB (and 200 MB with
--large), one generated result as JSON text, the same with characters above
U+FFFF in its texts, written once as JSON escapes them (surrogate pairs) and
once raw (the floor and PyYAML, which cannot read the pairs, read the raw
text in both rows), the same JSON text with characters that a JSON string
holds raw and libyaml reads otherwise (NEL, LS, PS, DEL, C1 controls, U+FFFE,
U+FFFF) in its texts, next to ordinary characters in their place (the floor
and PyYAML, which refuse some of them, read the ordinary text in both rows),
and the one-key sets: a set
whose elements all share the key the set hashes them by, next to the same
set with distinct keys (100,000 findings; 20,000 elements of the other
sets).

Columns: our from_yaml_str, from_yaml_str + to_dict(), to_json(), to_yaml();
what a user would otherwise do: PyYAML's C loader giving plain dicts,
json.dumps(d, indent=2) of d = to_dict(); and the peak resident memory of a
fresh process that reads the file, over the file size.

Each input is measured in a fresh process of its own.  Times are the best of
N runs, N by duration (1 run from 10 s up, otherwise as many as fit in the
time budget, at least 3, at most 100); the cyclic garbage collector stays on,
as for a user.  The floor runs once before each of those runs, so that it
sees the same load of a shared machine: a figure is our best time over the
floor's best in the same runs.  Asserts nothing; never part of the tests.

Beside the table, the attribute part (its label "attribute access", so
`--only attribute` runs it alone): in one fresh process, interleaved runs of
a field read by attribute and by item (on the first package of
examples/result.yml and on the result itself), and of a missing attribute
read with a default, next to the same miss on a plain class whose
__getattr__ raises AttributeError; printed as ratios of the medians.

Usage (inside the root, with the package installed):
    python3 bench/bench.py BRINDLE_BENCH_PROGRAM [--large] [--only TEXT] [FILE...]
"""

import argparse
import gc
import json
import math
import os
import resource
import sys
import time

# A worker imports no more than these before it reads its peak memory; the
# driver's own imports are in the functions that need them.
HERE = os.path.dirname(os.path.abspath(__file__))
CLONE = os.path.dirname(HERE)
GENERATOR = os.path.join(HERE, "gen_result.py")

KINDS = {"result": "OrtResult", "classification": "LicenseClassifications",
         "config": "RepositoryConfiguration"}
# The real files of the corpus measured by default (the largest that read).
CORPUS_FILES = [("real classification", "license-classifications/02.yml", "classification"),
                ("real result", "results/12.yml", "result")]
GENERATED_MB = [1, 20]
LARGE_MB = 200
# Elements of the one-key sets: 100,000 findings; 20,000 of the other sets,
# whose elements are larger (as long as a set piles up equal keys in one
# chain, 100,000 of them take minutes to read).
ONE_KEY_COUNTS = {"licenses": 100_000, "copyrights": 100_000}
JSON_TEXT_MB = 0.65  # a YAML result of this size gives about 1 MB of JSON text
# Added to every description, statement and message of the JSON text rows
# with characters above U+FFFF.
ASTRAL_TEXT = " \U0001F496 \U0001D11E"
# Added to the same texts of the rows of characters that a JSON string holds
# raw and libyaml reads otherwise (NEL, LS, PS, DEL, C1 controls, U+FFFE,
# U+FFFF), next to the same with ordinary characters in their place.
SPECIAL_TEXT = " a\u0085b \u2028 \u2029c \x7f\x80\x9f \ufffe\uffff"
ORDINARY_TEXT = " a_b _ _c ___ __"
# The rows in pairs: label, name, text added, whether escaped as JSON escapes
# it; the second row's from_yaml_str over the first's has this goal.
ROW_PAIRS = {
    "pairs": (("JSON text, astral characters raw", "astral", ASTRAL_TEXT, False),
              ("JSON text, as surrogate pairs", "pairs", ASTRAL_TEXT, True)),
    "special": (("JSON text, ordinary characters", "ordinary", ORDINARY_TEXT, False),
                ("JSON text, JSON's raw characters", "special", SPECIAL_TEXT, False)),
}
ROW_PAIR_TITLES = {"pairs": "Surrogate pairs over the same characters raw",
                   "special": "JSON's raw characters over ordinary ones"}
PAIR_GOAL = 1.2
# Goals; a figure that misses its goal gets a star.
READ_GOAL, DICT_GOAL, RSS_GOAL, LINEAR_GOAL, ONE_KEY_GOAL = 1.2, 1.5, 3.0, 0.10, 1.2
GOALS_FROM_MB = 0.9  # reading and memory goals hold from about 1 MB up


# ---------------------------------------------------------------- worker: one input, one fresh process

class Floor:
    """The benchmark program parsing the same text, one run on request.  A
    run of the floor comes before every run of ours, so that both see the
    same load of a shared machine; the floor is the best of them all."""

    def __init__(self, program, path):
        import subprocess

        self.process = subprocess.Popen([program, "--floor", path], stdin=subprocess.PIPE,
                                        stdout=subprocess.PIPE, text=True)
        self.best, self.runs = math.inf, 0

    def run(self):
        self.process.stdin.write("\n")
        self.process.stdin.flush()
        line = self.process.stdout.readline()
        if not line:
            raise RuntimeError("the floor program ended early")
        t = float(line) / 1e3
        self.best = min(self.best, t)
        self.runs += 1
        return t

    def close(self):
        self.process.stdin.close()
        self.process.wait()


def best_of(work, budget, floor):
    """Calls `work`, which returns a tuple of times, as often as the budget
    allows, each time after a run of the floor; returns the best of each
    over the best floor of the same runs (both saw the same load)."""
    floor_best = floor.run()
    first = work()
    t = first[-1]
    runs = 1 if t >= 10 else max(3, min(100, math.ceil(budget / max(t, 1e-9))))
    best = list(first)
    for _ in range(runs - 1):
        floor_best = min(floor_best, floor.run())
        best = [min(a, b) for a, b in zip(best, work())]
    return best, floor_best


def figures(out, keys, work, budget, floor):
    """Puts the best times of `work` into out["seconds"] under `keys`, and
    their ratios to the floor of the same runs into `out`."""
    best, floor_best = best_of(work, budget, floor)
    for k, t in zip(keys, best):
        if k:
            out.setdefault("seconds", {})[k] = t
            out[k] = t / floor_best


def timed(f):
    def work():
        gc.collect()
        t0 = time.perf_counter()
        f()
        return (time.perf_counter() - t0,)
    return work


def status_bytes(field):
    with open("/proc/self/status") as f:
        for line in f:
            if line.startswith(field + ":"):
                return int(line.split()[1]) * 1024
    raise LookupError(field)


def start_peak():
    """Starts a new peak of resident memory where the system allows it (the
    peak of importing is not the reader's); gives the memory now, or the
    peak so far where the peak cannot be reset."""
    try:
        with open("/proc/self/clear_refs", "w") as f:
            f.write("5")
        return status_bytes("VmRSS")
    except OSError:
        return peak_rss()


def peak_rss():
    try:
        return status_bytes("VmHWM")
    except (OSError, LookupError):
        return resource.getrusage(resource.RUSAGE_SELF).ru_maxrss * 1024


def counts_of(kind, d, one_key):
    """What the dict holds of what the generator counted."""
    if one_key:
        summaries = [r["summary"] for r in d["scanner"]["scan_results"]]
        return {one_key: {"licenses": lambda: len(summaries[0]["licenses"]),
                          "copyrights": lambda: len(summaries[0]["copyrights"]),
                          "scan_results": lambda: len(summaries),
                          "snippet_findings": lambda: len(summaries[0]["snippets"]),
                          "snippets": lambda: len(summaries[0]["snippets"][0]["snippets"])}[one_key]()}
    results = d["scanner"]["scan_results"]
    return {"packages": len(d["analyzer"]["result"]["packages"]), "scan_results": len(results),
            "file_lists": len(d["scanner"]["files"]), "files": sum(len(f["files"]) for f in d["scanner"]["files"]),
            "license_findings": sum(len(r["summary"]["licenses"]) for r in results),
            "copyright_findings": sum(len(r["summary"]["copyrights"]) for r in results)}


def worker(a):
    from brindle import ort  # nothing else is imported before the memory is read

    out = {}
    if a.baseline:
        out["maxrss"] = status_bytes("VmRSS")
        print(json.dumps(out))
        return
    cls = getattr(ort, KINDS[a.kind])
    try:
        if a.rss:
            before = start_peak()
            root = cls.from_yaml_file(a.path)
            out["rss"] = peak_rss() - before
            del root
        import yaml

        floor = Floor(a.program, a.floor_path or a.path)
        with open(a.path, encoding="utf-8") as f:
            text = f.read()
        raw_text = text
        if a.floor_path:
            with open(a.floor_path, encoding="utf-8") as f:
                raw_text = f.read()
        last = []

        def read_and_dict():
            last.clear()
            gc.collect()
            t0 = time.perf_counter()
            root = cls.from_yaml_str(text)
            t1 = time.perf_counter()
            d = root.to_dict()
            t2 = time.perf_counter()
            last.extend((root, d))
            return t1 - t0, t2 - t0

        figures(out, ("read", "dict"), read_and_dict, a.budget, floor)
        root, d = last
        last.clear()
        figures(out, ("to_json",), timed(root.to_json), a.budget, floor)
        figures(out, ("to_yaml",), timed(root.to_yaml), a.budget, floor)
        figures(out, ("json_dumps",), timed(lambda: json.dumps(d, indent=2)), a.budget, floor)
        if a.expect:
            out["counts"] = counts_of(a.kind, d, a.one_key)
        del root, d
        gc.collect()
        figures(out, ("pyyaml",), timed(lambda: yaml.load(raw_text, Loader=yaml.CSafeLoader)), a.budget, floor)
        if a.gc_off:
            gc.collect()
            gc.disable()
            try:
                figures(out, (None, "dict_gc_off"), read_and_dict, a.budget, floor)
            finally:
                last.clear()
                gc.enable()
        floor.close()
        out["floor"], out["floor_runs"] = floor.best, floor.runs
    except Exception as e:  # the row shows it; the other rows go on
        out["error"] = f"{type(e).__name__}: {e}"
    print(json.dumps(out))


# ---------------------------------------------------------------- worker: attribute access

ATTRIBUTE_LABEL = "attribute access"
ATTRIBUTE_EXAMPLE = os.path.join(CLONE, "examples", "result.yml")
# Goals: a field by attribute over the same field by item; a miss over the
# miss of a plain class.
ATTRIBUTE_HIT_GOAL, ATTRIBUTE_MISS_GOAL = 1.5, 2.0
ATTRIBUTE_UNROLL = 20  # accesses per turn of the timed loop


def attribute_worker(a):
    """Median nanoseconds per access of each case, from interleaved runs in
    this process; the empty loop's time is taken off every case."""
    import statistics

    from brindle import ort

    class Plain:
        def __getattr__(self, name):
            raise AttributeError(name)

    result = ort.OrtResult.from_yaml_file(ATTRIBUTE_EXAMPLE)
    pkg = result.analyzer.result.packages[0]
    cases = {
        "empty": ("None", pkg),
        "pkg.id": ("o.id", pkg),
        "pkg['id']": ("o['id']", pkg),
        "result.repository": ("o.repository", result),
        "result['repository']": ("o['repository']", result),
        "getattr(pkg, 'nope', None)": ("getattr(o, 'nope', None)", pkg),
        "getattr(plain, 'nope', None)": ("getattr(o, 'nope', None)", Plain()),
    }
    loops = {}
    for name, (expr, obj) in cases.items():
        body = "; ".join([expr] * ATTRIBUTE_UNROLL)
        scope = {}
        exec(f"def run(o, turns):\n    for _ in turns:\n        {body}\n", scope)
        loops[name] = (scope["run"], obj)
    turns = range(2000)
    samples = {name: [] for name in cases}
    deadline = time.perf_counter() + a.budget
    rounds = 0
    while rounds < 15 or (time.perf_counter() < deadline and rounds < 1000):
        for name, (run, obj) in loops.items():
            t0 = time.perf_counter()
            run(obj, turns)
            samples[name].append((time.perf_counter() - t0) / (len(turns) * ATTRIBUTE_UNROLL))
        rounds += 1
    medians = {name: statistics.median(s) for name, s in samples.items()}
    empty = medians.pop("empty")
    print(json.dumps({"rounds": rounds, "ns": {name: (m - empty) * 1e9 for name, m in medians.items()}}))


# ---------------------------------------------------------------- inputs

class Input:
    def __init__(self, label, path, kind, group, expect=None, one_key=None, same=None, floor_path=None):
        self.label, self.path, self.kind, self.group = label, path, kind, group
        self.expect, self.one_key, self.same = expect, one_key, same
        self.floor_path = floor_path
        self.size = os.path.getsize(path)
        self.figures = {}


def corpus_dir():
    # BRINDLE_CORPUS, relative to the clone when not absolute; by default
    # the shared corpus beside the clone.
    return os.path.normpath(os.path.join(CLONE, os.environ.get("BRINDLE_CORPUS") or "../shared/corpus"))


def cache_dir(a):
    d = a.cache or os.path.join(CLONE, "build", "bench-inputs")
    os.makedirs(d, exist_ok=True)
    return d


def generated(a, name, args, make=None):
    """A generated input from the cache, made when missing; the file name
    carries a digest of the generator, so a changed generator makes new files
    (and the old ones are removed)."""
    import hashlib
    import subprocess

    with open(GENERATOR, "rb") as f:
        tag = hashlib.sha256(f.read()).hexdigest()[:10]
    d = cache_dir(a)
    path = os.path.join(d, f"{name}.{tag}.yml")
    counts = path + ".counts.json"
    for old in os.listdir(d):
        if old.startswith(name + ".") and not old.startswith(f"{name}.{tag}."):
            os.remove(os.path.join(d, old))
    if not (os.path.exists(path) and os.path.exists(counts)):
        sys.stderr.write(f"bench: generating {os.path.relpath(path, CLONE)}\n")
        if make:
            make(path, counts)
        else:
            stats = subprocess.check_output([sys.executable, GENERATOR, *args, "--stats", "-o", path + ".tmp"])
            with open(counts, "wb") as f:
                f.write(stats)
            os.replace(path + ".tmp", path)
    with open(counts) as f:
        return path, json.load(f)


def json_text_of(yaml_path, yaml_counts):
    """Makes the JSON text of a generated result by reading and writing it."""
    def make(path, counts):
        from brindle import ort

        with open(path + ".tmp", "w", encoding="utf-8") as f:
            f.write(ort.OrtResult.from_yaml_file(yaml_path).to_json())
        with open(counts, "w") as f:
            json.dump(yaml_counts, f)
        os.replace(path + ".tmp", path)
    return make


def json_with(json_path, added, escaped):
    """Makes a JSON text with `added` at the end of every description,
    statement and message, its characters escaped as JSON escapes them or
    raw."""
    def make(path, counts):
        with open(json_path, encoding="utf-8") as f:
            d = json.load(f)

        def add(v):
            if isinstance(v, dict):
                return {k: x + added if k in ("description", "statement", "message") and isinstance(x, str)
                        else add(x) for k, x in v.items()}
            return [add(x) for x in v] if isinstance(v, list) else v

        with open(path + ".tmp", "w", encoding="utf-8") as f:
            json.dump(add(d), f, indent=2, ensure_ascii=escaped)
        with open(json_path + ".counts.json") as f, open(counts, "w") as out:
            out.write(f.read())
        os.replace(path + ".tmp", path)
    return make


def guess_kind(path):
    import re

    with open(path, encoding="utf-8", errors="replace") as f:
        head = f.read(1 << 16)
    if re.search(r'^\s{0,2}"?(categories|categorizations)"?\s*:', head, re.M):
        return "classification"
    if re.search(r'^\s{0,2}"?repository"?\s*:', head, re.M):
        return "result"
    return "config"


def inputs(a):
    """The rows to measure; generated inputs are made (or taken from the
    cache) only for the rows chosen."""
    import gen_result

    if a.files:
        return [Input(os.path.relpath(p), p, guess_kind(p), "file") for p in a.files]
    chosen = lambda label: not a.only or any(o in label for o in a.only)  # noqa: E731
    rows = []
    corpus = corpus_dir()
    if os.path.isdir(corpus):
        for label, rel, kind in CORPUS_FILES:
            label = f"{label} {os.path.basename(rel)}"
            if chosen(label):
                rows.append(Input(label, os.path.join(corpus, rel), kind, "corpus"))
    else:
        sys.stderr.write(f"bench: no corpus at {corpus} (set BRINDLE_CORPUS): no rows of real files\n")
    for mb in GENERATED_MB + ([LARGE_MB] if a.large else []):
        label = f"generated result {mb} MB"
        if chosen(label):
            path, counts = generated(a, f"result-{mb}mb", ["--mb", str(mb), "--seed", "1"])
            rows.append(Input(label, path, "result", "generated", counts))
    def json_text():
        path, counts = generated(a, f"result-{JSON_TEXT_MB}mb", ["--mb", str(JSON_TEXT_MB), "--seed", "2"])
        return generated(a, f"result-{JSON_TEXT_MB}mb-json", [], json_text_of(path, counts))

    label = "generated result, JSON text"
    if chosen(label):
        path, counts = json_text()
        rows.append(Input(label, path, "result", "generated", counts))
    # Rows in pairs over the same JSON text with texts added; the floor and
    # PyYAML read the first text of a pair in both rows.
    for group, (first, second) in ROW_PAIRS.items():
        if not (chosen(first[0]) or chosen(second[0])):
            continue
        path, counts = json_text()
        made = [generated(a, f"result-{JSON_TEXT_MB}mb-json-{name}", [], json_with(path, added, escaped))[0]
                for _, name, added, escaped in (first, second)]
        rows.append(Input(first[0], made[0], "result", group, counts))
        rows.append(Input(second[0], made[1], "result", group, counts, floor_path=made[0]))
    for case in gen_result.ONE_KEY_CASES:
        count = a.count or ONE_KEY_COUNTS.get(case, 20_000)
        for same in (True, False):
            label = f"{count:,} {case}, {'one key' if same else 'distinct keys'}"
            if chosen(label):
                name = f"one-key-{case}-{count}-{'same' if same else 'distinct'}"
                path, counts = generated(a, name, ["--one-key", case, "--count", str(count)] + ["--same"] * same)
                rows.append(Input(label, path, "result", "one-key", counts, case, same))
    return rows


# ---------------------------------------------------------------- driver

def run_worker(a, extra):
    import subprocess

    cmd = [sys.executable, os.path.abspath(__file__), "--worker", "--budget", str(a.budget), *extra]
    done = subprocess.run(cmd, stdout=subprocess.PIPE, text=True)
    if done.returncode != 0:
        return {"error": f"worker ended with status {done.returncode}"}
    return json.loads(done.stdout.strip().splitlines()[-1])


COLUMNS = [("from_yaml_str", "read"), ("+ to_dict()", "dict"), ("to_json()", "to_json"), ("to_yaml()", "to_yaml"),
           ("PyYAML C", "pyyaml"), ("json.dumps", "json_dumps"), ("RSS/file", "rss")]
LABEL_WIDTH = 40


def misses(row, key):
    f = row.figures
    big = row.size >= GOALS_FROM_MB * 1e6 and row.group != "one-key"
    if key not in f:
        return False
    if key == "read":
        return big and f[key] > READ_GOAL
    if key == "dict":
        return big and f[key] > DICT_GOAL
    if key == "to_json":
        return "json_dumps" in f and f[key] > f["json_dumps"]
    if key == "to_yaml":
        return f[key] > 1.0
    if key == "rss":
        return big and f[key] > RSS_GOAL
    return False


def header():
    cols = "".join(f"{name:>14}" for name, _ in COLUMNS)
    return f"{'input':{LABEL_WIDTH}}{'MB':>8}{'floor ms':>10}{cols}"


def row_text(row):
    f = row.figures
    cells = []
    for _, key in COLUMNS:
        if key in f:
            cells.append(f"{f[key]:.2f}{'*' if misses(row, key) else ' '}")
        else:
            cells.append("- ")
    line = f"{row.label:{LABEL_WIDTH}}{row.size / 1e6:8.2f}{f.get('floor_ms', float('nan')):10.2f}"
    line += "".join(f"{c:>14}" for c in cells)
    if "error" in f:
        line += f"  {f['error']}"
    return line


def measure(a, row):
    f = row.figures
    extra = ["--program", a.program, "--kind", row.kind, "--path", row.path]
    if row.group != "one-key":
        extra += ["--rss", "--gc-off"]
    if row.expect:
        extra += ["--expect"]
    if row.one_key:
        extra += ["--one-key", row.one_key]
    if row.floor_path:
        extra += ["--floor-path", row.floor_path]
    w = run_worker(a, extra)
    row.worker = w
    if "floor" not in w:
        f["error"] = w.get("error", "no floor")
        return
    f["floor_ms"] = w["floor"] * 1e3
    for key in ("read", "dict", "to_json", "to_yaml", "pyyaml", "json_dumps", "dict_gc_off"):
        if key in w:
            f[key] = w[key]
    if "rss" in w:
        f["rss"] = w["rss"] / row.size
    if "error" in w:
        f["error"] = w["error"]
    elif row.expect and w.get("counts") != row.expect:
        f["error"] = f"read {w.get('counts')}, generated {row.expect}"


def summary(rows):
    import gen_result

    print()
    print("* misses its goal: from_yaml_str <= 1.2 and + to_dict() <= 1.5 from 1 MB up; to_json() <= json.dumps;")
    print("  to_yaml() <= 1 (the floor); RSS/file <= 3 from 1 MB up.")
    gen = {r.label: r for r in rows if r.group == "generated" and "read" in r.figures}
    one, top = gen.get("generated result 1 MB"), gen.get(f"generated result {LARGE_MB} MB")
    if one and not top:
        top = gen.get(f"generated result {GENERATED_MB[-1]} MB")
    if one and top:
        ratio = top.figures["read"] / one.figures["read"]
        star = "*" if abs(ratio - 1) > LINEAR_GOAL else ""
        note = "" if top.label.endswith(f"{LARGE_MB} MB") else f" (--large adds the {LARGE_MB} MB row)"
        print(f"Linearity: from_yaml_str ratio at {top.label.split()[-2]} MB over that at 1 MB: "
              f"{ratio:.2f}{star} (goal: within {LINEAR_GOAL:.0%}){note}")
    pairs = {}
    for r in rows:
        if r.group == "one-key" and "read" in r.figures:
            pairs.setdefault(r.one_key, {})[r.same] = r
    if pairs:
        print(f"One key over distinct keys, texts of the same length (goal <= {ONE_KEY_GOAL}):")
        for case, p in pairs.items():
            if True in p and False in p:
                s, d = p[True].worker["seconds"], p[False].worker["seconds"]
                ratio, dict_ratio = s["read"] / d["read"], s["dict"] / d["dict"]
                star = "*" if ratio > ONE_KEY_GOAL else ""
                print(f"  {case:17} from_yaml_str {ratio:7.2f}{star:1} ({s['read']:8.3f} s / {d['read']:6.3f} s)"
                      f"   + to_dict() {dict_ratio:7.2f}   {gen_result.ONE_KEY_CASES[case]}")
    for group, (first, second) in ROW_PAIRS.items():
        pair = {r.floor_path is not None: r for r in rows if r.group == group and "read" in r.figures}
        if len(pair) == 2:
            s, d = pair[True].worker["seconds"], pair[False].worker["seconds"]
            ratio = s["read"] / d["read"]
            star = "*" if ratio > PAIR_GOAL else ""
            print(f"{ROW_PAIR_TITLES[group]}: from_yaml_str {ratio:.2f}{star} "
                  f"({s['read'] * 1e3:.1f} ms / {d['read'] * 1e3:.1f} ms; goal <= {PAIR_GOAL})")
    gc_notes = [f"{r.label} {r.figures['dict_gc_off']:.2f}" for r in rows
                if "dict_gc_off" in r.figures and abs(r.figures["dict_gc_off"] / r.figures["dict"] - 1) > 0.10]
    if gc_notes:
        print("+ to_dict() with the garbage collector off, where it differs by more than 10%: " + "; ".join(gc_notes))
    bad = [r for r in rows if "error" in r.figures]
    for r in bad:
        print(f"ERROR {r.label}: {r.figures['error']}")


def attribute_part(a):
    w = run_worker(a, ["--attribute"])
    print()
    if "ns" not in w:
        print(f"ERROR {ATTRIBUTE_LABEL}: {w.get('error', 'no figures')}")
        return
    ns = w["ns"]
    print(f"Attribute access, on examples/result.yml: medians of {w['rounds']} interleaved runs, ns per access "
          f"(goals: a field by attribute <= {ATTRIBUTE_HIT_GOAL} x by item, a miss <= {ATTRIBUTE_MISS_GOAL} x "
          f"the plain class's miss):")
    for mine, other, goal in (("pkg.id", "pkg['id']", ATTRIBUTE_HIT_GOAL),
                              ("result.repository", "result['repository']", ATTRIBUTE_HIT_GOAL),
                              ("getattr(pkg, 'nope', None)", "getattr(plain, 'nope', None)", ATTRIBUTE_MISS_GOAL)):
        ratio = ns[mine] / ns[other] if ns[other] > 0 else math.inf
        star = "*" if ratio > goal else ""
        print(f"  {mine:28} {ns[mine]:8.1f}   {other:30} {ns[other]:8.1f}   ratio {ratio:5.2f}{star}")


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("files", nargs="*", metavar="BRINDLE_BENCH_PROGRAM [FILE]",
                    help="the benchmark program (build/brindle_bench), for the floor; then files to measure "
                         "instead of the standard inputs")
    ap.add_argument("--large", action="store_true", help=f"add the generated {LARGE_MB} MB result")
    ap.add_argument("--only", action="append", help="only the rows whose label holds this text (repeatable)")
    ap.add_argument("--count", type=int, help="elements of every one-key set (default 100,000 findings, "
                                              "20,000 of the other sets)")
    ap.add_argument("--budget", type=float, default=2.0, help="seconds of repeated runs per figure (default 2)")
    ap.add_argument("--cache", help="folder of generated inputs (default build/bench-inputs)")
    # Worker mode: one input in this fresh process; prints its figures as JSON.
    ap.add_argument("--worker", action="store_true", help=argparse.SUPPRESS)
    ap.add_argument("--baseline", action="store_true", help=argparse.SUPPRESS)
    ap.add_argument("--program", help=argparse.SUPPRESS)
    ap.add_argument("--kind", choices=KINDS, help=argparse.SUPPRESS)
    ap.add_argument("--path", help=argparse.SUPPRESS)
    ap.add_argument("--rss", action="store_true", help=argparse.SUPPRESS)
    ap.add_argument("--gc-off", action="store_true", help=argparse.SUPPRESS)
    ap.add_argument("--expect", action="store_true", help=argparse.SUPPRESS)
    ap.add_argument("--one-key", help=argparse.SUPPRESS)
    ap.add_argument("--floor-path", help=argparse.SUPPRESS)
    ap.add_argument("--attribute", action="store_true", help=argparse.SUPPRESS)
    a = ap.parse_args()
    if a.worker:
        return attribute_worker(a) if a.attribute else worker(a)
    if not a.files:
        ap.error("the benchmark program is needed")
    a.program, a.files = a.files[0], a.files[1:]
    sys.path.insert(0, HERE)

    rows = inputs(a)
    attributes = not a.files and (not a.only or any(o in ATTRIBUTE_LABEL for o in a.only))
    if rows:
        table(a, rows)
    if attributes:
        attribute_part(a)


def table(a, rows):
    baseline = run_worker(a, ["--baseline"])["maxrss"]
    import yaml  # noqa: F401  (only to fail early when PyYAML is missing)

    print("Times: best of N runs (N by duration), as ratios to the floor of the same runs: libyaml parsing the")
    print("same text into events with nothing kept (a C loop; its best time in the floor ms column).  PyYAML C:")
    print("yaml.load with CSafeLoader.  json.dumps: json.dumps(d, indent=2) of d = to_dict().  RSS/file: peak")
    print("resident memory of a fresh process while it reads the file with from_yaml_file and keeps the model (no")
    print(f"tree), minus what it held just before (the interpreter with the module imported, about "
          f"{baseline / 1e6:.0f} MB), over the file size.")
    print()
    print(header(), flush=True)
    for row in rows:
        measure(a, row)
        print(row_text(row), flush=True)
    summary(rows)


if __name__ == "__main__":
    main()
