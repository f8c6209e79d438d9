// Placeholder root classes: named, not instantiable, not subclassable, and
// nothing more yet.  The classes that read and hold a model replace this file.
#include "python/roots.hpp"

#include "python/once_cell.hpp"
#include "python/py_ref.hpp"

namespace brindle::python {

namespace {

PyType_Slot root_slots[] = {
    {0, nullptr},
};

PyType_Spec license_classifications_spec = {
    "brindle.ort.LicenseClassifications", static_cast<int>(sizeof(PyObject)), 0,
    Py_TPFLAGS_DEFAULT | Py_TPFLAGS_DISALLOW_INSTANTIATION | Py_TPFLAGS_IMMUTABLETYPE, root_slots};
PyType_Spec repository_configuration_spec = {
    "brindle.ort.RepositoryConfiguration", static_cast<int>(sizeof(PyObject)), 0,
    Py_TPFLAGS_DEFAULT | Py_TPFLAGS_DISALLOW_INSTANTIATION | Py_TPFLAGS_IMMUTABLETYPE, root_slots};
PyType_Spec ort_result_spec = {
    "brindle.ort.OrtResult", static_cast<int>(sizeof(PyObject)), 0,
    Py_TPFLAGS_DEFAULT | Py_TPFLAGS_DISALLOW_INSTANTIATION | Py_TPFLAGS_IMMUTABLETYPE, root_slots};

OnceCell license_classifications_cell;
OnceCell repository_configuration_cell;
OnceCell ort_result_cell;

PyTypeObject* make_type(OnceCell& cell, PyType_Spec& spec) {
    return reinterpret_cast<PyTypeObject*>(cell.get_or_make([&] { return checked(PyType_FromSpec(&spec)); }));
}

}  // namespace

PyTypeObject* license_classifications_type() {
    return make_type(license_classifications_cell, license_classifications_spec);
}
PyTypeObject* repository_configuration_type() {
    return make_type(repository_configuration_cell, repository_configuration_spec);
}
PyTypeObject* ort_result_type() { return make_type(ort_result_cell, ort_result_spec); }

}  // namespace brindle::python
