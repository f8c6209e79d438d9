// The generic model instance `Object`: a model type name and an ordered list
// of named fields holding Python values.
//
// The operations below are what the root classes use on their trees.  They
// throw PythonError (or Fault) like the rest of the binding's inner code and
// take a shared hold on the Object while they read it.
#pragma once

#define PY_SSIZE_T_CLEAN
#include <Python.h>

#include <string_view>

#include "models/json_value.hpp"
#include "python/py_ref.hpp"

namespace brindle::python {

// The class Object (borrowed), made once per process.  object_type() throws
// the interpreter's error if it cannot be made; object_type_or_fault() treats
// that as a fault (for use after start-up, which makes it).
PyTypeObject* object_type();
PyTypeObject* object_type_or_fault();

// True for instances of Object and its subclasses.
bool is_object(PyObject* obj);

// The value of the first field called `name`, or KeyError with the name.
PyRef object_get_item(PyObject* obj, std::string_view name);
// The value of the first field called `name`, or AttributeError
// "'<type name>' object has no attribute '<name>'".
PyRef object_get_field_attr(PyObject* obj, std::string_view name);
bool object_contains(PyObject* obj, std::string_view name);
Py_ssize_t object_len(PyObject* obj);
// An iterator over a new list of the field names.
PyRef object_iter(PyObject* obj);
// New lists: the field names; (name, value) tuples.
PyRef object_keys(PyObject* obj);
PyRef object_items(PyObject* obj);
// "Type(name=repr, ...)".
PyRef object_repr(PyObject* obj);
// The subtree as plain dicts and lists.
PyRef object_to_dict(PyObject* obj);
// The subtree as a JSON value with sorted keys.
models::JsonValue object_to_json_value(PyObject* obj);

}  // namespace brindle::python
