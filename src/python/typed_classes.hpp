// The typed classes: one subclass of Object per model type name, made with
// the built-in type() and kept in a cache made once per interpreter.
#pragma once

#define PY_SSIZE_T_CLEAN
#include <Python.h>

#include <array>
#include <string_view>

#include "python/py_ref.hpp"

namespace brindle::python {

// The model type names whose classes start-up makes and puts on the submodule.
extern const std::array<std::string_view, 91> typed_class_names;

// The typed class of a model type name, found in the cache or made and
// stored there.  A newly made class is also set on the module "brindle.ort"
// when that can be imported, except for the names of the three root classes,
// whose typed classes stay in the cache so they never take the root classes'
// place on the module.
PyRef class_for_type(std::string_view name);

// A new instance of the typed class of `name` holding the fields of `fields`
// (a dict, borrowed), in the dict's order.
PyRef make_typed_object(std::string_view name, PyObject* fields);

// Makes the classes of every name of the table and sets them on `ort`.
void register_typed_classes(PyObject* ort);

}  // namespace brindle::python
