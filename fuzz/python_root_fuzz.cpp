// Any input through the Python road of one root class: the interpreter is
// embedded in the target, with the extension module linked in (and so built
// with the sanitizers) and offered to it as brindle._brindle beside the
// package's Python files of the source tree.  Each input is read by the root
// class and walked by fuzz/python_walk.py; an exception that reading does not
// promise (anything but ValueError), a difference it finds, a crash or a
// sanitizer report is a fault.
//
// The root class is chosen at build time (fuzz/CMakeLists.txt):
// BRINDLE_ROOT_CLASS, its name in brindle.ort.
#define PY_SSIZE_T_CLEAN
#include <Python.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>

PyMODINIT_FUNC PyInit__brindle(void);

// No leak checking: the interpreter keeps memory (interned strings, caches,
// the module's classes) to the end of the process, which the leak checker
// cannot tell from a leak.  Python references are checked by the debug
// interpreter's totals in the Python tests instead.
extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }

namespace {

PyObject* check = nullptr;      // python_walk.check
PyObject* root_name = nullptr;  // BRINDLE_ROOT_CLASS as a str

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "python fuzz: %s\n", what);
    if (PyErr_Occurred()) PyErr_Print();
    std::fflush(stderr);
    std::abort();
}

void check_status(PyStatus status) {
    if (PyStatus_Exception(status)) Py_ExitStatusException(status);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Every Python object from malloc, whose bounds and lifetimes the
    // address sanitizer watches, rather than from the interpreter's pools.
    PyPreConfig preconfig;
    PyPreConfig_InitPythonConfig(&preconfig);
    preconfig.allocator = PYMEM_ALLOCATOR_MALLOC;
    check_status(Py_PreInitialize(&preconfig));
    if (PyImport_AppendInittab("brindle._brindle", PyInit__brindle) != 0) fail("cannot offer brindle._brindle");
    // No signal handlers of the interpreter's: the fuzzer has its own.
    Py_InitializeEx(0);
    PyObject* path = PySys_GetObject("path");
    if (path == nullptr) fail("no sys.path");
    for (const char* dir : {BRINDLE_FUZZ_DIR, BRINDLE_PYTHON_PACKAGE}) {
        PyObject* entry = PyUnicode_FromString(dir);
        if (entry == nullptr || PyList_Insert(path, 0, entry) != 0) fail("cannot extend sys.path");
        Py_DECREF(entry);
    }
    PyObject* walk = PyImport_ImportModule("python_walk");
    if (walk == nullptr) fail("cannot import python_walk");
    check = PyObject_GetAttrString(walk, "check");
    Py_DECREF(walk);
    root_name = PyUnicode_FromString(BRINDLE_ROOT_CLASS);
    if (check == nullptr || root_name == nullptr) fail("cannot set up the check");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Bytes that are not UTF-8 are replaced: a str argument always has text.
    PyObject* text = PyUnicode_DecodeUTF8(reinterpret_cast<const char*>(data), static_cast<Py_ssize_t>(size), "replace");
    if (text == nullptr) fail("cannot decode the input");
    PyObject* result = PyObject_CallFunctionObjArgs(check, root_name, text, nullptr);
    Py_DECREF(text);
    if (result == nullptr) fail("the check failed");
    Py_DECREF(result);
    return 0;
}
