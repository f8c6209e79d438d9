// The module in an interpreter that is finalized and started again in the
// same process: each import after a restart makes its classes and caches
// anew and works as the first one did.
#define PY_SSIZE_T_CLEAN
#include <Python.h>
#include <gtest/gtest.h>

#include <string>

#include "embedded_util.hpp"
#include "python/errors.hpp"

namespace {

// Every root class, read from the example files, and Object, walked whole;
// raises on any difference.
constexpr const char* use_the_module = R"py(
import json, sys
sys.path.insert(0, PACKAGE)
from brindle import ort

roots = [
    ort.OrtResult.from_yaml_file(EXAMPLES + "/result.yml"),
    ort.RepositoryConfiguration.from_yaml_file(EXAMPLES + "/repository-configuration.yml"),
    ort.LicenseClassifications.from_yaml_file(EXAMPLES + "/license-classifications.yml"),
]
for root in roots:
    assert getattr(ort, type(root).__name__) is type(root)
    assert root.to_dict() == json.loads(root.to_json())
    assert type(root).from_yaml_str(root.to_yaml()).to_json() == root.to_json()
    assert list(root) == root.keys() and len(root) == len(root.keys())
    assert repr(root).startswith(type(root).__name__ + "(")
    nodes = [value for _, value in root.items()]
    while nodes:
        node = nodes.pop()
        if isinstance(node, ort.Object):
            assert node.__type__ == type(node).__name__
            if node.__type__ not in ("OrtResult", "RepositoryConfiguration", "LicenseClassifications"):
                assert getattr(ort, node.__type__) is type(node)
            assert node.to_dict() == json.loads(node.to_json())
            node.to_yaml()
            assert repr(node).startswith(node.__type__ + "(")
            nodes.extend(node.values())
        elif isinstance(node, list):
            nodes.extend(node)
        elif isinstance(node, dict):
            nodes.extend(node.values())

assert isinstance(roots[0].repository, ort.Repository)
assert isinstance(roots[0].analyzer.result.projects[0], ort.Project)
made = ort.Object("T", {"a": [ort.Object("U", {"b": 1})]})
assert made.to_dict() == {"a": [{"b": 1}]} and repr(made) == "T(a=[U(b=1)])"
assert made.a[0].__type__ == "U" and made["a"][0].b == 1 and made == ort.Object("T", {"a": [ort.Object("U", {"b": 1})]})
try:
    ort.Object(5)
except TypeError:
    pass
else:
    raise AssertionError("Object(5) made an object")
)py";

void use_module() {
    std::string source = std::string("PACKAGE = '") + BRINDLE_PYTHON_PACKAGE + "'\nEXAMPLES = '" + BRINDLE_EXAMPLES +
                         "'\n" + use_the_module;
    ASSERT_EQ(PyRun_SimpleString(source.c_str()), 0);
    // The class of internal faults, which no Python code reaches unless a
    // fault happens, is this interpreter's too.
    PyObject* panic = brindle::python::panic_exception_type();
    ASSERT_NE(panic, nullptr);
    EXPECT_TRUE(PyType_IsSubtype(reinterpret_cast<PyTypeObject*>(panic),
                                 reinterpret_cast<PyTypeObject*>(PyExc_BaseException)));
    EXPECT_EQ(PyErr_GivenExceptionMatches(panic, PyExc_Exception), 0);
}

TEST(InterpreterRestart, TheModuleWorksInEveryInterpreterLife) {
    use_module();
    for (int life = 0; life < 2; ++life) {
        ASSERT_EQ(Py_FinalizeEx(), 0);
        brindle::test::start_interpreter();
        use_module();
    }
}

}  // namespace
