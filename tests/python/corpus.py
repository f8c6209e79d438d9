"""The corpus of real files that some tests read, and what those tests do
where it is missing.

The corpus is the folder named by BRINDLE_CORPUS or, without it, the folder
shared/corpus beside the clone.  Without it a corpus test is skipped and says
why; under CI (CI set, and not to "false" or "0") it fails instead, so that
CI never passes on fewer tests than it has.  A test needs the corpus through
the marker `corpus` (the name of the folder inside the corpus it reads as the
marker's argument) or through `files`, which marks the test for it.
"""

import os
import pathlib

import pytest

HERE = pathlib.Path(__file__).resolve().parent
CORPUS = pathlib.Path(os.environ.get("BRINDLE_CORPUS") or HERE.parents[2] / "shared" / "corpus")


def in_ci():
    return os.environ.get("CI", "") not in ("", "false", "0")


def missing(folder=""):
    """Why tests of `folder` in the corpus cannot run here, or "" if they can."""
    if not CORPUS.is_dir():
        return f"no corpus at {CORPUS} (set BRINDLE_CORPUS to a corpus folder to run this test)"
    if not (CORPUS / folder).is_dir():
        return f"no folder {folder} in the corpus at {CORPUS}"
    return ""


def need(folder=""):
    """Skips the calling test without the corpus, saying why; fails it under CI."""
    why = missing(folder)
    if not why:
        return
    if in_ci():
        pytest.fail(why + "; CI needs it", pytrace=False)
    pytest.skip(why)


def files(folder, pattern="*.yml"):
    """Parameters of a test for each file of a corpus folder, named by the
    file; without the folder, one parameter, `None`, whose test needs it."""
    where = CORPUS / folder
    mark = pytest.mark.corpus(folder)
    if not where.is_dir():
        return [pytest.param(None, id="no-corpus", marks=mark)]
    return [pytest.param(path, id=path.name, marks=mark) for path in sorted(where.glob(pattern)) if path.is_file()]
