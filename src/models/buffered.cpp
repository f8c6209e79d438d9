#include "models/buffered.hpp"

#include "models/number_text.hpp"
#include "models/scalar.hpp"

namespace brindle::models {

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
