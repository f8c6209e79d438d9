// Helpers of the embedded tests: the interpreter runs for the whole test
// program (unless a test restarts it), and a model value is checked through
// the repr of the Python value it becomes.
#pragma once

#define PY_SSIZE_T_CLEAN
#include <Python.h>
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "models/model.hpp"
#include "python/convert.hpp"

PyMODINIT_FUNC PyInit__brindle(void);

namespace brindle::test {

// Offers the linked-in extension module to the interpreter as
// brindle._brindle and starts the interpreter.
void start_interpreter();

// The repr of the Python value of `value`, or "<error>" with the error printed.
template <class T>
std::string python_repr(const T& value) {
    try {
        python::PyRef o = python::to_python(value);
        python::PyRef r = python::PyRef::steal(PyObject_Repr(o.get()));
        if (r) return PyUnicode_AsUTF8(r.get());
    } catch (const python::PythonError&) {
    }
    PyErr_Print();
    return "<error>";
}

// Reads `yaml` as one T and gives the repr of its Python value.
template <class T>
std::string converted(std::string_view yaml) {
    return python_repr(models::read_document<T>(yaml));
}

}  // namespace brindle::test
