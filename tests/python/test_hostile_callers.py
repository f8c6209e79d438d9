"""Python code that runs while the binding builds lists and dicts (a key's
__hash__, a replaced __new__, another thread after a switch) and looks at
every container the collector knows, as memory profilers do.  Each case runs
in a child interpreter with the debug memory allocator, which must end
cleanly and report nothing."""
import os
import pathlib
import subprocess
import sys
import textwrap

import pytest

RESULT = pathlib.Path(__file__).resolve().parents[2] / "examples" / "result.yml"

CASES = {
    # to_dict copies a list whose first item is a dict with a key whose hash
    # looks for the copy.
    "key hash finds the list being copied": """
        import gc
        from brindle import ort
        N = 4321
        class K(str):
            def __hash__(self):
                for x in gc.get_objects():
                    if type(x) is list and len(x) == N and x is not src:
                        print(repr(x[1]))
                        x.clear()
                return str.__hash__(self)
        src = [{K("k"): 1}] + [0] * (N - 1)
        copy = ort.Object("T", {"a": src}).to_dict()["a"]
        assert copy == [{"k": 1}] + [0] * (N - 1)
    """,
    # A profiler thread reads every list while to_dict runs keys' __hash__
    # written in Python, so switches happen in the middle of the copies.
    "profiler thread during to_dict": """
        import gc, sys, threading, dataclasses
        from brindle import ort
        sys.setswitchinterval(1e-6)
        @dataclasses.dataclass(frozen=True)
        class Key:
            name: str
        o = ort.Object("T", {"rows": [{Key("a"): 1, Key("b"): 2} for _ in range(2000)]})
        stop = False
        def profiler():
            while not stop:
                for x in gc.get_objects():
                    if type(x) is list:
                        list(x)
        t = threading.Thread(target=profiler, daemon=True); t.start()
        for i in range(200):
            o.to_dict()
        stop = True; t.join()
    """,
    # A dict's copy is not seen half filled either: its keys' hashes find no
    # dict holding the first key's copy without the second.
    "key hash finds no dict being filled": """
        import gc
        from brindle import ort
        armed = False
        class K(str):
            def __hash__(self):
                for x in gc.get_objects() if armed else ():
                    if type(x) is dict and x.get("first") == [1] and "second" not in x:
                        raise AssertionError("a dict seen half filled")
                return str.__hash__(self)
        src = {K("first"): [1], K("second"): [2]}
        armed = True
        assert ort.Object("T", {"a": src}).to_dict() == {"a": {"first": [1], "second": [2]}}
    """,
    # A replaced __new__ of a typed class runs during the first tree build of
    # a result, while the list of projects is being made.
    "replaced __new__ during a tree build": f"""
        import gc
        from brindle import ort
        calls = []
        def new(cls, *args):
            calls.append(cls)
            for x in gc.get_objects():
                if type(x) is list:
                    list(x)
                elif type(x) is dict:
                    dict(x)
            return ort.Object.__new__(cls, *args)
        ort.Project.__new__ = new
        result = ort.OrtResult.from_yaml_file({str(RESULT)!r})
        projects = result.analyzer.result.projects
        assert projects and calls == [ort.Project] * len(projects)
        assert all(type(p) is ort.Project for p in projects)
        assert result.to_dict()["analyzer"]["result"]["projects"][0]["id"] == projects[0].id
    """,
}


@pytest.mark.parametrize("source", CASES.values(), ids=CASES.keys())
def test_containers_are_whole_before_python_code_can_see_them(source):
    env = dict(os.environ, PYTHONMALLOC="debug")
    run = subprocess.run([sys.executable, "-c", textwrap.dedent(source)], env=env, capture_output=True,
                         text=True, timeout=600)
    assert run.returncode == 0 and run.stderr == "", run.stderr
