#include "models/json_writer.hpp"

#include <cmath>

#include "models/number_text.hpp"

namespace brindle::models {

namespace {

// What each byte becomes inside a JSON string: 0 for itself, 'u' for a
// \u00XX escape, any other letter for that one-letter escape.
constexpr auto escape_table = [] {
    struct Table {
        char e[256] = {};
    } t;
    for (int b = 0; b < 0x20; ++b) t.e[b] = 'u';
    t.e['\b'] = 'b';
    t.e['\t'] = 't';
    t.e['\n'] = 'n';
    t.e['\f'] = 'f';
    t.e['\r'] = 'r';
    t.e['"'] = '"';
    t.e['\\'] = '\\';
    return t;
}();

}  // namespace

void append_json_string(std::string& out, std::string_view s) {
    out += '"';
    std::size_t run = 0;  // start of the bytes not copied yet
    for (std::size_t i = 0; i < s.size(); ++i) {
        char e = escape_table.e[static_cast<unsigned char>(s[i])];
        if (e == 0) continue;
        out.append(s.data() + run, i - run);
        run = i + 1;
        if (e == 'u') {
            static constexpr char hex[] = "0123456789abcdef";
            auto b = static_cast<unsigned char>(s[i]);
            const char esc[6] = {'\\', 'u', '0', '0', hex[b >> 4], hex[b & 0xf]};
            out.append(esc, sizeof esc);
        } else {
            const char esc[2] = {'\\', e};
            out.append(esc, sizeof esc);
        }
    }
    out.append(s.data() + run, s.size() - run);
    out += '"';
}

void JsonWriter::new_line() {
    out_ += '\n';
    out_.append(2 * level_, ' ');
}

void JsonWriter::before_value() {
    if (after_key_) {
        after_key_ = false;
        return;
    }
    if (level_ == 0) return;
    // An array element: the first follows its "[" directly.
    if (out_.back() != '[') out_ += ',';
    new_line();
}

void JsonWriter::key(std::string_view k) {
    if (out_.back() != '{') out_ += ',';
    new_line();
    append_json_string(out_, k);
    out_ += ": ";
    after_key_ = true;
}

void JsonWriter::open(char bracket) {
    before_value();
    out_ += bracket;
    ++level_;
}

void JsonWriter::close(char open_bracket, char bracket) {
    --level_;
    // Still at the opening bracket: the container is empty and stays "{}".
    if (out_.back() != open_bracket) new_line();
    out_ += bracket;
}

void JsonWriter::null() {
    before_value();
    out_ += "null";
}

void JsonWriter::boolean(bool b) {
    before_value();
    out_ += b ? "true" : "false";
}

void JsonWriter::number(std::uint64_t v) {
    before_value();
    append_u64(out_, v);
}

void JsonWriter::number(std::int64_t v) {
    before_value();
    append_i64(out_, v);
}

void JsonWriter::number(double v) {
    before_value();
    if (!std::isfinite(v)) non_finite_ = true;
    append_f64(out_, v, FloatForm::json);
}

void JsonWriter::string(std::string_view s) {
    before_value();
    append_json_string(out_, s);
}

}  // namespace brindle::models
