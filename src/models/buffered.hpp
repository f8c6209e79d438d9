// Buffered values: a YAML node captured whole, each scalar typed once, so that
// a value can be looked at before it is read, tried as one kind after
// another, or kept until later (provenances, the base part of runs).
//
// Reading from a buffered value has rules of its own: a text field takes only
// a captured text, a struct may also be given as a sequence of its field
// values, an integer key names the field at that position, and unknown keys
// are ignored.  Errors made while reading from a buffered value have no
// position; the struct read directly around it gives them its own.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "models/model.hpp"
#include "models/yaml_value.hpp"

namespace brindle::models {

// A captured node.
using Buffered = YamlValue;

// Entries of a mapping kept for later: key text and captured value, in input order.
struct CapturedEntry {
    std::string key;
    Buffered value;
    bool taken = false;
};
using CapturedEntries = std::vector<CapturedEntry>;

[[noreturn]] void throw_buffered_invalid_type(const Buffered& v, std::string_view expected);

void read_buffered(const Buffered& v, std::string& out);
void read_buffered(const Buffered& v, std::uint32_t& out);
void read_buffered(const Buffered& v, std::uint64_t& out);
void read_buffered(const Buffered& v, OrderedMap<std::string, std::string>& out);

template <class T>
void read_buffered(const Buffered& v, std::optional<T>& out) {
    if (v.is_null()) {
        out.reset();
        return;
    }
    read_buffered(v, out.emplace());
}

// "struct T with N elements", the expected text of a sequence that ends early.
template <ModelStruct S>
std::string sequence_text() {
    std::string t = "struct ";
    t += Model<S>::name;
    t += " with " + std::to_string(field_count<S>) + (field_count<S> == 1 ? " element" : " elements");
    return t;
}

std::string invalid_length_message(std::size_t count, std::string_view expected);
std::string too_long_message(std::size_t count, std::size_t fields);

// A struct from a buffered mapping or sequence.
template <ModelStruct S>
void read_buffered(const Buffered& v, S& out) {
    constexpr std::size_t n = field_count<S>;
    SeenFields<S> seen;
    if (v.kind == Buffered::Kind::mapping) {
        for (std::size_t i = 0; i < v.items.size(); i += 2) {
            const Buffered& key = v.items[i];
            std::size_t index = npos_field;
            if (key.kind == Buffered::Kind::text) {
                for (std::size_t f = 0; f < n; ++f)
                    if (field_keys<S>[f] == key.text) index = f;
            } else if (key.kind == Buffered::Kind::unsigned_int) {
                if (key.unsigned_int < n) index = static_cast<std::size_t>(key.unsigned_int);
            } else {
                throw_buffered_invalid_type(key, "field identifier");
            }
            if (index == npos_field) continue;
            if (seen[index]) throw ReadError(duplicate_field_message(field_keys<S>[index]));
            seen[index] = true;
            with_field<S>(index, [&](const auto& field) { read_buffered(v.items[i + 1], out.*field.member); });
        }
        check_required<S>(seen);
    } else if (v.kind == Buffered::Kind::sequence) {
        // The field values first, in order; elements left over fail after them.
        std::size_t i = 0;
        for_each_field<S>([&](const auto& field) {
            if (i < v.items.size()) read_buffered(v.items[i], out.*field.member);
            else if (field.presence == Presence::required)
                throw ReadError(invalid_length_message(i, sequence_text<S>()));
            ++i;
        });
        if (v.items.size() > n) throw ReadError(too_long_message(v.items.size(), n));
    } else {
        throw_buffered_invalid_type(v, "struct " + std::string(Model<S>::name));
    }
}

// Whether reading S from `v` is sure to fail without looking at any value:
// `v` is neither a mapping nor a sequence, or a mapping without a key for one
// of S's required fields.  A reader that tries several kinds in turn passes
// over such a kind without building its error.
template <ModelStruct S>
bool cannot_hold(const Buffered& v) {
    if (v.kind == Buffered::Kind::sequence) return false;
    if (v.kind != Buffered::Kind::mapping) return true;
    constexpr std::size_t n = field_count<S>;
    SeenFields<S> present;
    for (std::size_t i = 0; i < v.items.size(); i += 2) {
        const Buffered& key = v.items[i];
        if (key.kind == Buffered::Kind::text) {
            for (std::size_t f = 0; f < n; ++f)
                if (field_keys<S>[f] == key.text) present[f] = true;
        } else if (key.kind == Buffered::Kind::unsigned_int && key.unsigned_int < n) {
            present[static_cast<std::size_t>(key.unsigned_int)] = true;
        }
    }
    std::size_t i = 0;
    bool missing = false;
    for_each_field<S>([&](const auto& field) {
        if (field.presence == Presence::required && !present[i]) missing = true;
        ++i;
    });
    return missing;
}

// A struct from captured entries: the entries whose keys name its fields are
// taken out, in input order; the others stay for the caller.
template <ModelStruct S>
void read_buffered_entries(CapturedEntries& entries, S& out) {
    SeenFields<S> seen;
    for (auto& entry : entries) {
        if (entry.taken) continue;
        std::size_t index = npos_field;
        for (std::size_t f = 0; f < field_count<S>; ++f)
            if (field_keys<S>[f] == entry.key) index = f;
        if (index == npos_field) continue;
        entry.taken = true;
        if (seen[index]) throw ReadError(duplicate_field_message(field_keys<S>[index]));
        seen[index] = true;
        with_field<S>(index, [&](const auto& field) { read_buffered(entry.value, out.*field.member); });
    }
    check_required<S>(seen);
}

// Structs that carry another struct's fields in their own mapping (the runs
// and their base part).  Keys the struct does not own are captured; once its
// own required fields are known to be present, the base part is read from
// them, and what neither uses is dropped.  Base part errors are reported at
// the struct.
template <class S>
concept StructWithBase = ModelStruct<S> && requires { Model<S>::base; };

template <StructWithBase S>
void read(Cursor& c, S& out) {
    read_node(c, [&](Cursor& at, const Event& e) {
        SeenFields<S> seen;
        CapturedEntries entries;
        if (e.kind == EventKind::mapping_start) {
            read_struct_fields(at, e, out, seen, [&](const Event&, std::string_view key, Cursor& value) {
                value.keep_key();
                entries.push_back(CapturedEntry{std::string(key), capture(value)});
            });
        } else if (!is_empty_value(at, e)) {
            throw_invalid_struct(at, e, Model<S>::name);
        }
        check_required<S>(seen);
        read_buffered_entries(entries, out.*Model<S>::base);
    });
}

}  // namespace brindle::models
