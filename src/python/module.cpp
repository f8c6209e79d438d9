// The extension module's entry: the module definition and its execution slot,
// which builds the submodule "ort".
#define PY_SSIZE_T_CLEAN
#include <Python.h>

#include <string>

#include "python/errors.hpp"
#include "python/object.hpp"
#include "python/py_ref.hpp"
#include "python/roots.hpp"
#include "python/typed_classes.hpp"

namespace brindle::python {

namespace {

constexpr const char* ort_module_key = "brindle._brindle.ort";

// The module's __all__, made as an empty list if it has none.
PyRef all_list(PyObject* module) {
    PyObject* dict = PyModule_GetDict(module);
    PyObject* found = nullptr;
    checked_status(PyDict_GetItemStringRef(dict, "__all__", &found));
    if (found == nullptr) {
        PyRef list = checked(PyList_New(0));
        checked_status(PyDict_SetItemString(dict, "__all__", list.get()));
        return list;
    }
    PyRef all = PyRef::steal(found);
    if (!PyList_Check(all.get())) throw_not_an_instance(all.get(), "list");
    return all;
}

// Lists `name` in the module's __all__ and sets the attribute.
void add_public(PyObject* module, PyObject* name, PyObject* value) {
    PyRef all = all_list(module);
    checked_status(PyList_Append(all.get(), name));
    checked_status(PyObject_SetAttr(module, name, value));
}

void add_class(PyObject* module, const char* name, PyTypeObject* type) {
    PyRef key = checked(PyUnicode_FromString(name));
    add_public(module, key.get(), reinterpret_cast<PyObject*>(type));
}

// Adds the submodule under the last part of its name.
void add_submodule(PyObject* module, PyObject* submodule) {
    PyRef full = checked(PyModule_GetNameObject(submodule));
    Py_ssize_t length = PyUnicode_GetLength(full.get());
    Py_ssize_t at = PyUnicode_FindChar(full.get(), '.', 0, length, -1);
    if (at == -2) throw PythonError{};
    PyRef name = at < 0 ? std::move(full) : checked(PyUnicode_Substring(full.get(), at + 1, length));
    add_public(module, name.get(), submodule);
}

PyRef sys_modules() {
    PyRef sys = checked(PyImport_ImportModule("sys"));
    return checked(PyObject_GetAttrString(sys.get(), "modules"));
}

void init_ort_module(PyObject* module) {
    PyRef ort = checked(PyModule_New("ort"));
    add_class(ort.get(), "Object", object_type());
    add_class(ort.get(), "LicenseClassifications", license_classifications_type());
    add_class(ort.get(), "RepositoryConfiguration", repository_configuration_type());
    add_class(ort.get(), "OrtResult", ort_result_type());
    add_submodule(module, ort.get());
    PyRef public_name = checked(PyUnicode_FromString("brindle.ort"));
    checked_status(PyObject_SetAttrString(ort.get(), "__name__", public_name.get()));

    PyRef modules = sys_modules();
    PyRef key = checked(PyUnicode_FromString(ort_module_key));
    checked_status(PyObject_SetItem(modules.get(), key.get(), ort.get()));
    try {
        register_typed_classes(ort.get());
    } catch (...) {
        // The import fails: take the half-built submodule out of sys.modules
        // again (if it is still the one stored there).
        PyObject* exc = PyErr_GetRaisedException();
        PyObject* stored = nullptr;
        if (PyMapping_GetOptionalItem(modules.get(), key.get(), &stored) == 1 && stored == ort.get()) {
            PyObject_DelItem(modules.get(), key.get());
        }
        Py_XDECREF(stored);
        PyErr_Clear();
        PyErr_SetRaisedException(exc);
        throw;
    }
}

int module_exec_slot(PyObject* module) {
    return guarded<int>(-1, [&] {
        if (module == nullptr) throw PythonError{};
        if (!PyModule_Check(module)) throw_not_an_instance(module, "module");
        init_ort_module(module);
        return 0;
    });
}

PyModuleDef_Slot module_slots[] = {
    {Py_mod_exec, reinterpret_cast<void*>(module_exec_slot)},
    {Py_mod_gil, Py_MOD_GIL_NOT_USED},
    // The classes and their cache are shared by the whole process, one
    // interpreter after another (once_cell.hpp), never by two at once.
    {Py_mod_multiple_interpreters, Py_MOD_MULTIPLE_INTERPRETERS_NOT_SUPPORTED},
    {0, nullptr},
};

PyModuleDef module_def = {
    PyModuleDef_HEAD_INIT,
    "_brindle",
    "The extension module `brindle._brindle`.\n"
    "\n"
    "Each model family gets its own submodule, which the `brindle` package\n"
    "re-exports; the ORT classes are imported with `from brindle.ort import OrtResult`.",
    0,
    nullptr,
    module_slots,
    nullptr,
    nullptr,
    nullptr,
};

}  // namespace

}  // namespace brindle::python

PyMODINIT_FUNC PyInit__brindle(void) { return PyModuleDef_Init(&brindle::python::module_def); }
