#include "models/number_text.hpp"

#include <charconv>
#include <cmath>
#include <cstring>

namespace brindle::models {

namespace {

// The shortest significant digits that read back as `v` (finite, not zero,
// positive) and the decimal exponent of the first digit.
struct Digits {
    char d[32];
    int n = 0;
    int exponent = 0;
};

Digits shortest_digits(double v) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific);
    Digits out;
    const char* p = buf;
    const char* end = r.ptr;
    for (; p < end && *p != 'e'; ++p)
        if (*p != '.') out.d[out.n++] = *p;
    // p at 'e'
    ++p;
    bool neg = *p == '-';
    ++p;
    int e = 0;
    for (; p < end; ++p) e = e * 10 + (*p - '0');
    out.exponent = neg ? -e : e;
    while (out.n > 1 && out.d[out.n - 1] == '0') --out.n;
    return out;
}

void append_zeros(std::string& out, int count) {
    if (count > 0) out.append(static_cast<std::size_t>(count), '0');
}

void append_positional(std::string& out, const Digits& g) {
    int n = g.n, e = g.exponent;
    if (e >= n - 1) {
        out.append(g.d, static_cast<std::size_t>(n));
        append_zeros(out, e - (n - 1));
        out += ".0";
    } else if (e >= 0) {
        out.append(g.d, static_cast<std::size_t>(e + 1));
        out += '.';
        out.append(g.d + e + 1, static_cast<std::size_t>(n - e - 1));
    } else {
        out += "0.";
        append_zeros(out, -e - 1);
        out.append(g.d, static_cast<std::size_t>(n));
    }
}

}  // namespace

void append_f64(std::string& out, double v, FloatForm form) {
    if (std::isnan(v)) {
        out += form == FloatForm::json ? "null" : form == FloatForm::yaml ? ".nan" : "NaN";
        return;
    }
    if (std::isinf(v)) {
        if (form == FloatForm::json) out += "null";
        else if (form == FloatForm::yaml) out += v > 0 ? ".inf" : "-.inf";
        else out += v > 0 ? "inf" : "-inf";
        return;
    }
    if (std::signbit(v)) {
        out += '-';
        v = -v;
    }
    if (v == 0) {
        out += "0.0";
        return;
    }
    Digits g = shortest_digits(v);
    if (form == FloatForm::in_full || (g.exponent >= -5 && g.exponent <= 15)) {
        append_positional(out, g);
        return;
    }
    out += g.d[0];
    if (g.n > 1) {
        out += '.';
        out.append(g.d + 1, static_cast<std::size_t>(g.n - 1));
    }
    out += 'e';
    if (g.exponent > 0 && form == FloatForm::json) out += '+';
    char buf[8];
    auto r = std::to_chars(buf, buf + sizeof buf, g.exponent);
    out.append(buf, r.ptr);
}

void append_u64(std::string& out, std::uint64_t v) {
    char buf[24];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, r.ptr);
}

void append_i64(std::string& out, std::int64_t v) {
    char buf[24];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, r.ptr);
}

}  // namespace brindle::models
