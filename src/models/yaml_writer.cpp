#include "models/yaml_writer.hpp"

#include <algorithm>
#include <cstring>

#include "models/number_text.hpp"
#include "models/scalar.hpp"

namespace brindle::models {

namespace {

constexpr int indent_step = 2;
// Longest key written on the line of its value.
constexpr std::size_t simple_key_limit = 128;

// Byte `i` of `s`; 0 past the end, as after a terminating NUL.
unsigned char at(std::string_view s, std::size_t i) {
    return i < s.size() ? static_cast<unsigned char>(s[i]) : 0;
}

// Bytes of the UTF-8 character that starts with `lead`.
std::size_t width(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead & 0xe0) == 0xc0) return 2;
    if ((lead & 0xf0) == 0xe0) return 3;
    if ((lead & 0xf8) == 0xf0) return 4;
    return 1;
}

bool is_break(std::string_view s, std::size_t i) {
    unsigned char c = at(s, i);
    return c == '\r' || c == '\n' || (c == 0xc2 && at(s, i + 1) == 0x85) ||
           (c == 0xe2 && at(s, i + 1) == 0x80 && (at(s, i + 2) == 0xa8 || at(s, i + 2) == 0xa9));
}

bool is_blankz(std::string_view s, std::size_t i) {
    unsigned char c = at(s, i);
    return c == ' ' || c == '\t' || c == 0 || is_break(s, i);
}

// Characters written as themselves: the line feed, printable ASCII, and every
// other character but the C1 controls, the line and paragraph separators,
// surrogates, U+FEFF, U+FFFE and U+FFFF.  The separators are line breaks to
// some readers and ordinary characters to others, so a text that holds one
// is double-quoted with the separator escaped, which all read alike.
bool is_printable(std::string_view s, std::size_t i) {
    unsigned char c = at(s, i), c1 = at(s, i + 1), c2 = at(s, i + 2);
    return c == 0x0a || (c >= 0x20 && c <= 0x7e) || (c == 0xc2 && c1 >= 0xa0) ||
           (c > 0xc2 && c < 0xed && !(c == 0xe2 && c1 == 0x80 && (c2 == 0xa8 || c2 == 0xa9))) ||
           (c == 0xed && c1 < 0xa0) || c == 0xee ||
           (c == 0xef && !(c1 == 0xbb && c2 == 0xbf) && !(c1 == 0xbf && (c2 == 0xbe || c2 == 0xbf))) ||
           (c >= 0xf0 && c <= 0xf4);
}

bool is_bom(std::string_view s, std::size_t i) { return at(s, i) == 0xef && at(s, i + 1) == 0xbb && at(s, i + 2) == 0xbf; }

}  // namespace

// Which styles can hold a text, judged once per scalar.
struct YamlWriter::Analysis {
    bool multiline = false;
    bool block_plain_allowed = true;
    bool single_quoted_allowed = true;
    bool block_allowed = true;

    // Most texts are one line of printable ASCII: then only spaces at either
    // end and the indicators decide, as the full analysis below finds.  Gives
    // false, deciding nothing, for any other text.
    bool printable_ascii_line(std::string_view s) {
        std::size_t n = s.size();
        bool indicators = s.starts_with("---") || s.starts_with("...");
        for (std::size_t i = 0; i < n; ++i) {
            unsigned char c = static_cast<unsigned char>(s[i]);
            if (c < 0x20 || c > 0x7e) return false;
            if (c == ':' || c == '#') {
                bool space_after = i + 1 == n || s[i + 1] == ' ';
                if ((c == ':' && space_after) || (c == '#' && (i == 0 || s[i - 1] == ' '))) indicators = true;
            }
        }
        unsigned char first = static_cast<unsigned char>(s[0]);
        if (std::strchr(",[]{}&*!|>'\"%@`", first) != nullptr) indicators = true;
        if ((first == '?' || first == '-') && (n == 1 || s[1] == ' ')) indicators = true;
        bool trailing_space = s[n - 1] == ' ';
        if (s[0] == ' ' || trailing_space || indicators) block_plain_allowed = false;
        if (trailing_space) block_allowed = false;
        return true;
    }

    explicit Analysis(std::string_view s) {
        if (s.empty()) {
            block_allowed = false;
            return;
        }
        if (printable_ascii_line(s)) return;
        bool block_indicators = false, line_breaks = false, special = false;
        bool leading_space = false, leading_break = false, trailing_space = false, trailing_break = false;
        bool break_space = false, space_break = false, previous_space = false, previous_break = false;
        if (s.starts_with("---") || s.starts_with("...")) block_indicators = true;
        bool preceded_by_whitespace = true;
        bool followed_by_whitespace = is_blankz(s, width(at(s, 0)));
        for (std::size_t i = 0; i < s.size();) {
            unsigned char c = at(s, i);
            std::size_t w = width(c);
            if (i == 0) {
                if (std::strchr("#,[]{}&*!|>'\"%@`", c) != nullptr && c != 0) block_indicators = true;
                if ((c == '?' || c == ':' || c == '-') && followed_by_whitespace) block_indicators = true;
            } else {
                if (c == ':' && followed_by_whitespace) block_indicators = true;
                if (c == '#' && preceded_by_whitespace) block_indicators = true;
            }
            if (!is_printable(s, i)) special = true;
            bool brk = is_break(s, i);
            if (brk) line_breaks = true;
            if (c == ' ') {
                if (i == 0) leading_space = true;
                if (i + w == s.size()) trailing_space = true;
                if (previous_break) break_space = true;
                previous_space = true;
                previous_break = false;
            } else if (brk) {
                if (i == 0) leading_break = true;
                if (i + w == s.size()) trailing_break = true;
                if (previous_space) space_break = true;
                previous_space = false;
                previous_break = true;
            } else {
                previous_space = previous_break = false;
            }
            preceded_by_whitespace = is_blankz(s, i);
            i += w;
            if (i < s.size()) followed_by_whitespace = is_blankz(s, i + width(at(s, i)));
        }
        multiline = line_breaks;
        if (leading_space || leading_break || trailing_space || trailing_break || line_breaks || block_indicators)
            block_plain_allowed = false;
        if (trailing_space) block_allowed = false;
        if (break_space) block_plain_allowed = single_quoted_allowed = false;
        if (space_break || special) block_plain_allowed = single_quoted_allowed = block_allowed = false;
    }
};

YamlWriter::Style YamlWriter::text_style(std::string_view s) {
    if (s.find('\n') != std::string_view::npos) return Style::literal;
    if (s.empty()) return Style::single_quoted;
    // Null words, booleans and numbers all start with one of these.
    if (std::strchr("0123456789+-.~nNtTfF", s.front()) == nullptr || s.front() == 0) return Style::any;
    if (resolve_plain(s).kind != Resolved::Kind::text || is_leading_zero_decimal(s)) return Style::single_quoted;
    return Style::any;
}

// ---- output primitives ----

void YamlWriter::put_break() {
    out_ += '\n';
    column_ = 0;
}

void YamlWriter::put_text(std::string_view s) {
    out_ += s;
    for (char ch : s)
        if ((static_cast<unsigned char>(ch) & 0xc0) != 0x80) ++column_;
}

void YamlWriter::write_indent() {
    int indent = indent_ >= 0 ? indent_ : 0;
    if (!indention_ || column_ > indent || (column_ == indent && !whitespace_)) put_break();
    if (column_ < indent) {
        out_.append(static_cast<std::size_t>(indent - column_), ' ');
        column_ = indent;
    }
    whitespace_ = true;
    indention_ = true;
}

void YamlWriter::write_indicator(std::string_view indicator, bool need_whitespace, bool is_whitespace,
                                 bool is_indention) {
    if (need_whitespace && !whitespace_) put_text(" ");
    put_text(indicator);
    whitespace_ = is_whitespace;
    indention_ = indention_ && is_indention;
}

// ---- scalars ----

void YamlWriter::write_plain(std::string_view s) {
    if (!whitespace_ && !s.empty()) put_text(" ");
    put_text(s);
    whitespace_ = false;
    indention_ = false;
}

// A text with a line feed asks for a literal block, and every other line
// break is double-quoted, so a single-quoted text is one line.
void YamlWriter::write_single_quoted(std::string_view s) {
    write_indicator("'", true, false, false);
    for (std::size_t from = 0;;) {
        std::size_t quote = s.find('\'', from);
        put_text(s.substr(from, quote - from));
        if (quote == std::string_view::npos) break;
        put_text("''");
        from = quote + 1;
    }
    write_indicator("'", false, false, false);
    whitespace_ = false;
    indention_ = false;
}

void YamlWriter::write_double_quoted(std::string_view s) {
    write_indicator("\"", true, false, false);
    std::size_t run = 0;  // start of the characters not copied yet
    for (std::size_t i = 0; i < s.size();) {
        unsigned char c = at(s, i);
        std::size_t w = width(c);
        if (is_printable(s, i) && !is_bom(s, i) && !is_break(s, i) && c != '"' && c != '\\') {
            i += w;
            continue;
        }
        put_text(s.substr(run, i - run));
        char32_t value = w == 1 ? c : w == 2 ? (c & 0x1f) : w == 3 ? (c & 0x0f) : (c & 0x07);
        for (std::size_t k = 1; k < w; ++k) value = (value << 6) | (at(s, i + k) & 0x3f);
        i += w;
        run = i;
        char esc[10] = {'\\'};
        std::size_t n = 2;
        switch (value) {
            case 0x00: esc[1] = '0'; break;
            case 0x07: esc[1] = 'a'; break;
            case 0x08: esc[1] = 'b'; break;
            case 0x09: esc[1] = 't'; break;
            case 0x0a: esc[1] = 'n'; break;
            case 0x0b: esc[1] = 'v'; break;
            case 0x0c: esc[1] = 'f'; break;
            case 0x0d: esc[1] = 'r'; break;
            case 0x1b: esc[1] = 'e'; break;
            case 0x22: esc[1] = '"'; break;
            case 0x5c: esc[1] = '\\'; break;
            case 0x85: esc[1] = 'N'; break;
            case 0xa0: esc[1] = '_'; break;
            case 0x2028: esc[1] = 'L'; break;
            case 0x2029: esc[1] = 'P'; break;
            default: {
                std::size_t digits = value <= 0xff ? 2 : value <= 0xffff ? 4 : 8;
                esc[1] = value <= 0xff ? 'x' : value <= 0xffff ? 'u' : 'U';
                for (std::size_t k = 0; k < digits; ++k) {
                    auto d = static_cast<unsigned>((value >> (4 * (digits - 1 - k))) & 0xf);
                    esc[2 + k] = static_cast<char>(d < 10 ? '0' + d : 'A' + d - 10);
                }
                n = 2 + digits;
            }
        }
        put_text(std::string_view(esc, n));
    }
    put_text(s.substr(run));
    write_indicator("\"", false, false, false);
    whitespace_ = false;
    indention_ = false;
}

// The only line break a literal block holds is the line feed: every other
// one is double-quoted.
void YamlWriter::write_block_hints(std::string_view s) {
    if (s.front() == ' ' || s.front() == '\n') {
        const char hint[] = {static_cast<char>('0' + indent_step)};
        write_indicator(std::string_view(hint, 1), false, false, false);
    }
    // The last character and the one before it decide the chomping.
    if (!s.ends_with('\n')) write_indicator("-", false, false, false);
    else if (s.size() == 1 || s[s.size() - 2] == '\n') write_indicator("+", false, false, false);
}

void YamlWriter::write_literal(std::string_view s) {
    write_indicator("|", true, false, false);
    write_block_hints(s);
    put_break();
    indention_ = true;
    whitespace_ = true;
    for (std::size_t from = 0; from < s.size();) {
        std::size_t end = std::min(s.find('\n', from), s.size());
        if (end > from) {
            write_indent();
            put_text(s.substr(from, end - from));
            indention_ = false;
        }
        if (end == s.size()) break;
        put_break();
        indention_ = true;
        from = end + 1;
    }
}

void YamlWriter::emit_scalar(std::string_view text, Style style, const Analysis& a, Context ctx) {
    if (style == Style::any) style = Style::plain;
    if (ctx.simple_key && a.multiline) style = Style::double_quoted;
    if (style == Style::plain && (!a.block_plain_allowed || (text.empty() && ctx.simple_key)))
        style = Style::single_quoted;
    if (style == Style::single_quoted && !a.single_quoted_allowed) style = Style::double_quoted;
    if (style == Style::literal && (!a.block_allowed || ctx.simple_key)) style = Style::double_quoted;

    int saved = indent_;
    indent_ = indent_ < 0 ? indent_step : indent_ + indent_step;
    switch (style) {
        case Style::plain: write_plain(text); break;
        case Style::single_quoted: write_single_quoted(text); break;
        case Style::double_quoted: write_double_quoted(text); break;
        case Style::literal: write_literal(text); break;
        case Style::any: break;
    }
    indent_ = saved;
}

// ---- structure ----

// Opens the block of a container whose first entry is about to be written.
void YamlWriter::start_pending() {
    if (!pending_) return;
    pending_ = false;
    frames_.push_back(Frame{pending_kind_, indent_});
    // A sequence that is the value of a mapping entry stands at the column
    // of its key.
    bool indentless = pending_kind_ == Kind::sequence && pending_in_mapping_ && !indention_;
    if (indent_ < 0) indent_ = 0;
    else if (!indentless) indent_ += indent_step;
}

// Writes what comes before a value node: the dash of a sequence item or the
// colon after a key.
YamlWriter::Context YamlWriter::value_prefix() {
    start_pending();
    Context ctx;
    if (frames_.empty()) return ctx;
    Frame& top = frames_.back();
    if (top.kind == Kind::sequence) {
        write_indent();
        write_indicator("-", true, false, true);
    } else {
        if (top.simple_key) {
            write_indicator(":", false, false, false);
        } else {
            write_indent();
            write_indicator(":", true, false, true);
        }
        ctx.mapping = true;
    }
    return ctx;
}

void YamlWriter::after_node() {
    // After the root node the document ends: close its last line.
    if (frames_.empty()) write_indent();
}

void YamlWriter::key(std::string_view k) {
    start_pending();
    Frame& top = frames_.back();
    write_indent();
    Style style = text_style(k);
    Analysis a(k);
    Context ctx{true, !a.multiline && k.size() <= simple_key_limit};
    if (!ctx.simple_key) write_indicator("?", true, false, true);
    top.simple_key = ctx.simple_key;
    emit_scalar(k, style, a, ctx);
}

void YamlWriter::begin(Kind kind) {
    Context ctx = value_prefix();
    pending_ = true;
    pending_kind_ = kind;
    pending_in_mapping_ = ctx.mapping;
}

void YamlWriter::end(Kind kind) {
    if (pending_) {
        pending_ = false;
        write_indicator(kind == Kind::mapping ? "{" : "[", true, true, false);
        write_indicator(kind == Kind::mapping ? "}" : "]", false, false, false);
    } else {
        indent_ = frames_.back().saved_indent;
        frames_.pop_back();
    }
    after_node();
}

void YamlWriter::scalar(std::string_view text, Style style) {
    Context ctx = value_prefix();
    emit_scalar(text, style, Analysis(text), ctx);
    after_node();
}

void YamlWriter::null() {
    plain_scalar([](std::string& out) { out += "null"; });
}

void YamlWriter::boolean(bool b) {
    plain_scalar([b](std::string& out) { out += b ? "true" : "false"; });
}
void YamlWriter::string(std::string_view s) { scalar(s, text_style(s)); }

void YamlWriter::number(std::uint64_t v) {
    plain_scalar([v](std::string& out) { append_u64(out, v); });
}

void YamlWriter::number(std::int64_t v) {
    plain_scalar([v](std::string& out) { append_i64(out, v); });
}

void YamlWriter::number(double v) {
    plain_scalar([v](std::string& out) { append_f64(out, v, FloatForm::yaml); });
}

}  // namespace brindle::models
