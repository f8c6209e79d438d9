// YAML text, written into one growing buffer by a small block emitter.
//
// The writer takes the same calls as JsonWriter.  It writes one implicit
// document in block style, two spaces per level, with the layout and scalar
// styles that libyaml's emitter gives for these events (sequences inside
// mappings not indented, "{}" and "[]" for empty containers, literal blocks
// for texts with line feeds, double quotes when nothing else can hold a
// text), but keeps every printable character unescaped, those above U+FFFF
// included, and never folds a line.  A text with a line or paragraph
// separator is double-quoted with it escaped, so the only line break the
// output holds is the line feed, and it ends with one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace brindle::models {

class YamlWriter {
public:
    YamlWriter() { out_.reserve(128); }

    void begin_object() { begin(Kind::mapping); }
    void end_object() { end(Kind::mapping); }
    void begin_array() { begin(Kind::sequence); }
    void end_array() { end(Kind::sequence); }
    // Starts the next entry of the innermost mapping.
    void key(std::string_view k);

    void null();
    void boolean(bool b);
    void number(std::uint64_t v);
    void number(std::int64_t v);
    void number(double v);  // .nan .inf -.inf when not finite
    void string(std::string_view s);

    // The text written so far; the writer is left empty.
    std::string take() { return std::move(out_); }

    // How a text is asked to be written: literal when it holds a line feed,
    // single-quoted when it would read back as anything but a text, else as
    // the emitter finds best.
    enum class Style : std::uint8_t { any, plain, single_quoted, double_quoted, literal };
    static Style text_style(std::string_view s);

private:
    enum class Kind : std::uint8_t { mapping, sequence };
    struct Frame {
        Kind kind;
        int saved_indent;
        bool simple_key = false;  // mappings: the last key sits on its value's line
    };
    // Where a node stands, as the emitter needs it for its choices.
    struct Context {
        bool mapping = false;
        bool simple_key = false;
    };
    struct Analysis;

    void begin(Kind kind);
    void end(Kind kind);
    void start_pending();
    Context value_prefix();
    void after_node();
    void scalar(std::string_view text, Style style);
    void emit_scalar(std::string_view text, Style style, const Analysis& a, Context ctx);
    // Null, booleans and numbers: plain, formatted straight into the output.
    template <class Append>
    void plain_scalar(Append append) {
        value_prefix();
        if (!whitespace_) put_text(" ");
        std::size_t start = out_.size();
        append(out_);
        column_ += static_cast<int>(out_.size() - start);
        whitespace_ = false;
        indention_ = false;
        after_node();
    }

    void write_indent();
    void write_indicator(std::string_view indicator, bool need_whitespace, bool is_whitespace, bool is_indention);
    void put_break();
    void put_text(std::string_view s);
    void write_plain(std::string_view s);
    void write_single_quoted(std::string_view s);
    void write_double_quoted(std::string_view s);
    void write_literal(std::string_view s);
    void write_block_hints(std::string_view s);

    std::string out_;
    std::vector<Frame> frames_;
    int column_ = 0;   // in characters
    int indent_ = -1;  // of the innermost open block; -1 before the root node
    bool whitespace_ = true;
    bool indention_ = true;
    // A container whose first entry has not come yet: it is written "{}" or
    // "[]" if it ends at once, else opened as a block before that entry.
    bool pending_ = false;
    Kind pending_kind_ = Kind::mapping;
    bool pending_in_mapping_ = false;
};

}  // namespace brindle::models
