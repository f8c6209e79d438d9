// Model structs: each type declares its fields once, in a table beside the
// type, and the generic code here reads it (and, elsewhere, writes and
// converts it) from that table.
//
//     template <> struct Model<LicenseCategory> {
//         static constexpr std::string_view name = "LicenseCategory";
//         static constexpr auto unknown_keys = UnknownKeys::reject;
//         static constexpr auto fields = std::tuple{
//             required("name", &LicenseCategory::name),
//             defaulted("description", &LicenseCategory::description),
//         };
//     };
//
// A field's value kind comes from its member's C++ type, found by overload
// of `read(Cursor&, T&)`.  Absent defaulted fields keep the value the struct
// gives them by default, and so do those declared `defaulted_or_null` when
// their value is null or empty; absent optional fields (std::optional
// members) stay empty; an absent required field fails.
#pragma once

#include <array>
#include <bitset>
#include <cstddef>
#include <limits>
#include <string>
#include <string_view>
#include <tuple>
#include <optional>
#include <type_traits>
#include <utility>
#include <vector>

#include "models/read.hpp"

namespace brindle::models {

enum class Presence : std::uint8_t { required, optional, defaulted, defaulted_or_null };

// What a struct does with a key that names none of its fields.
enum class UnknownKeys : std::uint8_t {
    reject,  // fails with the unknown-field message
    skip,    // the key and its whole value are ignored
    custom,  // handed to Model<S>::read_unknown(key_text, value_cursor, out)
    base,    // captured and handed to the struct named by Model<S>::base (runs)
};

template <class S, class M>
struct Field {
    using struct_type = S;
    using member_type = M;
    std::string_view key;
    M S::*member;
    Presence presence;
};

template <class S, class M>
constexpr Field<S, M> required(std::string_view key, M S::*member) {
    return {key, member, Presence::required};
}
template <class S, class M>
constexpr Field<S, std::optional<M>> optional(std::string_view key, std::optional<M> S::*member) {
    return {key, member, Presence::optional};
}
template <class S, class M>
constexpr Field<S, M> defaulted(std::string_view key, M S::*member) {
    return {key, member, Presence::defaulted};
}

template <class S, class M>
constexpr Field<S, M> defaulted_or_null(std::string_view key, M S::*member) {
    return {key, member, Presence::defaulted_or_null};
}

template <class S>
struct Model;

template <class S>
concept ModelStruct = requires {
    Model<S>::name;
    Model<S>::fields;
    Model<S>::unknown_keys;
};

// Structs whose keys are all content (Model<S>::content names the member
// holding it) are written and converted as that content alone.
template <class S>
concept ContentStruct = ModelStruct<S> && requires { Model<S>::content; };

template <ModelStruct S>
constexpr std::size_t field_count = std::tuple_size_v<std::remove_cvref_t<decltype(Model<S>::fields)>>;

// The declared keys in declaration order.
template <ModelStruct S>
constexpr auto field_keys = []<std::size_t... I>(std::index_sequence<I...>) {
    return std::array<std::string_view, sizeof...(I)>{std::get<I>(Model<S>::fields).key...};
}(std::make_index_sequence<field_count<S>>{});

// Calls f(field) for each field in declaration order.
template <ModelStruct S, class F>
constexpr void for_each_field(F&& f) {
    std::apply([&](const auto&... field) { (f(field), ...); }, Model<S>::fields);
}

// Calls f(field) for the field at `index`.
template <ModelStruct S, class F>
void with_field(std::size_t index, F&& f) {
    (void)index;
    (void)f;
    [&]<std::size_t... I>(std::index_sequence<I...>) {
        (void)((index == I ? (f(std::get<I>(Model<S>::fields)), true) : false) || ...);
    }(std::make_index_sequence<field_count<S>>{});
}

// The index given for a key that names no field.
inline constexpr std::size_t npos_field = static_cast<std::size_t>(-1);

// "unknown field `k`, expected ..." with the declared keys.
std::string unknown_field_message(std::string_view key, const std::string_view* keys, std::size_t count);
std::string missing_field_message(std::string_view key);
std::string duplicate_field_message(std::string_view key);
[[noreturn]] void throw_invalid_struct(const Cursor& c, const Event& e, std::string_view name);

// Which fields of a struct being read have been met (a first value of null
// still counts, so a second one is a duplicate).
template <ModelStruct S>
using SeenFields = std::bitset<field_count<S>>;

// End of the mapping: the first absent required field in declaration order fails.
template <ModelStruct S>
void check_required(const SeenFields<S>& seen) {
    std::size_t i = 0;
    for_each_field<S>([&](const auto& field) {
        if (field.presence == Presence::required && !seen[i]) throw ReadError(missing_field_message(field.key));
        ++i;
    });
}

// Reads the key at the cursor (an alias is followed) and gives the index of
// the field it names, or npos for a key the struct does not declare.  A key
// that is a sequence or mapping fails.
std::size_t match_key_text(Cursor& c, const std::string_view* keys, std::size_t count, std::string_view* key_text);

// Reads the entries of a mapping whose start event `start` was consumed.
// A key that names no field goes to `unknown(key_text, value_cursor)`, which
// must consume the value.
template <ModelStruct S, class Unknown>
void read_struct_fields(Cursor& at, const Event& start, S& out, SeenFields<S>& seen, Unknown&& unknown) {
    Cursor::Nested nested(at, start.mark);
    for (;;) {
        const Event key = at.peek();
        if (key.kind == EventKind::mapping_end) break;
        Cursor value(at, key);
        std::string_view key_text;
        std::size_t index = match_key_text(at, field_keys<S>.data(), field_count<S>, &key_text);
        if (index == npos_field) {
            // The handler keeps what it needs of the key's text before it
            // reads the value.
            unknown(key, key_text, value);
            continue;
        }
        if (seen[index]) throw ReadError(duplicate_field_message(field_keys<S>[index]));
        seen[index] = true;
        value.set_key(field_keys<S>[index]);
        with_field<S>(index, [&](const auto& field) {
            if (field.presence != Presence::defaulted_or_null) {
                read(value, out.*field.member);
                return;
            }
            at_node(value, [&](Cursor& node) {
                if (!read_absent(node)) read(node, out.*field.member);
            });
        });
    }
    at.next();
}

// The handling of unknown keys that the struct's policy names.
template <ModelStruct S>
auto unknown_key_policy(Cursor& at, S& out) {
    return [&at, &out](const Event& key, std::string_view key_text, Cursor& value) {
        if constexpr (Model<S>::unknown_keys == UnknownKeys::reject) {
            // Reported at the key, with the struct's path.
            (void)out;
            (void)value;
            ReadError err(unknown_field_message(key_text, field_keys<S>.data(), field_count<S>));
            at.attach(err, key.mark);
            throw err;
        } else if constexpr (Model<S>::unknown_keys == UnknownKeys::skip) {
            (void)at;
            (void)out;
            (void)key;
            value.skip_node();
        } else {
            (void)at;
            (void)key;
            value.keep_key();
            Model<S>::read_unknown(std::string(key_text), value, out);
        }
    };
}

// Reads a struct from a mapping, an alias to one, or an empty value.
template <ModelStruct S>
void read(Cursor& c, S& out) {
    read_node(c, [&](Cursor& at, const Event& e) {
        SeenFields<S> seen;
        if (e.kind == EventKind::mapping_start) {
            read_struct_fields(at, e, out, seen, unknown_key_policy(at, out));
        } else if (!is_empty_value(at, e)) {
            throw_invalid_struct(at, e, Model<S>::name);
        }
        check_required<S>(seen);
    });
}

// Value types that stand for one text (identifiers, version-control types,
// algorithm names ...).  They give `text_of(v)`, found by argument-dependent
// lookup, and are written, converted to Python and used as map keys as that
// text; their reading is their own.
template <class T>
concept TextForm = requires(const T& v) {
    { text_of(v) } -> std::convertible_to<std::string_view>;
};

// The text a map key is written and converted as.
inline const std::string& key_text(const std::string& k) { return k; }
template <TextForm T>
decltype(auto) key_text(const T& k) {
    return text_of(k);
}

template <TextForm T>
    requires(!IdentifiedElement<T>)
struct Hasher<T> {
    std::uint64_t operator()(const T& v) const {
        std::string_view text = text_of(v);
        return hash_bytes(text.data(), text.size());
    }
};

// Equality of the floats inside set elements: NaN equals NaN (and -0.0
// equals 0.0), so that an element is always equal to itself and a set keeps
// one copy of it.
inline bool same_number(double a, double b) noexcept { return a == b || (a != a && b != b); }
inline bool same_number(const std::optional<double>& a, const std::optional<double>& b) noexcept {
    return a && b ? same_number(*a, *b) : a.has_value() == b.has_value();
}

// Hashing for set elements and map keys: structs combine their fields
// (elements with an identity of their own hash it instead, collections.hpp).
template <class T>
struct Hasher<T, std::enable_if_t<std::is_arithmetic_v<T> || std::is_enum_v<T>>> {
    std::uint64_t operator()(T v) const noexcept {
        if constexpr (std::is_floating_point_v<T>) {
            if (v == 0) v = 0;                                     // -0.0 equals 0.0
            if (v != v) v = std::numeric_limits<T>::quiet_NaN();  // every NaN equals every NaN
        }
        return hash_bytes(&v, sizeof v);
    }
};
template <class T>
struct Hasher<std::optional<T>> {
    std::uint64_t operator()(const std::optional<T>& v) const { return v ? hash_combine(1, hash_value(*v)) : 0; }
};
template <class T>
struct Hasher<std::vector<T>> {
    std::uint64_t operator()(const std::vector<T>& v) const {
        std::uint64_t h = v.size();
        for (const T& e : v) h = hash_combine(h, hash_value(e));
        return h;
    }
};
template <ModelStruct S>
    requires(!IdentifiedElement<S>)
struct Hasher<S> {
    std::uint64_t operator()(const S& s) const {
        std::uint64_t h = 0;
        for_each_field<S>([&](const auto& field) { h = hash_combine(h, hash_value(s.*field.member)); });
        return h;
    }
};

// Reads a whole document holding one S.
template <ModelStruct S>
S read_document(std::string_view text, InputRelease release = {}) {
    return read_yaml_document(
        text,
        [](Cursor& c) {
            S value{};
            read(c, value);
            return value;
        },
        release);
}

}  // namespace brindle::models
