// Text forms of numbers, written without allocation into a caller's buffer.
#pragma once

#include <cstdint>
#include <string>

namespace brindle::models {

enum class FloatForm {
    json,     // positional for decimal exponents -5..15, else 1e+16; non-finite as null
    yaml,     // as json, but 1e16 without the plus sign; .nan .inf -.inf
    in_full,  // positional always (reading errors); inf -inf NaN
};

// Appends `v` in the given form.
void append_f64(std::string& out, double v, FloatForm form);
void append_u64(std::string& out, std::uint64_t v);
void append_i64(std::string& out, std::int64_t v);

}  // namespace brindle::models
