// The YAML rules by which a scalar is taken as null, boolean, integer, float
// or text, and the texts that describe a found value in reading errors.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "models/document.hpp"

namespace brindle::models {

__extension__ typedef unsigned __int128 u128;
__extension__ typedef __int128 i128;

// What a plain scalar (or a scalar under a core tag) stands for.
struct Resolved {
    enum class Kind : std::uint8_t { null, boolean, unsigned_int, negative_int, big_unsigned, big_negative, floating, text };
    Kind kind = Kind::text;
    bool boolean = false;
    std::uint64_t unsigned_int = 0;
    std::int64_t negative_int = 0;  // below zero
    u128 big_unsigned = 0;
    i128 big_negative = 0;
    double floating = 0;
};

bool is_null_word(std::string_view s);          // ~ null Null NULL
bool is_null_text(std::string_view s);          // the same or empty
std::optional<bool> parse_bool(std::string_view s);
// The integer grammar, for each target width; nothing when the text does not fit.
std::optional<std::uint64_t> parse_u64(std::string_view s);
std::optional<std::int64_t> parse_i64(std::string_view s);
std::optional<u128> parse_u128(std::string_view s);
std::optional<i128> parse_i128(std::string_view s);
// The float grammar: finite decimals and the .inf / .nan words.
std::optional<double> parse_f64(std::string_view s);
// A zero followed by decimal digits (after one sign), which is no integer.
bool is_leading_zero_decimal(std::string_view s);

// Plain scalar resolution of untagged YAML: null, boolean, integer, float, text.
Resolved resolve_plain(std::string_view s);

// The resolution of a scalar event by its tag and style.  A core-tagged
// scalar whose text does not fit its tag fails with "invalid value: ...".
Resolved resolve_scalar(std::string_view text, const Event& e);
// Whether the scalar event `e` (plain and untagged, or tagged !!int) is a
// decimal integer beyond 128 bits (a negative one beyond the signed range),
// which the plain-scalar rules take as a float.
bool is_long_decimal_integer(std::string_view text, const Event& e);

// Shortest decimal that reads back as `v`, written out in full without an
// exponent, with ".0" when there is no point; inf, -inf and NaN.
std::string float_in_full(double v);
// The text between double quotes with the escapes of reading errors.
std::string quoted(std::string_view s);
std::string describe(const Resolved& r, std::string_view text);
// "invalid type: <found>, expected <expected>" for the event `e`; the Void
// event gives the end-of-input error instead.
[[noreturn]] void throw_invalid_type(const Cursor& c, const Event& e, std::string_view expected);
[[noreturn]] void throw_invalid_value(std::string_view found, std::string_view expected);

}  // namespace brindle::models
