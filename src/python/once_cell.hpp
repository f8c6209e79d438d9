// A process-wide Python object made once, on first need, and never released.
#pragma once

#define PY_SSIZE_T_CLEAN
#include <Python.h>

#include <atomic>
#include <memory>

#include "python/py_ref.hpp"

namespace brindle::python {

class OnceCell {
public:
    constexpr OnceCell() noexcept = default;
    OnceCell(const OnceCell&) = delete;
    OnceCell& operator=(const OnceCell&) = delete;

    // The stored object (borrowed), made by `make` (returning a PyRef, or
    // throwing) if this is the first need.  A thread that finds another one
    // making it releases the interpreter while it waits; the maker runs
    // attached.  A failed `make` stores nothing, so a later call tries again.
    template <class Make>
    PyObject* get_or_make(Make&& make) {
        if (PyObject* v = value_.load(std::memory_order_acquire)) return v;
        Lock lock(mutex_);
        if (PyObject* v = value_.load(std::memory_order_acquire)) return v;
        PyRef made = make();
        PyObject* v = made.release();
        value_.store(v, std::memory_order_release);
        return v;
    }

    // The stored object, or null if it was never made.
    PyObject* peek() const noexcept { return value_.load(std::memory_order_acquire); }

private:
    class Lock {
    public:
        explicit Lock(PyMutex& m) : m_(m) { PyMutex_Lock(&m_); }
        ~Lock() { PyMutex_Unlock(&m_); }
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;

    private:
        PyMutex& m_;
    };

    std::atomic<PyObject*> value_{nullptr};
    PyMutex mutex_{};
};

// A process-wide C++ value made once, on first need, and never destroyed
// (it may hold Python references, which outlive the interpreter's end this
// way rather than being released after it).  The same waiting rules as
// OnceCell; a failed `make` (returning a std::unique_ptr<T>, or throwing)
// stores nothing.
template <class T>
class OnceBox {
public:
    constexpr OnceBox() noexcept = default;
    OnceBox(const OnceBox&) = delete;
    OnceBox& operator=(const OnceBox&) = delete;

    template <class Make>
    const T& get_or_make(Make&& make) {
        if (const T* v = value_.load(std::memory_order_acquire)) return *v;
        PyMutex_Lock(&mutex_);
        struct Unlock {
            PyMutex& m;
            ~Unlock() { PyMutex_Unlock(&m); }
        } unlock{mutex_};
        if (const T* v = value_.load(std::memory_order_acquire)) return *v;
        std::unique_ptr<T> made = make();
        const T* v = made.release();
        value_.store(v, std::memory_order_release);
        return *v;
    }

private:
    std::atomic<const T*> value_{nullptr};
    PyMutex mutex_{};
};

}  // namespace brindle::python
