// Ownership of Python references.
//
// A `PyRef` owns exactly one strong reference (or none); a raw `PyObject*`
// anywhere in the binding is a borrowed reference.
#pragma once

#define PY_SSIZE_T_CLEAN
#include <Python.h>

#include <utility>

namespace brindle::python {

// Thrown when an interpreter call failed and left its exception set; the call
// layer (errors.hpp) lets that exception reach Python unchanged.
struct PythonError {};

class PyRef {
public:
    PyRef() noexcept = default;
    PyRef(PyRef&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    PyRef& operator=(PyRef&& other) noexcept {
        if (this != &other) reset(std::exchange(other.p_, nullptr));
        return *this;
    }
    PyRef(const PyRef&) = delete;
    PyRef& operator=(const PyRef&) = delete;
    ~PyRef() { reset(); }

    // Takes over a new reference (which may be null).
    static PyRef steal(PyObject* p) noexcept { return PyRef(p); }
    // Takes a new reference to a borrowed object (which may be null).
    static PyRef borrow(PyObject* p) noexcept { return PyRef(Py_XNewRef(p)); }

    PyObject* get() const noexcept { return p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }
    // Gives up ownership: the caller now owns the reference.
    [[nodiscard]] PyObject* release() noexcept { return std::exchange(p_, nullptr); }
    // Drops the held reference after the slot already holds `p`, so code run
    // by the release never sees the old object here.
    void reset(PyObject* p = nullptr) noexcept {
        PyObject* old = std::exchange(p_, p);
        Py_XDECREF(old);
    }

private:
    explicit PyRef(PyObject* p) noexcept : p_(p) {}
    PyObject* p_ = nullptr;
};

// The result of an interpreter call that gives a new reference, or null with
// an exception set: owned, or PythonError thrown.
inline PyRef checked(PyObject* new_ref) {
    if (new_ref == nullptr) throw PythonError{};
    return PyRef::steal(new_ref);
}

// A status of an interpreter call (-1 with an exception set on failure).
inline int checked_status(int status) {
    if (status < 0) throw PythonError{};
    return status;
}

}  // namespace brindle::python
