#include "python/typed_classes.hpp"

#include "python/errors.hpp"
#include "python/object.hpp"
#include "python/once_cell.hpp"

namespace brindle::python {

const std::array<std::string_view, 91> typed_class_names = {
    "AdvisorConfiguration",
    "AdvisorDetails",
    "AdvisorResult",
    "AdvisorRun",
    "AdvisorSummary",
    "AnalyzerConfiguration",
    "AnalyzerResult",
    "AnalyzerRun",
    "ArtifactProvenance",
    "BaseRun",
    "ClearlyDefinedStorageConfiguration",
    "CopyrightFinding",
    "Curations",
    "Defect",
    "DependencyGraph",
    "DependencyGraphEdge",
    "DependencyGraphNode",
    "DependencyReference",
    "Environment",
    "EvaluatorRun",
    "Excludes",
    "FileArchiverConfiguration",
    "FileBasedStorageConfiguration",
    "FileList",
    "FileListEntry",
    "FileListStorageConfiguration",
    "FileStorageConfiguration",
    "Hash",
    "HttpFileStorageConfiguration",
    "Identifier",
    "Includes",
    "Issue",
    "IssueResolution",
    "LicenseCategorization",
    "LicenseCategory",
    "LicenseChoices",
    "LicenseFinding",
    "LicenseFindingCuration",
    "LocalFileStorageConfiguration",
    "OrtResolutionIssue",
    "OrtResolutionRuleViolation",
    "OrtResolutions",
    "OrtResolutionVulnerability",
    "Package",
    "PackageConfiguration",
    "PackageCuration",
    "PackageCurationData",
    "PackageLicenseChoice",
    "PackageManagerConfiguration",
    "PackageReference",
    "PathExclude",
    "PathInclude",
    "PostgresConnection",
    "PostgresStorageConfiguration",
    "ProcessedDeclaredLicense",
    "Project",
    "ProvenanceResolutionResult",
    "ProvenanceStorageConfiguration",
    "RemoteArtifact",
    "Repository",
    "RepositoryAnalyzerConfiguration",
    "RepositoryProvenance",
    "Resolutions",
    "RootDependencyIndex",
    "RuleViolation",
    "RuleViolationResolution",
    "S3FileStorageConfiguration",
    "ScanResult",
    "ScanStorageConfiguration",
    "ScanSummary",
    "ScannerConfiguration",
    "ScannerDetails",
    "ScannerRun",
    "Scope",
    "ScopeExclude",
    "Snippet",
    "SnippetChoice",
    "SnippetChoiceCriteria",
    "SnippetChoiceGiven",
    "SnippetChoices",
    "SnippetFinding",
    "SnippetProvenance",
    "SpdxLicenseChoice",
    "TextLocation",
    "VcsInfo",
    "VcsInfoCurationData",
    "VcsMatcher",
    "VcsType",
    "Vulnerability",
    "VulnerabilityReference",
    "VulnerabilityResolution",
};

namespace {

OnceCell class_cache_cell;

PyObject* class_cache() {
    return class_cache_cell.get_or_make([] { return checked(PyDict_New()); });
}

bool is_root_name(std::string_view name) {
    return name == "OrtResult" || name == "RepositoryConfiguration" || name == "LicenseClassifications";
}

void check_class(PyObject* obj) {
    if (!PyType_Check(obj)) throw_not_an_instance(obj, "type");
}

}  // namespace

PyRef class_for_type(std::string_view name) {
    PyObject* cache = class_cache();
    PyRef key = new_str(name);
    PyObject* found = nullptr;
    checked_status(PyDict_GetItemRef(cache, key.get(), &found));
    if (found != nullptr) {
        PyRef cls = PyRef::steal(found);
        check_class(cls.get());
        return cls;
    }

    PyRef ns = checked(Py_BuildValue("{s:s}", "__module__", "brindle.ort"));
    PyRef bases = checked(PyTuple_Pack(1, reinterpret_cast<PyObject*>(object_type_or_fault())));
    PyRef cls = checked(PyObject_CallFunctionObjArgs(reinterpret_cast<PyObject*>(&PyType_Type), key.get(), bases.get(),
                                                     ns.get(), nullptr));
    check_class(cls.get());
    checked_status(PyDict_SetItem(cache, key.get(), cls.get()));
    if (is_root_name(name)) return cls;

    PyRef module = PyRef::steal(PyImport_ImportModule("brindle.ort"));
    if (!module) {
        // The package may not be importable yet (at start-up it is still
        // being imported); then the class is only cached.  Any other failure
        // of the import is an error.
        if (!PyErr_ExceptionMatches(PyExc_ImportError)) throw PythonError{};
        PyErr_Clear();
        return cls;
    }
    checked_status(PyObject_SetAttr(module.get(), key.get(), cls.get()));
    return cls;
}

PyRef make_typed_object(std::string_view name, PyObject* fields) {
    PyRef cls = class_for_type(name);
    PyRef type_name = new_str(name);
    PyObject* args[] = {type_name.get(), fields};
    return checked(PyObject_Vectorcall(cls.get(), args, 2, nullptr));
}

void register_typed_classes(PyObject* ort) {
    for (std::string_view name : typed_class_names) {
        PyRef cls = class_for_type(name);
        PyRef key = new_str(name);
        checked_status(PyObject_SetAttr(ort, key.get(), cls.get()));
    }
}

}  // namespace brindle::python
