#include "models/model.hpp"

namespace brindle::models {

std::string unknown_field_message(std::string_view key, const std::string_view* keys, std::size_t count) {
    std::string msg = "unknown field `";
    msg += key;
    if (count == 0) return msg + "`, there are no fields";
    msg += "`, expected ";
    if (count == 1) return msg + "`" + std::string(keys[0]) + "`";
    if (count == 2) return msg + "`" + std::string(keys[0]) + "` or `" + std::string(keys[1]) + "`";
    msg += "one of ";
    for (std::size_t i = 0; i < count; ++i) {
        if (i) msg += ", ";
        msg += '`';
        msg += keys[i];
        msg += '`';
    }
    return msg;
}

std::string missing_field_message(std::string_view key) { return "missing field `" + std::string(key) + "`"; }

std::string duplicate_field_message(std::string_view key) { return "duplicate field `" + std::string(key) + "`"; }

void throw_invalid_struct(const Cursor& c, const Event& e, std::string_view name) {
    std::string expected = "struct ";
    expected += name;
    throw_invalid_type(c, e, expected);
}

std::size_t match_key_text(Cursor& c, const std::string_view* keys, std::size_t count, std::string_view* key_text) {
    return read_node(c, [&](Cursor& at, const Event& e) {
        if (e.kind != EventKind::scalar) throw_invalid_type(at, e, "field identifier");
        std::string_view text = at.text(e);
        *key_text = text;
        for (std::size_t i = 0; i < count; ++i)
            if (keys[i] == text) return i;
        return npos_field;
    });
}

}  // namespace brindle::models
