#include "python/object.hpp"

#include <algorithm>
#include <cstddef>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "python/collector_pause.hpp"
#include "python/containers.hpp"
#include "python/errors.hpp"
#include "python/once_cell.hpp"

namespace brindle::python {

namespace {

// Values of up to this many fields are held in the instance itself; more
// get a block of their own.
constexpr std::size_t inline_capacity = 4;

struct ObjectData {
    const ObjectShape* shape;  // shared, or owned when `owns_shape`
    PyObject** values;         // `inline_values` or a PyMem block; one per name, the very objects given
    std::size_t value_count;
    BorrowFlag borrow;
    bool owns_shape;
    PyObject* inline_values[inline_capacity];

    // The values are made with the shape and so match its names; the
    // collector's clear empties the values, so pairs never go past either.
    std::size_t field_count() const noexcept { return std::min(shape->size(), value_count); }

    const std::string& type_name() const noexcept { return shape->type_name(); }

    std::optional<std::size_t> find(std::string_view name) const noexcept {
        for (std::size_t i = 0; i < field_count(); ++i) {
            if (shape->text(i) == name) return i;
        }
        return std::nullopt;
    }

    PyRef value(std::size_t i) const noexcept { return PyRef::borrow(values[i]); }
};

struct ObjectInstance {
    PyObject_HEAD
    ObjectData data;
};

ObjectData& data_of(PyObject* obj) noexcept { return reinterpret_cast<ObjectInstance*>(obj)->data; }

// Bounds the nesting of the values that to_dict, to_json and to_yaml walk:
// a value that holds itself, or nesting deeper than the interpreter's
// recursion limit, fails with RecursionError rather than exhausting the stack.
class NestingGuard {
public:
    explicit NestingGuard(int depth) {
        if (depth > Py_GetRecursionLimit()) {
            PyErr_SetString(PyExc_RecursionError, "maximum recursion depth exceeded while converting a model object");
            throw PythonError{};
        }
        if (Py_EnterRecursiveCall(" while converting a model object") != 0) throw PythonError{};
    }
    ~NestingGuard() { Py_LeaveRecursiveCall(); }
    NestingGuard(const NestingGuard&) = delete;
    NestingGuard& operator=(const NestingGuard&) = delete;
};

// The entries of a dict, taken at once so that code run while converting
// them cannot disturb the walk.
Entries dict_entries(PyObject* dict) {
    Entries entries;
    CriticalSection lock(dict);
    entries.reserve(static_cast<std::size_t>(PyDict_GET_SIZE(dict)));
    Py_ssize_t pos = 0;
    PyObject* key = nullptr;
    PyObject* value = nullptr;
    while (PyDict_Next(dict, &pos, &key, &value)) entries.emplace_back(PyRef::borrow(key), PyRef::borrow(value));
    return entries;
}

// The UTF-8 text of a str; each unpaired surrogate (three bytes in the
// surrogate-passing encoding) becomes three U+FFFD characters.
std::string lossy_text(PyObject* str) {
    Py_ssize_t size = 0;
    if (const char* text = PyUnicode_AsUTF8AndSize(str, &size)) return {text, static_cast<std::size_t>(size)};
    if (!PyErr_ExceptionMatches(PyExc_UnicodeEncodeError)) throw PythonError{};
    PyErr_Clear();
    PyRef bytes = checked(PyUnicode_AsEncodedString(str, "utf-8", "surrogatepass"));
    auto* b = reinterpret_cast<const unsigned char*>(PyBytes_AS_STRING(bytes.get()));
    auto n = static_cast<std::size_t>(PyBytes_GET_SIZE(bytes.get()));
    std::string out;
    out.reserve(n);
    for (std::size_t i = 0; i < n;) {
        if (b[i] == 0xED && i + 2 < n && (b[i + 1] & 0xE0) == 0xA0) {
            for (int k = 0; k < 3; ++k) out += "\xEF\xBF\xBD";
            i += 3;
        } else {
            out += static_cast<char>(b[i]);
            ++i;
        }
    }
    return out;
}

std::string repr_text(PyObject* value) {
    PyRef repr = checked(PyObject_Repr(value));
    return lossy_text(repr.get());
}

// ---- lookups ---------------------------------------------------------------

PyRef get_item(const ObjectData& d, std::string_view name) {
    if (auto i = d.find(name)) return d.value(*i);
    PyRef key = new_str(name);
    PyErr_SetObject(PyExc_KeyError, key.get());
    throw PythonError{};
}

// The field `name` (a str whose UTF-8 form is `text`) as an attribute: a new
// reference, or null with the AttributeError of a miss set.
PyObject* field_attribute(const ObjectData& d, PyObject* name, std::string_view text) noexcept {
    if (auto i = d.find(text)) return Py_NewRef(d.values[*i]);
    // The type name's str holds the same text as type_name().
    PyErr_Format(PyExc_AttributeError, "'%U' object has no attribute '%U'", d.shape->type_name_str(), name);
    return nullptr;
}

PyRef names_list(const ObjectData& d, std::size_t leading_count, const char* const* leading) {
    std::vector<PyRef> names;
    names.reserve(leading_count + d.field_count());
    for (std::size_t i = 0; i < leading_count; ++i) names.push_back(checked(PyUnicode_FromString(leading[i])));
    for (std::size_t i = 0; i < d.field_count(); ++i) names.push_back(PyRef::borrow(d.shape->str(i)));
    return list_from(std::move(names));
}

PyRef values_list(const ObjectData& d) {
    std::vector<PyRef> values;
    values.reserve(d.field_count());
    for (std::size_t i = 0; i < d.field_count(); ++i) values.push_back(d.value(i));
    return list_from(std::move(values));
}

PyRef items_list(const ObjectData& d) {
    std::vector<PyRef> items;
    items.reserve(d.field_count());
    for (std::size_t i = 0; i < d.field_count(); ++i) {
        items.push_back(checked(PyTuple_Pack(2, d.shape->str(i), d.values[i])));
    }
    return list_from(std::move(items));
}

PyRef repr_of(const ObjectData& d) {
    std::string text = d.type_name();
    text += '(';
    for (std::size_t i = 0; i < d.field_count(); ++i) {
        if (i > 0) text += ", ";
        text += d.shape->text(i);
        text += '=';
        PyRef value = d.value(i);
        text += repr_text(value.get());
    }
    text += ')';
    return new_str(text);
}

// ---- to_dict ---------------------------------------------------------------

PyRef plain_form(PyObject* value, int depth);
PyRef plain_list(PyObject* source, int depth);

// The plain forms are all made before their dict or list (containers.hpp):
// making them runs Python code (a key's __hash__ in a nested dict).
PyRef dict_of(const ObjectData& d, int depth) {
    NestingGuard nesting(depth);
    Entries entries;
    entries.reserve(d.field_count());
    for (std::size_t i = 0; i < d.field_count(); ++i) {
        PyRef value = d.value(i);
        PyRef plain = plain_form(value.get(), depth + 1);
        entries.emplace_back(PyRef::borrow(d.shape->str(i)), std::move(plain));
    }
    return dict_from(entries);
}

// A new list of the plain forms of the items.  Should code run meanwhile
// change the source's length, the copy follows.
PyRef plain_list(PyObject* source, int depth) {
    std::vector<PyRef> items;
    items.reserve(static_cast<std::size_t>(PyList_GET_SIZE(source)));
    for (Py_ssize_t i = 0; i < PyList_GET_SIZE(source); ++i) {
        PyRef item = checked(PyList_GetItemRef(source, i));
        items.push_back(plain_form(item.get(), depth + 1));
    }
    return list_from(std::move(items));
}

PyRef plain_form(PyObject* value, int depth) {
    // The most common leaves first.
    if (PyUnicode_CheckExact(value) || Py_IsNone(value) || PyLong_CheckExact(value)) return PyRef::borrow(value);
    if (is_object(value)) {
        ObjectData& d = data_of(value);
        SharedHold hold(d.borrow, SharedHold::Role::nested);
        return dict_of(d, depth);
    }
    if (PyList_Check(value)) {
        NestingGuard nesting(depth);
        return plain_list(value, depth);
    }
    if (PyDict_Check(value)) {
        NestingGuard nesting(depth);
        Entries entries = dict_entries(value);
        for (auto& entry : entries) entry.second = plain_form(entry.second.get(), depth + 1);
        return dict_from(entries);
    }
    return PyRef::borrow(value);
}

// ---- to_json / to_yaml -----------------------------------------------------

// A conversion attempt that failed only moves on to the next kind of value;
// running out of memory, and exceptions that are not errors (an interrupt),
// end the conversion.
void drop_attempt_failure() {
    PyObject* exc = PyErr_GetRaisedException();
    if (PyErr_GivenExceptionMatches(exc, PyExc_MemoryError) || !PyErr_GivenExceptionMatches(exc, PyExc_Exception)) {
        PyErr_SetRaisedException(exc);
        throw PythonError{};
    }
    Py_XDECREF(exc);
}

bool name_equals(PyObject* text, const char* expected) {
    return text != nullptr && PyUnicode_Check(text) && PyUnicode_EqualToUTF8(text, expected);
}

// NumPy's boolean scalars, which are not bool subclasses.
bool is_numpy_bool(PyObject* value) {
    PyTypeObject* type = Py_TYPE(value);
    PyRef module = PyRef::steal(PyType_GetModuleName(type));
    if (!module) {
        drop_attempt_failure();
        return false;
    }
    if (!name_equals(module.get(), "numpy")) return false;
    PyRef name = PyRef::steal(PyType_GetName(type));
    if (!name) {
        drop_attempt_failure();
        return false;
    }
    return name_equals(name.get(), "bool_") || name_equals(name.get(), "bool");
}

models::JsonValue json_form(PyObject* value, int depth);

models::JsonValue json_of(const ObjectData& d, int depth) {
    NestingGuard nesting(depth);
    models::JsonValue::Object members;
    members.reserve(d.field_count());
    for (std::size_t i = 0; i < d.field_count(); ++i) {
        PyRef value = d.value(i);
        members.emplace_back(std::string(d.shape->text(i)), json_form(value.get(), depth + 1));
    }
    return models::JsonValue::object_of(std::move(members));
}

std::optional<models::JsonValue> json_number(PyObject* value) {
    bool exact_text = PyUnicode_CheckExact(value);
    // Whole numbers: signed 64-bit, then unsigned 64-bit, so that every
    // 64-bit value is written exactly.
    PyRef index;
    if (PyLong_Check(value)) {
        index = PyRef::borrow(value);
    } else if (!exact_text && !PyFloat_CheckExact(value) && PyIndex_Check(value)) {
        index = PyRef::steal(PyNumber_Index(value));
        if (!index) drop_attempt_failure();
    }
    if (index) {
        int overflow = 0;
        long long signed_value = PyLong_AsLongLongAndOverflow(index.get(), &overflow);
        if (overflow == 0) {
            if (signed_value != -1 || !PyErr_Occurred()) {
                return models::JsonValue::number(static_cast<std::int64_t>(signed_value));
            }
            drop_attempt_failure();
        } else if (overflow > 0) {
            unsigned long long unsigned_value = PyLong_AsUnsignedLongLong(index.get());
            if (unsigned_value != static_cast<unsigned long long>(-1) || !PyErr_Occurred()) {
                return models::JsonValue::number(static_cast<std::uint64_t>(unsigned_value));
            }
            drop_attempt_failure();
        }
    }
    if (!exact_text) {
        double d = PyFloat_AsDouble(value);
        if (d != -1.0 || !PyErr_Occurred()) return models::JsonValue::number(d);
        drop_attempt_failure();
    }
    return std::nullopt;
}

models::JsonValue json_form(PyObject* value, int depth) {
    if (Py_IsNone(value)) return models::JsonValue::null();
    if (is_object(value)) {
        ObjectData& d = data_of(value);
        SharedHold hold(d.borrow, SharedHold::Role::nested);
        return json_of(d, depth);
    }
    if (PyList_Check(value)) {
        NestingGuard nesting(depth);
        models::JsonValue::Array array;
        for (Py_ssize_t i = 0; i < PyList_Size(value); ++i) {
            PyRef item = checked(PyList_GetItemRef(value, i));
            array.push_back(json_form(item.get(), depth + 1));
        }
        return models::JsonValue::array(std::move(array));
    }
    if (PyDict_Check(value)) {
        NestingGuard nesting(depth);
        // Sorted once at the end: inserting each member in its place would
        // cost the square of a large dict's size.
        models::JsonValue::Object members;
        Entries entries = dict_entries(value);
        members.reserve(entries.size());
        for (auto& [key, item] : entries) {
            std::string_view name = text_value(key.get());
            members.emplace_back(std::string(name), json_form(item.get(), depth + 1));
        }
        return models::JsonValue::object_of(std::move(members));
    }
    if (PyBool_Check(value)) return models::JsonValue::boolean(Py_IsTrue(value));
    bool builtin_scalar = PyLong_CheckExact(value) || PyFloat_CheckExact(value) || PyUnicode_CheckExact(value);
    if (!builtin_scalar && is_numpy_bool(value)) {
        int truth = PyObject_IsTrue(value);
        if (truth >= 0) return models::JsonValue::boolean(truth != 0);
        drop_attempt_failure();
    }
    if (auto number = json_number(value)) return std::move(*number);
    if (PyUnicode_Check(value)) {
        Py_ssize_t size = 0;
        if (const char* text = PyUnicode_AsUTF8AndSize(value, &size)) {
            return models::JsonValue::text(std::string(text, static_cast<std::size_t>(size)));
        }
        drop_attempt_failure();
    }
    return models::JsonValue::text(repr_text(value));
}

// ---- the class -------------------------------------------------------------

constexpr const char* object_parameters[] = {"type_name", "fields"};
const MethodDescription object_new_description{"Object", "__new__", object_parameters, 1};

// Drops the references of `values` unless dismissed.
class ValuesGuard {
public:
    ValuesGuard(PyObject* const* values, std::size_t count) noexcept : values_(values), count_(count) {}
    ~ValuesGuard() {
        for (std::size_t i = 0; i < count_; ++i) Py_DECREF(values_[i]);
    }
    ValuesGuard(const ValuesGuard&) = delete;
    ValuesGuard& operator=(const ValuesGuard&) = delete;
    void dismiss() noexcept { count_ = 0; }

private:
    PyObject* const* values_;
    std::size_t count_;
};

// A new instance of `cls` with the fields of `shape` (not owned), taking over
// one reference per field from `values`, whatever the outcome.
PyRef new_instance(PyTypeObject* cls, const ObjectShape& shape, PyObject* const* values) {
    std::size_t count = shape.size();
    ValuesGuard guard(values, count);
    PyObject** block = nullptr;
    if (count > inline_capacity) {
        block = static_cast<PyObject**>(PyMem_Malloc(count * sizeof(PyObject*)));
        if (block == nullptr) {
            PyErr_NoMemory();
            throw PythonError{};
        }
    }
    PyObject* self = cls->tp_alloc(cls, 0);
    if (self == nullptr) {
        PyMem_Free(block);
        throw PythonError{};
    }
    guard.dismiss();
    auto* d = new (&data_of(self)) ObjectData;
    d->shape = &shape;
    d->owns_shape = false;
    d->values = block != nullptr ? block : d->inline_values;
    std::copy_n(values, count, d->values);
    d->value_count = count;
    return PyRef::steal(self);
}

// `obj` itself when it is an exact str, else a new str of its text.
PyRef exact_str(PyObject* obj, std::string_view text) {
    if (PyUnicode_CheckExact(obj)) return PyRef::borrow(obj);
    return new_str(text);
}

PyObject* object_new(PyTypeObject* type, PyObject* args, PyObject* kwargs) {
    return guarded<PyObject*>(nullptr, [&] {
        PyObject* arguments[2];
        match_arguments(object_new_description, args, kwargs, arguments);
        std::string_view type_name = text_argument(arguments[0], "type_name");
        std::vector<PyRef> keys;
        std::vector<PyRef> values;
        PyObject* fields = arguments[1];
        if (fields != nullptr && !Py_IsNone(fields)) {
            if (!PyDict_Check(fields)) {
                try {
                    throw_not_an_instance(fields, "dict");
                } catch (const PythonError&) {
                    add_argument_note("fields");
                    throw;
                }
            }
            // The entries are taken first, so that no code run while the
            // names are made can change the dict under the walk.
            CriticalSection lock(fields);
            auto size = static_cast<std::size_t>(PyDict_GET_SIZE(fields));
            keys.reserve(size);
            values.reserve(size);
            Py_ssize_t pos = 0;
            PyObject* key = nullptr;
            PyObject* value = nullptr;
            while (PyDict_Next(fields, &pos, &key, &value)) {
                keys.push_back(PyRef::borrow(key));
                values.push_back(PyRef::borrow(value));
            }
        }
        std::vector<ObjectShape::Name> names;
        names.reserve(keys.size());
        for (const PyRef& key : keys) {
            std::string_view text = text_value(key.get());
            names.push_back({std::string(text), exact_str(key.get(), text)});
        }
        auto shape = std::make_unique<ObjectShape>(std::string(type_name), exact_str(arguments[0], type_name),
                                                   std::move(names));
        std::vector<PyObject*> taken(values.size());
        for (std::size_t i = 0; i < values.size(); ++i) taken[i] = values[i].release();
        PyRef self = new_instance(type, *shape, taken.data());
        ObjectData& d = data_of(self.get());
        d.shape = shape.release();
        d.owns_shape = true;
        return self.release();
    });
}

// Empties the values; each is released after the instance no longer refers
// to it.
void release_values(ObjectData& d) noexcept {
    PyObject** values = d.values;
    std::size_t count = d.value_count;
    d.value_count = 0;
    for (std::size_t i = 0; i < count; ++i) Py_DECREF(values[i]);
    if (values != d.inline_values) {
        d.values = d.inline_values;
        PyMem_Free(values);
    }
}

void object_dealloc(PyObject* self) {
    PyObject_GC_UnTrack(self);
    PyTypeObject* type = Py_TYPE(self);
    ObjectData& d = data_of(self);
    release_values(d);
    if (d.owns_shape) delete d.shape;
    d.~ObjectData();
    type->tp_free(self);
    Py_DECREF(type);
}

int object_traverse(PyObject* self, visitproc visit, void* arg) {
    const ObjectData& d = data_of(self);
    for (std::size_t i = 0; i < d.value_count; ++i) Py_VISIT(d.values[i]);
    Py_VISIT(Py_TYPE(self));
    return 0;
}

int object_clear(PyObject* self) {
    release_values(data_of(self));
    return 0;
}

PyObject* object_subscript(PyObject* self, PyObject* key) {
    return guarded<PyObject*>(nullptr, [&] {
        ObjectData& d = data_of(self);
        SharedHold hold(d.borrow);
        return get_item(d, text_argument(key, "name")).release();
    });
}

PyObject* object_sequence_item(PyObject* self, Py_ssize_t index) {
    return guarded<PyObject*>(nullptr, [&] {
        PyRef key = checked(PyLong_FromSsize_t(index));
        ObjectData& d = data_of(self);
        SharedHold hold(d.borrow);
        return get_item(d, text_argument(key.get(), "name")).release();
    });
}

int object_contains_slot(PyObject* self, PyObject* key) {
    return guarded<int>(-1, [&] {
        ObjectData& d = data_of(self);
        SharedHold hold(d.borrow);
        return d.find(text_argument(key, "name")).has_value() ? 1 : 0;
    });
}

Py_ssize_t object_length(PyObject* self) {
    return guarded<Py_ssize_t>(-1, [&] {
        ObjectData& d = data_of(self);
        SharedHold hold(d.borrow);
        return static_cast<Py_ssize_t>(d.field_count());
    });
}

PyObject* object_iter_slot(PyObject* self) {
    return guarded<PyObject*>(nullptr, [&] {
        ObjectData& d = data_of(self);
        SharedHold hold(d.borrow);
        PyRef names = names_list(d, 0, nullptr);
        return checked(PyObject_GetIter(names.get())).release();
    });
}

PyObject* object_repr_slot(PyObject* self) {
    return guarded<PyObject*>(nullptr, [&] {
        ObjectData& d = data_of(self);
        SharedHold hold(d.borrow);
        return repr_of(d).release();
    });
}

// The ordinary lookup first, so that a method, a class attribute or an
// instance attribute wins over a field of the same name; then the fields.
PyObject* object_getattro(PyObject* self, PyObject* name) {
    PyObject* found = ordinary_attribute(self, name);
    if (found != nullptr || PyErr_Occurred() != nullptr) return found;
    return guarded<PyObject*>(nullptr, [&] {
        ObjectData& d = data_of(self);
        SharedHold hold(d.borrow);
        return field_attribute(d, name, text_argument(name, "name"));
    });
}

bool equal_objects(PyObject* self, PyObject* other) {
    ObjectData& a = data_of(self);
    ObjectData& b = data_of(other);
    SharedHold hold_a(a.borrow);
    SharedHold hold_b(b.borrow, SharedHold::Role::nested);
    std::size_t count = a.field_count();
    if (count != b.field_count()) return false;
    if (a.shape != b.shape) {
        if (a.type_name() != b.type_name()) return false;
        for (std::size_t i = 0; i < count; ++i) {
            if (a.shape->text(i) != b.shape->text(i)) return false;
        }
    }
    // Each pair by ==, then its truth: a NaN value makes its object unequal
    // to itself, as the value is to itself.
    for (std::size_t i = 0; i < std::min(a.field_count(), b.field_count()); ++i) {
        PyRef left = a.value(i);
        PyRef right = b.value(i);
        PyRef result = checked(PyObject_RichCompare(left.get(), right.get(), Py_EQ));
        if (checked_status(PyObject_IsTrue(result.get())) == 0) return false;
    }
    return true;
}

PyObject* object_richcompare(PyObject* self, PyObject* other, int op) {
    return guarded<PyObject*>(nullptr, [&]() -> PyObject* {
        if (op == Py_EQ) {
            if (!is_object(other)) Py_RETURN_FALSE;
            return PyBool_FromLong(equal_objects(self, other));
        }
        if (op == Py_NE) {
            PyRef equal = checked(PyObject_RichCompare(self, other, Py_EQ));
            return PyBool_FromLong(checked_status(PyObject_IsTrue(equal.get())) == 0);
        }
        Py_RETURN_NOTIMPLEMENTED;
    });
}

constexpr const char* dir_leading_names[] = {"__type__", "keys", "values", "items", "to_dict", "to_json", "to_yaml"};

PyObject* object_dir_method(PyObject* self, PyObject*) {
    return guarded<PyObject*>(nullptr, [&] {
        ObjectData& d = data_of(self);
        SharedHold hold(d.borrow);
        return names_list(d, std::size(dir_leading_names), dir_leading_names).release();
    });
}

PyObject* object_keys_method(PyObject* self, PyObject*) {
    return guarded<PyObject*>(nullptr, [&] {
        ObjectData& d = data_of(self);
        SharedHold hold(d.borrow);
        return names_list(d, 0, nullptr).release();
    });
}

PyObject* object_values_method(PyObject* self, PyObject*) {
    return guarded<PyObject*>(nullptr, [&] {
        ObjectData& d = data_of(self);
        SharedHold hold(d.borrow);
        return values_list(d).release();
    });
}

PyObject* object_items_method(PyObject* self, PyObject*) {
    return guarded<PyObject*>(nullptr, [&] {
        ObjectData& d = data_of(self);
        SharedHold hold(d.borrow);
        return items_list(d).release();
    });
}

PyObject* object_to_dict_method(PyObject* self, PyObject*) {
    return guarded<PyObject*>(nullptr, [&] {
        ObjectData& d = data_of(self);
        SharedHold hold(d.borrow);
        CollectorPause pause;
        return dict_of(d, 0).release();
    });
}

models::JsonValue json_of_called(PyObject* self) {
    ObjectData& d = data_of(self);
    SharedHold hold(d.borrow);
    return json_of(d, 0);
}

PyObject* object_to_json_method(PyObject* self, PyObject*) {
    return guarded<PyObject*>(nullptr, [&] { return new_str(models::to_json_text(json_of_called(self))).release(); });
}

PyObject* object_to_yaml_method(PyObject* self, PyObject*) {
    return guarded<PyObject*>(nullptr, [&] { return new_str(models::to_yaml_text(json_of_called(self))).release(); });
}

PyObject* object_type_getter(PyObject* self, void*) {
    return guarded<PyObject*>(nullptr, [&] {
        ObjectData& d = data_of(self);
        SharedHold hold(d.borrow);
        return Py_NewRef(d.shape->type_name_str());
    });
}

PyMethodDef object_methods[] = {
    {"__dir__", object_dir_method, METH_NOARGS, "__dir__($self)\n--\n\n"},
    {"keys", object_keys_method, METH_NOARGS,
     "keys($self)\n--\n\nThe field names, in the order they are declared on the model."},
    {"values", object_values_method, METH_NOARGS, "values($self)\n--\n\n"},
    {"items", object_items_method, METH_NOARGS, "items($self)\n--\n\n"},
    {"to_dict", object_to_dict_method, METH_NOARGS,
     "to_dict($self)\n--\n\nA plain, recursively converted `dict` \u2014 handy for `json.dumps` or `pprint`."},
    {"to_json", object_to_json_method, METH_NOARGS,
     "to_json($self)\n--\n\nThe subtree rooted at this object, serialized as pretty-printed JSON."},
    {"to_yaml", object_to_yaml_method, METH_NOARGS,
     "to_yaml($self)\n--\n\nThe subtree rooted at this object, serialized as YAML."},
    {nullptr, nullptr, 0, nullptr},
};

PyGetSetDef object_getset[] = {
    {"__type__", object_type_getter, nullptr, "The name of the model this object was deserialized from.", nullptr},
    {nullptr, nullptr, nullptr, nullptr, nullptr},
};

template <class F>
void* slot_function(F* f) {
    return reinterpret_cast<void*>(f);
}

PyType_Slot object_slots[] = {
    {Py_tp_new, slot_function(object_new)},
    {Py_mp_subscript, slot_function(object_subscript)},
    {Py_sq_contains, slot_function(object_contains_slot)},
    {Py_mp_length, slot_function(object_length)},
    {Py_tp_iter, slot_function(object_iter_slot)},
    {Py_tp_repr, slot_function(object_repr_slot)},
    {Py_tp_getattro, slot_function(object_getattro)},
    {Py_tp_richcompare, slot_function(object_richcompare)},
    // Filled like the item slot of a class with __getitem__: an index given
    // this way is rejected by the item lookup like any other non-text key.
    {Py_sq_item, slot_function(object_sequence_item)},
    {Py_tp_dealloc, slot_function(object_dealloc)},
    {Py_tp_traverse, slot_function(object_traverse)},
    {Py_tp_clear, slot_function(object_clear)},
    {Py_tp_methods, object_methods},
    {Py_tp_getset, object_getset},
    {Py_tp_doc, const_cast<char*>("Object(type_name, fields=None)\n--\n\n"
                                  "A model instance: an ordered set of named fields plus the name of the model "
                                  "type it originates from.")},
    {0, nullptr},
};

PyType_Spec object_spec = {
    "brindle.ort.Object",
    static_cast<int>(sizeof(ObjectInstance)),
    0,
    Py_TPFLAGS_DEFAULT | Py_TPFLAGS_BASETYPE | Py_TPFLAGS_HAVE_GC | Py_TPFLAGS_IMMUTABLETYPE,
    object_slots,
};

OnceCell object_type_cell;

}  // namespace

PyTypeObject* object_type() {
    return reinterpret_cast<PyTypeObject*>(
        object_type_cell.get_or_make([] { return checked(PyType_FromSpec(&object_spec)); }));
}

PyTypeObject* object_type_or_fault() {
    if (PyObject* made = object_type_cell.peek()) return reinterpret_cast<PyTypeObject*>(made);
    try {
        return object_type();
    } catch (const PythonError&) {
        fault("failed to create type object for `Object`");
    }
}

bool is_object(PyObject* obj) { return PyObject_TypeCheck(obj, object_type_or_fault()); }

namespace {

PyRef interned_str(std::string_view text) {
    PyObject* str = new_str(text).release();
    PyUnicode_InternInPlace(&str);
    return PyRef::steal(str);
}

}  // namespace

ObjectShape::ObjectShape(std::string_view type_name, std::span<const std::string_view> names)
    : type_name_(type_name), type_name_str_(interned_str(type_name)) {
    names_.reserve(names.size());
    for (std::string_view name : names) names_.push_back({std::string(name), interned_str(name)});
}

PyRef make_object(PyTypeObject* cls, const ObjectShape& shape, PyObject* const* values) {
    PyTypeObject* base = object_type_or_fault();
    if (cls->tp_new == base->tp_new && cls->tp_init == base->tp_init) return new_instance(cls, shape, values);
    // The class's construction was changed from Python: call the class as
    // the constructor is called, with the type name and a dict of the fields.
    // The collector's switch is the program's meanwhile, and until the
    // references made for the call are dropped: what the call let go of may
    // be finalized then.
    CollectorHandBack hand_back;
    Entries entries;
    {
        ValuesGuard guard(values, shape.size());
        entries.reserve(shape.size());
        guard.dismiss();
    }
    for (std::size_t i = 0; i < shape.size(); ++i) {
        entries.emplace_back(PyRef::borrow(shape.str(i)), PyRef::steal(values[i]));
    }
    PyRef fields = dict_from(entries);
    PyObject* args[] = {shape.type_name_str(), fields.get()};
    return checked(PyObject_Vectorcall(reinterpret_cast<PyObject*>(cls), args, 2, nullptr));
}

namespace {

ObjectData& checked_data(PyObject* obj) {
    if (!is_object(obj)) throw_not_an_instance(obj, "Object");
    return data_of(obj);
}

}  // namespace

PyRef object_get_item(PyObject* obj, std::string_view name) {
    ObjectData& d = checked_data(obj);
    SharedHold hold(d.borrow, SharedHold::Role::nested);
    return get_item(d, name);
}

PyObject* object_field_attribute(PyObject* obj, PyObject* name, std::string_view text) {
    ObjectData& d = checked_data(obj);
    SharedHold hold(d.borrow, SharedHold::Role::nested);
    return field_attribute(d, name, text);
}

bool object_contains(PyObject* obj, std::string_view name) {
    ObjectData& d = checked_data(obj);
    SharedHold hold(d.borrow, SharedHold::Role::nested);
    return d.find(name).has_value();
}

Py_ssize_t object_len(PyObject* obj) {
    ObjectData& d = checked_data(obj);
    SharedHold hold(d.borrow, SharedHold::Role::nested);
    return static_cast<Py_ssize_t>(d.field_count());
}

PyRef object_iter(PyObject* obj) {
    PyRef names = object_keys(obj);
    return checked(PyObject_GetIter(names.get()));
}

PyRef object_keys(PyObject* obj) {
    ObjectData& d = checked_data(obj);
    SharedHold hold(d.borrow, SharedHold::Role::nested);
    return names_list(d, 0, nullptr);
}

PyRef object_items(PyObject* obj) {
    ObjectData& d = checked_data(obj);
    SharedHold hold(d.borrow, SharedHold::Role::nested);
    return items_list(d);
}

PyRef object_repr(PyObject* obj) {
    ObjectData& d = checked_data(obj);
    SharedHold hold(d.borrow, SharedHold::Role::nested);
    return repr_of(d);
}

PyRef object_to_dict(PyObject* obj) {
    ObjectData& d = checked_data(obj);
    SharedHold hold(d.borrow, SharedHold::Role::nested);
    CollectorPause pause;
    return dict_of(d, 0);
}

models::JsonValue object_to_json_value(PyObject* obj) {
    ObjectData& d = checked_data(obj);
    SharedHold hold(d.borrow, SharedHold::Role::nested);
    return json_of(d, 0);
}

}  // namespace brindle::python
