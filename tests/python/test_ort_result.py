import json

import pytest

import corpus
from brindle.ort import Object, OrtResult

FIELDS = ["repository", "analyzer", "scanner", "advisor", "evaluator", "labels"]
REPOSITORY = "repository:\n  vcs: {revision: r}\n  vcs_processed: {revision: r}\n  config: {}\n"


@pytest.mark.corpus("results")
def test_a_real_result():
    result = OrtResult.from_yaml_file(str(corpus.CORPUS / "results" / "12.yml"))
    assert len(result) == 6 and result.keys() == FIELDS
    assert result.to_dict() == json.loads(result.to_json())
    assert result.repository.vcs.url == "https://github.com/pbassiner/sbt-multi-project-example.git"
    run = result.analyzer
    assert type(run).__name__ == "AnalyzerRun" and run.__type__ == "AnalyzerRun"
    assert run.keys()[:3] == ["start_time", "end_time", "environment"]
    assert isinstance(run.environment, Object) and isinstance(run.environment.max_memory, int)
    assert all(isinstance(p.id, str) for p in run.result.projects)
    assert OrtResult.from_yaml_str(result.to_yaml()).to_json() == result.to_json()


def test_root_rules():
    result = OrtResult.from_yaml_str(REPOSITORY + "unknown: {deep: [[[1]]]}\n")
    assert result.keys() == FIELDS
    assert [result[name] for name in FIELDS[1:5]] == [None] * 4
    assert result.labels == {}
    assert result.repository.config.keys()[0] == "analyzer"
    assert "unknown" not in result.to_json()
    with pytest.raises(ValueError) as info:
        OrtResult.from_yaml_str("labels: {}\n")
    assert str(info.value) == "missing field `repository`"
    with pytest.raises(ValueError) as info:
        OrtResult.from_yaml_str(REPOSITORY.replace("config: {}", "config: ~"))
    assert str(info.value) == (
        "repository.config: invalid type: unit value, expected struct RepositoryConfiguration at line 4 column 11")


@pytest.mark.parametrize("path", corpus.files("results", "*"))
def test_real_files_read_or_fail_cleanly(path):
    try:
        result = OrtResult.from_yaml_file(str(path))
    except ValueError as error:
        assert "missing field" in str(error) or "unknown field" in str(error)
        return
    assert result.to_dict() == json.loads(result.to_json())
