"""The cyclic collector's switch stays the program's while a tree or a
to_dict copy is built: Python code run meanwhile (a replaced __new__, a key's
__hash__, another thread while that code waits) sees the state its program
set, and what it sets is what stays."""
import contextlib
import gc
import pathlib
import threading

import pytest

from brindle import ort

RESULT = pathlib.Path(__file__).resolve().parents[2] / "examples" / "result.yml"
WAIT = 30  # seconds; every wait is bounded


@pytest.fixture(autouse=True)
def collector_state_restored():
    enabled = gc.isenabled()
    yield
    if enabled:
        gc.enable()
    else:
        gc.disable()


@contextlib.contextmanager
def project_construction(hook):
    """Replaces ort.Project.__new__ by one that runs `hook` first."""

    def new(cls, *args):
        hook()
        return ort.Object.__new__(cls, *args)

    ort.Project.__new__ = new
    try:
        yield
    finally:
        del ort.Project.__new__


def tree_build(hook):
    result = ort.OrtResult.from_yaml_file(str(RESULT))
    with project_construction(hook):
        assert len(result.analyzer.result.projects) == 2


def result_to_dict(hook):
    result = ort.OrtResult.from_yaml_file(str(RESULT))
    with project_construction(hook):
        assert len(result.to_dict()["analyzer"]["result"]["projects"]) == 2


def object_to_dict(hook):
    armed = False

    class Key(str):
        def __hash__(self):
            if armed:
                hook()
            return str.__hash__(self)

    obj = ort.Object("T", {"a": [{Key("k"): 1}, {Key("l"): 2}]})
    armed = True
    assert obj.to_dict() == {"a": [{"k": 1}, {"l": 2}]}


BUILDS = {"tree build": tree_build, "to_dict of a result": result_to_dict, "to_dict copy": object_to_dict}
ACTIONS = {"no change": None, "gc.disable()": gc.disable, "gc.enable()": gc.enable}


def set_collector(enabled):
    if enabled:
        gc.enable()
    else:
        gc.disable()


@pytest.mark.parametrize("build", BUILDS.values(), ids=BUILDS.keys())
@pytest.mark.parametrize("action", ACTIONS.values(), ids=ACTIONS.keys())
@pytest.mark.parametrize("before", [True, False], ids=["on before", "off before"])
def test_the_switch_is_as_python_code_last_set_it(build, action, before):
    after = before if action is None else action is gc.enable
    seen = []

    def hook():
        seen.append(gc.isenabled())
        if action is not None:
            action()

    set_collector(before)
    build(hook)
    assert gc.isenabled() == after
    # The first call sees the state from before the build, every later one
    # the state the one before it set.
    assert len(seen) == 2 and seen == [before, after]


def test_a_failed_build_leaves_the_switch_as_python_code_set_it():
    # The second project's construction fails; the first project, dropped
    # on the way out, runs a finalizer that turns the collector off.
    calls = []
    dropped = []

    def hook():
        calls.append(gc.isenabled())
        if len(calls) == 2:
            raise LookupError("refused")

    def finalizer(self):
        dropped.append(gc.isenabled())
        gc.disable()

    gc.enable()
    result = ort.OrtResult.from_yaml_file(str(RESULT))
    ort.Project.__del__ = finalizer
    try:
        with project_construction(hook), pytest.raises(LookupError, match="refused"):
            result.analyzer
    finally:
        del ort.Project.__del__
    assert calls == [True, True] and dropped == [True]
    assert not gc.isenabled()


def other_thread_build():
    object_to_dict(gc.disable)


OTHER_THREAD = {
    # what the other thread does, the switch before, the switch after
    "gc.disable()": (gc.disable, True, False),
    "gc.enable()": (gc.enable, False, True),
    "a build whose Python code calls gc.disable()": (other_thread_build, True, False),
}


@pytest.mark.parametrize("other, before, after", OTHER_THREAD.values(), ids=OTHER_THREAD.keys())
@pytest.mark.parametrize("build", [tree_build, result_to_dict], ids=["tree build", "to_dict of a result"])
def test_a_change_by_another_thread_while_python_code_waits_is_kept(build, other, before, after):
    inside = threading.Event()
    go_on = threading.Event()
    seen = []
    failures = []

    def hook():
        seen.append(gc.isenabled())
        if len(seen) == 1:
            inside.set()
            if not go_on.wait(WAIT):
                failures.append("not released")

    def builder():
        try:
            build(hook)
        except BaseException as e:  # reported by the main thread
            failures.append(e)

    set_collector(before)
    thread = threading.Thread(target=builder)
    thread.start()
    try:
        assert inside.wait(WAIT)
        # While the builder waits, this thread sees its program's state.
        seen_here = gc.isenabled()
        other()
    finally:
        go_on.set()
        thread.join(WAIT)
    assert not thread.is_alive() and failures == []
    assert seen_here == before
    assert seen == [before, after]
    assert gc.isenabled() == after
