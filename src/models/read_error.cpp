#include "models/read_error.hpp"

namespace brindle::models {

void append_position(std::string& out, const Mark& mark) {
    if (mark.line == 0 && mark.column == 0) return;
    out += " at line ";
    out += std::to_string(std::uint64_t{mark.line} + 1);
    out += " column ";
    out += std::to_string(std::uint64_t{mark.column} + 1);
}

ReadError ReadError::end_of_input() { return {Kind::end_of_input, "EOF while parsing a value"}; }

ReadError ReadError::more_documents() {
    return {Kind::more_documents,
            "deserializing from YAML containing more than one document is not supported"};
}

ReadError ReadError::repetition() { return {Kind::repetition, "repetition limit exceeded"}; }

ReadError ReadError::nesting(const Mark& at) {
    std::string text = "recursion limit exceeded";
    append_position(text, at);
    return {Kind::nesting, std::move(text)};
}

ReadError ReadError::unknown_anchor(const Mark& at) {
    std::string text = "unknown anchor";
    append_position(text, at);
    return {Kind::unknown_anchor, std::move(text)};
}

ReadError ReadError::libyaml(const char* problem, std::size_t problem_offset, const Mark& problem_mark,
                             const char* context, const Mark& context_mark) {
    std::string text = problem ? problem : "libyaml parser failed but there is no error";
    if (problem_mark.line != 0 || problem_mark.column != 0) {
        append_position(text, problem_mark);
    } else if (problem_offset != 0) {
        text += " at position ";
        text += std::to_string(problem_offset);
    }
    if (context) {
        text += ", ";
        text += context;
        bool differs = context_mark.line != problem_mark.line || context_mark.column != problem_mark.column;
        if (differs) append_position(text, context_mark);
    }
    return {Kind::libyaml, std::move(text)};
}

void ReadError::attach_position(const Mark& mark, const std::string& path_text) {
    if (positioned_) return;
    positioned_ = true;
    if (path_text != ".") text_ = path_text + ": " + text_;
    append_position(text_, mark);
}

}  // namespace brindle::models
