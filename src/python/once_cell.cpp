#include "python/once_cell.hpp"

#include <mutex>

namespace brindle::python::detail {

namespace {

// The enlisted cells and whether this interpreter's exit hook is installed.
// The lock is never held while the interpreter runs code.
std::mutex list_mutex;
ScopedCell* enlisted_cells = nullptr;
bool hook_installed = false;

void on_interpreter_finalized() { forget_interpreter_cells(); }

}  // namespace

void ScopedCell::enlist() {
    std::lock_guard guard(list_mutex);
    if (enlisted_) return;
    if (!hook_installed) {
        // The interpreter empties its table of these hooks when it calls
        // them, so each interpreter life installs its own.
        if (Py_AtExit(on_interpreter_finalized) != 0) {
            PyErr_SetString(PyExc_RuntimeError, "no room left for the exit hook of brindle._brindle");
            throw PythonError{};
        }
        hook_installed = true;
    }
    next_ = enlisted_cells;
    enlisted_cells = this;
    enlisted_ = true;
}

void forget_interpreter_cells() noexcept {
    std::lock_guard guard(list_mutex);
    for (ScopedCell* cell = enlisted_cells; cell != nullptr;) {
        ScopedCell* next = cell->next_;
        cell->forget_(*cell);
        cell->next_ = nullptr;
        cell->enlisted_ = false;
        cell = next;
    }
    enlisted_cells = nullptr;
    hook_installed = false;
}

}  // namespace brindle::python::detail
