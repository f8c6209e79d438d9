"""Reading speed from Python, side by side in one run: the floor (libyaml
parsing the text with nothing kept, timed by the C++ benchmark program), our
from_yaml_str, from_yaml_str with to_dict(), and PyYAML's C loader giving
plain dicts.  Prints best-of-N times and ratios; asserts nothing.

Usage: python3 bench/bench.py BRINDLE_BENCH_PROGRAM [FILE...]
"""

import os
import subprocess
import sys
import time

import yaml

from brindle.ort import LicenseClassifications

HERE = os.path.dirname(os.path.abspath(__file__))
CORPUS = os.environ.get("BRINDLE_CORPUS") or os.path.join(HERE, "..", "..", "shared", "corpus")
DEFAULT_FILES = [os.path.join(CORPUS, "license-classifications", "02.yml")]


def best_of(runs, work):
    best = float("inf")
    for _ in range(runs):
        start = time.perf_counter()
        work()
        best = min(best, time.perf_counter() - start)
    return best


def main():
    program, files = sys.argv[1], sys.argv[2:] or DEFAULT_FILES
    for path in files:
        with open(path, encoding="utf-8") as f:
            text = f.read()
        floor = float(subprocess.check_output([program, "--floor", path], text=True)) / 1e3
        runs = 20
        measures = [
            ("from_yaml_str", lambda: LicenseClassifications.from_yaml_str(text)),
            ("from_yaml_str + to_dict()", lambda: LicenseClassifications.from_yaml_str(text).to_dict()),
            ("PyYAML CSafeLoader", lambda: yaml.load(text, Loader=yaml.CSafeLoader)),
        ]
        print(f"{os.path.normpath(path)} ({len(text.encode())} bytes)")
        print(f"  {'libyaml events (floor)':28} {floor * 1e3:9.3f} ms")
        times = {}
        for name, work in measures:
            times[name] = best_of(runs, work)
        pyyaml = times["PyYAML CSafeLoader"]
        for name, t in times.items():
            print(f"  {name:28} {t * 1e3:9.3f} ms  {t / floor:6.2f}x floor  {pyyaml / t:6.2f}x faster than PyYAML")


if __name__ == "__main__":
    main()
