import json
import os
import pathlib

import pytest

import corpus
from brindle.ort import LicenseClassifications as LC
from brindle.ort import Object

HERE = pathlib.Path(__file__).resolve().parent
DATA = HERE.parent / "data"


def shape(value):
    """Plain values with every dict's keys sorted, for comparing with JSON."""
    if isinstance(value, dict):
        return {k: shape(v) for k, v in sorted(value.items())}
    if isinstance(value, list):
        return [shape(v) for v in value]
    return value


@pytest.mark.parametrize("path", corpus.files("license-classifications"))
def test_real_files(path):
    root = LC.from_yaml_file(str(path))
    assert len(root) == 2
    assert root.keys() == ["categories", "categorizations"]
    assert root.to_dict() == json.loads(root.to_json())
    assert root.to_dict() == shape(root.to_dict())  # plain dicts all the way down
    first = root.categorizations[0]
    assert isinstance(first, Object) and type(first).__name__ == "LicenseCategorization"
    assert all(isinstance(name, str) for name in first.categories)
    assert root.categories is root.categories
    assert root["categorizations"] is root.categorizations
    assert LC.from_yaml_str(path.read_text(encoding="utf-8")).to_json() == root.to_json()


def test_written_texts_and_tree():
    root = LC.from_yaml_file(str(DATA / "classifications.yml"))
    assert root.to_json() == (DATA / "classifications.json").read_text(encoding="utf-8")
    assert root.to_yaml() == (DATA / "classifications.out.yml").read_text(encoding="utf-8")
    assert root.categorizations[0].categories == ["permissive", "include-in-notice-file"]
    assert root.categories[1].description == ""
    assert root.categories[0].__type__ == "LicenseCategory"
    assert repr(root).startswith("LicenseClassifications(categories=[LicenseCategory(name='permissive', ")
    assert list(root) == ["categories", "categorizations"]
    assert "categories" in root and "nothing" not in root
    assert [k for k, _ in root.items()] == ["categories", "categorizations"]
    assert root.items()[0][1] is root.categories
    # The tree is built once; to_dict copies it every time.
    assert root.to_dict() is not root.to_dict()
    root.categories.append("changed")
    assert root.to_dict()["categories"][-1] == "changed"
    assert "changed" not in root.to_json()
    # An Object below a root writes its own keys sorted.
    assert root.categorizations[0].to_json() == (
        '{\n  "categories": [\n    "permissive",\n    "include-in-notice-file"\n  ],\n  "id": "MIT"\n}'
    )
    assert LC.from_yaml_str("{}").to_json() == '{\n  "categories": [],\n  "categorizations": []\n}'


def test_dir():
    root = LC.from_yaml_str("{}")
    methods = ["from_yaml_str", "from_yaml_file", "to_json", "to_yaml", "to_dict", "keys", "items"]
    assert root.__dir__() == methods + ["categories", "categorizations"]
    assert dir(root) == sorted(methods + ["categories", "categorizations"])


@pytest.mark.parametrize(
    "call, error, text",
    [
        (lambda r: r.nothing, AttributeError, "'LicenseClassifications' object has no attribute 'nothing'"),
        (lambda r: r.values, AttributeError, "'LicenseClassifications' object has no attribute 'values'"),
        (lambda r: r.__type__, AttributeError, "'LicenseClassifications' object has no attribute '__type__'"),
        (lambda r: r["nothing"], KeyError, "'nothing'"),
        (lambda r: r[5], TypeError, "'int' object is not an instance of 'str'"),
        (lambda r: 5 in r, TypeError, "'int' object is not an instance of 'str'"),
        (lambda r: r[None], TypeError, "'None' is not an instance of 'str'"),
        (lambda r: LC(), TypeError, "cannot create 'brindle.ort.LicenseClassifications' instances"),
        (lambda r: LC.from_yaml_str(), TypeError,
         "LicenseClassifications.from_yaml_str() missing 1 required positional argument: 's'"),
        (lambda r: LC.from_yaml_str("a", "b"), TypeError,
         "LicenseClassifications.from_yaml_str() takes 1 positional arguments but 2 were given"),
        (lambda r: LC.from_yaml_str("a", s="b"), TypeError,
         "LicenseClassifications.from_yaml_str() got multiple values for argument 's'"),
        (lambda r: LC.from_yaml_str(text="b"), TypeError,
         "LicenseClassifications.from_yaml_str() got an unexpected keyword argument 'text'"),
        (lambda r: LC.from_yaml_str(b"{}"), TypeError, "'bytes' object is not an instance of 'str'"),
        (lambda r: LC.from_yaml_file(pathlib.Path("x")), TypeError,
         "'PosixPath' object is not an instance of 'str'"),
        (lambda r: LC.from_yaml_str("[]"), ValueError,
         "invalid type: sequence, expected struct LicenseClassifications"),
        (lambda r: LC.from_yaml_str("categories:\n- name: a\n  kind: x\n"), ValueError,
         "categories[0]: unknown field `kind`, expected `name` or `description` at line 3 column 3"),
        (lambda r: LC.from_yaml_str("categories: [{name: a}, {name: a}]"), ValueError,
         "Field 'categories' is invalid: duplicate license category name: a"),
    ],
)
def test_errors(call, error, text):
    root = LC.from_yaml_str("{}")
    with pytest.raises(error) as info:
        call(root)
    assert str(info.value) == text if error is not KeyError else info.value.args == (text.strip("'"),)


def test_argument_notes_and_keywords():
    with pytest.raises(TypeError) as info:
        LC.from_yaml_str(None)
    assert info.value.__notes__ == ["while processing 's'"]
    with pytest.raises(TypeError) as info:
        LC.from_yaml_file(pathlib.Path("x"))
    assert info.value.__notes__ == ["while processing 'path'"]
    assert LC.from_yaml_str(s="{}").keys() == ["categories", "categorizations"]
    root = LC.from_yaml_str("{}")
    assert root.from_yaml_str("{}").keys() == root.keys()  # static methods reach through instances too


def test_class_properties():
    assert LC.__module__ == "brindle.ort"
    assert LC.__doc__ is None
    assert LC.to_dict.__doc__ == "The model as nested plain `dict`s and lists."
    assert LC.from_yaml_str.__text_signature__ == "(s)"
    assert LC.to_json.__text_signature__ == "($self)"
    with pytest.raises(TypeError):
        type("Sub", (LC,), {})


def test_files(tmp_path):
    ok = tmp_path / "ok.yml"
    ok.write_text("categories: [{name: a}]\n", encoding="utf-8")
    assert LC.from_yaml_file(str(ok)).categories[0].name == "a"

    latin1 = tmp_path / "latin1.yml"
    latin1.write_bytes(b"categories: [{name: caf\xe9}]\n")
    missing = tmp_path / "missing.yml"
    # A system error raises the subclass of OSError that the interpreter
    # picks for its number, with the text as its one argument.
    cases = [
        (str(missing), FileNotFoundError, "No such file or directory (os error 2)"),
        (str(tmp_path / "missing" / "x.yml"), FileNotFoundError, "No such file or directory (os error 2)"),
        (str(tmp_path), IsADirectoryError, "Is a directory (os error 21)"),
        (str(ok) + "/x.yml", NotADirectoryError, "Not a directory (os error 20)"),
        (str(latin1), OSError, "stream did not contain valid UTF-8"),
        (str(ok) + "\0.txt", ValueError, "embedded null byte"),
    ]
    if os.geteuid() != 0:  # root reads any file
        locked = tmp_path / "locked.yml"
        locked.write_text("{}", encoding="utf-8")
        locked.chmod(0)
        cases.append((str(locked), PermissionError, "Permission denied (os error 13)"))
    for path, error, text in cases:
        with pytest.raises(error) as info:
            LC.from_yaml_file(path)
        assert type(info.value) is error and str(info.value) == text, path
        assert info.value.args == (text,), path
    try:
        LC.from_yaml_file(str(missing))
    except FileNotFoundError as error:
        assert isinstance(error, OSError) and error.errno is None

    bad = tmp_path / "bad.yml"
    bad.write_text("categories: [{name: a}\n", encoding="utf-8")
    with pytest.raises(ValueError) as from_file:
        LC.from_yaml_file(str(bad))
    with pytest.raises(ValueError) as from_text:
        LC.from_yaml_str(bad.read_text(encoding="utf-8"))
    assert str(from_file.value) == str(from_text.value)


def test_large_files(tmp_path):
    # The reader gives back the pages of a file it has taken in while it
    # reads on: a file of some megabytes, with a byte order mark, reads as
    # its text does, and an error at its end has the same text and place.
    names = [f"category-{i:06d}-" + "x" * (i % 50) for i in range(40000)]
    body = "categories:\n" + "".join(f"- name: {n}\n  description: '{n} {i}'\n" for i, n in enumerate(names))
    body += "categorizations:\n" + "".join(f"- {{id: L{i}, categories: [{n}]}}\n" for i, n in enumerate(names[:5000]))
    assert len(body) > 4_000_000
    big = tmp_path / "big.yml"
    big.write_text(body, encoding="utf-8-sig")
    assert LC.from_yaml_file(str(big)).to_json() == LC.from_yaml_str(body).to_json()
    broken = body + "- {id: last, categories: [nowhere], kind: x}\n"
    big.write_text(broken, encoding="utf-8")
    with pytest.raises(ValueError) as from_file:
        LC.from_yaml_file(str(big))
    with pytest.raises(ValueError) as from_text:
        LC.from_yaml_str(broken)
    assert str(from_file.value) == str(from_text.value)
    assert str(from_file.value) == (
        "categorizations[5000]: unknown field `kind`, expected `id` or `categories` at line 85003 column 37")


@pytest.mark.parametrize(
    "text",
    [
        "categories: [{name: a}]\ncategorizations: [{id: MIT, categories: [a]}]\n",
        "categories: [{name: a}]\ncategorizations: [{id: MIT, categories: [b]}]\n",
        "categories: [{name: a}]\ncategorizations: [{id: MIT, kind: x}]\n",
        "categories: [{name: a}\n",
    ],
)
def test_byte_order_mark(tmp_path, text):
    # Editors may start a UTF-8 file with U+FEFF: it is skipped, so the text
    # reads, or fails with the same text and place, as it does without it.
    def outcome(call, arg):
        try:
            return call(arg).to_json()
        except ValueError as error:
            return "ValueError: " + str(error)

    expected = outcome(LC.from_yaml_str, text)
    assert outcome(LC.from_yaml_str, "\ufeff" + text) == expected
    marked = tmp_path / "marked.yml"
    marked.write_text(text, encoding="utf-8-sig")
    assert marked.read_bytes().startswith(b"\xef\xbb\xbf")
    assert outcome(LC.from_yaml_file, str(marked)) == expected


def test_surrogate_pairs_read_as_their_character(tmp_path):
    # JSON writers (json.dumps among them) escape a character above U+FFFF as
    # a UTF-16 surrogate pair; every root reads it as that character.
    from brindle.ort import OrtResult, RepositoryConfiguration

    cases = [
        (LC, {"categories": [{"name": "\U0001F496", "description": "emoji \U0001F496 and \U0001D11E"}],
              "categorizations": [{"id": "\U0001D11E", "categories": ["\U0001F496"]}]}),
        (RepositoryConfiguration, {"excludes": {"paths": [{"pattern": "\U0001F496/**", "reason": "OTHER",
                                                           "comment": "\U0010FFFF"}]}}),
        (OrtResult, {"repository": {"vcs": {"revision": "\U0001F496"}, "vcs_processed": {"revision": "r"},
                                    "config": {}}, "labels": {"\U0001F496": "\U0001D11E"}}),
    ]
    for cls, data in cases:
        escaped = json.dumps(data)
        assert "\\ud83d\\udc96" in escaped
        expected = cls.from_yaml_str(json.dumps(data, ensure_ascii=False)).to_json()
        assert "\U0001F496" in expected
        assert cls.from_yaml_str(escaped).to_json() == expected
        path = tmp_path / "escaped.json"
        path.write_text(escaped, encoding="ascii")
        assert cls.from_yaml_file(str(path)).to_json() == expected


def test_to_json_alone_builds_no_tree():
    # The typed class of the root name is made by the first tree build only.
    import subprocess
    import sys

    code = (
        "from brindle.ort import LicenseClassifications as LC\n"
        "from brindle._brindle import ort\n"
        "r = LC.from_yaml_str('{}'); r.to_json(); r.to_yaml()\n"
        "import gc\n"
        "print(any(getattr(c, '__name__', '') == 'LicenseClassifications' and c is not LC"
        " for c in gc.get_objects() if isinstance(c, type)))\n"
        "r.keys()\n"
        "print(any(getattr(c, '__name__', '') == 'LicenseClassifications' and c is not LC"
        " for c in gc.get_objects() if isinstance(c, type)))\n"
    )
    out = subprocess.run([sys.executable, "-c", code], capture_output=True, text=True, check=True).stdout
    assert out.split() == ["False", "True"]


def test_cycle_through_a_root_is_collected():
    import gc
    import weakref

    root = LC.from_yaml_str("categories: [{name: a}]")
    root.categories.append(root)  # the tree now refers to its root
    probe = weakref.ref(root.categories[0])
    del root
    gc.collect()
    assert probe() is None
