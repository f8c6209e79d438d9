#include "models/json_value.hpp"

#include <algorithm>
#include <cmath>

#include "models/json_writer.hpp"
#include "models/read.hpp"
#include "models/scalar.hpp"
#include "models/write.hpp"
#include "models/yaml_writer.hpp"

namespace brindle::models {

JsonValue JsonValue::number(std::int64_t v) {
    if (v >= 0) return JsonValue(static_cast<std::uint64_t>(v));
    return JsonValue(v);
}

JsonValue JsonValue::number(double v) {
    if (!std::isfinite(v)) return JsonValue();
    return JsonValue(v);
}

void JsonValue::set(std::string key, JsonValue v) {
    auto& members = std::get<Object>(value);
    // std::string compares its bytes as unsigned char: byte-wise order.
    auto it = std::lower_bound(members.begin(), members.end(), key,
                               [](const auto& member, const std::string& k) { return member.first < k; });
    if (it != members.end() && it->first == key) it->second = std::move(v);
    else members.emplace(it, std::move(key), std::move(v));
}

const JsonValue& flattened(const JsonValue& v) {
    static const JsonValue empty = JsonValue::object();
    const char* kind = nullptr;
    switch (v.value.index()) {
        case 0: return empty;
        case 1: kind = "a boolean"; break;
        case 2:
        case 3: kind = "an integer"; break;
        case 4: kind = "a float"; break;
        case 5: kind = "a string"; break;
        case 6: kind = "a sequence"; break;
        default: return v;
    }
    throw ReadError(std::string("can only flatten structs and maps (got ") + kind + ")");
}

namespace {

JsonValue json_from_scalar(const Cursor& at, const Event& e) {
    std::string_view text = at.text(e);
    // Every integer beyond the 64-bit ranges is out of range: one too long
    // even for 128 bits is not taken as a float, which would lose its digits.
    if (is_long_decimal_integer(text, e))
        throw ReadError("JSON number out of range");
    Resolved r = resolve_scalar(text, e);
    switch (r.kind) {
        case Resolved::Kind::null: return JsonValue::null();
        case Resolved::Kind::boolean: return JsonValue::boolean(r.boolean);
        case Resolved::Kind::unsigned_int: return JsonValue::number(r.unsigned_int);
        case Resolved::Kind::negative_int: return JsonValue::number(r.negative_int);
        case Resolved::Kind::big_unsigned:
        case Resolved::Kind::big_negative: throw ReadError("JSON number out of range");
        case Resolved::Kind::floating: return JsonValue::number(r.floating);
        case Resolved::Kind::text: break;
    }
    return JsonValue::text(std::string(text));
}

}  // namespace

JsonValue JsonValue::object_of(Object members) {
    std::stable_sort(members.begin(), members.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    JsonValue::Object unique;
    unique.reserve(members.size());
    for (auto& m : members) {
        if (!unique.empty() && unique.back().first == m.first) unique.back().second = std::move(m.second);
        else unique.push_back(std::move(m));
    }
    JsonValue object = JsonValue::object();
    std::get<JsonValue::Object>(object.value) = std::move(unique);
    return object;
}

namespace {

JsonValue read_json_value(Cursor& c) {
    return read_node(c, [](Cursor& at, const Event& e) {
        if (e.tag == Tag::local && e.kind != EventKind::void_)
            throw ReadError("invalid type: enum, expected any valid JSON value");
        switch (e.kind) {
            case EventKind::scalar: return json_from_scalar(at, e);
            case EventKind::void_: return JsonValue::null();
            case EventKind::sequence_start: {
                Cursor::Nested nested(at, e.mark);
                JsonValue::Array items;
                for (std::size_t i = 0; at.peek().kind != EventKind::sequence_end; ++i) {
                    Cursor child(at, i);
                    items.push_back(read_json_value(child));
                }
                at.next();
                return JsonValue::array(std::move(items));
            }
            case EventKind::mapping_start: {
                Cursor::Nested nested(at, e.mark);
                JsonValue::Object members;
                for (bool first = true; at.peek().kind != EventKind::mapping_end; first = false) {
                    Cursor child(at, at.peek());
                    std::string key = read_node(at, [first](Cursor& k, const Event& ke) {
                        if (ke.kind != EventKind::scalar) throw_invalid_type(k, ke, first ? "a string key" : "a string");
                        return std::string(k.text(ke));
                    });
                    child.set_key(key);
                    members.emplace_back(std::move(key), read_json_value(child));
                }
                at.next();
                return JsonValue::object_of(std::move(members));
            }
            default: throw ReadError::end_of_input();
        }
    });
}

}  // namespace

void read(Cursor& c, JsonValue& out) { out = read_json_value(c); }

std::string to_json_text(const JsonValue& v) {
    JsonWriter w;
    write(w, v);
    return w.take();
}

std::string to_yaml_text(const JsonValue& v) {
    YamlWriter w;
    write(w, v);
    return w.take();
}

}  // namespace brindle::models
