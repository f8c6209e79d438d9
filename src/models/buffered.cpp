#include "models/buffered.hpp"

#include "models/number_text.hpp"
#include "models/scalar.hpp"

namespace brindle::models {

std::string Buffered::describe() const {
    std::string out;
    switch (kind) {
        case Kind::null: return "unit value";
        case Kind::boolean: return boolean ? "boolean `true`" : "boolean `false`";
        case Kind::unsigned_int:
            out = "integer `";
            append_u64(out, unsigned_int);
            return out + "`";
        case Kind::negative_int:
            out = "integer `";
            append_i64(out, negative_int);
            return out + "`";
        case Kind::floating: return "floating point `" + float_in_full(floating) + "`";
        case Kind::text: return "string " + quoted(text);
        case Kind::sequence: return "sequence";
        case Kind::mapping: return "map";
    }
    return out;
}

namespace {

Buffered capture_scalar(const Cursor& c, const Event& e) {
    std::string_view text = c.text(e);
    Buffered b;
    Resolved r = resolve_scalar(text, e);
    switch (r.kind) {
        case Resolved::Kind::null: b.kind = Buffered::Kind::null; break;
        case Resolved::Kind::boolean:
            b.kind = Buffered::Kind::boolean;
            b.boolean = r.boolean;
            break;
        case Resolved::Kind::unsigned_int:
            b.kind = Buffered::Kind::unsigned_int;
            b.unsigned_int = r.unsigned_int;
            break;
        case Resolved::Kind::negative_int:
            b.kind = Buffered::Kind::negative_int;
            b.negative_int = r.negative_int;
            break;
        case Resolved::Kind::big_unsigned:
        case Resolved::Kind::big_negative:
            throw ReadError("invalid type: " + describe(r, text) + ", expected any value");
        case Resolved::Kind::floating:
            b.kind = Buffered::Kind::floating;
            b.floating = r.floating;
            break;
        case Resolved::Kind::text:
            b.kind = Buffered::Kind::text;
            b.text.assign(text);
            break;
    }
    return b;
}

}  // namespace

Buffered capture(Cursor& c) {
    return read_node(c, [](Cursor& at, const Event& e) {
        if (e.tag == Tag::local) throw ReadError("untagged and internally tagged enums do not support enum input");
        Buffered b;
        switch (e.kind) {
            case EventKind::scalar: return capture_scalar(at, e);
            case EventKind::sequence_start: {
                Cursor::Nested nested(at, e.mark);
                b.kind = Buffered::Kind::sequence;
                for (std::size_t i = 0; at.peek().kind != EventKind::sequence_end; ++i) {
                    Cursor child(at, i);
                    b.items.push_back(capture(child));
                }
                at.next();
                return b;
            }
            case EventKind::mapping_start: {
                Cursor::Nested nested(at, e.mark);
                b.kind = Buffered::Kind::mapping;
                while (at.peek().kind != EventKind::mapping_end) {
                    Cursor child(at, at.peek());
                    b.items.push_back(capture(at));
                    b.items.push_back(capture(child));
                }
                at.next();
                return b;
            }
            default: return b;  // the empty node of an input without a document
        }
    });
}

void throw_buffered_invalid_type(const Buffered& v, std::string_view expected) {
    std::string msg = "invalid type: " + v.describe() + ", expected ";
    msg += expected;
    throw ReadError(std::move(msg));
}

void read_buffered(const Buffered& v, std::string& out) {
    if (v.kind != Buffered::Kind::text) throw_buffered_invalid_type(v, "a string");
    out = v.text;
}

namespace {

std::uint64_t read_unsigned(const Buffered& v, std::uint64_t max, std::string_view expected) {
    if (v.kind == Buffered::Kind::unsigned_int && v.unsigned_int <= max) return v.unsigned_int;
    if (v.kind == Buffered::Kind::unsigned_int || v.kind == Buffered::Kind::negative_int)
        throw_invalid_value(v.describe(), expected);
    throw_buffered_invalid_type(v, expected);
}

}  // namespace

void read_buffered(const Buffered& v, std::uint32_t& out) {
    out = static_cast<std::uint32_t>(read_unsigned(v, UINT32_MAX, "u32"));
}

void read_buffered(const Buffered& v, std::uint64_t& out) { out = read_unsigned(v, UINT64_MAX, "u64"); }

void read_buffered(const Buffered& v, OrderedMap<std::string, std::string>& out) {
    if (v.kind != Buffered::Kind::mapping) throw_buffered_invalid_type(v, "a map");
    for (std::size_t i = 0; i < v.items.size(); i += 2) {
        std::string key, value;
        read_buffered(v.items[i], key);
        read_buffered(v.items[i + 1], value);
        out.insert_or_assign(std::move(key), std::move(value));
    }
}

std::string invalid_length_message(std::size_t count, std::string_view expected) {
    std::string msg = "invalid length " + std::to_string(count) + ", expected ";
    msg += expected;
    return msg;
}

std::string too_long_message(std::size_t count, std::size_t fields) {
    return invalid_length_message(count, std::to_string(fields) + (fields == 1 ? " element in sequence"
                                                                                : " elements in sequence"));
}

}  // namespace brindle::models
