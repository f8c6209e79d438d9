// The three root classes of the submodule "ort".
#pragma once

#define PY_SSIZE_T_CLEAN
#include <Python.h>

namespace brindle::python {

// Each class (borrowed) is made once per interpreter, on first need; throws
// PythonError if it cannot be made.
PyTypeObject* license_classifications_type();
PyTypeObject* repository_configuration_type();
PyTypeObject* ort_result_type();

}  // namespace brindle::python
