#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>

#include "models/document.hpp"
#include "models/json_writer.hpp"
#include "models/read.hpp"
#include "models/write.hpp"
#include "models/yaml_writer.hpp"

namespace brindle::test {

// Reads `text` as one document holding a T; returns the error text, or "" on success.
template <class T>
std::string read_error(std::string_view text, T* out = nullptr) {
    try {
        T v = models::read_yaml_document(text, [](models::Cursor& c) {
            T value{};
            read(c, value);
            return value;
        });
        if (out) *out = std::move(v);
        return "";
    } catch (const models::ReadError& e) {
        return e.text();
    }
}

template <class T>
T read_ok(std::string_view text) {
    T v{};
    std::string err = read_error<T>(text, &v);
    EXPECT_EQ(err, "") << "reading: " << text;
    return v;
}

// A model value written as JSON text / as YAML text.
template <class T>
std::string json(const T& v) {
    models::JsonWriter w;
    write(w, v);
    return w.take();
}
template <class T>
std::string yaml(const T& v) {
    models::YamlWriter w;
    write(w, v);
    return w.take();
}

// The whole of a file; a file that cannot be opened fails the test with its name.
inline std::string file_text(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot open " + path);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The folder of real files some tests read: $BRINDLE_CORPUS when set, else
// the folder the build was configured with (../shared/corpus beside the clone).
inline std::string corpus_dir() {
    const char* set = std::getenv("BRINDLE_CORPUS");
    return set && *set ? std::string(set) : std::string(BRINDLE_CORPUS);
}

// A file of the corpus by its path within it, "results/12.yml" for example.
inline std::string corpus_path(std::string_view name) { return corpus_dir() + "/" + std::string(name); }

// Whether this runs under CI (CI set, and not to "false" or "0").
inline bool in_ci() {
    const char* ci = std::getenv("CI");
    return ci && *ci && std::string_view(ci) != "false" && std::string_view(ci) != "0";
}

// Why the corpus tests cannot run here, or "" when the corpus is there.
inline std::string corpus_missing() {
    std::error_code ec;
    if (std::filesystem::is_directory(corpus_dir(), ec)) return "";
    return "no corpus at " + corpus_dir() + " (set BRINDLE_CORPUS to a corpus folder to run this test)";
}

}  // namespace brindle::test

// First line of a test that reads the corpus: without the corpus the test is
// skipped, saying why; under CI it fails instead, so that CI never passes on
// fewer tests than it has.
#define BRINDLE_NEEDS_CORPUS()                                                  \
    do {                                                                        \
        std::string brindle_missing_ = ::brindle::test::corpus_missing();       \
        if (!brindle_missing_.empty()) {                                        \
            if (::brindle::test::in_ci()) FAIL() << brindle_missing_ << "; CI needs it"; \
            GTEST_SKIP() << brindle_missing_;                                   \
        }                                                                       \
    } while (0)
