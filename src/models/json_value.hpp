// The generic JSON value: free-form model content, and what Object.to_json
// and Object.to_yaml build from Python values before writing.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace brindle::models {

struct JsonValue {
    struct Null {
        friend bool operator==(Null, Null) = default;
    };
    using Array = std::vector<JsonValue>;
    // Members in ascending byte-wise order of their keys, one per key.
    using Object = std::vector<std::pair<std::string, JsonValue>>;
    // Numbers: unsigned for 0 and above, signed for negative values only,
    // finite floats.  A non-finite float is stored as null.
    std::variant<Null, bool, std::uint64_t, std::int64_t, double, std::string, Array, Object> value;

    JsonValue() = default;
    static JsonValue null() { return {}; }
    static JsonValue boolean(bool b) { return JsonValue(b); }
    static JsonValue number(std::uint64_t v) { return JsonValue(v); }
    static JsonValue number(std::int64_t v);  // 0 and above become unsigned
    static JsonValue number(double v);        // non-finite becomes null
    static JsonValue text(std::string s) { return JsonValue(std::move(s)); }
    static JsonValue array(Array a = {}) { return JsonValue(std::move(a)); }
    static JsonValue object() { return JsonValue(Object{}); }

    // The object of `members` given in input order: sorted by key once, of a
    // repeated key the last member.  (Building a large object member by
    // member with `set` takes quadratic time.)
    static JsonValue object_of(Object members);

    // Objects: inserts or replaces the member `key`, keeping the order.
    void set(std::string key, JsonValue v);

    friend bool operator==(const JsonValue&, const JsonValue&) = default;

private:
    template <class T>
    explicit JsonValue(T v) : value(std::move(v)) {}
};

class Cursor;

// Reads any node as a JSON value: scalars by the plain-scalar rules (a
// non-finite float is null, an integer beyond 64 bits, of any length, fails
// with "JSON number out of range"), sequences as arrays, mappings as objects whose
// keys are the texts of scalar keys (a repeated key keeps its last value).
// A node with a local tag fails.
void read(Cursor& c, JsonValue& out);

// The value of a struct that is written as its content: an object as it
// is, null as the empty object; any other kind fails with "can only flatten
// structs and maps (got ...)".
const JsonValue& flattened(const JsonValue& v);

// Pretty JSON text of the value (two-space indentation, no final line feed).
std::string to_json_text(const JsonValue& v);
// YAML text of the value (ends with a line feed).
std::string to_yaml_text(const JsonValue& v);

}  // namespace brindle::models
