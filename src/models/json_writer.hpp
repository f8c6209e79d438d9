// Pretty-printed JSON text, written into one growing buffer.
//
// The writer is driven by calls in document order: a container is opened,
// filled (objects take key() before each value) and closed.  Layout: two
// spaces per level, one member per line, ": " after a key, "{}" and "[]" for
// empty containers, and nothing after the outermost closing bracket.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace brindle::models {

class JsonWriter {
public:
    JsonWriter() { out_.reserve(128); }

    void begin_object() { open('{'); }
    void end_object() { close('{', '}'); }
    void begin_array() { open('['); }
    void end_array() { close('[', ']'); }
    // Starts the next member of the innermost object.
    void key(std::string_view k);

    void null();
    void boolean(bool b);
    void number(std::uint64_t v);
    void number(std::int64_t v);
    void number(double v);  // not finite: null
    void string(std::string_view s);

    // The text written so far; the writer is left empty.
    std::string take() { return std::move(out_); }
    // Whether a number that is not finite was written (as null, which reads
    // back as no number).
    bool wrote_non_finite() const noexcept { return non_finite_; }

private:
    // Called before every value: separates array elements.
    void before_value();
    void open(char bracket);
    void close(char open_bracket, char bracket);
    void new_line();
    void escaped(std::string_view s);

    std::string out_;
    std::size_t level_ = 0;
    bool after_key_ = false;
    bool non_finite_ = false;
};

// Appends `s` as a JSON string, quotes included.
void append_json_string(std::string& out, std::string_view s);

}  // namespace brindle::models
