import subprocess
import sys
import sysconfig
import textwrap

import pytest

import brindle
import brindle._brindle
from brindle import ort

TYPED_CLASS_NAMES = """
AdvisorConfiguration AdvisorDetails AdvisorResult AdvisorRun AdvisorSummary AnalyzerConfiguration AnalyzerResult
AnalyzerRun ArtifactProvenance BaseRun ClearlyDefinedStorageConfiguration CopyrightFinding Curations Defect
DependencyGraph DependencyGraphEdge DependencyGraphNode DependencyReference Environment EvaluatorRun Excludes
FileArchiverConfiguration FileBasedStorageConfiguration FileList FileListEntry FileListStorageConfiguration
FileStorageConfiguration Hash HttpFileStorageConfiguration Identifier Includes Issue IssueResolution
LicenseCategorization LicenseCategory LicenseChoices LicenseFinding LicenseFindingCuration
LocalFileStorageConfiguration OrtResolutionIssue OrtResolutionRuleViolation OrtResolutions
OrtResolutionVulnerability Package PackageConfiguration PackageCuration PackageCurationData PackageLicenseChoice
PackageManagerConfiguration PackageReference PathExclude PathInclude PostgresConnection
PostgresStorageConfiguration ProcessedDeclaredLicense Project ProvenanceResolutionResult
ProvenanceStorageConfiguration RemoteArtifact Repository RepositoryAnalyzerConfiguration RepositoryProvenance
Resolutions RootDependencyIndex RuleViolation RuleViolationResolution S3FileStorageConfiguration ScanResult
ScanStorageConfiguration ScanSummary ScannerConfiguration ScannerDetails ScannerRun Scope ScopeExclude Snippet
SnippetChoice SnippetChoiceCriteria SnippetChoiceGiven SnippetChoices SnippetFinding SnippetProvenance
SpdxLicenseChoice TextLocation VcsInfo VcsInfoCurationData VcsMatcher VcsType Vulnerability
VulnerabilityReference VulnerabilityResolution
""".split()

ROOT_NAMES = ["LicenseClassifications", "RepositoryConfiguration", "OrtResult"]


def run_python(code):
    return subprocess.run(
        [sys.executable, "-c", textwrap.dedent(code)], capture_output=True, text=True, timeout=120
    )


def test_submodule():
    assert ort.__name__ == "brindle.ort"
    assert ort.__all__ == ["Object", *ROOT_NAMES]
    assert brindle._brindle.__all__ == ["ort"]
    assert brindle._brindle.ort is ort
    assert sys.modules["brindle._brindle.ort"] is ort
    assert sys.modules["brindle.ort"] is ort
    assert "from brindle.ort import OrtResult" in brindle._brindle.__doc__
    assert not hasattr(ort, "PanicException")


def test_typed_classes_in_table_order():
    typed = [
        name
        for name, value in vars(ort).items()
        if isinstance(value, type) and issubclass(value, ort.Object) and value is not ort.Object
    ]
    assert typed == TYPED_CLASS_NAMES
    assert len(typed) == 91


@pytest.mark.parametrize("name", TYPED_CLASS_NAMES)
def test_typed_class(name):
    cls = getattr(ort, name)
    assert cls.__name__ == cls.__qualname__ == name
    assert cls.__module__ == "brindle.ort"
    assert cls.__bases__ == (ort.Object,)
    assert type(cls) is type
    assert name not in ort.__all__
    obj = cls(name, {"a": 1})
    assert obj.__type__ == name and obj.a == 1


@pytest.mark.parametrize("name", ROOT_NAMES)
def test_root_classes(name):
    cls = getattr(ort, name)
    assert cls.__module__ == "brindle.ort" and cls.__name__ == name
    assert not issubclass(cls, ort.Object)
    with pytest.raises(TypeError):
        cls()
    with pytest.raises(TypeError):
        type("Sub", (cls,), {})


@pytest.mark.skipif(
    not hasattr(ort.LicenseClassifications, "from_yaml_str"), reason="the root classes cannot read yet"
)
def test_typed_class_of_a_root_name_leaves_the_root_class_in_place():
    root_class = ort.LicenseClassifications
    root = root_class.from_yaml_str("categories: []\ncategorizations: []\n")
    assert root.keys() == ["categories", "categorizations"]  # builds the tree
    assert ort.LicenseClassifications is root_class
    assert root_class.from_yaml_str


def test_import_of_the_package_from_scratch():
    result = run_python(
        """
        from brindle.ort import OrtResult, Object
        import brindle.ort
        print(OrtResult.__module__, brindle.ort.Object is Object)
        """
    )
    assert result.returncode == 0, result.stderr
    assert result.stdout == "brindle.ort True\n"


def test_failed_start_up_leaves_no_submodule_behind():
    # Only an ImportError of "brindle.ort" is expected while the extension
    # starts; any other failure of that import ends the start-up.
    result = run_python(
        """
        import sys

        class Refuse:
            def find_spec(self, name, path=None, target=None):
                if name == "brindle.ort":
                    raise RuntimeError("refused")
                return None

        sys.meta_path.insert(0, Refuse())
        try:
            import brindle
        except RuntimeError as e:
            print("raised", e)
        print(sorted(name for name in sys.modules if name.startswith("brindle")))
        """
    )
    assert result.returncode == 0, result.stderr
    assert result.stdout == "raised refused\n[]\n"


def test_sub_interpreters_are_refused():
    interpreters = pytest.importorskip("concurrent.interpreters")
    interpreter = interpreters.create()
    try:
        with pytest.raises(interpreters.ExecutionFailed, match="does not support loading in subinterpreters"):
            interpreter.exec("import brindle")
    finally:
        interpreter.close()


@pytest.mark.skipif(not sysconfig.get_config_var("Py_GIL_DISABLED"), reason="needs a free-threaded interpreter")
def test_module_does_not_enable_the_gil():
    result = run_python("import sys, brindle; print(sys._is_gil_enabled())")
    assert result.stdout == "False\n"
