// New lists and dicts that no Python code sees before they are complete.
//
// A list made by PyList_New is known to the collector at once, with every
// slot empty; a dict becomes known to it as soon as it holds a container.
// Code run while such a container is being filled (a key's __hash__ or
// __eq__, a replaced __new__, a finalizer, another thread after a switch)
// could then find it through gc.get_objects(): read an empty slot, or shrink
// the list under the writes still to come.  So the items are made first and
// held here, and the container is made and filled at the end.
#pragma once

#define PY_SSIZE_T_CLEAN
#include <Python.h>

#include <cstddef>
#include <utility>
#include <vector>

#include "python/collector_pause.hpp"
#include "python/py_ref.hpp"

namespace brindle::python {

using Entries = std::vector<std::pair<PyRef, PyRef>>;

// A new list of `items`, whose references it takes over.  Nothing between
// making the list and storing the last item can run Python code.
inline PyRef list_from(std::vector<PyRef>&& items) {
    std::vector<PyRef> taken = std::move(items);
    PyRef list = checked(PyList_New(static_cast<Py_ssize_t>(taken.size())));
    for (std::size_t i = 0; i < taken.size(); ++i) {
        PyList_SET_ITEM(list.get(), static_cast<Py_ssize_t>(i), taken[i].release());
    }
    return list;
}

// A new dict of `entries`, stored in order (a later equal key replaces the
// value and keeps the place, as in a dict).  Storing a key that is not an
// exact str runs its __hash__ and maybe __eq__, so the dict is kept from the
// collector until the last entry is in; the entries keep their references
// until then, so no value replaced meanwhile is released (and finalized)
// while the dict is unfinished.
inline PyRef dict_from(const Entries& entries) {
    PyRef dict = checked(PyDict_New());
    // Whether the dict asked to be tracked (it does once it holds a
    // container); it is tracked when complete if so.
    bool track = false;
    for (const auto& [key, value] : entries) {
        // From the first key that is not an exact str on, Python code may
        // run, and let go of values the build holds: the collector's switch
        // is the program's for the rest of the build (collector_pause.hpp).
        if (!PyUnicode_CheckExact(key.get())) CollectorPause::release();
        if (PyObject_GC_IsTracked(dict.get())) {
            track = true;
            PyObject_GC_UnTrack(dict.get());
        }
        checked_status(PyDict_SetItem(dict.get(), key.get(), value.get()));
    }
    if (PyObject_GC_IsTracked(dict.get())) {
        track = true;
    } else if (track) {
        PyObject_GC_Track(dict.get());
    }
    return dict;
}

}  // namespace brindle::python
