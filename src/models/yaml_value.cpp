#include "models/yaml_value.hpp"

#include <cstdint>

#include "models/collections.hpp"
#include "models/number_text.hpp"
#include "models/read.hpp"
#include "models/scalar.hpp"

namespace brindle::models {

namespace {

// What tells the two ways of reading a generic value apart.
struct Rules {
    bool capture;      // local tags fail, repeated keys stay, big integers expect "any value"
    bool json = false; // captured JSON content: an integer too long for 128 bits fails as well
};

YamlValue from_scalar(const Cursor& c, const Event& e, const Rules& rules) {
    std::string_view text = c.text(e);
    if (rules.json && is_long_decimal_integer(text, e)) {
        // Described as one beyond 64 bits but within 128 is: the digits, as u128 or i128.
        bool negative = text[0] == '-';
        std::string_view digits = text[0] == '+' ? text.substr(1) : text;
        throw ReadError("invalid type: integer `" + std::string(digits) + (negative ? "` as i128" : "` as u128") +
                        ", expected any value");
    }
    Resolved r = resolve_scalar(text, e);
    YamlValue v;
    switch (r.kind) {
        case Resolved::Kind::null: v.kind = YamlValue::Kind::null; break;
        case Resolved::Kind::boolean:
            v.kind = YamlValue::Kind::boolean;
            v.boolean = r.boolean;
            break;
        case Resolved::Kind::unsigned_int:
            v.kind = YamlValue::Kind::unsigned_int;
            v.unsigned_int = r.unsigned_int;
            break;
        case Resolved::Kind::negative_int:
            v.kind = YamlValue::Kind::negative_int;
            v.negative_int = r.negative_int;
            break;
        case Resolved::Kind::big_unsigned:
        case Resolved::Kind::big_negative:
            throw ReadError("invalid type: " + describe(r, text) +
                            (rules.capture ? ", expected any value" : ", expected any YAML value"));
        case Resolved::Kind::floating:
            v.kind = YamlValue::Kind::floating;
            v.floating = r.floating;
            break;
        case Resolved::Kind::text:
            v.kind = YamlValue::Kind::text;
            v.text.assign(text);
            break;
    }
    return v;
}

std::string duplicate_key_text(const YamlValue& k) {
    switch (k.kind) {
        case YamlValue::Kind::null: return "duplicate entry with null key";
        case YamlValue::Kind::boolean: return k.boolean ? "duplicate entry with key `true`" : "duplicate entry with key `false`";
        case YamlValue::Kind::unsigned_int:
        case YamlValue::Kind::negative_int:
        case YamlValue::Kind::floating: return "duplicate entry with key " + enum_value_text(k);
        case YamlValue::Kind::text: return "duplicate entry with key " + quoted(k.text);
        default: return "duplicate entry in YAML map";
    }
}

// A hash that agrees with YamlValue's equality (0.0 and -0.0 are equal), so
// that the keys of a mapping are checked for repeats in linear time.
std::uint64_t key_hash(const YamlValue& v) {
    std::uint64_t h = static_cast<std::uint64_t>(v.kind);
    switch (v.kind) {
        case YamlValue::Kind::null: return h;
        case YamlValue::Kind::boolean: return hash_combine(h, v.boolean ? 1 : 0);
        case YamlValue::Kind::unsigned_int: return hash_combine(h, hash_bytes(&v.unsigned_int, sizeof v.unsigned_int));
        case YamlValue::Kind::negative_int: return hash_combine(h, hash_bytes(&v.negative_int, sizeof v.negative_int));
        case YamlValue::Kind::floating: {
            double f = v.floating == 0 ? 0.0 : v.floating;
            return hash_combine(h, hash_bytes(&f, sizeof f));
        }
        default: break;
    }
    h = hash_combine(h, hash_bytes(v.text.data(), v.text.size()));
    for (const YamlValue& item : v.items) h = hash_combine(h, key_hash(item));
    return h;
}

// Whether a NaN is part of the value, which then equals no value, not even
// itself: as a key it is never a repeat, and it is kept out of the index,
// where all such keys would share one chain.
bool holds_nan(const YamlValue& v) {
    if (v.kind == YamlValue::Kind::floating) return v.floating != v.floating;
    for (const YamlValue& item : v.items)
        if (holds_nan(item)) return true;
    return false;
}

YamlValue read_value(Cursor& c, const Rules& rules);

YamlValue read_untagged(Cursor& at, const Event& e, const Rules& rules) {
    switch (e.kind) {
        case EventKind::scalar: return from_scalar(at, e, rules);
        case EventKind::void_: return YamlValue{};
        case EventKind::sequence_start: {
            Cursor::Nested nested(at, e.mark);
            YamlValue v;
            v.kind = YamlValue::Kind::sequence;
            for (std::size_t i = 0; at.peek().kind != EventKind::sequence_end; ++i) {
                Cursor child(at, i);
                v.items.push_back(read_value(child, rules));
            }
            at.next();
            return v;
        }
        case EventKind::mapping_start: {
            Cursor::Nested nested(at, e.mark);
            YamlValue v;
            v.kind = YamlValue::Kind::mapping;
            detail::HashIndex keys;  // entry numbers by key hash
            while (at.peek().kind != EventKind::mapping_end) {
                Cursor child(at, at.peek());
                YamlValue key = read_value(at, rules);
                child.keep_key();
                if (!rules.capture && !holds_nan(key)) {
                    std::uint64_t h = key_hash(key);
                    std::size_t slot, entries = v.items.size() / 2;
                    if (keys.find(h, [&](std::size_t i) { return v.items[2 * i] == key; }, slot) != SIZE_MAX)
                        throw ReadError(duplicate_key_text(key));
                    keys.insert(h, entries, slot, entries + 1);
                }
                v.items.push_back(std::move(key));
                v.items.push_back(read_value(child, rules));
            }
            at.next();
            return v;
        }
        default: throw ReadError::end_of_input();
    }
}

YamlValue read_value(Cursor& c, const Rules& rules) {
    return read_node(c, [&](Cursor& at, const Event& e) {
        if (e.tag == Tag::local && e.kind != EventKind::void_) {
            if (rules.capture) throw ReadError("untagged and internally tagged enums do not support enum input");
            YamlValue v;
            v.kind = YamlValue::Kind::tagged;
            v.text.assign(at.document().tag_name(e));
            Event untagged = e;
            untagged.tag = Tag::none;
            v.items.push_back(read_untagged(at, untagged, rules));
            return v;
        }
        return read_untagged(at, e, rules);
    });
}

}  // namespace

YamlValue read_yaml_value(Cursor& c) { return read_value(c, Rules{false}); }

YamlValue capture(Cursor& c) { return read_value(c, Rules{true}); }

YamlValue capture_json(Cursor& c) { return read_value(c, Rules{true, true}); }

std::string YamlValue::describe() const {
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
        case Kind::tagged: break;
    }
    return "enum";
}

std::string enum_value_text(const YamlValue& v) {
    std::string out;
    switch (v.kind) {
        case YamlValue::Kind::text: return v.text;
        case YamlValue::Kind::unsigned_int: append_u64(out, v.unsigned_int); return out;
        case YamlValue::Kind::negative_int: append_i64(out, v.negative_int); return out;
        case YamlValue::Kind::floating: append_f64(out, v.floating, FloatForm::yaml); return out;
        default: return debug_form(v);
    }
}

std::string debug_form(const YamlValue& v) {
    switch (v.kind) {
        case YamlValue::Kind::null: return "Null";
        case YamlValue::Kind::boolean: return v.boolean ? "Bool(true)" : "Bool(false)";
        case YamlValue::Kind::unsigned_int:
        case YamlValue::Kind::negative_int:
        case YamlValue::Kind::floating: return "Number(" + enum_value_text(v) + ")";
        case YamlValue::Kind::text: return "String(" + quoted(v.text) + ")";
        case YamlValue::Kind::sequence: {
            std::string out = "Sequence [";
            for (std::size_t i = 0; i < v.items.size(); ++i) {
                if (i) out += ", ";
                out += debug_form(v.items[i]);
            }
            return out + "]";
        }
        case YamlValue::Kind::mapping: {
            std::string out = "Mapping {";
            for (std::size_t i = 0; i < v.items.size(); i += 2) {
                if (i) out += ", ";
                const YamlValue& k = v.items[i];
                switch (k.kind) {
                    case YamlValue::Kind::boolean: out += k.boolean ? "true" : "false"; break;
                    case YamlValue::Kind::unsigned_int:
                    case YamlValue::Kind::negative_int:
                    case YamlValue::Kind::floating: out += quoted(enum_value_text(k)); break;
                    case YamlValue::Kind::text: out += quoted(k.text); break;
                    default: out += debug_form(k); break;
                }
                out += ": ";
                out += debug_form(v.items[i + 1]);
            }
            return out + "}";
        }
        case YamlValue::Kind::tagged:
            return "TaggedValue { tag: !" + v.text + ", value: " + debug_form(v.items[0]) + " }";
    }
    return {};
}

}  // namespace brindle::models
