import gc
import sys

import pytest

import corpus


def pytest_configure(config):
    config.addinivalue_line("markers", "corpus(folder): the test reads that folder of the corpus of real files")


def pytest_runtest_setup(item):
    mark = item.get_closest_marker("corpus")
    if mark is not None:
        corpus.need(*mark.args)


@pytest.fixture
def leak_check():
    """Runs `work` twice and checks that the second run leaves the
    interpreter's reference total where it found it (debug interpreter only)."""
    if not hasattr(sys, "gettotalrefcount"):
        pytest.skip("needs the debug interpreter")

    def check(work):
        work()
        gc.collect()
        before = sys.gettotalrefcount()
        work()
        gc.collect()
        assert sys.gettotalrefcount() - before < 200

    return check
