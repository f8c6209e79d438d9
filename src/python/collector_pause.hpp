// Keeps the interpreter's cyclic collector from running while a tree of new
// containers is built.  None of them can be garbage before the build is done,
// so a collection in between would only walk them, again and again as the
// tree grows; what the collector owes is done at its next run instead.
//
// The switch belongs to the program, though: a gc.disable() or gc.enable() by
// Python code must stay in force, and Python code must find the state its
// program set.  So the switch is held off only while the build's own code
// runs.  Around a call into Python code (a replaced __new__, an import) it is
// handed back (`CollectorHandBack`): set to the program's state before the
// call; after it, the state found is taken as the program's and the switch
// is turned off again.  At the end the program's state is put back.  Where
// Python code may run that could let go of values the build still holds (a
// key's __hash__ in a to_dict copy), the switch is given back for the rest of
// the build (`CollectorPause::release`), so that finalizers run by the build
// dropping them find the program's state too; and so it is when an exception
// leaves a call into Python code, for the values dropped on the way out.
//
// Why no change by another thread is lost, though the switch is one flag of
// the interpreter and another thread's gc.disable() cannot be told apart from
// ours once it is off: with the interpreter's global lock, another thread runs
// Python code only when this one lets go of the lock, which it does only
// inside Python code it called, or while it waits for a lock (another thread
// making a class's shape); the build hands the switch back around both.  So
// whatever any thread does to the switch is done while it is the program's,
// and is read back when the hand back ends; a build that starts on another
// thread meanwhile also finds the program's state, and keeps its own record
// of it.  A build started by Python code inside a hand back does the same.
//
// Without the global lock other threads run at any moment: a hold would be
// seen by them and could swallow their changes, so the switch is left alone
// and these classes do nothing.
//
// A pause made while one already holds the switch on this thread does
// nothing; the one holding stays in charge.
#pragma once

#define PY_SSIZE_T_CLEAN
#include <Python.h>

#include <exception>

namespace brindle::python {

class CollectorHandBack;

class CollectorPause {
public:
#ifdef Py_GIL_DISABLED
    CollectorPause() noexcept {}
    static void release() noexcept {}
#else
    CollectorPause() noexcept {
        if (holder_ != nullptr) return;
        program_enabled_ = PyGC_Disable();
        holder_ = this;
    }
    ~CollectorPause() {
        if (holder_ == this) release();
    }

    // Gives the switch back to the program for the rest of the build that
    // holds it on this thread, if any.
    static void release() noexcept {
        CollectorPause* pause = holder_;
        if (pause == nullptr) return;
        holder_ = nullptr;
        if (pause->program_enabled_) PyGC_Enable();
    }
#endif
    CollectorPause(const CollectorPause&) = delete;
    CollectorPause& operator=(const CollectorPause&) = delete;

private:
    friend class CollectorHandBack;
#ifndef Py_GIL_DISABLED
    // The pause that holds the switch off on this thread, if any.
    static inline thread_local CollectorPause* holder_ = nullptr;

    int program_enabled_ = 0;  // the program's state, as last found
#endif
};

// Gives the switch back to the program for the time of a call into Python
// code, if a pause holds it on this thread; does nothing otherwise.
class CollectorHandBack {
public:
#ifdef Py_GIL_DISABLED
    CollectorHandBack() noexcept {}
#else
    CollectorHandBack() noexcept : pause_(CollectorPause::holder_) {
        if (pause_ == nullptr) return;
        uncaught_ = std::uncaught_exceptions();
        CollectorPause::release();
    }
    ~CollectorHandBack() {
        // Left on the way out of a failed call: the switch stays the program's.
        if (pause_ == nullptr || std::uncaught_exceptions() > uncaught_) return;
        pause_->program_enabled_ = PyGC_Disable();
        CollectorPause::holder_ = pause_;
    }
#endif
    CollectorHandBack(const CollectorHandBack&) = delete;
    CollectorHandBack& operator=(const CollectorHandBack&) = delete;

private:
#ifndef Py_GIL_DISABLED
    CollectorPause* pause_;
    int uncaught_ = 0;
#endif
};

}  // namespace brindle::python
