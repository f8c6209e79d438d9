import json

import pytest

import corpus
from brindle.ort import Object, RepositoryConfiguration as RC

# Documentation snippets with placeholders or mistakes.
FAILING = {"22.yml", "24.yml", "25.yml", "26.yml", "29.yml", "31.yml", "33.yml", "45.yml", "53.yml"}
FIELDS = ["analyzer", "includes", "excludes", "resolutions", "curations", "package_configurations",
          "license_choices", "snippet_choices"]


@pytest.mark.parametrize("path", corpus.files("repo-config"))
def test_real_files(path):
    if path.name in FAILING:
        with pytest.raises(ValueError):
            RC.from_yaml_file(str(path))
        return
    root = RC.from_yaml_file(str(path))
    assert len(root) == 8 and root.keys() == FIELDS
    assert root.to_dict() == json.loads(root.to_json())
    assert RC.from_yaml_str(root.to_yaml()).to_json() == root.to_json()
    for name in FIELDS:
        value = root[name]
        assert value is None or isinstance(value, (Object, list))


def test_tree_of_a_configuration():
    root = RC.from_yaml_str(
        "excludes:\n  paths:\n  - pattern: docs/**\n    reason: DOCUMENTATION_OF\n    comment: c\n"
        "curations:\n  packages:\n  - id: 'Maven:g:a:1'\n    curations: {comment: x, declared_license_mapping: {a: b}}\n"
        "package_configurations:\n- id: 'NPM::p:1'\n  source_artifact_url: u\n"
    )
    assert root.analyzer is None
    assert type(root.excludes).__name__ == "Excludes"
    assert root.excludes.paths[0].reason == "DOCUMENTATION_OF"
    assert root.curations.packages[0].curations.declared_license_mapping == {"a": "b"}
    assert root.package_configurations[0].id == "NPM::p:1"
    assert root.snippet_choices == []
    assert RC.from_yaml_str("").to_dict() == dict.fromkeys(FIELDS[:5] + ["license_choices"]) | {
        "package_configurations": [], "snippet_choices": []}


@pytest.mark.parametrize(
    "text, message",
    [
        ("exclude: {}", "unknown field `exclude`, expected one of `analyzer`, `includes`, `excludes`, "
                        "`resolutions`, `curations`, `package_configurations`, `license_choices`, `snippet_choices`"),
        ("analyzer:\n  allow_dynamic_versions: yes\n",
         'analyzer.allow_dynamic_versions: invalid type: string "yes", expected a boolean at line 2 column 27'),
        ("~", "invalid type: unit value, expected struct RepositoryConfiguration"),
        # An integer beyond 64 bits, however long, is no float in a JSON value.
        ("curations:\n  packages:\n  - id: x\n    curations:\n"
         "      declared_license_mapping: {k: 1234567890123456789012345678901234567890}\n",
         "curations.packages[0].curations.declared_license_mapping.k: JSON number out of range at line 5 column 37"),
    ],
)
def test_errors(text, message):
    with pytest.raises(ValueError) as info:
        RC.from_yaml_str(text)
    assert str(info.value) == message


def test_byte_order_mark():
    # As some editors save a configuration: U+FEFF first, then two keys.
    text = "excludes:\n  paths:\n  - {pattern: docs/**, reason: DOCUMENTATION_OF}\ncurations: {}\n"
    assert RC.from_yaml_str("\ufeff" + text).to_json() == RC.from_yaml_str(text).to_json()
    with pytest.raises(ValueError) as info:
        RC.from_yaml_str("\ufeffexcludes: {}\ncuration: {}\n")
    assert str(info.value).startswith("unknown field `curation`") and str(info.value).endswith("at line 2 column 1")
