// Readers of texts, numbers, booleans, lists, sets, maps and optional values.
//
// Every reader has the form `read(Cursor&, T&)`; the struct, enum and special
// value readers add overloads of the same name, so a collection of any
// element type finds its element reader by overload.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "models/collections.hpp"
#include "models/document.hpp"
#include "models/scalar.hpp"

namespace brindle::models {

// An empty plain scalar (a tag on it is not looked at) or the Void event.
inline bool is_empty_value(const Cursor&, const Event& e) {
    return e.kind == EventKind::void_ ||
           (e.kind == EventKind::scalar && e.style == ScalarStyle::plain && e.text_size == 0);
}

void read(Cursor& c, std::string& out);
void read(Cursor& c, bool& out);
void read(Cursor& c, std::int32_t& out);
void read(Cursor& c, std::int64_t& out);
void read(Cursor& c, double& out);

// Walks the elements of a sequence (or nothing for an empty value), calling
// `element(child_cursor)` for each; anything else fails as "a sequence".
template <class F>
void read_sequence(Cursor& c, F&& element) {
    read_node(c, [&](Cursor& at, const Event& e) {
        if (e.kind == EventKind::sequence_start) {
            Cursor::Nested nested(at, e.mark);
            for (std::size_t i = 0; at.peek().kind != EventKind::sequence_end; ++i) {
                Cursor child(at, i);
                element(child);
            }
            at.next();
        } else if (!is_empty_value(at, e)) {
            throw_invalid_type(at, e, "a sequence");
        }
    });
}

// A list read replaces what the member held before (a default list).
template <class T>
void read(Cursor& c, std::vector<T>& out) {
    out.clear();
    read_sequence(c, [&](Cursor& child) { read(child, out.emplace_back()); });
}

template <class T>
void read(Cursor& c, OrderedSet<T>& out) {
    read_sequence(c, [&](Cursor& child) {
        T v{};
        read(child, v);
        out.insert(std::move(v));
    });
}

template <class K, class V>
void read(Cursor& c, OrderedMap<K, V>& out) {
    read_node(c, [&](Cursor& at, const Event& e) {
        if (e.kind == EventKind::mapping_start) {
            Cursor::Nested nested(at, e.mark);
            while (at.peek().kind != EventKind::mapping_end) {
                Cursor child(at, at.peek());
                K key{};
                read(at, key);
                child.keep_key();
                V value{};
                read(child, value);
                out.insert_or_assign(std::move(key), std::move(value));
            }
            at.next();
        } else if (!is_empty_value(at, e)) {
            throw_invalid_type(at, e, "a map");
        }
    });
}

// Whether the next node stands for an absent optional value; if so it is
// consumed.  Follows an alias to decide at the anchored node.
bool read_absent(Cursor& c);

// Calls `f(cursor)` with the cursor at the next node; an alias is consumed
// and followed first, so that `f` looks at the anchored node.
template <class F>
decltype(auto) at_node(Cursor& c, F&& f) {
    const Event& e = c.peek();
    if (e.kind == EventKind::alias) {
        c.next();
        Cursor target = c.follow(e);
        return f(target);
    }
    return f(c);
}

template <class T>
void read(Cursor& c, std::optional<T>& out) {
    at_node(c, [&](Cursor& at) {
        if (read_absent(at)) out.reset();
        else read(at, out.emplace());
    });
}

}  // namespace brindle::models
