// The converter from model values to Python values, generic over the field
// tables: structs become instances of the Object subclass named after their
// type, with every field in declaration order; lists and sets become lists,
// maps dicts, optional values their content or None, enums and identifiers
// str.  A run's base part is flattened into the run's own instance.
//
// Instances are made directly, not by calling their class: the class of each
// model type is looked up once, and its field names are interned once into a
// shape that every instance of the type shares.
//
// Throws PythonError with the interpreter's exception set; the call layer
// reports it.
#pragma once

#define PY_SSIZE_T_CLEAN
#include <Python.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

#include "models/collections.hpp"
#include "models/json_value.hpp"
#include "models/model.hpp"
#include "models/yaml_value.hpp"
#include "python/collector_pause.hpp"
#include "python/containers.hpp"
#include "python/errors.hpp"
#include "python/object.hpp"
#include "python/once_cell.hpp"
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

// Lists and dicts are made once all their items are (containers.hpp): making
// an item may run Python code, a typed class's replaced __new__.
template <class Range>
PyRef list_to_python(const Range& r) {
    std::vector<PyRef> items;
    items.reserve(r.size());
    for (const auto& e : r) items.push_back(to_python(e));
    return list_from(std::move(items));
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
    Entries entries;
    entries.reserve(m.size());
    for (const auto& [k, v] : m) {
        PyRef key = new_str(key_text(k));
        entries.emplace_back(std::move(key), to_python(v));
    }
    return dict_from(entries);
}

// The struct type of the base part of S, for a struct that has one.
template <models::ModelStruct S>
using base_part_t = std::remove_cvref_t<decltype(std::declval<const S&>().*models::Model<S>::base)>;

// The fields of a struct's instance: those of its base part, then its own.
template <models::ModelStruct S>
consteval std::size_t instance_field_count() {
    if constexpr (requires { models::Model<S>::base; }) {
        return instance_field_count<base_part_t<S>>() + models::field_count<S>;
    } else {
        return models::field_count<S>;
    }
}

template <models::ModelStruct S>
void append_instance_field_keys(std::vector<std::string_view>& out) {
    if constexpr (requires { models::Model<S>::base; }) append_instance_field_keys<base_part_t<S>>(out);
    for (std::string_view key : models::field_keys<S>) out.push_back(key);
}

// The typed class of a model struct type with the shape of its instances.
struct ModelClass {
    PyRef cls;
    ObjectShape shape;

    PyTypeObject* type() const noexcept { return reinterpret_cast<PyTypeObject*>(cls.get()); }
};

// `class_for_type(name)`, which must be a subclass of Object.
PyRef model_struct_class(std::string_view name);

template <models::ModelStruct S>
inline OnceBox<ModelClass> model_class_cell;

// The class and shape of S, made on first need and then kept: the class is
// looked up and the names interned once per type.
template <models::ModelStruct S>
const ModelClass& model_class() {
    if (const ModelClass* made = model_class_cell<S>.peek()) return *made;
    // Looking the class up may run Python code (an import), and waiting for
    // another thread that makes it lets other threads run: the collector's
    // switch is the program's meanwhile.
    CollectorHandBack hand_back;
    return model_class_cell<S>.get_or_make([] {
        PyRef cls = model_struct_class(models::Model<S>::name);
        std::vector<std::string_view> keys;
        keys.reserve(instance_field_count<S>());
        append_instance_field_keys<S>(keys);
        return std::unique_ptr<ModelClass>(new ModelClass{std::move(cls), ObjectShape(models::Model<S>::name, keys)});
    });
}

// The converted values of one instance's fields, released unless taken.
template <std::size_t N>
class FieldValues {
public:
    FieldValues() noexcept = default;
    ~FieldValues() {
        for (std::size_t i = 0; i < count_; ++i) Py_DECREF(values_[i]);
    }
    FieldValues(const FieldValues&) = delete;
    FieldValues& operator=(const FieldValues&) = delete;

    void push(PyRef value) noexcept { values_[count_++] = value.release(); }
    // All N values, whose references the caller takes over.
    PyObject* const* take() noexcept {
        count_ = 0;
        return values_.data();
    }

private:
    std::array<PyObject*, N> values_;
    std::size_t count_ = 0;
};

// Converts the struct's fields, and first those of its base part, into `out`.
template <models::ModelStruct S, class Out>
void fields_to_python(const S& s, Out& out) {
    if constexpr (requires { models::Model<S>::base; }) fields_to_python(s.*models::Model<S>::base, out);
    models::for_each_field<S>([&](const auto& field) { out.push(to_python(s.*field.member)); });
}

template <models::ModelStruct S>
PyRef to_python(const S& s) {
    if constexpr (models::ContentStruct<S>) {
        return to_python(models::flattened(s.*models::Model<S>::content));
    } else {
        const ModelClass& model = model_class<S>();
        FieldValues<instance_field_count<S>()> values;
        fields_to_python(s, values);
        return make_object(model.type(), model.shape, values.take());
    }
}

}  // namespace brindle::python
