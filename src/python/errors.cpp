#include "python/errors.hpp"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <new>
#include <vector>

#include "models/read_error.hpp"
#include "python/once_cell.hpp"

namespace brindle::python {

namespace {

constexpr const char* panic_doc =
    "Raised when an internal fault happens during a call from Python.\n"
    "\n"
    "Like SystemExit, it derives from BaseException rather than Exception, so\n"
    "that it usually propagates up the whole stack and ends the interpreter.";

OnceCell panic_exception_cell;

// Sets `type(message)` as the pending exception; an exception of its own
// (no memory for the text) is left pending instead.
void set_error(PyObject* type, std::string_view message) noexcept {
    PyObject* text = PyUnicode_DecodeUTF8(message.data(), static_cast<Py_ssize_t>(message.size()), "replace");
    if (text == nullptr) return;
    PyErr_SetObject(type, text);
    Py_DECREF(text);
}

// Writes the fault report and raises PanicException with the message.
void raise_panic(const std::string& message, const std::source_location* where) {
    // An exception pending at the time of the fault is part of the story.
    if (PyObject* pending = PyErr_GetRaisedException()) {
        PyErr_DisplayException(pending);
        Py_DECREF(pending);
    }
    std::string report = "brindle: internal fault in thread " + std::to_string(PyThread_get_thread_native_id());
    if (where != nullptr) {
        report += " at ";
        report += where->file_name();
        report += ":" + std::to_string(where->line());
        report += " (";
        report += where->function_name();
        report += ")";
    }
    report += ":\n  " + message +
              "\nnote: to see how it came about, run the program under a debugger with a breakpoint on "
              "__cxa_throw and look at the backtrace\n";
    std::fputs(report.c_str(), stderr);
    std::fflush(stderr);

    PyObject* type = panic_exception_type();
    if (type == nullptr) return;  // its creation's error is pending
    set_error(type, message);
}

}  // namespace

void fault(std::string message, std::source_location where) { throw Fault(std::move(message), where); }

PyObject* panic_exception_type() noexcept {
    return guarded<PyObject*>(nullptr, [] {
        return panic_exception_cell.get_or_make([] {
            return checked(PyErr_NewExceptionWithDoc("brindle._brindle.PanicException", panic_doc,
                                                     PyExc_BaseException, nullptr));
        });
    });
}

void raise_current_exception() noexcept {
    try {
        try {
            throw;
        } catch (const PythonError&) {
            if (!PyErr_Occurred()) {
                PyErr_SetString(PyExc_SystemError, "attempted to fetch exception but none was set");
            }
        } catch (const std::bad_alloc&) {
            PyErr_NoMemory();
        } catch (const models::ReadError& e) {
            set_error(PyExc_ValueError, e.text());
        } catch (const Fault& f) {
            raise_panic(f.message(), &f.where());
        } catch (const std::exception& e) {
            raise_panic(e.what(), nullptr);
        } catch (...) {
            raise_panic("unknown C++ exception", nullptr);
        }
    } catch (...) {
        std::fputs("uncaught panic at ffi boundary\n", stderr);
        std::abort();
    }
}

PyRef new_str(std::string_view text) {
    return checked(PyUnicode_DecodeUTF8(text.data(), static_cast<Py_ssize_t>(text.size()), nullptr));
}

void throw_error(PyObject* type, std::string_view message) {
    set_error(type, message);
    throw PythonError{};
}

void throw_not_an_instance(PyObject* obj, std::string_view expected) {
    std::string expected_text(expected);
    if (Py_IsNone(obj)) {
        PyErr_Format(PyExc_TypeError, "'None' is not an instance of '%s'", expected_text.c_str());
        throw PythonError{};
    }
    PyRef qualname = checked(PyType_GetQualName(Py_TYPE(obj)));
    PyErr_Format(PyExc_TypeError, "'%U' object is not an instance of '%s'", qualname.get(), expected_text.c_str());
    throw PythonError{};
}

void add_argument_note(std::string_view parameter) noexcept {
    PyObject* exc = PyErr_GetRaisedException();
    if (exc == nullptr) return;
    std::string name(parameter);
    PyObject* note = PyUnicode_FromFormat("while processing '%s'", name.c_str());
    if (note != nullptr) {
        PyObject* method = PyUnicode_FromString("add_note");
        PyObject* result = method ? PyObject_CallMethodOneArg(exc, method, note) : nullptr;
        Py_XDECREF(result);
        Py_XDECREF(method);
        Py_DECREF(note);
    }
    PyErr_Clear();
    PyErr_SetRaisedException(exc);
}

std::string_view text_value(PyObject* obj) {
    if (!PyUnicode_Check(obj)) throw_not_an_instance(obj, "str");
    Py_ssize_t size = 0;
    const char* text = PyUnicode_AsUTF8AndSize(obj, &size);
    if (text == nullptr) throw PythonError{};
    return {text, static_cast<std::size_t>(size)};
}

std::string_view text_argument(PyObject* obj, std::string_view parameter) {
    try {
        return text_value(obj);
    } catch (const PythonError&) {
        add_argument_note(parameter);
        throw;
    }
}

std::string MethodDescription::full_name() const {
    std::string name(class_name);
    name += '.';
    name += method_name;
    name += "()";
    return name;
}

namespace {

void check_positional_count(const MethodDescription& method, std::size_t given) {
    std::size_t count = method.parameters.size();
    if (given <= count) return;
    std::string message = method.full_name();
    if (method.required < count) {
        message += " takes from " + std::to_string(method.required) + " to " + std::to_string(count);
    } else {
        message += " takes " + std::to_string(count);
    }
    message += " positional arguments but " + std::to_string(given) + (given == 1 ? " was" : " were") + " given";
    throw_error(PyExc_TypeError, message);
}

void fill_keyword(const MethodDescription& method, PyObject* keyword, PyObject* value, std::span<PyObject*> out) {
    for (std::size_t i = 0; i < method.parameters.size(); ++i) {
        if (PyUnicode_Check(keyword) && PyUnicode_EqualToUTF8(keyword, method.parameters[i])) {
            if (out[i] != nullptr) {
                throw_error(PyExc_TypeError, method.full_name() + " got multiple values for argument '" +
                                                 method.parameters[i] + "'");
            }
            out[i] = value;
            return;
        }
    }
    std::string full = method.full_name();
    PyErr_Format(PyExc_TypeError, "%s got an unexpected keyword argument '%S'", full.c_str(), keyword);
    throw PythonError{};
}

void check_required(const MethodDescription& method, std::span<PyObject*> out) {
    std::vector<const char*> missing;
    for (std::size_t i = 0; i < method.required; ++i) {
        if (out[i] == nullptr) missing.push_back(method.parameters[i]);
    }
    if (missing.empty()) return;
    std::string message = method.full_name() + " missing " + std::to_string(missing.size()) + " required positional " +
                          (missing.size() == 1 ? "argument" : "arguments") + ": ";
    for (std::size_t i = 0; i < missing.size(); ++i) {
        if (i > 0) {
            if (missing.size() == 2) {
                message += " and ";
            } else {
                message += i + 1 == missing.size() ? ", and " : ", ";
            }
        }
        message += "'";
        message += missing[i];
        message += "'";
    }
    throw_error(PyExc_TypeError, message);
}

}  // namespace

void match_arguments(const MethodDescription& method, PyObject* args, PyObject* kwargs, std::span<PyObject*> out) {
    std::fill(out.begin(), out.end(), nullptr);
    std::size_t given = args ? static_cast<std::size_t>(PyTuple_GET_SIZE(args)) : 0;
    check_positional_count(method, given);
    for (std::size_t i = 0; i < given; ++i) out[i] = PyTuple_GET_ITEM(args, static_cast<Py_ssize_t>(i));
    if (kwargs != nullptr) {
        Py_ssize_t pos = 0;
        PyObject* key = nullptr;
        PyObject* value = nullptr;
        // The keyword dict of a call is private to the call.
        while (PyDict_Next(kwargs, &pos, &key, &value)) fill_keyword(method, key, value, out);
    }
    check_required(method, out);
}

void match_arguments(const MethodDescription& method, PyObject* const* args, std::size_t nargs, PyObject* kwnames,
                     std::span<PyObject*> out) {
    std::fill(out.begin(), out.end(), nullptr);
    std::size_t given = static_cast<std::size_t>(PyVectorcall_NARGS(nargs));
    check_positional_count(method, given);
    for (std::size_t i = 0; i < given; ++i) out[i] = args[i];
    if (kwnames != nullptr) {
        Py_ssize_t count = PyTuple_GET_SIZE(kwnames);
        for (Py_ssize_t k = 0; k < count; ++k) {
            fill_keyword(method, PyTuple_GET_ITEM(kwnames, k), args[given + static_cast<std::size_t>(k)], out);
        }
    }
    check_required(method, out);
}

SharedHold::SharedHold(BorrowFlag& flag, Role role, std::source_location where) : flag_(flag) {
    Py_ssize_t count = flag_.count_.load(std::memory_order_relaxed);
    do {
        if (count == -1) {
            if (role == Role::called) throw_error(PyExc_RuntimeError, "Already mutably borrowed");
            fault("Already mutably borrowed", where);
        }
    } while (!flag_.count_.compare_exchange_weak(count, count + 1, std::memory_order_acquire,
                                                 std::memory_order_relaxed));
}

}  // namespace brindle::python
