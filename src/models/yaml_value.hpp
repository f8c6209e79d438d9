// A generic YAML value, read from any node.  The model enums read their
// value through it (its debug form appears in their errors), and captured
// values (buffered.hpp) are values of this type read by stricter rules.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "models/document.hpp"

namespace brindle::models {

struct YamlValue {
    enum class Kind : std::uint8_t { null, boolean, unsigned_int, negative_int, floating, text, sequence, mapping, tagged };
    Kind kind = Kind::null;
    bool boolean = false;
    std::uint64_t unsigned_int = 0;
    std::int64_t negative_int = 0;
    double floating = 0;
    std::string text;               // a text, or the tag name of a tagged value
    std::vector<YamlValue> items;   // sequence elements; mapping keys and values in turn; the tagged value

    bool is_null() const noexcept { return kind == Kind::null; }
    // The found-value description of reading errors.
    std::string describe() const;

    friend bool operator==(const YamlValue&, const YamlValue&) = default;
};

// Reads any node: local tags become tagged values, and a key repeated in a
// mapping fails.
YamlValue read_yaml_value(Cursor& c);
// Captures a node for reading later: a local tag fails, and a repeated key
// gives a second pair.
YamlValue capture(Cursor& c);
// The same for content that becomes a JSON value: a decimal integer too long
// even for 128 bits fails as one beyond 64 bits does, instead of becoming a
// float that loses its digits.
YamlValue capture_json(Cursor& c);
inline void read(Cursor& c, YamlValue& out) { out = read_yaml_value(c); }

// A number in YAML form, a text as it is, anything else in debug form.
std::string enum_value_text(const YamlValue& v);
std::string debug_form(const YamlValue& v);

// The model enums: a closed list of upper-case variants numbered from 1.
// Specialise with `name` and `variants` for each enum type.
template <class E>
struct EnumInfo;

template <class E>
concept ModelEnum = requires { EnumInfo<E>::variants; EnumInfo<E>::name; };

template <ModelEnum E>
std::string_view enum_name(E v) {
    return EnumInfo<E>::variants[static_cast<std::size_t>(v) - 1];
}

// Reads an enum variant by name or by number.
template <ModelEnum E>
void read(Cursor& c, E& out) {
    YamlValue v = read_yaml_value(c);
    const auto& variants = EnumInfo<E>::variants;
    if (v.kind == YamlValue::Kind::text) {
        for (std::size_t i = 0; i < variants.size(); ++i)
            if (variants[i] == v.text) {
                out = static_cast<E>(i + 1);
                return;
            }
    } else if (v.kind == YamlValue::Kind::unsigned_int && v.unsigned_int >= 1 &&
               v.unsigned_int <= variants.size()) {
        out = static_cast<E>(v.unsigned_int);
        return;
    }
    std::string msg = "invalid ";
    msg += EnumInfo<E>::name;
    msg += " value: ";
    msg += enum_value_text(v);
    throw ReadError(std::move(msg));
}

}  // namespace brindle::models
