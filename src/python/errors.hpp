// How the binding reports failures to Python, matches arguments, takes text
// arguments and guards its instances.
//
// Inside the binding, code runs in C++ style: an interpreter call that fails
// throws PythonError with its exception left set, the binding's own errors are
// set and thrown the same way, and a broken internal rule throws Fault.  Every
// function the interpreter calls runs its body through `guarded`, which lets no
// C++ exception escape: PythonError leaves the exception as it is,
// std::bad_alloc becomes MemoryError, a models::ReadError becomes ValueError
// with its text, and a Fault (or any other C++ exception) is reported on
// standard error and raised as PanicException.
#pragma once

#define PY_SSIZE_T_CLEAN
#include <Python.h>

#include <atomic>
#include <cstddef>
#include <source_location>
#include <span>
#include <string>
#include <string_view>

#include "python/py_ref.hpp"

namespace brindle::python {

// A broken internal rule.
class Fault {
public:
    Fault(std::string message, std::source_location where) : message_(std::move(message)), where_(where) {}
    const std::string& message() const noexcept { return message_; }
    const std::source_location& where() const noexcept { return where_; }

private:
    std::string message_;
    std::source_location where_;
};

[[noreturn]] void fault(std::string message, std::source_location where = std::source_location::current());

// The class PanicException (borrowed), made on first need; null with an error
// set if it cannot be made.
PyObject* panic_exception_type() noexcept;

// Turns the C++ exception being handled into the pending Python exception.
void raise_current_exception() noexcept;

// Runs `body` and gives its result, or `failure` with a Python exception set.
template <class R, class F>
R guarded(R failure, F&& body) noexcept {
    try {
        return body();
    } catch (...) {
        raise_current_exception();
        return failure;
    }
}

// A new str of UTF-8 text.
PyRef new_str(std::string_view text);

// Sets `type(message)` as the pending exception and throws PythonError.
[[noreturn]] void throw_error(PyObject* type, std::string_view message);

// The TypeError for an object that is not an instance of `expected`:
// "'<qualified type name>' object is not an instance of '<expected>'", or for
// None "'None' is not an instance of '<expected>'".
[[noreturn]] void throw_not_an_instance(PyObject* obj, std::string_view expected);

// Adds the note "while processing '<parameter>'" to the pending exception; a
// failure to add it is dropped.
void add_argument_note(std::string_view parameter) noexcept;

// The UTF-8 form of a str (or str subclass) argument, valid while `obj` lives;
// anything else fails with the not-an-instance TypeError, a str without a
// UTF-8 form with the interpreter's UnicodeEncodeError, both noted with the
// parameter name.
std::string_view text_argument(PyObject* obj, std::string_view parameter);

// The same rule without a note (dict keys).
std::string_view text_value(PyObject* obj);

// A method or constructor with positional-or-keyword parameters only.
struct MethodDescription {
    std::string_view class_name;
    std::string_view method_name;
    std::span<const char* const> parameters;
    std::size_t required;

    // "Class.method()", the name used in the messages.
    std::string full_name() const;
};

// Matches one call's arguments to the parameters: `out` (one slot per
// parameter) receives borrowed arguments, null for an optional one not given.
// A mismatch fails with TypeError.
void match_arguments(const MethodDescription& method, PyObject* args, PyObject* kwargs, std::span<PyObject*> out);
// The same for the vectorcall convention.
void match_arguments(const MethodDescription& method, PyObject* const* args, std::size_t nargs, PyObject* kwnames,
                     std::span<PyObject*> out);

// The count of method calls working on an instance; -1 would mean held
// exclusively, which nothing in the binding ever does.
class BorrowFlag {
public:
    constexpr BorrowFlag() noexcept = default;

private:
    friend class SharedHold;
    std::atomic<Py_ssize_t> count_{0};
};

// A shared hold on an instance for the time of one operation.  The instance a
// call was made on fails with RuntimeError "Already mutably borrowed" if held
// exclusively; any other instance read along the way (a nested tree object) is
// a fault then.
class SharedHold {
public:
    enum class Role { called, nested };
    explicit SharedHold(BorrowFlag& flag, Role role = Role::called,
                        std::source_location where = std::source_location::current());
    ~SharedHold() { flag_.count_.fetch_sub(1, std::memory_order_release); }
    SharedHold(const SharedHold&) = delete;
    SharedHold& operator=(const SharedHold&) = delete;

private:
    BorrowFlag& flag_;
};

// Holds the per-object lock of a builtin container on an interpreter without
// the global lock; nothing otherwise.
class CriticalSection {
public:
    explicit CriticalSection([[maybe_unused]] PyObject* op) noexcept {
#ifdef Py_GIL_DISABLED
        PyCriticalSection_Begin(&cs_, op);
#endif
    }
    ~CriticalSection() {
#ifdef Py_GIL_DISABLED
        PyCriticalSection_End(&cs_);
#endif
    }
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;

private:
#ifdef Py_GIL_DISABLED
    PyCriticalSection cs_;
#endif
};

}  // namespace brindle::python
