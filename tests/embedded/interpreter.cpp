// The one interpreter of the converter tests, started before the first test.
#define PY_SSIZE_T_CLEAN
#include <Python.h>
#include <gtest/gtest.h>

namespace {

class Interpreter : public ::testing::Environment {
public:
    void SetUp() override { Py_InitializeEx(0); }
};

const auto* interpreter = ::testing::AddGlobalTestEnvironment(new Interpreter);

}  // namespace
