import gc
import json
import weakref

import pytest
import yaml

from brindle import ort
from brindle.ort import Object


def hash_object():
    return Object("Hash", {"value": "abc", "algorithm": "SHA1"})


# ---- construction -----------------------------------------------------------


@pytest.mark.parametrize(
    "args, kwargs, keys",
    [
        (("X",), {}, []),
        (("X", None), {}, []),
        ((), {"type_name": "X", "fields": None}, []),
        (("X",), {"fields": {"b": 1, "a": 2}}, ["b", "a"]),
        ((type("S", (str,), {})("X"), {"k": 1}), {}, ["k"]),
        (("X", type("D", (dict,), {})(z=1, y=2)), {}, ["z", "y"]),
    ],
)
def test_construction(args, kwargs, keys):
    obj = Object(*args, **kwargs)
    assert obj.keys() == keys
    assert obj.__type__ == "X"


@pytest.mark.parametrize(
    "args, kwargs, error, message, notes",
    [
        ((), {}, TypeError, "Object.__new__() missing 1 required positional argument: 'type_name'", None),
        (
            ("X", {}, 3),
            {},
            TypeError,
            "Object.__new__() takes from 1 to 2 positional arguments but 3 were given",
            None,
        ),
        (("X",), {"type_name": "Y"}, TypeError, "Object.__new__() got multiple values for argument 'type_name'", None),
        (("X",), {"other": 1}, TypeError, "Object.__new__() got an unexpected keyword argument 'other'", None),
        ((5,), {}, TypeError, "'int' object is not an instance of 'str'", ["while processing 'type_name'"]),
        ((b"X",), {}, TypeError, "'bytes' object is not an instance of 'str'", ["while processing 'type_name'"]),
        ((None,), {}, TypeError, "'None' is not an instance of 'str'", ["while processing 'type_name'"]),
        (("X", [("a", 1)]), {}, TypeError, "'list' object is not an instance of 'dict'", ["while processing 'fields'"]),
        (("X", {1: 2}), {}, TypeError, "'int' object is not an instance of 'str'", None),
        (("\ud800",), {}, UnicodeEncodeError, None, ["while processing 'type_name'"]),
        (("X", {"\ud800": 1}), {}, UnicodeEncodeError, None, None),
    ],
)
def test_construction_errors(args, kwargs, error, message, notes):
    with pytest.raises(error) as info:
        Object(*args, **kwargs)
    if message is not None:
        assert str(info.value) == message
        assert info.value.args == (message,)
    assert getattr(info.value, "__notes__", None) == notes


# ---- reading fields ---------------------------------------------------------


def test_mapping_methods():
    value = [1]
    obj = Object("X", {"b": value, "a": None})
    assert obj.keys() == ["b", "a"]
    assert obj.values() == [value, None] and obj.values()[0] is value
    assert obj.items() == [("b", value), ("a", None)]
    assert len(obj) == 2
    assert list(obj) == ["b", "a"]
    assert obj.b is value and obj["b"] is value
    assert "a" in obj and "c" not in obj
    assert obj.__dir__() == ["__type__", "keys", "values", "items", "to_dict", "to_json", "to_yaml", "b", "a"]
    assert dir(obj) == sorted(obj.__dir__())
    # new containers every time
    assert obj.keys() is not obj.keys()


def test_empty_object():
    obj = Object("X")
    assert (len(obj), obj.keys(), obj.items(), obj.values()) == (0, [], [], [])
    assert repr(obj) == "X()"
    assert obj.to_dict() == {}
    assert obj.to_json() == "{}"
    assert obj.to_yaml() == "{}\n"


def test_methods_win_over_fields():
    obj = Object("X", {"keys": 1, "__type__": 2, "to_json": 3})
    assert obj["keys"] == 1 and callable(obj.keys)
    assert obj.__type__ == "X"
    assert obj["to_json"] == 3


def test_many_fields():
    fields = {f"f{i}": [i] for i in range(9)}
    obj = ort.Hash("Wide", fields)
    assert obj.keys() == list(fields)
    assert all(mine is given for mine, given in zip(obj.values(), fields.values()))
    assert obj.f8 is fields["f8"] and obj["f0"] is fields["f0"]
    assert obj.to_dict() == fields
    assert obj == Object("Wide", dict(fields)) and obj != Object("Wide", {**fields, "f8": []})
    assert repr(obj).startswith("Wide(f0=[0], f1=[1], ")


def test_first_of_equal_names_wins():
    class Key(str):
        def __hash__(self):
            return id(self)

        def __eq__(self, other):
            return self is other

    obj = Object("X", {Key("a"): 1, Key("a"): 2})
    assert obj.keys() == ["a", "a"]
    assert (obj["a"], obj.a) == (1, 1)
    assert obj.to_dict() == {"a": 2}
    assert json.loads(obj.to_json()) == {"a": 2}


@pytest.mark.parametrize(
    "access, error, message, notes",
    [
        (lambda o: o["missing"], KeyError, "'missing'", None),
        (lambda o: o.missing, AttributeError, "'X' object has no attribute 'missing'", None),
        (lambda o: o.values.missing, AttributeError, None, None),
        (lambda o: o[0], TypeError, "'int' object is not an instance of 'str'", ["while processing 'name'"]),
        (lambda o: 0 in o, TypeError, "'int' object is not an instance of 'str'", ["while processing 'name'"]),
        (lambda o: None in o, TypeError, "'None' is not an instance of 'str'", ["while processing 'name'"]),
        (lambda o: o["\ud800"], UnicodeEncodeError, None, ["while processing 'name'"]),
        (lambda o: hash(o), TypeError, "unhashable type: 'brindle.ort.Object'", None),
        (lambda o: o < o, TypeError, None, None),
        (lambda o: o >= 1, TypeError, None, None),
        (lambda o: setattr(o, "__type__", "Y"), AttributeError, None, None),
        (lambda o: setattr(o, "a", 2), AttributeError, None, None),
    ],
)
def test_lookup_errors(access, error, message, notes):
    obj = Object("X", {"a": 1})
    with pytest.raises(error) as info:
        access(obj)
    if message is not None:
        assert str(info.value) == message
    assert getattr(info.value, "__notes__", None) == notes


def test_key_error_carries_the_name():
    with pytest.raises(KeyError) as info:
        Object("X")["missing"]
    assert info.value.args == ("missing",)


def test_attribute_error_names_the_type_name_not_the_class():
    with pytest.raises(AttributeError, match="^'Other' object has no attribute 'x'$"):
        ort.Hash("Other").x


def test_attribute_lookup_passes_other_errors_on():
    class Sub(Object):
        @property
        def broken(self):
            raise ValueError("from the property")

    with pytest.raises(ValueError, match="from the property"):
        Sub("X", {"broken": 1}).broken


# ---- repr and equality ------------------------------------------------------


def test_repr():
    artifact = Object("RemoteArtifact", {"url": "u", "hash": hash_object()})
    assert repr(hash_object()) == "Hash(value='abc', algorithm='SHA1')"
    assert repr(artifact) == "RemoteArtifact(url='u', hash=Hash(value='abc', algorithm='SHA1'))"
    assert str(artifact) == repr(artifact)
    assert repr(Object("L", {"xs": [1, "a"], "n": None})) == "L(xs=[1, 'a'], n=None)"


def test_repr_replaces_unpaired_surrogates():
    class Odd:
        def __repr__(self):
            return "<\ud800>"

    assert repr(Object("X", {"o": Odd()})) == "X(o=<\ufffd\ufffd\ufffd>)"


def test_repr_passes_value_errors_on():
    class Broken:
        def __repr__(self):
            raise ZeroDivisionError

    with pytest.raises(ZeroDivisionError):
        repr(Object("X", {"b": Broken()}))


nan = float("nan")


@pytest.mark.parametrize(
    "left, right, equal",
    [
        (Object("A", {"x": 1}), Object("A", {"x": 1}), True),
        (Object("A", {"x": 1}), ort.Hash("A", {"x": 1}), True),
        (Object("A", {"x": 1}), Object("B", {"x": 1}), False),
        (Object("A", {"x": 1, "y": 2}), Object("A", {"y": 2, "x": 1}), False),
        (Object("A", {"x": 1}), Object("A", {"x": 2}), False),
        (Object("A", {"x": 1}), Object("A", {"x": 1, "y": 2}), False),
        (Object("A", {"x": [Object("B")]}), Object("A", {"x": [Object("B")]}), True),
        (Object("A"), 5, False),
        (Object("A"), {"__type__": "A"}, False),
        (Object("A", {"x": nan}), Object("A", {"x": nan}), False),
    ],
)
def test_equality(left, right, equal):
    assert (left == right) is equal
    assert (left != right) is (not equal)
    assert (right == left) is equal


def test_nan_field_is_not_equal_to_itself():
    obj = Object("A", {"x": nan})
    assert obj != obj


def test_equality_passes_value_errors_on():
    class Proud:
        def __eq__(self, other):
            raise LookupError

    with pytest.raises(LookupError):
        Object("A", {"x": Proud()}) == Object("A", {"x": 1})


# ---- to_dict ----------------------------------------------------------------


def test_to_dict_converts_objects_lists_and_dicts_at_every_depth():
    tup, st, text = (Object("T"),), {1}, "t"
    inner = {"h": hash_object(), "l": [hash_object()]}
    obj = Object("X", {"tree": [inner, tup, st, text], "none": None})
    plain = obj.to_dict()
    assert plain == {
        "tree": [
            {"h": {"value": "abc", "algorithm": "SHA1"}, "l": [{"value": "abc", "algorithm": "SHA1"}]},
            tup,
            st,
            text,
        ],
        "none": None,
    }
    assert plain["tree"][1] is tup and plain["tree"][2] is st and plain["tree"][3] is text
    assert plain["tree"] is not obj.tree and plain["tree"][0] is not inner
    assert type(plain["tree"][0]["h"]) is dict


def test_to_dict_keeps_dict_key_objects():
    obj = Object("X", {"m": {1: "a", (2, 3): "b"}})
    assert obj.to_dict() == {"m": {1: "a", (2, 3): "b"}}


# ---- to_json and to_yaml ----------------------------------------------------


class Indexable:
    def __init__(self, value):
        self.value = value

    def __index__(self):
        return self.value


class Floaty:
    def __float__(self):
        return 2.5


class Raising:
    def __init__(self, error):
        self.error = error

    def __index__(self):
        raise self.error

    def __repr__(self):
        return "Raising()"


NumpyBool = type("bool_", (), {"__module__": "numpy", "__bool__": lambda self: True})


@pytest.mark.parametrize(
    "value, json_text, yaml_text",
    [
        (None, "null", "null"),
        (True, "true", "true"),
        (False, "false", "false"),
        (NumpyBool(), "true", "true"),
        (3, "3", "3"),
        (-3, "-3", "-3"),
        (2**63 - 1, "9223372036854775807", "9223372036854775807"),
        (-(2**63), "-9223372036854775808", "-9223372036854775808"),
        (2**63, "9223372036854775808", "9223372036854775808"),
        (2**64 - 1, "18446744073709551615", "18446744073709551615"),
        (2**64, "1.8446744073709552e+19", "1.8446744073709552e19"),
        (-(2**63) - 1, "-9.223372036854776e+18", "-9.223372036854776e18"),
        (Indexable(7), "7", "7"),
        (Indexable(2**64 - 1), "18446744073709551615", "18446744073709551615"),
        (1.5, "1.5", "1.5"),
        (Floaty(), "2.5", "2.5"),
        (nan, "null", "null"),
        (float("inf"), "null", "null"),
        ("text", '"text"', "text"),
        (type("S", (str,), {})("sub"), '"sub"', "sub"),
        ((1, 2), '"(1, 2)"', "(1, 2)"),
        ({5}, '"{5}"', "'{5}'"),
        ("\ud800", r'''"'\\ud800'"''', r"""'''\ud800'''"""),
        (type("Odd", (), {"__repr__": lambda self: "<\ud800>"})(), '"<\ufffd\ufffd\ufffd>"', "<\ufffd\ufffd\ufffd>"),
        (Raising(ValueError()), '"Raising()"', "Raising()"),
        ([1, [None]], "[\n    1,\n    [\n      null\n    ]\n  ]", "\n- 1\n- - null"),
    ],
)
def test_json_and_yaml_forms_of_values(value, json_text, yaml_text):
    obj = Object("X", {"v": value})
    assert obj.to_json() == "{\n  \"v\": " + json_text + "\n}"
    assert obj.to_yaml() == "v:" + ("" if yaml_text.startswith("\n") else " ") + yaml_text + "\n"


def test_huge_int_is_written_as_its_digits():
    assert json.loads(Object("X", {"v": 10**400}).to_json()) == {"v": str(10**400)}


@pytest.mark.parametrize("value", [2**63, 2**64 - 1, -(2**63), 0])
def test_64_bit_integers_round_trip(value):
    obj = Object("X", {"v": value})
    assert json.loads(obj.to_json()) == {"v": value}
    assert yaml.safe_load(obj.to_yaml()) == {"v": value}


def test_keys_are_sorted_at_every_level():
    obj = Object("X", {"b": 1, "a": Object("Y", {"d": 1, "c": {"f": 1, "e": 2}})})
    assert obj.keys() == ["b", "a"]
    assert obj.to_json() == (
        '{\n  "a": {\n    "c": {\n      "e": 2,\n      "f": 1\n    },\n    "d": 1\n  },\n  "b": 1\n}'
    )
    assert obj.to_yaml() == "a:\n  c:\n    e: 2\n    f: 1\n  d: 1\nb: 1\n"
    assert hash_object().to_json() == '{\n  "algorithm": "SHA1",\n  "value": "abc"\n}'
    assert hash_object().to_yaml() == "algorithm: SHA1\nvalue: abc\n"


@pytest.mark.parametrize("method", ["to_json", "to_yaml"])
def test_non_text_dict_key_is_refused(method):
    obj = Object("X", {"m": {1: 2}})
    with pytest.raises(TypeError) as info:
        getattr(obj, method)()
    assert str(info.value) == "'int' object is not an instance of 'str'"
    assert obj.to_dict() == {"m": {1: 2}}


@pytest.mark.parametrize("method", ["to_json", "to_yaml"])
@pytest.mark.parametrize(
    "value, error",
    [
        # a failed conversion attempt moves on to the next kind of value,
        # except when the interpreter runs out of memory or is interrupted
        (Raising(MemoryError()), MemoryError),
        (Raising(KeyboardInterrupt()), KeyboardInterrupt),
        (type("R", (), {"__repr__": lambda self: 1 / 0})(), ZeroDivisionError),
    ],
)
def test_errors_that_end_the_conversion(method, value, error):
    with pytest.raises(error):
        getattr(Object("X", {"v": [value]}), method)()


def cyclic_list():
    items = []
    items.append(items)
    return Object("X", {"v": items})


def cyclic_dict():
    d = {}
    d["self"] = d
    return Object("X", {"v": d})


def cyclic_object():
    items = []
    obj = Object("X", {"v": items})
    items.append(obj)
    return obj


def deep_list():
    v = []
    for _ in range(100_000):
        v = [v]
    return Object("X", {"v": v})


@pytest.mark.parametrize("method", ["to_json", "to_yaml", "to_dict"])
@pytest.mark.parametrize("make", [cyclic_list, cyclic_dict, cyclic_object, deep_list])
def test_unbounded_nesting_raises_recursion_error(method, make):
    with pytest.raises(RecursionError):
        getattr(make(), method)()


def test_deep_chain_of_objects():
    obj = Object("X")
    for _ in range(100_000):
        obj = Object("X", {"c": obj})
    other = Object("X", {"c": obj})
    with pytest.raises(RecursionError):
        repr(obj)
    with pytest.raises(RecursionError):
        obj == other
    with pytest.raises(RecursionError):
        obj.to_json()
    del obj, other  # releasing the chain must not exhaust the stack either


def test_nesting_within_the_limit_works():
    v = None
    for _ in range(200):
        v = [v]
    obj = Object("X", {"v": v})
    assert json.loads(obj.to_json()) == {"v": v}
    assert obj.to_dict() == {"v": v}


# ---- the class ---------------------------------------------------------------


def test_class_properties():
    assert Object.__module__ == "brindle.ort"
    assert Object.__qualname__ == "Object"
    assert Object.__text_signature__ == "(type_name, fields=None)"
    assert "ordered set of named fields" in Object.__doc__
    assert Object.__hash__ is None


@pytest.mark.parametrize(
    "method, doc",
    [
        ("__dir__", None),
        ("keys", "The field names, in the order they are declared on the model."),
        ("values", None),
        ("items", None),
        ("to_dict", "A plain, recursively converted `dict` \u2014 handy for `json.dumps` or `pprint`."),
        ("to_json", "The subtree rooted at this object, serialized as pretty-printed JSON."),
        ("to_yaml", "The subtree rooted at this object, serialized as YAML."),
    ],
)
def test_method_docs(method, doc):
    assert getattr(Object, method).__doc__ == doc
    assert getattr(Object, method).__text_signature__ == "($self)"


def test_type_getter_doc():
    assert Object.__type__.__doc__ == "The name of the model this object was deserialized from."


def test_subclasses():
    class Sub(Object):
        pass

    sub = Sub("S", {"a": 1})
    assert type(sub) is Sub and sub.a == 1 and sub == Object("S", {"a": 1})
    sub.extra = 2  # a Python subclass has an instance dict, which lookups see first
    assert sub.extra == 2
    with pytest.raises(AttributeError):
        Object("X").extra = 2
    with pytest.raises(TypeError):
        weakref.ref(Object("X"))
    assert weakref.ref(sub)() is sub


def test_cycles_through_an_object_are_collected():
    class Sentinel:
        pass

    sentinel = Sentinel()
    items = [sentinel]
    obj = Object("X", {"v": items})
    items.append(obj)
    assert gc.is_tracked(obj)
    alive = weakref.ref(sentinel)
    del sentinel, items, obj
    gc.collect()
    assert alive() is None


def test_cycles_through_a_typed_object_are_collected():
    items = []
    obj = ort.Hash("Hash", {"v": items})
    items.append(obj)
    alive = weakref.ref(obj)
    del items, obj
    gc.collect()
    assert alive() is None


def test_cycles_through_an_object_with_many_fields_are_collected():
    class Sentinel:
        pass

    sentinel = Sentinel()
    items = [sentinel]
    obj = Object("X", {**{f"f{i}": i for i in range(8)}, "v": items})
    items.append(obj)
    alive = weakref.ref(sentinel)
    del sentinel, items, obj
    gc.collect()
    assert alive() is None


def test_no_reference_leaks_with_many_fields(leak_check):
    def work():
        for i in range(2000):
            obj = Object("W", {f"f{k}": [i, k] for k in range(7)})
            obj.to_dict(), obj.items(), obj.keys(), repr(obj), obj.__type__
            assert obj == obj and obj.f6 == [i, 6]
            items = []
            Object("C", {**{f"f{k}": k for k in range(6)}, "v": items})
            items.append(Object("C", {**{f"f{k}": k for k in range(6)}, "v": items}))

    leak_check(work)


def test_no_reference_leaks(leak_check):
    class Key(str):
        pass

    def work():
        for i in range(2000):
            obj = ort.Hash("Hash", {"a": [1, {"b": Object("Y", {"c": i, "d": (i,)})}], Key("s"): "t"})
            obj.to_dict()
            obj.to_json()
            obj.to_yaml()
            repr(obj)
            obj.items()
            obj.values()
            dir(obj)
            list(obj)
            assert obj == obj and "a" in obj and len(obj) == 2
            for bad in (lambda: obj.missing, lambda: obj["missing"], lambda: obj[1], lambda: Object(1),
                        lambda: Object("X", {1: 2}), lambda: Object("X", {}, 3),
                        lambda: Object("X", {"m": {1: 2}}).to_json(), lambda: cyclic_object().to_dict()):
                try:
                    bad()
                except (AttributeError, KeyError, TypeError, RecursionError):
                    pass

    leak_check(work)
