// The generic model instance `Object`: a model type name and an ordered list
// of named fields holding Python values.
//
// The operations below are what the root classes use on their trees.  They
// throw PythonError (or Fault) like the rest of the binding's inner code and
// take a shared hold on the Object while they read it.
#pragma once

#define PY_SSIZE_T_CLEAN
#include <Python.h>

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "models/json_value.hpp"
#include "python/py_ref.hpp"

namespace brindle::python {

// The class Object (borrowed), made once per interpreter.  object_type() throws
// the interpreter's error if it cannot be made; object_type_or_fault() treats
// that as a fault (for use after start-up, which makes it).
PyTypeObject* object_type();
PyTypeObject* object_type_or_fault();

// True for instances of Object and its subclasses.
bool is_object(PyObject* obj);

// The names of an Object: its type name and its field names, each both as
// UTF-8 text (for lookups by text) and as a str (handed out by keys(),
// items(), to_dict() and __type__).  Every Object the converter makes for one
// model type points at the same shape, made once per type with interned
// names; an Object made by its constructor owns a shape of its own.
class ObjectShape {
public:
    struct Name {
        std::string text;
        PyRef str;
    };

    // The shape of a model type's instances, the str of its names made here
    // and interned.
    ObjectShape(std::string_view type_name, std::span<const std::string_view> names);
    // A shape whose str objects are given: `type_name_str` and each name's
    // `str` must be exact str holding the text beside them.
    ObjectShape(std::string type_name, PyRef type_name_str, std::vector<Name> names) noexcept
        : type_name_(std::move(type_name)), type_name_str_(std::move(type_name_str)), names_(std::move(names)) {}
    ObjectShape(const ObjectShape&) = delete;
    ObjectShape& operator=(const ObjectShape&) = delete;

    const std::string& type_name() const noexcept { return type_name_; }
    PyObject* type_name_str() const noexcept { return type_name_str_.get(); }
    std::size_t size() const noexcept { return names_.size(); }
    const std::string& text(std::size_t i) const noexcept { return names_[i].text; }
    PyObject* str(std::size_t i) const noexcept { return names_[i].str.get(); }

private:
    std::string type_name_;
    PyRef type_name_str_;
    std::vector<Name> names_;
};

// A new instance of `cls` (Object or a subclass of it) with the fields of
// `shape`, which must outlive it, holding `values`: one new reference per
// field, which the call takes over whatever its outcome.  The fast way for
// the converter, which calls no Python code, unless the class's __new__ or
// __init__ was changed: then the class is called with the type name and a
// dict of the fields, as the constructor would be.
PyRef make_object(PyTypeObject* cls, const ObjectShape& shape, PyObject* const* values);

// The value of the first field called `name`, or KeyError with the name.
PyRef object_get_item(PyObject* obj, std::string_view name);
// The ordinary attribute lookup that the generic getattr makes (the class's
// attributes, then the instance dict), quiet about a miss: a new reference;
// null with no exception set when nothing is found, an AttributeError raised
// by a descriptor (a property) counting as nothing found; null with the
// exception set for any other failure, a name that is not a str among them.
inline PyObject* ordinary_attribute(PyObject* obj, PyObject* name) noexcept {
    return _PyObject_GenericGetAttrWithDict(obj, name, nullptr, 1);
}
// The value of the first field called `name` (a str whose UTF-8 form is
// `text`), a new reference; or null with AttributeError "'<type name>' object
// has no attribute '<name>'" set, raised directly: a miss is common (hasattr,
// getattr with a default) and costs no more than that one exception.
PyObject* object_field_attribute(PyObject* obj, PyObject* name, std::string_view text);
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
