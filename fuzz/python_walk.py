"""What the Python road's fuzz targets (python_root_fuzz.cpp) do with each
input: read it with one root class and, if it reads, walk the whole tree
through every way in (attributes, items, iteration, len, repr, keys, items,
values, dir), convert the root and every tree object with to_dict, to_json
and to_yaml, check that the JSON and the plain dicts hold the same data, and
read the root's YAML and JSON back.

A ValueError from reading is the input's fault; any other exception, and any
difference, is the binding's, and the target stops on it."""
import json
import math

from brindle import ort

ROOT_LENGTHS = {"OrtResult": 6, "RepositoryConfiguration": 8, "LicenseClassifications": 2}
ROOT_METHODS = ["from_yaml_str", "from_yaml_file", "to_json", "to_yaml", "to_dict", "keys", "items"]
OBJECT_METHODS = ["__type__", "keys", "values", "items", "to_dict", "to_json", "to_yaml"]
MISSING = "no such field \N{SNOWMAN}"


def expect(condition, what, *context):
    if not condition:
        raise AssertionError(what + "".join("\n  " + repr(c)[:2000] for c in context))


def raises(kind, call):
    try:
        call()
    except kind:
        return True
    return False


def same_data(left, right):
    """Equal as JSON data: a float that is not finite is null on both sides."""
    if isinstance(left, float) and not math.isfinite(left):
        left = None
    if isinstance(right, float) and not math.isfinite(right):
        right = None
    if isinstance(left, dict) and isinstance(right, dict):
        return left.keys() == right.keys() and all(same_data(v, right[k]) for k, v in left.items())
    if isinstance(left, list) and isinstance(right, list):
        return len(left) == len(right) and all(same_data(a, b) for a, b in zip(left, right))
    if type(left) in (bool, type(None)) or type(right) in (bool, type(None)):
        return type(left) is type(right) and left == right
    return left == right


def json_reads_back(plain):
    """Whether the data's JSON reads back as the same: not when it holds a
    float that is not finite (JSON's null), or a key longer than libyaml
    reads in a flow mapping (1024 characters; with a margin)."""
    stack = [plain]
    while stack:
        value = stack.pop()
        if isinstance(value, float) and not math.isfinite(value):
            return False
        if isinstance(value, dict):
            if any(len(json.dumps(k, ensure_ascii=False)) > 1000 for k in value):
                return False
            stack.extend(value.values())
        elif isinstance(value, list):
            stack.extend(value)
    return True


def loaded(text):
    return json.loads(text, parse_constant=lambda _: None)


def check_conversions(node):
    plain = node.to_dict()
    expect(type(plain) is dict and plain == node.to_dict(), "to_dict differs between two calls", plain)
    expect(same_data(loaded(node.to_json()), plain), "to_json and to_dict differ", node.to_json(), plain)
    yaml = node.to_yaml()
    expect(type(yaml) is str and yaml.endswith("\n"), "to_yaml is not a text ending a line", yaml)
    return plain


def check_fields(node, names, values):
    expect(type(names) is list and all(type(n) is str for n in names), "keys() is not a list of str", names)
    expect(list(node) == names and [n for n in iter(node)] == names, "iteration differs from keys()", names)
    expect(len(node) == len(names) == len(values), "len differs from keys()", names)
    for name, value in zip(names, values):
        expect(name in node and node[name] is value, "item lookup differs", name)
        if not hasattr(type(node), name):
            expect(getattr(node, name) is value, "attribute lookup differs", name)
    expect(MISSING not in node, "a missing name is found")
    expect(raises(KeyError, lambda: node[MISSING]), "a missing item raises no KeyError")
    expect(raises(AttributeError, lambda: getattr(node, MISSING)), "a missing attribute raises no AttributeError")
    expect(raises(TypeError, lambda: node[0]) and raises(TypeError, lambda: 0 in node), "an int name is taken")


def check_object(node):
    names = node.keys()
    values = node.values()
    items = node.items()
    expect(type(items) is list and len(items) == len(names), "items() differs from keys()", items)
    expect(all(type(i) is tuple and i[0] == n and i[1] is v for i, n, v in zip(items, names, values)),
           "items() differs from keys() and values()", items)
    check_fields(node, names, values)
    expect(node.__type__ == type(node).__name__, "__type__ differs from the class name", node.__type__)
    expect(node.__dir__() == OBJECT_METHODS + names, "__dir__ differs", node.__dir__())
    text = repr(node)
    expect(type(text) is str and text.startswith(node.__type__ + "("), "repr has not the type's form", text)
    expect(node == node or any(v != v for v in values), "an object unequal to itself", node)
    check_conversions(node)
    return values


def walk(values):
    """Checks every Object below `values` (no recursion: the tree may be deep)."""
    stack = list(values)
    while stack:
        value = stack.pop()
        if isinstance(value, ort.Object):
            stack.extend(check_object(value))
        elif isinstance(value, list):
            stack.extend(value)
        elif isinstance(value, dict):
            expect(all(type(k) is str for k in value), "a dict key that is not str", value)
            stack.extend(value.values())
        else:
            expect(value is None or type(value) in (str, int, float, bool), "a value of an unexpected type", value)


def check(root_name, text):
    cls = getattr(ort, root_name)
    try:
        root = cls.from_yaml_str(text)
    except ValueError:
        return
    names = root.keys()
    items = root.items()
    values = [value for _, value in items]
    expect([name for name, _ in items] == names, "items() differs from keys()", items)
    expect(len(root) == ROOT_LENGTHS[root_name], "a root of another length", names)
    check_fields(root, names, values)
    expect(root.__dir__() == ROOT_METHODS + names, "__dir__ of the root differs", root.__dir__())
    expect(repr(root).startswith(root_name + "("), "repr of the root has not its form", repr(root))
    expect(raises(AttributeError, lambda: root.values) and raises(AttributeError, lambda: root.__type__),
           "a root has values or __type__")
    walk(values)
    expect(all(root[name] is value for name, value in zip(names, values)), "the tree changed")
    plain = check_conversions(root)
    expect(list(plain) == names, "to_dict of the root has other keys", plain)
    back = cls.from_yaml_str(root.to_yaml())
    expect(back.to_json() == root.to_json(), "the root's YAML reads back to other data", root.to_yaml())
    if json_reads_back(plain):
        back = cls.from_yaml_str(root.to_json())
        expect(back.to_json() == root.to_json(), "the root's JSON reads back to other data", root.to_json())
