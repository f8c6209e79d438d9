#include "models/read.hpp"

namespace brindle::models {

void read(Cursor& c, std::string& out) {
    read_node(c, [&](Cursor& at, const Event& e) {
        if (e.kind != EventKind::scalar) throw_invalid_type(at, e, "a string");
        out.assign(at.text(e));
    });
}

namespace {

// Plain scalars, whatever their tag, or literal blocks under the one tag.
bool accepts_number_text(const Event& e, Tag tag) {
    return e.kind == EventKind::scalar &&
           (e.style == ScalarStyle::plain || (e.style == ScalarStyle::literal && e.tag == tag));
}

}  // namespace

void read(Cursor& c, bool& out) {
    read_node(c, [&](Cursor& at, const Event& e) {
        if (accepts_number_text(e, Tag::boolean)) {
            if (auto b = parse_bool(at.text(e))) {
                out = *b;
                return;
            }
        }
        throw_invalid_type(at, e, "a boolean");
    });
}

void read(Cursor& c, std::int64_t& out) {
    read_node(c, [&](Cursor& at, const Event& e) {
        if (accepts_number_text(e, Tag::integer)) {
            if (auto v = parse_i64(at.text(e))) {
                out = *v;
                return;
            }
        }
        throw_invalid_type(at, e, "i64");
    });
}

void read(Cursor& c, std::int32_t& out) {
    read_node(c, [&](Cursor& at, const Event& e) {
        if (accepts_number_text(e, Tag::integer)) {
            if (auto v = parse_i64(at.text(e))) {
                if (*v < INT32_MIN || *v > INT32_MAX) {
                    std::string found = "integer `" + std::to_string(*v) + "`";
                    throw_invalid_value(found, "i32");
                }
                out = static_cast<std::int32_t>(*v);
                return;
            }
        }
        throw_invalid_type(at, e, "i32");
    });
}

void read(Cursor& c, double& out) {
    read_node(c, [&](Cursor& at, const Event& e) {
        if (accepts_number_text(e, Tag::floating)) {
            if (auto v = parse_f64(at.text(e))) {
                out = *v;
                return;
            }
        }
        throw_invalid_type(at, e, "f64");
    });
}

bool read_absent(Cursor& c) {
    const Event& e = c.peek();
    if (e.kind == EventKind::void_) {
        c.next();
        return true;
    }
    if (e.kind != EventKind::scalar || e.style != ScalarStyle::plain) return false;
    std::string_view text = c.text(e);
    if (e.tag == Tag::none && is_null_text(text)) {
        c.next();
        return true;
    }
    if (e.tag == Tag::null) {
        c.next();
        if (is_null_word(text)) return true;
        throw_invalid_value("string " + quoted(text), "null");
    }
    return false;
}

}  // namespace brindle::models
