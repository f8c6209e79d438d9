// The converter from model values to Python values, generic over the field
// tables: structs become instances of the Object subclass named after their
// type, with every field in declaration order; lists and sets become lists,
// maps dicts, optional values their content or None, enums and identifiers
// str.  A run's base part is flattened into the run's own instance.
//
// Throws PythonError with the interpreter's exception set; the call layer
// reports it.
#pragma once

#define PY_SSIZE_T_CLEAN
#include <Python.h>

#include <array>
#include <cstdint>
#include <optional>
#include <variant>
#include <string>
#include <vector>

#include "models/collections.hpp"
#include "models/json_value.hpp"
#include "models/model.hpp"
#include "models/yaml_value.hpp"
#include "python/errors.hpp"
#include "python/py_ref.hpp"
#include "python/typed_classes.hpp"

namespace brindle::python {

PyRef to_python(const std::string& v);
PyRef to_python(bool v);
PyRef to_python(std::int32_t v);
PyRef to_python(std::int64_t v);
PyRef to_python(std::uint32_t v);
PyRef to_python(std::uint64_t v);
PyRef to_python(double v);
PyRef to_python(const models::JsonValue& v);
inline PyRef to_python(std::monostate);

// Every overload is declared before any is defined: model types live in
// another namespace, so argument-dependent lookup would not find them.
template <models::ModelEnum E>
PyRef to_python(E v);
template <class T>
PyRef to_python(const std::optional<T>& v);
template <class... T>
PyRef to_python(const std::variant<T...>& v);
template <class T>
PyRef to_python(const std::vector<T>& v);
template <class T>
PyRef to_python(const models::OrderedSet<T>& v);
template <class K, class V>
PyRef to_python(const models::OrderedMap<K, V>& m);
template <models::ModelStruct S>
PyRef to_python(const S& s);
template <models::TextForm T>
PyRef to_python(const T& v);

template <models::ModelEnum E>
PyRef to_python(E v) {
    return new_str(models::enum_name(v));
}

template <models::TextForm T>
PyRef to_python(const T& v) {
    return new_str(text_of(v));
}

template <class T>
PyRef to_python(const std::optional<T>& v) {
    if (!v) return PyRef::borrow(Py_None);
    return to_python(*v);
}

// A choice of kinds: the kind held; the empty kind is None.
inline PyRef to_python(std::monostate) { return PyRef::borrow(Py_None); }
template <class... T>
PyRef to_python(const std::variant<T...>& v) {
    return std::visit([](const auto& x) { return to_python(x); }, v);
}

template <class Range>
PyRef list_to_python(const Range& r) {
    PyRef list = checked(PyList_New(static_cast<Py_ssize_t>(r.size())));
    Py_ssize_t i = 0;
    for (const auto& e : r) PyList_SET_ITEM(list.get(), i++, to_python(e).release());
    return list;
}
template <class T>
PyRef to_python(const std::vector<T>& v) {
    return list_to_python(v);
}
template <class T>
PyRef to_python(const models::OrderedSet<T>& v) {
    return list_to_python(v);
}

template <class K, class V>
PyRef to_python(const models::OrderedMap<K, V>& m) {
    using models::key_text;
    PyRef dict = checked(PyDict_New());
    for (const auto& [k, v] : m) {
        PyRef key = new_str(key_text(k));
        PyRef value = to_python(v);
        checked_status(PyDict_SetItem(dict.get(), key.get(), value.get()));
    }
    return dict;
}

// The field names of a struct as interned str, made once per type.
template <models::ModelStruct S>
const std::array<PyObject*, models::field_count<S>>& interned_field_names() {
    static const auto names = [] {
        std::array<PyObject*, models::field_count<S>> out{};
        for (std::size_t i = 0; i < out.size(); ++i) {
            const auto key = models::field_keys<S>[i];
            out[i] = checked(PyUnicode_FromStringAndSize(key.data(), static_cast<Py_ssize_t>(key.size()))).release();
            PyUnicode_InternInPlace(&out[i]);
        }
        return out;
    }();
    return names;
}

// Stores the struct's fields, and first those of its base part, in `dict`.
template <models::ModelStruct S>
void fields_to_python(const S& s, PyObject* dict) {
    if constexpr (requires { models::Model<S>::base; }) fields_to_python(s.*models::Model<S>::base, dict);
    const auto& names = interned_field_names<S>();
    std::size_t i = 0;
    models::for_each_field<S>([&](const auto& field) {
        PyRef value = to_python(s.*field.member);
        checked_status(PyDict_SetItem(dict, names[i++], value.get()));
    });
}

template <models::ModelStruct S>
PyRef to_python(const S& s) {
    PyRef dict = checked(PyDict_New());
    fields_to_python(s, dict.get());
    return make_typed_object(models::Model<S>::name, dict.get());
}

}  // namespace brindle::python
