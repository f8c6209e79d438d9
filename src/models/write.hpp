// Writers of model values, generic over the text writer: JsonWriter and
// YamlWriter share one streaming interface (begin_object, key, end_object,
// begin_array, end_array, null, boolean, number, string), so every model
// value is written by the same overloads of `write(W&, const T&)`.
// Structs write every field, in declaration order, from their field table.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "models/collections.hpp"
#include "models/json_value.hpp"
#include "models/model.hpp"
#include "models/yaml_value.hpp"

namespace brindle::models {

template <class W>
void write(W& w, const std::string& v) {
    w.string(v);
}
template <class W>
void write(W& w, bool v) {
    w.boolean(v);
}
template <class W>
void write(W& w, std::int32_t v) {
    w.number(static_cast<std::int64_t>(v));
}
template <class W>
void write(W& w, std::int64_t v) {
    w.number(v);
}
template <class W>
void write(W& w, std::uint32_t v) {
    w.number(static_cast<std::uint64_t>(v));
}
template <class W>
void write(W& w, std::uint64_t v) {
    w.number(v);
}
template <class W>
void write(W& w, double v) {
    w.number(v);
}
template <class W, ModelEnum E>
void write(W& w, E v) {
    w.string(enum_name(v));
}

template <class W, TextForm T>
void write(W& w, const T& v) {
    w.string(text_of(v));
}

template <class W, class T>
void write(W& w, const std::optional<T>& v) {
    if (v) write(w, *v);
    else w.null();
}

template <class W, class Range>
void write_array(W& w, const Range& r) {
    w.begin_array();
    for (const auto& e : r) write(w, e);
    w.end_array();
}
template <class W, class T>
void write(W& w, const std::vector<T>& v) {
    write_array(w, v);
}
template <class W, class T>
void write(W& w, const OrderedSet<T>& v) {
    write_array(w, v);
}

template <class W, class K, class V>
void write(W& w, const OrderedMap<K, V>& m) {
    w.begin_object();
    for (const auto& [k, v] : m) {
        w.key(key_text(k));
        write(w, v);
    }
    w.end_object();
}

// A choice of kinds: the kind held; the empty kind is null.
template <class W>
void write(W& w, std::monostate) {
    w.null();
}
template <class W, class... T>
void write(W& w, const std::variant<T...>& v) {
    std::visit([&](const auto& x) { write(w, x); }, v);
}

template <class W>
void write(W& w, const JsonValue& v) {
    std::visit(
        [&](const auto& x) {
            using X = std::remove_cvref_t<decltype(x)>;
            if constexpr (std::is_same_v<X, JsonValue::Null>) {
                w.null();
            } else if constexpr (std::is_same_v<X, bool>) {
                w.boolean(x);
            } else if constexpr (std::is_same_v<X, std::string>) {
                w.string(x);
            } else if constexpr (std::is_same_v<X, JsonValue::Array>) {
                write_array(w, x);
            } else if constexpr (std::is_same_v<X, JsonValue::Object>) {
                w.begin_object();
                for (const auto& [k, member] : x) {
                    w.key(k);
                    write(w, member);
                }
                w.end_object();
            } else {
                w.number(x);
            }
        },
        v.value);
}

// The members of a struct, without opening an object: every field in
// declaration order.  Types that carry another struct's fields before their
// own (the run types) name it as Model<S>::base.
template <class W, ModelStruct S>
void write_fields(W& w, const S& s) {
    if constexpr (requires { Model<S>::base; }) write_fields(w, s.*Model<S>::base);
    for_each_field<S>([&](const auto& field) {
        w.key(field.key);
        write(w, s.*field.member);
    });
}

template <class W, ModelStruct S>
void write(W& w, const S& s) {
    if constexpr (ContentStruct<S>) {
        write(w, flattened(s.*Model<S>::content));
    } else {
        w.begin_object();
        write_fields(w, s);
        w.end_object();
    }
}

}  // namespace brindle::models
