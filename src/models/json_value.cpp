#include "models/json_value.hpp"

#include <algorithm>
#include <cmath>

#include "models/json_writer.hpp"
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

namespace {

template <class Writer>
void write_value(const JsonValue& v, Writer& w) {
    std::visit(
        [&w](const auto& x) {
            using T = std::decay_t<decltype(x)>;
            if constexpr (std::is_same_v<T, JsonValue::Null>) {
                w.null();
            } else if constexpr (std::is_same_v<T, bool>) {
                w.boolean(x);
            } else if constexpr (std::is_same_v<T, std::string>) {
                w.string(x);
            } else if constexpr (std::is_same_v<T, JsonValue::Array>) {
                w.begin_array();
                for (const auto& item : x) write_value(item, w);
                w.end_array();
            } else if constexpr (std::is_same_v<T, JsonValue::Object>) {
                w.begin_object();
                for (const auto& [key, item] : x) {
                    w.key(key);
                    write_value(item, w);
                }
                w.end_object();
            } else {
                w.number(x);
            }
        },
        v.value);
}

}  // namespace

std::string to_json_text(const JsonValue& v) {
    JsonWriter w;
    write_value(v, w);
    return w.take();
}

std::string to_yaml_text(const JsonValue& v) {
    YamlWriter w;
    write_value(v, w);
    return w.take();
}

}  // namespace brindle::models
