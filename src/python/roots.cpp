// The root classes: one Python class per kind of file, generic over the
// root model type.  An instance owns the parsed model; to_json and to_yaml
// write the model, everything else works on the tree of Objects that the
// converter builds from it on first use and that the instance then keeps.
#include "python/roots.hpp"

#include <atomic>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "models/json_writer.hpp"
#include "models/model.hpp"
#include "models/ort/license_classifications.hpp"
#include "models/ort/ort_result.hpp"
#include "models/ort/repository_configuration.hpp"
#include "models/write.hpp"
#include "models/yaml_writer.hpp"
#include "python/collector_pause.hpp"
#include "python/containers.hpp"
#include "python/convert.hpp"
#include "python/errors.hpp"
#include "python/file_text.hpp"
#include "python/object.hpp"
#include "python/once_cell.hpp"
#include "python/py_ref.hpp"

namespace brindle::python {

namespace {

// What a root class adds to its model type: the check run after reading.
template <class M>
struct RootRules {
    static void check(const M&) {}
};

template <>
struct RootRules<models::ort::LicenseClassifications> {
    static void check(const models::ort::LicenseClassifications& c) {
        if (auto err = models::ort::validate_license_classifications(c)) throw_error(PyExc_ValueError, err->text());
    }
};

template <class M>
struct RootInstance {
    PyObject_HEAD
    M* model;                       // owned; never changed once the instance is made
    std::atomic<PyObject*> tree;    // owned once filled; never replaced
    BorrowFlag borrow;
};

template <class M>
class RootClass {
public:
    static PyTypeObject* type() {
        return reinterpret_cast<PyTypeObject*>(cell_.get_or_make([] {
            // Made here, not as a static member: static members of a class
            // template are initialized in no set order, so a spec made at
            // start-up could take the name before the name is made.
            static const std::string qualified_name = "brindle.ort." + std::string(name);
            PyType_Spec spec = {
                qualified_name.c_str(),
                static_cast<int>(sizeof(Instance)),
                0,
                Py_TPFLAGS_DEFAULT | Py_TPFLAGS_DISALLOW_INSTANTIATION | Py_TPFLAGS_IMMUTABLETYPE | Py_TPFLAGS_HAVE_GC,
                slots_,
            };
            return checked(PyType_FromSpec(&spec));
        }));
    }

private:
    using Instance = RootInstance<M>;
    static constexpr std::string_view name = models::Model<M>::name;

    static Instance& self(PyObject* o) noexcept { return *reinterpret_cast<Instance*>(o); }

    static M parse(std::string_view text, models::InputRelease release = {}) {
        M model = models::read_document<M>(text, release);
        RootRules<M>::check(model);
        return model;
    }

    static PyObject* make_instance(M&& model) {
        auto owned = std::make_unique<M>(std::move(model));
        PyTypeObject* t = type();
        PyObject* o = t->tp_alloc(t, 0);
        if (o == nullptr) throw PythonError{};
        Instance& inst = self(o);
        inst.model = owned.release();
        new (&inst.tree) std::atomic<PyObject*>(nullptr);
        new (&inst.borrow) BorrowFlag();
        return o;
    }

    // The tree, built on first need; of two threads building at once, the
    // first to store wins.
    static PyRef tree(Instance& inst) {
        PyObject* t = inst.tree.load(std::memory_order_acquire);
        if (t == nullptr) {
            PyRef built;
            {
                CollectorPause pause;
                built = to_python(*inst.model);
            }
            PyObject* expected = nullptr;
            if (inst.tree.compare_exchange_strong(expected, built.get(), std::memory_order_acq_rel)) {
                t = built.release();
            } else {
                t = expected;
            }
        }
        if (!is_object(t)) throw_not_an_instance(t, "Object");
        return PyRef::borrow(t);
    }

    // ---- static methods ----

    static constexpr const char* s_parameters[] = {"s"};
    static constexpr const char* path_parameters[] = {"path"};
    static inline const MethodDescription from_str_description{name, "from_yaml_str", s_parameters, 1};
    static inline const MethodDescription from_file_description{name, "from_yaml_file", path_parameters, 1};

    static PyObject* from_yaml_str(PyObject*, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
        return guarded<PyObject*>(nullptr, [&] {
            PyObject* arg[1];
            match_arguments(from_str_description, args, static_cast<std::size_t>(nargs), kwnames, arg);
            return make_instance(parse(text_argument(arg[0], "s")));
        });
    }

    static PyObject* from_yaml_file(PyObject*, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
        return guarded<PyObject*>(nullptr, [&] {
            PyObject* arg[1];
            match_arguments(from_file_description, args, static_cast<std::size_t>(nargs), kwnames, arg);
            FileText file(text_argument(arg[0], "path"));
            // The pages of the file that the reader is done with are given
            // back while the model grows.
            return make_instance(parse(file.text(), {&FileText::release_before, &file}));
        });
    }

    // ---- methods on the model ----

    template <class Writer>
    static PyObject* written(PyObject* o) {
        return guarded<PyObject*>(nullptr, [&] {
            Instance& inst = self(o);
            SharedHold hold(inst.borrow);
            Writer w;
            models::write(w, *inst.model);
            return new_str(w.take()).release();
        });
    }
    static PyObject* to_json(PyObject* o, PyObject*) { return written<models::JsonWriter>(o); }
    static PyObject* to_yaml(PyObject* o, PyObject*) { return written<models::YamlWriter>(o); }

    // ---- methods on the tree ----

    template <class F>
    static auto on_tree(PyObject* o, F&& f) {
        Instance& inst = self(o);
        SharedHold hold(inst.borrow);
        PyRef t = tree(inst);
        return f(t.get());
    }

    static PyObject* to_dict(PyObject* o, PyObject*) {
        return guarded<PyObject*>(nullptr, [&] { return on_tree(o, object_to_dict).release(); });
    }
    static PyObject* keys(PyObject* o, PyObject*) {
        return guarded<PyObject*>(nullptr, [&] { return on_tree(o, object_keys).release(); });
    }
    static PyObject* items(PyObject* o, PyObject*) {
        return guarded<PyObject*>(nullptr, [&] { return on_tree(o, object_items).release(); });
    }
    static PyObject* dir(PyObject* o, PyObject*) {
        return guarded<PyObject*>(nullptr, [&] {
            PyRef names = on_tree(o, object_keys);
            static constexpr const char* methods[] = {"from_yaml_str", "from_yaml_file", "to_json", "to_yaml",
                                                      "to_dict",       "keys",           "items"};
            std::vector<PyRef> all;
            all.reserve(std::size(methods) + static_cast<std::size_t>(PyList_GET_SIZE(names.get())));
            for (const char* m : methods) all.push_back(new_str(m));
            for (Py_ssize_t i = 0; i < PyList_GET_SIZE(names.get()); ++i) {
                all.push_back(PyRef::borrow(PyList_GET_ITEM(names.get(), i)));
            }
            return list_from(std::move(all)).release();
        });
    }

    // ---- slots ----

    static PyObject* getitem(PyObject* o, PyObject* key) {
        return guarded<PyObject*>(nullptr, [&] {
            Instance& inst = self(o);
            SharedHold hold(inst.borrow);
            std::string_view k = text_argument(key, "name");
            PyRef t = tree(inst);
            return object_get_item(t.get(), k).release();
        });
    }
    static PyObject* sequence_item(PyObject* o, Py_ssize_t index) {
        return guarded<PyObject*>(nullptr, [&] {
            PyRef key = checked(PyLong_FromSsize_t(index));
            PyObject* v = getitem(o, key.get());
            if (v == nullptr) throw PythonError{};
            return v;
        });
    }
    static int contains(PyObject* o, PyObject* key) {
        return guarded<int>(-1, [&] {
            Instance& inst = self(o);
            SharedHold hold(inst.borrow);
            std::string_view k = text_argument(key, "name");
            PyRef t = tree(inst);
            return object_contains(t.get(), k) ? 1 : 0;
        });
    }
    static Py_ssize_t length(PyObject* o) {
        return guarded<Py_ssize_t>(-1, [&] { return on_tree(o, object_len); });
    }
    static PyObject* iter(PyObject* o) {
        return guarded<PyObject*>(nullptr, [&] { return on_tree(o, object_iter).release(); });
    }
    static PyObject* repr(PyObject* o) {
        return guarded<PyObject*>(nullptr, [&] { return on_tree(o, object_repr).release(); });
    }
    // The methods first, then the fields of the tree.
    static PyObject* getattro(PyObject* o, PyObject* attr) {
        PyObject* found = ordinary_attribute(o, attr);
        if (found != nullptr || PyErr_Occurred() != nullptr) return found;
        return guarded<PyObject*>(nullptr, [&] {
            Instance& inst = self(o);
            SharedHold hold(inst.borrow);
            std::string_view k = text_argument(attr, "name");
            PyRef t = tree(inst);
            return object_field_attribute(t.get(), attr, k);
        });
    }

    static int traverse(PyObject* o, visitproc visit, void* arg) {
        Py_VISIT(self(o).tree.load(std::memory_order_acquire));
        Py_VISIT(Py_TYPE(o));
        return 0;
    }
    static int clear(PyObject* o) {
        Py_CLEAR_tree(self(o));
        return 0;
    }
    static void Py_CLEAR_tree(Instance& inst) {
        PyObject* t = inst.tree.exchange(nullptr, std::memory_order_acq_rel);
        Py_XDECREF(t);
    }
    static void dealloc(PyObject* o) {
        PyObject_GC_UnTrack(o);
        PyTypeObject* t = Py_TYPE(o);
        Instance& inst = self(o);
        Py_CLEAR_tree(inst);
        delete inst.model;
        inst.borrow.~BorrowFlag();
        t->tp_free(o);
        Py_DECREF(t);
    }

    template <class F>
    static void* slot(F* f) {
        return reinterpret_cast<void*>(f);
    }

    static inline PyMethodDef methods_[] = {
        {"from_yaml_str", reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(from_yaml_str)),
         METH_FASTCALL | METH_KEYWORDS | METH_STATIC, "from_yaml_str(s)\n--\n\n"},
        {"from_yaml_file", reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(from_yaml_file)),
         METH_FASTCALL | METH_KEYWORDS | METH_STATIC, "from_yaml_file(path)\n--\n\n"},
        {"to_json", to_json, METH_NOARGS, "to_json($self)\n--\n\n"},
        {"to_yaml", to_yaml, METH_NOARGS, "to_yaml($self)\n--\n\n"},
        {"to_dict", to_dict, METH_NOARGS, "to_dict($self)\n--\n\nThe model as nested plain `dict`s and lists."},
        {"keys", keys, METH_NOARGS, "keys($self)\n--\n\n"},
        {"items", items, METH_NOARGS, "items($self)\n--\n\n"},
        {"__dir__", dir, METH_NOARGS, "__dir__($self)\n--\n\n"},
        {nullptr, nullptr, 0, nullptr},
    };
    static inline PyType_Slot slots_[] = {
        {Py_mp_subscript, slot(getitem)},
        {Py_sq_contains, slot(contains)},
        {Py_mp_length, slot(length)},
        {Py_tp_iter, slot(iter)},
        {Py_tp_repr, slot(repr)},
        {Py_tp_getattro, slot(getattro)},
        {Py_sq_item, slot(sequence_item)},
        {Py_tp_methods, methods_},
        {Py_tp_traverse, slot(traverse)},
        {Py_tp_clear, slot(clear)},
        {Py_tp_dealloc, slot(dealloc)},
        {0, nullptr},
    };
    static inline OnceCell cell_;
};

}  // namespace

PyTypeObject* license_classifications_type() { return RootClass<models::ort::LicenseClassifications>::type(); }
PyTypeObject* repository_configuration_type() { return RootClass<models::ort::RepositoryConfiguration>::type(); }
PyTypeObject* ort_result_type() { return RootClass<models::ort::OrtResult>::type(); }

}  // namespace brindle::python
