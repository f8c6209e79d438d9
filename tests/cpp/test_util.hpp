#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

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

inline std::string file_text(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace brindle::test
