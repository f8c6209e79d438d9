"""Reading fields as attributes, on Object, the typed classes and the roots:
the ordinary lookup (methods, class attributes, the instance dict) comes
first, then the fields; a miss raises AttributeError with its usual text."""

import gc
import pathlib
import sys
import tracemalloc

import pytest

from brindle import ort
from brindle.ort import LicenseClassifications, Object, OrtResult, RepositoryConfiguration

EXAMPLES = pathlib.Path(__file__).resolve().parents[2] / "examples"
ROOTS = {
    "result.yml": OrtResult,
    "repository-configuration.yml": RepositoryConfiguration,
    "license-classifications.yml": LicenseClassifications,
}


def example(name):
    return ROOTS[name].from_yaml_file(str(EXAMPLES / name))


def first_package():
    return example("result.yml").analyzer.result.packages[0]


class Text(str):
    pass


class Sub(ort.Hash):
    kind = "class attribute"

    def method(self):
        return "method"

    @property
    def prop(self):
        return "property"

    @property
    def hidden(self):
        raise AttributeError("from the property")

    @property
    def hidden_missing(self):
        raise AttributeError("from the property")

    @property
    def broken(self):
        raise ValueError("from the property")


# ---- hits ---------------------------------------------------------------------


@pytest.mark.parametrize(
    "make",
    [
        lambda: Object("X", {"a": [1], "b": None}),
        lambda: ort.Hash("Hash", {"value": "abc", "algorithm": "SHA1"}),
        lambda: Sub("Hash", {"value": "abc"}),
        lambda: Object("X", {"é": 1, "a\0b": 2}),
        first_package,
        lambda: example("result.yml"),
        lambda: example("repository-configuration.yml"),
        lambda: example("license-classifications.yml"),
        lambda: example("result.yml").repository,
    ],
)
def test_every_field_reads_as_its_attribute(make):
    obj = make()
    names = [name for name in obj.keys() if not hasattr(type(obj), name)]
    assert names
    for name in names:
        assert getattr(obj, name) is obj[name]
        assert getattr(obj, Text(name)) is obj[name]
        assert hasattr(obj, name)


def test_attribute_syntax_on_the_tree():
    result = example("result.yml")
    assert result.analyzer.result.packages[0].id is result["analyzer"]["result"]["packages"][0]["id"]


# ---- what wins over a field ----------------------------------------------------


def with_instance_attribute():
    obj = Sub("Hash", {"value": "field", "other": 1})
    obj.value = "instance"
    return obj


@pytest.mark.parametrize(
    "make, name, expected",
    [
        (lambda: Object("X", {"keys": 1}), "keys", lambda o: o.keys() == ["keys"]),
        (lambda: ort.Hash("Hash", {"items": 1}), "items", lambda o: o.items() == [("items", 1)]),
        (lambda: Object("X", {"to_json": 3}), "to_json", lambda o: o.to_json() == '{\n  "to_json": 3\n}'),
        (lambda: Object("X", {"__type__": 2}), "__type__", lambda o: o.__type__ == "X"),
        (lambda: Object("X", {"__class__": 2}), "__class__", lambda o: o.__class__ is Object),
        (lambda: Sub("Hash", {"kind": "field"}), "kind", lambda o: o.kind == "class attribute"),
        (lambda: Sub("Hash", {"method": "field"}), "method", lambda o: o.method() == "method"),
        (lambda: Sub("Hash", {"prop": "field"}), "prop", lambda o: o.prop == "property"),
        (with_instance_attribute, "value", lambda o: o.value == "instance"),
        (lambda: example("result.yml"), "to_dict", lambda o: callable(o.to_dict)),
    ],
)
def test_the_ordinary_lookup_wins_over_a_field(make, name, expected):
    obj = make()
    assert expected(obj)
    assert hasattr(obj, name)
    if name in obj:
        assert getattr(obj, name) is not obj[name]


def test_a_property_that_raises_attribute_error_leaves_the_field():
    obj = Sub("Hash", {"hidden": "field"})
    assert obj.hidden == "field"
    with pytest.raises(AttributeError) as info:
        obj.hidden_missing
    assert str(info.value) == "'Hash' object has no attribute 'hidden_missing'"


# ---- misses --------------------------------------------------------------------


@pytest.mark.parametrize(
    "make, name, message",
    [
        (lambda: Object("X", {"a": 1}), "missing", "'X' object has no attribute 'missing'"),
        (lambda: Object("X"), "a", "'X' object has no attribute 'a'"),
        (lambda: ort.Hash("Other"), "x", "'Other' object has no attribute 'x'"),
        (lambda: Sub("Hash", {"value": 1}), "nope", "'Hash' object has no attribute 'nope'"),
        (lambda: Object("X", {"a": 1}), Text("missing"), "'X' object has no attribute 'missing'"),
        (lambda: Object("X"), "é\0z", "'X' object has no attribute 'é\0z'"),
        (lambda: Object("Ty\0pé"), "a", "'Ty\0pé' object has no attribute 'a'"),
        (first_package, "nope", "'Package' object has no attribute 'nope'"),
        (lambda: example("result.yml"), "nope", "'OrtResult' object has no attribute 'nope'"),
        (lambda: example("repository-configuration.yml"), "nope",
         "'RepositoryConfiguration' object has no attribute 'nope'"),
        (lambda: example("license-classifications.yml"), "values",
         "'LicenseClassifications' object has no attribute 'values'"),
        (lambda: example("license-classifications.yml"), "__type__",
         "'LicenseClassifications' object has no attribute '__type__'"),
    ],
)
def test_a_miss(make, name, message):
    obj = make()
    with pytest.raises(AttributeError) as info:
        getattr(obj, name)
    assert str(info.value) == message
    assert info.value.args == (message,)
    assert info.value.name == name and info.value.obj is obj
    assert not hasattr(obj, name)
    default = object()
    assert getattr(obj, name, default) is default


# ---- errors passed on ----------------------------------------------------------


@pytest.mark.parametrize(
    "make",
    [lambda: Object("X", {"a": 1}), lambda: Sub("Hash"), first_package, lambda: example("result.yml")],
)
@pytest.mark.parametrize(
    "name, error, message, notes",
    [
        (1, TypeError, "attribute name must be string, not 'int'", None),
        (b"a", TypeError, "attribute name must be string, not 'bytes'", None),
        ("\ud800", UnicodeEncodeError, None, ["while processing 'name'"]),
    ],
)
def test_a_name_that_is_no_text(make, name, error, message, notes):
    obj = make()
    # The builtins check the name's type themselves, with texts of their own;
    # __getattribute__ hands any name to the class's lookup.
    for access, own_text in ((lambda: type(obj).__getattribute__(obj, name), True),
                             (lambda: getattr(obj, name), True), (lambda: getattr(obj, name, None), False),
                             (lambda: hasattr(obj, name), False)):
        with pytest.raises(error) as info:
            access()
        if message is not None and own_text:
            assert str(info.value) == message
        assert getattr(info.value, "__notes__", None) == notes


def test_a_property_raising_another_error_passes_it_on():
    obj = Sub("Hash", {"broken": 1})
    for access in (lambda: obj.broken, lambda: getattr(obj, "broken", None), lambda: hasattr(obj, "broken")):
        with pytest.raises(ValueError, match="^from the property$"):
            access()


# ---- references ----------------------------------------------------------------


def attribute_work(rounds):
    objects = [Object("X", {"a": [1]}), Sub("Hash", {"value": [2]}), first_package(), example("result.yml")]
    default = object()
    for _ in range(rounds):
        for obj in objects:
            name = obj.keys()[0]
            getattr(obj, name)
            getattr(obj, "nope", default)
            hasattr(obj, "nope")
            try:
                obj.nope
            except AttributeError:
                pass
            try:
                getattr(obj, 1)
            except TypeError:
                pass


def test_accesses_keep_reference_counts():
    # Names made at run time, so not interned (and not immortal).
    value, name, missing = [1], "".join(["field_", "name"]), "".join(["missing_", "name"])
    obj = Object("X", {name: value})
    counts = lambda: (sys.getrefcount(value), sys.getrefcount(obj), sys.getrefcount(name), sys.getrefcount(missing))  # noqa: E731

    def work(rounds):
        for _ in range(rounds):
            getattr(obj, name)
            getattr(obj, missing, None)
            hasattr(obj, missing)

    work(1)  # the class's lookup cache keeps a reference to each name it saw
    before = counts()
    work(1000)
    assert counts() == before


def test_accesses_leave_no_memory_behind():
    attribute_work(100)
    gc.collect()
    tracemalloc.start()
    try:
        before = tracemalloc.get_traced_memory()[0]
        attribute_work(2000)
        gc.collect()
        grown = tracemalloc.get_traced_memory()[0] - before
    finally:
        tracemalloc.stop()
    assert grown < 20_000


def test_no_reference_leaks(leak_check):
    leak_check(lambda: attribute_work(500))
