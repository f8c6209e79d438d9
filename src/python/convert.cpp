#include "python/convert.hpp"

#include <variant>

namespace brindle::python {

PyRef model_struct_class(std::string_view name) {
    PyRef cls = class_for_type(name);
    if (!PyType_IsSubtype(reinterpret_cast<PyTypeObject*>(cls.get()), object_type_or_fault())) {
        fault("the class of model type " + std::string(name) + " is not a subclass of Object");
    }
    return cls;
}

PyRef to_python(const std::string& v) { return new_str(v); }
PyRef to_python(bool v) { return PyRef::borrow(v ? Py_True : Py_False); }
PyRef to_python(std::int32_t v) { return checked(PyLong_FromLong(v)); }
PyRef to_python(std::int64_t v) { return checked(PyLong_FromLongLong(v)); }
PyRef to_python(std::uint32_t v) { return checked(PyLong_FromUnsignedLongLong(v)); }
PyRef to_python(std::uint64_t v) { return checked(PyLong_FromUnsignedLongLong(v)); }
PyRef to_python(double v) { return checked(PyFloat_FromDouble(v)); }

PyRef to_python(const models::JsonValue& v) {
    return std::visit(
        [](const auto& x) -> PyRef {
            using X = std::remove_cvref_t<decltype(x)>;
            if constexpr (std::is_same_v<X, models::JsonValue::Null>) {
                return PyRef::borrow(Py_None);
            } else if constexpr (std::is_same_v<X, models::JsonValue::Array>) {
                return list_to_python(x);
            } else if constexpr (std::is_same_v<X, models::JsonValue::Object>) {
                // Members are kept in ascending key order; they stay so.
                Entries entries;
                entries.reserve(x.size());
                for (const auto& [k, member] : x) {
                    PyRef key = new_str(k);
                    entries.emplace_back(std::move(key), to_python(member));
                }
                return dict_from(entries);
            } else {
                return to_python(x);
            }
        },
        v.value);
}

}  // namespace brindle::python
