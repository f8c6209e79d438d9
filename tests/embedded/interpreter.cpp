// The one interpreter of the embedded tests, started before the first test,
// with the extension module linked into the test program.
#define PY_SSIZE_T_CLEAN
#include <Python.h>
#include <gtest/gtest.h>

#include "embedded_util.hpp"

namespace {

class Interpreter : public ::testing::Environment {
public:
    void SetUp() override { brindle::test::start_interpreter(); }
};

const auto* interpreter = ::testing::AddGlobalTestEnvironment(new Interpreter);

}  // namespace

namespace brindle::test {

void start_interpreter() {
    // The table of built-in modules is reset by each finalization.
    PyImport_AppendInittab("brindle._brindle", PyInit__brindle);
    Py_InitializeEx(0);
}

}  // namespace brindle::test
