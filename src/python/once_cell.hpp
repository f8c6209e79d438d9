// Python objects made once per interpreter, on first need, and kept for the
// interpreter's whole life.
//
// Every cell that holds something is on a list of cells that a low-level exit
// hook (Py_AtExit) empties once the interpreter has been finalized, so that an
// interpreter started again in the same process makes its own objects on first
// need rather than using those of the finalized one.  The old objects are not
// released: until the very end of finalization objects of the interpreter may
// still use them (an Object's shape, the class cache of a conversion run by a
// finalizer), and after it no interpreter call may be made.  What they hold is
// left to the finalized interpreter, which never runs again.
#pragma once

#define PY_SSIZE_T_CLEAN
#include <Python.h>

#include <atomic>
#include <memory>

#include "python/py_ref.hpp"

namespace brindle::python {

namespace detail {

// The part of a cell that the exit hook knows: how to forget the value.
class ScopedCell {
public:
    constexpr explicit ScopedCell(void (*forget)(ScopedCell&) noexcept) noexcept : forget_(forget) {}
    ScopedCell(const ScopedCell&) = delete;
    ScopedCell& operator=(const ScopedCell&) = delete;

protected:
    // Puts the cell on the list that the exit hook empties, installing the
    // hook first if this interpreter has none yet.  Called with the cell's
    // lock held, before its value is stored; throws PythonError (RuntimeError
    // set) if the hook cannot be installed, and then nothing is stored.
    void enlist();

private:
    friend void forget_interpreter_cells() noexcept;
    void (*forget_)(ScopedCell&) noexcept;
    ScopedCell* next_ = nullptr;
    bool enlisted_ = false;
};

// Forgets the values of every enlisted cell (the exit hook's work).
void forget_interpreter_cells() noexcept;

class CellLock {
public:
    explicit CellLock(PyMutex& m) : m_(m) { PyMutex_Lock(&m_); }
    ~CellLock() { PyMutex_Unlock(&m_); }
    CellLock(const CellLock&) = delete;
    CellLock& operator=(const CellLock&) = delete;

private:
    PyMutex& m_;
};

}  // namespace detail

// A Python object made once per interpreter.
class OnceCell : private detail::ScopedCell {
public:
    constexpr OnceCell() noexcept : ScopedCell(&forget) {}

    // The stored object (borrowed), made by `make` (returning a PyRef, or
    // throwing) if this is the first need.  A thread that finds another one
    // making it releases the interpreter while it waits; the maker runs
    // attached.  A failed `make` stores nothing, so a later call tries again.
    template <class Make>
    PyObject* get_or_make(Make&& make) {
        if (PyObject* v = value_.load(std::memory_order_acquire)) return v;
        detail::CellLock lock(mutex_);
        if (PyObject* v = value_.load(std::memory_order_acquire)) return v;
        PyRef made = make();
        enlist();
        PyObject* v = made.release();
        value_.store(v, std::memory_order_release);
        return v;
    }

    // The stored object, or null if it was not made yet.
    PyObject* peek() const noexcept { return value_.load(std::memory_order_acquire); }

private:
    static void forget(ScopedCell& cell) noexcept {
        static_cast<OnceCell&>(cell).value_.store(nullptr, std::memory_order_release);
    }

    std::atomic<PyObject*> value_{nullptr};
    PyMutex mutex_{};
};

// A C++ value made once per interpreter (it may hold Python references, which
// therefore follow the rules above: never released, forgotten after the
// interpreter's end).  The same waiting rules as OnceCell; a failed `make`
// (returning a std::unique_ptr<T>, or throwing) stores nothing.
template <class T>
class OnceBox : private detail::ScopedCell {
public:
    constexpr OnceBox() noexcept : ScopedCell(&forget) {}

    template <class Make>
    const T& get_or_make(Make&& make) {
        if (const T* v = value_.load(std::memory_order_acquire)) return *v;
        detail::CellLock lock(mutex_);
        if (const T* v = value_.load(std::memory_order_acquire)) return *v;
        std::unique_ptr<T> made = make();
        enlist();
        const T* v = made.release();
        value_.store(v, std::memory_order_release);
        return *v;
    }

    // The stored value, or null if it was not made yet.
    const T* peek() const noexcept { return value_.load(std::memory_order_acquire); }

private:
    static void forget(ScopedCell& cell) noexcept {
        static_cast<OnceBox&>(cell).value_.store(nullptr, std::memory_order_release);
    }

    std::atomic<const T*> value_{nullptr};
    PyMutex mutex_{};
};

}  // namespace brindle::python
