"""Typed, read-only access to ORT result, repository configuration and license classification files."""

import sys as _sys

from ._brindle import ort

# Makes `import brindle.ort` and `from brindle.ort import OrtResult` work.
_sys.modules[__name__ + ".ort"] = ort

__all__ = ["ort"]
