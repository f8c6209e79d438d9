import pytest

from brindle import ort
from brindle.ort import LicenseClassifications, Object

CLASSIFICATIONS = """
categories:
- name: permissive
  description: Free to use
- name: copyleft
categorizations:
- id: MIT
  categories: [permissive]
- id: GPL-2.0-only
  categories: [copyleft, permissive]
"""


def read():
    return LicenseClassifications.from_yaml_str(CLASSIFICATIONS)


def test_tree_objects_behave_like_constructed_ones():
    root = read()
    category = root.categories[0]
    assert type(category) is ort.LicenseCategory and category.__type__ == "LicenseCategory"
    assert category == Object("LicenseCategory", {"name": "permissive", "description": "Free to use"})
    assert category.keys() == list(category) == ["name", "description"]
    assert category.values() == ["permissive", "Free to use"]
    assert category.items() == [("name", "permissive"), ("description", "Free to use")]
    assert category.name == category["name"] == "permissive"
    assert "description" in category and "id" not in category and len(category) == 2
    assert repr(root.categories[1]) == "LicenseCategory(name='copyleft', description='')"
    assert category.__dir__()[-2:] == ["name", "description"]
    with pytest.raises(AttributeError, match="^'LicenseCategory' object has no attribute 'id'$"):
        category.id
    with pytest.raises(KeyError):
        category["id"]
    assert category != root.categories[1]
    assert root.categorizations[1] == Object(
        "LicenseCategorization", {"id": "GPL-2.0-only", "categories": ["copyleft", "permissive"]}
    )


def test_tree_to_dict_json_and_yaml():
    root = read()
    plain = {
        "categories": [
            {"name": "permissive", "description": "Free to use"},
            {"name": "copyleft", "description": ""},
        ],
        "categorizations": [
            {"id": "MIT", "categories": ["permissive"]},
            {"id": "GPL-2.0-only", "categories": ["copyleft", "permissive"]},
        ],
    }
    assert root.to_dict() == plain
    assert root.categorizations[1].to_dict() == plain["categorizations"][1]
    assert root.categorizations[1].to_json() == (
        '{\n  "categories": [\n    "copyleft",\n    "permissive"\n  ],\n  "id": "GPL-2.0-only"\n}'
    )
    assert root.categories[0].to_yaml() == "description: Free to use\nname: permissive\n"


def test_trees_of_two_roots_share_the_classes_not_the_objects():
    first, second = read(), read()
    assert first.categories is first.categories
    assert first.categories is not second.categories
    assert type(first.categories[0]) is type(second.categories[0]) is ort.LicenseCategory
    assert type(first.categorizations[0]) is ort.LicenseCategorization


def test_no_reference_leaks_in_trees(leak_check):
    def work():
        for _ in range(300):
            root = read()
            root.to_dict()
            for obj in root.categories + root.categorizations:
                obj.keys(), obj.items(), obj.values(), obj.__type__, repr(obj), obj.to_dict()
                assert obj == obj

    leak_check(work)


def test_a_typed_class_whose_construction_was_changed_is_called():
    calls = []

    def init(self, type_name, fields):
        calls.append((type_name, list(fields)))

    def refuse(cls, *args):
        raise LookupError("refused")

    cls = ort.LicenseCategory
    try:
        cls.__init__ = init
        root = LicenseClassifications.from_yaml_str("categories: [{name: a}]")
        assert root.categories[0].name == "a"
        assert calls == [("LicenseCategory", ["name", "description"])]
        cls.__new__ = refuse
        root = LicenseClassifications.from_yaml_str("categories: [{name: a}]")
        with pytest.raises(LookupError, match="refused"):
            root.keys()
    finally:
        del cls.__init__
        del cls.__new__
    # The failed build cached nothing: the next tree method builds again.
    assert root.categories[0].name == "a"
