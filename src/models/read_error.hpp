// The error of reading a YAML document into the model: its text is what
// Python's ValueError carries.
#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>

namespace brindle::models {

// A place in the input, counted from 0 as libyaml counts.  Every event
// carries one, so it is kept small: a line or column past 2^32 - 1 (only in
// an input of gigabytes) stays at that number.
struct Mark {
    std::uint32_t line = 0;
    std::uint32_t column = 0;
};

class ReadError : public std::exception {
public:
    enum class Kind {
        message,         // built by a model reader; takes the innermost position
        libyaml,         // syntax error, worded from libyaml's report
        end_of_input,    // "EOF while parsing a value"
        more_documents,  // a second document
        nesting,         // "recursion limit exceeded"
        repetition,      // "repetition limit exceeded"
        unknown_anchor,  // "unknown anchor"
    };

    // A message error without a position yet.
    explicit ReadError(std::string message) : kind_(Kind::message), text_(std::move(message)) {}

    static ReadError end_of_input();
    static ReadError more_documents();
    static ReadError repetition();
    static ReadError nesting(const Mark& at);
    static ReadError unknown_anchor(const Mark& at);
    // libyaml's report: problem text, its offset and mark, optional context and its mark.
    static ReadError libyaml(const char* problem, std::size_t problem_offset, const Mark& problem_mark,
                             const char* context, const Mark& context_mark);

    Kind kind() const noexcept { return kind_; }
    // False only for a message error that has not been given its place yet.
    bool positioned() const noexcept { return positioned_; }
    // Gives a message error without a position its place: the path text (left
    // out at the document root ".") and the mark (left out at line 0 column 0).
    void attach_position(const Mark& mark, const std::string& path_text);

    const std::string& text() const noexcept { return text_; }
    const char* what() const noexcept override { return text_.c_str(); }

private:
    ReadError(Kind kind, std::string text) : kind_(kind), positioned_(true), text_(std::move(text)) {}

    Kind kind_;
    bool positioned_ = false;
    std::string text_;
};

// " at line L column C" counted from 1, or nothing for the very first character.
void append_position(std::string& out, const Mark& mark);

}  // namespace brindle::models
