// Keeps the interpreter's cyclic collector from running while a tree of new
// containers is built.  None of them can be garbage before the build is done,
// so a collection in between would only walk them, again and again as the
// tree grows; what the collector owes is done at its next run instead.
#pragma once

#define PY_SSIZE_T_CLEAN
#include <Python.h>

namespace brindle::python {

class CollectorPause {
public:
    CollectorPause() noexcept : was_enabled_(PyGC_Disable()) {}
    ~CollectorPause() {
        if (was_enabled_) PyGC_Enable();
    }
    CollectorPause(const CollectorPause&) = delete;
    CollectorPause& operator=(const CollectorPause&) = delete;

private:
    int was_enabled_;
};

}  // namespace brindle::python
