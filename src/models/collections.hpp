// Insertion-ordered set and map with a hash index.
//
// Equal elements are stored once and repeated keys keep one entry, but
// iteration follows first insertion, so output and error texts do not depend
// on hash order.  The index hashes with a key drawn once per process from the
// system random source.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace brindle::models {

// Seeded hashing (SipHash-1-3 over bytes).
std::uint64_t hash_bytes(const void* data, std::size_t size) noexcept;
inline std::uint64_t hash_combine(std::uint64_t h, std::uint64_t v) noexcept {
    return h ^ (v + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2));
}

// How elements and keys are hashed and matched: specialise `Hasher` and, for
// elements that have an identity of their own, `SameElement`.
template <class T, class = void>
struct Hasher;

template <>
struct Hasher<std::string> {
    std::uint64_t operator()(const std::string& s) const noexcept { return hash_bytes(s.data(), s.size()); }
};
template <>
struct Hasher<std::string_view> {
    std::uint64_t operator()(std::string_view s) const noexcept { return hash_bytes(s.data(), s.size()); }
};

template <class T>
struct SameElement {
    bool operator()(const T& a, const T& b) const { return a == b; }
};

template <class T>
std::uint64_t hash_value(const T& v) {
    return Hasher<T>{}(v);
}

// Elements that have an identity of their own are matched in sets by one
// member alone, hashed and compared as that member's type is:
//
//     template <> struct ElementIdentity<Package> {
//         static constexpr auto member = &Package::id;
//     };
//
// Of two elements with the same identity the first one inserted stays.
template <class T>
struct ElementIdentity;

template <class T>
concept IdentifiedElement = requires { ElementIdentity<T>::member; };

template <IdentifiedElement T>
struct SameElement<T> {
    bool operator()(const T& a, const T& b) const {
        constexpr auto member = ElementIdentity<T>::member;
        using M = std::remove_cvref_t<decltype(a.*member)>;
        return SameElement<M>{}(a.*member, b.*member);
    }
};
template <IdentifiedElement T>
struct Hasher<T> {
    std::uint64_t operator()(const T& v) const { return hash_value(v.*ElementIdentity<T>::member); }
};

namespace detail {

// Open-addressing table of indices into a vector kept by the owner.
class HashIndex {
public:
    // Finds the slot of an element with hash `h` for which `eq(index)` holds;
    // returns its index, or SIZE_MAX with `slot` set to where it would go.
    template <class Eq>
    std::size_t find(std::uint64_t h, Eq&& eq, std::size_t& slot) const {
        if (slots_.empty()) {
            slot = SIZE_MAX;
            return SIZE_MAX;
        }
        std::size_t mask = slots_.size() - 1;
        for (std::size_t i = h & mask;; i = (i + 1) & mask) {
            const Slot& s = slots_[i];
            if (s.index == 0) {
                slot = i;
                return SIZE_MAX;
            }
            if (s.hash == h && eq(s.index - 1)) return s.index - 1;
        }
    }
    // Records element `index` with hash `h`; `count` is the element count after it.
    void insert(std::uint64_t h, std::size_t index, std::size_t slot, std::size_t count) {
        if (slot == SIZE_MAX || count * 4 > slots_.size() * 3) {
            grow(count);
            std::size_t mask = slots_.size() - 1;
            for (slot = h & mask; slots_[slot].index != 0; slot = (slot + 1) & mask) {}
        }
        slots_[slot] = Slot{h, index + 1};
    }
    void clear() { slots_.clear(); }
    bool empty() const noexcept { return slots_.empty(); }

private:
    struct Slot {
        std::uint64_t hash = 0;
        std::size_t index = 0;  // element index + 1; 0 is empty
    };
    void grow(std::size_t count) {
        std::size_t size = slots_.empty() ? 8 : slots_.size() * 2;
        while (count * 4 > size * 3) size *= 2;
        std::vector<Slot> old = std::move(slots_);
        slots_.assign(size, Slot{});
        std::size_t mask = size - 1;
        for (const Slot& s : old) {
            if (s.index == 0) continue;
            std::size_t i = s.hash & mask;
            while (slots_[i].index != 0) i = (i + 1) & mask;
            slots_[i] = s;
        }
    }
    std::vector<Slot> slots_;
};

}  // namespace detail

// A set: equal elements are kept once (the first stays), in insertion order.

template <class T>
class OrderedSet {
public:
    using value_type = T;
    using const_iterator = typename std::vector<T>::const_iterator;

    // Inserts `v` unless an equal element is present; returns whether it was inserted.
    bool insert(T v) {
        if (items_.size() < small_size) {
            // Small sets are searched directly; most sets in the model are small.
            for (const T& have : items_)
                if (SameElement<T>{}(have, v)) return false;
            items_.push_back(std::move(v));
            return true;
        }
        // The index is made once, when the set first grows past the small
        // size; a rejected duplicate leaves the size where it was.
        if (items_.size() == small_size && index_.empty()) build_index();
        std::uint64_t h = hash_value(v);
        std::size_t slot = SIZE_MAX;
        if (index_.find(h, [&](std::size_t i) { return SameElement<T>{}(items_[i], v); }, slot) != SIZE_MAX)
            return false;
        items_.push_back(std::move(v));
        index_.insert(h, items_.size() - 1, slot, items_.size());
        return true;
    }
    bool contains(const T& v) const {
        if (items_.size() <= small_size) {
            for (const T& have : items_)
                if (SameElement<T>{}(have, v)) return true;
            return false;
        }
        std::size_t slot = SIZE_MAX;
        return index_.find(hash_value(v), [&](std::size_t i) { return SameElement<T>{}(items_[i], v); }, slot) !=
               SIZE_MAX;
    }
    std::size_t size() const noexcept { return items_.size(); }
    bool empty() const noexcept { return items_.empty(); }
    const_iterator begin() const noexcept { return items_.begin(); }
    const_iterator end() const noexcept { return items_.end(); }
    const T& operator[](std::size_t i) const { return items_[i]; }

    // Sets with the same elements are equal, whatever their order.
    friend bool operator==(const OrderedSet& a, const OrderedSet& b) {
        if (a.size() != b.size()) return false;
        for (const T& v : a.items_)
            if (!b.contains(v)) return false;
        return true;
    }

private:
    static constexpr std::size_t small_size = 8;

    void build_index() {
        for (std::size_t i = 0; i < items_.size(); ++i) {
            std::uint64_t h = hash_value(items_[i]);
            std::size_t slot = SIZE_MAX;
            index_.find(h, [](std::size_t) { return false; }, slot);
            index_.insert(h, i, slot, i + 1);
        }
    }

    std::vector<T> items_;
    detail::HashIndex index_;
};

// A map: one entry per key; a repeated key takes the later value but keeps
// the place of its first insertion.
template <class K, class V>
class OrderedMap {
public:
    using value_type = std::pair<K, V>;
    using const_iterator = typename std::vector<value_type>::const_iterator;

    void insert_or_assign(K k, V v) {
        std::uint64_t h = hash_value(k);
        std::size_t slot = SIZE_MAX;
        std::size_t at = index_.find(h, [&](std::size_t i) { return items_[i].first == k; }, slot);
        if (at != SIZE_MAX) {
            items_[at].second = std::move(v);
            return;
        }
        items_.emplace_back(std::move(k), std::move(v));
        index_.insert(h, items_.size() - 1, slot, items_.size());
    }
    const V* find(const K& k) const {
        std::size_t slot = SIZE_MAX;
        std::size_t at = index_.find(hash_value(k), [&](std::size_t i) { return items_[i].first == k; }, slot);
        return at == SIZE_MAX ? nullptr : &items_[at].second;
    }
    std::size_t size() const noexcept { return items_.size(); }
    bool empty() const noexcept { return items_.empty(); }
    const_iterator begin() const noexcept { return items_.begin(); }
    const_iterator end() const noexcept { return items_.end(); }

    friend bool operator==(const OrderedMap& a, const OrderedMap& b) {
        if (a.size() != b.size()) return false;
        for (const auto& [k, v] : a.items_) {
            const V* other = b.find(k);
            if (!other || !(*other == v)) return false;
        }
        return true;
    }

private:
    std::vector<value_type> items_;
    detail::HashIndex index_;
};

template <class T>
struct Hasher<OrderedSet<T>> {
    std::uint64_t operator()(const OrderedSet<T>& s) const {
        std::uint64_t h = 0x5e7;  // order-independent
        for (const T& v : s) h += hash_value(v);
        return h;
    }
};
template <class K, class V>
struct Hasher<OrderedMap<K, V>> {
    std::uint64_t operator()(const OrderedMap<K, V>& m) const {
        std::uint64_t h = 0x3a9;  // order-independent
        for (const auto& [k, v] : m) h += hash_combine(hash_value(k), hash_value(v));
        return h;
    }
};

}  // namespace brindle::models
