#include "models/json_value.hpp"

#include <algorithm>
#include <cmath>

#include "models/json_writer.hpp"
#include "models/write.hpp"
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

std::string to_json_text(const JsonValue& v) {
    JsonWriter w;
    write(w, v);
    return w.take();
}

std::string to_yaml_text(const JsonValue& v) {
    YamlWriter w;
    write(w, v);
    return w.take();
}

}  // namespace brindle::models
