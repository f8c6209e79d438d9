#include "models/scalar.hpp"

#include <charconv>
#include <cmath>
#include <limits>

#include "models/number_text.hpp"

namespace brindle::models {

namespace {

bool starts_with_sign(std::string_view s) { return !s.empty() && (s[0] == '+' || s[0] == '-'); }

int digit_value(char ch, unsigned base) {
    int v;
    if (ch >= '0' && ch <= '9') v = ch - '0';
    else if (ch >= 'a' && ch <= 'f') v = ch - 'a' + 10;
    else if (ch >= 'A' && ch <= 'F') v = ch - 'A' + 10;
    else return -1;
    return v < static_cast<int>(base) ? v : -1;
}

// Sign and magnitude of an integer text, or nothing (also beyond 128 bits).
struct IntText {
    bool negative = false;
    u128 magnitude = 0;
};

std::optional<IntText> parse_int(std::string_view s) {
    IntText r;
    if (!s.empty() && s[0] == '+') {
        s.remove_prefix(1);
        if (starts_with_sign(s)) return std::nullopt;
    } else if (!s.empty() && s[0] == '-') {
        s.remove_prefix(1);
        r.negative = true;
        if (starts_with_sign(s)) return std::nullopt;
    }
    unsigned base = 10;
    if (s.size() >= 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'o' || s[1] == 'b')) {
        base = s[1] == 'x' ? 16 : s[1] == 'o' ? 8 : 2;
        s.remove_prefix(2);
    } else if (s.size() > 1 && s[0] == '0') {
        return std::nullopt;  // a leading-zero decimal is no integer
    }
    if (s.empty()) return std::nullopt;
    const u128 max = ~static_cast<u128>(0);
    for (char ch : s) {
        int d = digit_value(ch, base);
        if (d < 0) return std::nullopt;
        if (r.magnitude > (max - static_cast<unsigned>(d)) / base) return std::nullopt;
        r.magnitude = r.magnitude * base + static_cast<unsigned>(d);
    }
    return r;
}

// Appends the decimal digits of a 128-bit magnitude.
void append_u128(std::string& out, u128 v) {
    char buf[48];
    char* p = buf + sizeof buf;
    do {
        *--p = static_cast<char>('0' + static_cast<int>(v % 10));
        v /= 10;
    } while (v != 0);
    out.append(p, buf + sizeof buf);
}

bool is_printable(char32_t cp) {
    if (cp < 0x20 || (cp >= 0x7f && cp <= 0x9f)) return false;
    switch (cp) {
        case 0xad: case 0x61c: case 0x6dd: case 0x70f: case 0x180e: case 0x2028: case 0x2029: case 0xfeff:
            return false;
        default: break;
    }
    if ((cp >= 0x600 && cp <= 0x605) || (cp >= 0x200b && cp <= 0x200f) || (cp >= 0x202a && cp <= 0x202e) ||
        (cp >= 0x2060 && cp <= 0x206f) || (cp >= 0xfff9 && cp <= 0xfffb) || (cp >= 0xd800 && cp <= 0xdfff) ||
        (cp >= 0xe000 && cp <= 0xf8ff) || (cp & 0xfffe) == 0xfffe || cp >= 0xf0000)
        return false;
    return true;
}

}  // namespace

bool is_null_word(std::string_view s) { return s == "~" || s == "null" || s == "Null" || s == "NULL"; }
bool is_null_text(std::string_view s) { return s.empty() || is_null_word(s); }

std::optional<bool> parse_bool(std::string_view s) {
    if (s == "true" || s == "True" || s == "TRUE") return true;
    if (s == "false" || s == "False" || s == "FALSE") return false;
    return std::nullopt;
}

std::optional<std::uint64_t> parse_u64(std::string_view s) {
    auto r = parse_int(s);
    if (!r || r->negative || r->magnitude > std::numeric_limits<std::uint64_t>::max()) return std::nullopt;
    return static_cast<std::uint64_t>(r->magnitude);
}

std::optional<std::int64_t> parse_i64(std::string_view s) {
    auto r = parse_int(s);
    if (!r) return std::nullopt;
    const u128 limit = static_cast<u128>(1) << 63;
    if (r->negative) {
        if (r->magnitude > limit) return std::nullopt;
        return static_cast<std::int64_t>(-static_cast<i128>(r->magnitude));
    }
    if (r->magnitude >= limit) return std::nullopt;
    return static_cast<std::int64_t>(r->magnitude);
}

std::optional<u128> parse_u128(std::string_view s) {
    auto r = parse_int(s);
    if (!r || r->negative) return std::nullopt;
    return r->magnitude;
}

std::optional<i128> parse_i128(std::string_view s) {
    auto r = parse_int(s);
    if (!r || !r->negative || r->magnitude > (static_cast<u128>(1) << 127)) return std::nullopt;
    return static_cast<i128>(-r->magnitude);
}

bool is_leading_zero_decimal(std::string_view s) {
    if (starts_with_sign(s)) s.remove_prefix(1);
    if (s.size() < 2 || s[0] != '0') return false;
    for (char ch : s.substr(1))
        if (ch < '0' || ch > '9') return false;
    return true;
}

std::optional<double> parse_f64(std::string_view s) {
    if (!s.empty() && s[0] == '+') {
        s.remove_prefix(1);
        if (starts_with_sign(s)) return std::nullopt;
        if (s == ".inf" || s == ".Inf" || s == ".INF") return std::numeric_limits<double>::infinity();
    } else {
        if (s == ".inf" || s == ".Inf" || s == ".INF") return std::numeric_limits<double>::infinity();
        if (s == "-.inf" || s == "-.Inf" || s == "-.INF") return -std::numeric_limits<double>::infinity();
        if (s == ".nan" || s == ".NaN" || s == ".NAN") return std::numeric_limits<double>::quiet_NaN();
    }
    // Check the grammar: [-] (digits [. digits?] | . digits) [(e|E) [+-] digits]
    std::size_t i = 0, n = s.size();
    bool negative = false;
    if (i < n && s[i] == '-') {
        negative = true;
        ++i;
    }
    std::size_t int_digits = 0, frac_digits = 0;
    while (i < n && s[i] >= '0' && s[i] <= '9') ++i, ++int_digits;
    if (i < n && s[i] == '.') {
        ++i;
        while (i < n && s[i] >= '0' && s[i] <= '9') ++i, ++frac_digits;
    }
    if (int_digits + frac_digits == 0) return std::nullopt;
    long long exponent = 0;
    if (i < n && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        bool eneg = false;
        if (i < n && (s[i] == '+' || s[i] == '-')) eneg = s[i++] == '-';
        std::size_t exp_digits = 0;
        while (i < n && s[i] >= '0' && s[i] <= '9') {
            if (exponent < 100000) exponent = exponent * 10 + (s[i] - '0');
            ++i, ++exp_digits;
        }
        if (exp_digits == 0) return std::nullopt;
        if (eneg) exponent = -exponent;
    }
    if (i != n) return std::nullopt;
    std::string_view number = s.substr(negative ? 1 : 0);
    double v = 0;
    auto r = std::from_chars(number.data(), number.data() + number.size(), v, std::chars_format::general);
    if (r.ec == std::errc::result_out_of_range) {
        // Overflow or underflow: the value is at least 1 exactly when its
        // first significant digit stands at or before the units place.
        std::string_view mantissa = number.substr(0, number.find_first_of("eE"));
        std::size_t dot = mantissa.find('.');
        std::string_view whole = mantissa.substr(0, dot);
        std::string_view frac = dot == std::string_view::npos ? std::string_view() : mantissa.substr(dot + 1);
        long long lead;
        if (std::size_t nz = whole.find_first_not_of('0'); nz != std::string_view::npos)
            lead = static_cast<long long>(whole.size() - nz);
        else
            lead = -static_cast<long long>(frac.find_first_not_of('0'));
        if (lead + exponent > 0) return std::nullopt;  // too large to be finite
        v = 0;
    } else if (r.ec != std::errc() || r.ptr != number.data() + number.size()) {
        return std::nullopt;
    }
    if (std::isinf(v)) return std::nullopt;
    return negative ? -v : v;
}

bool is_long_decimal_integer(std::string_view s, const Event& e) {
    if (e.tag != Tag::integer && (e.tag != Tag::none || e.style != ScalarStyle::plain)) return false;
    bool negative = !s.empty() && s[0] == '-';
    std::string_view digits = starts_with_sign(s) ? s.substr(1) : s;
    if (digits.empty() || (digits.size() > 1 && digits[0] == '0')) return false;
    for (char ch : digits)
        if (ch < '0' || ch > '9') return false;
    auto r = parse_int(s);
    return !r || (negative && r->magnitude > (static_cast<u128>(1) << 127));
}

Resolved resolve_plain(std::string_view s) {
    Resolved r;
    if (is_null_text(s)) {
        r.kind = Resolved::Kind::null;
        return r;
    }
    if (auto b = parse_bool(s)) {
        r.kind = Resolved::Kind::boolean;
        r.boolean = *b;
        return r;
    }
    if (auto i = parse_int(s)) {
        const u128 u64max = std::numeric_limits<std::uint64_t>::max();
        // -0 is the unsigned 0: the signed kind holds only values below zero.
        if ((!i->negative || i->magnitude == 0) && i->magnitude <= u64max) {
            r.kind = Resolved::Kind::unsigned_int;
            r.unsigned_int = static_cast<std::uint64_t>(i->magnitude);
        } else if (i->negative && i->magnitude <= (static_cast<u128>(1) << 63)) {
            r.kind = Resolved::Kind::negative_int;
            r.negative_int = static_cast<std::int64_t>(-static_cast<i128>(i->magnitude));
        } else if (!i->negative) {
            r.kind = Resolved::Kind::big_unsigned;
            r.big_unsigned = i->magnitude;
        } else if (i->magnitude <= (static_cast<u128>(1) << 127)) {
            r.kind = Resolved::Kind::big_negative;
            r.big_negative = static_cast<i128>(-i->magnitude);
        }
        if (r.kind != Resolved::Kind::text) return r;
    }
    if (!is_leading_zero_decimal(s)) {
        if (auto f = parse_f64(s)) {
            r.kind = Resolved::Kind::floating;
            r.floating = *f;
            return r;
        }
    }
    return r;
}

Resolved resolve_scalar(std::string_view text, const Event& e) {
    switch (e.tag) {
        case Tag::null:
            if (is_null_word(text)) return Resolved{Resolved::Kind::null};
            throw_invalid_value("string " + quoted(text), "null");
        case Tag::boolean:
            if (auto b = parse_bool(text)) {
                Resolved r{Resolved::Kind::boolean};
                r.boolean = *b;
                return r;
            }
            throw_invalid_value("string " + quoted(text), "a boolean");
        case Tag::integer: {
            Resolved r = resolve_plain(text);
            if (r.kind == Resolved::Kind::unsigned_int || r.kind == Resolved::Kind::negative_int ||
                r.kind == Resolved::Kind::big_unsigned || r.kind == Resolved::Kind::big_negative)
                return r;
            throw_invalid_value("string " + quoted(text), "an integer");
        }
        case Tag::floating:
            if (auto f = parse_f64(text)) {
                Resolved r{Resolved::Kind::floating};
                r.floating = *f;
                return r;
            }
            throw_invalid_value("string " + quoted(text), "a float");
        case Tag::none:
        case Tag::local:
            if (e.style == ScalarStyle::plain) return resolve_plain(text);
            break;
        case Tag::other:
            break;
    }
    return Resolved{Resolved::Kind::text};
}

std::string float_in_full(double v) {
    std::string out;
    append_f64(out, v, FloatForm::in_full);
    return out;
}

std::string quoted(std::string_view s) {
    std::string out;
    out.reserve(s.size() + 2);
    out += '"';
    std::size_t i = 0;
    while (i < s.size()) {
        auto c = static_cast<unsigned char>(s[i]);
        switch (c) {
            case '"': out += "\\\""; ++i; continue;
            case '\\': out += "\\\\"; ++i; continue;
            case '\t': out += "\\t"; ++i; continue;
            case '\r': out += "\\r"; ++i; continue;
            case '\n': out += "\\n"; ++i; continue;
            case '\0': out += "\\0"; ++i; continue;
            default: break;
        }
        // Decode one UTF-8 sequence (the reader only sees valid UTF-8).
        std::size_t len = c < 0x80 ? 1 : c < 0xe0 ? 2 : c < 0xf0 ? 3 : 4;
        if (i + len > s.size()) len = s.size() - i;
        char32_t cp = len == 1 ? c : len == 2 ? (c & 0x1f) : len == 3 ? (c & 0x0f) : (c & 0x07);
        for (std::size_t k = 1; k < len; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3f);
        if (is_printable(cp)) {
            out.append(s.substr(i, len));
        } else {
            char buf[16];
            auto r = std::to_chars(buf, buf + sizeof buf, static_cast<std::uint32_t>(cp), 16);
            out += "\\u{";
            out.append(buf, r.ptr);
            out += '}';
        }
        i += len;
    }
    out += '"';
    return out;
}

std::string describe(const Resolved& r, std::string_view text) {
    std::string out;
    switch (r.kind) {
        case Resolved::Kind::null: return "unit value";
        case Resolved::Kind::boolean: return r.boolean ? "boolean `true`" : "boolean `false`";
        case Resolved::Kind::unsigned_int:
            out = "integer `";
            append_u64(out, r.unsigned_int);
            out += '`';
            return out;
        case Resolved::Kind::negative_int:
            out = "integer `";
            append_i64(out, r.negative_int);
            out += '`';
            return out;
        case Resolved::Kind::big_unsigned:
            out = "integer `";
            append_u128(out, r.big_unsigned);
            out += "` as u128";
            return out;
        case Resolved::Kind::big_negative:
            out = "integer `-";
            append_u128(out, static_cast<u128>(-(r.big_negative + 1)) + 1);
            out += "` as i128";
            return out;
        case Resolved::Kind::floating: return "floating point `" + float_in_full(r.floating) + "`";
        case Resolved::Kind::text: return "string " + quoted(text);
    }
    return out;
}

void throw_invalid_value(std::string_view found, std::string_view expected) {
    std::string msg = "invalid value: ";
    msg += found;
    msg += ", expected ";
    msg += expected;
    throw ReadError(std::move(msg));
}

void throw_invalid_type(const Cursor& c, const Event& e, std::string_view expected) {
    std::string found;
    switch (e.kind) {
        case EventKind::sequence_start: found = "sequence"; break;
        case EventKind::mapping_start: found = "map"; break;
        case EventKind::void_: throw ReadError::end_of_input();
        case EventKind::scalar: {
            std::string_view text = c.text(e);
            found = describe(resolve_scalar(text, e), text);
            break;
        }
        default: found = "unexpected event"; break;
    }
    std::string msg = "invalid type: ";
    msg += found;
    msg += ", expected ";
    msg += expected;
    throw ReadError(std::move(msg));
}

}  // namespace brindle::models
