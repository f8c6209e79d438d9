#include "models/scalar_text.hpp"

#include "models/number_text.hpp"

namespace brindle::models {

std::optional<std::string> scalar_to_text(const YamlValue& v) {
    std::string out;
    switch (v.kind) {
        case YamlValue::Kind::boolean: return v.boolean ? "true" : "false";
        case YamlValue::Kind::unsigned_int: append_u64(out, v.unsigned_int); return out;
        case YamlValue::Kind::negative_int: append_i64(out, v.negative_int); return out;
        case YamlValue::Kind::floating: append_f64(out, v.floating, FloatForm::yaml); return out;
        case YamlValue::Kind::text: return v.text;
        default: return std::nullopt;
    }
}

void read(Cursor& c, std::optional<ScalarText>& out) {
    out.reset();
    at_node(c, [&](Cursor& at) {
        if (read_absent(at)) return;
        YamlValue v = read_yaml_value(at);
        if (v.kind == YamlValue::Kind::null) return;
        std::optional<std::string> text = scalar_to_text(v);
        if (!text) throw ReadError("expected a string or an integer scalar");
        if (!text->empty()) out = ScalarText{std::move(*text)};
    });
}

void read(Cursor& c, OrderedMap<std::string, ScalarText>& out) {
    OrderedMap<std::string, YamlValue> values;
    read(c, values);
    for (auto& [key, value] : values) {
        std::optional<std::string> text = scalar_to_text(value);
        if (!text) throw ReadError("option '" + key + "' is not a scalar");
        out.insert_or_assign(key, ScalarText{std::move(*text)});
    }
}

}  // namespace brindle::models
