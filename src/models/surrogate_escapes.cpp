#include "models/surrogate_escapes.hpp"

#include <algorithm>
#include <bit>
#include <cstring>

namespace brindle::models {

namespace {

// Characters in UTF-8 bytes: every byte but the continuation bytes
// (10xxxxxx).  Most input is ASCII, passed over 32 bytes at a time.
std::size_t count_characters(const char* p, std::size_t n) {
    constexpr std::uint64_t high = 0x8080808080808080u;
    std::size_t continuation = 0;
    std::size_t i = 0;
    for (; i + 32 <= n; i += 32) {
        std::uint64_t w[4];
        std::memcpy(w, p + i, 32);
        if (((w[0] | w[1] | w[2] | w[3]) & high) == 0) continue;
        for (std::uint64_t x : w) continuation += static_cast<std::size_t>(std::popcount(x & ~(x << 1) & high));
    }
    for (; i < n; ++i) continuation += (static_cast<unsigned char>(p[i]) & 0xC0) == 0x80;
    return n - continuation;
}

int hex_digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The value of `\uHHHH` at `p`, or -1.
long unit_escape(const char* p) {
    if (p[0] != '\\' || p[1] != 'u') return -1;
    long v = 0;
    for (int i = 2; i < 6; ++i) {
        int d = hex_digit(p[i]);
        if (d < 0) return -1;
        v = v * 16 + d;
    }
    return v;
}

// `\U` and the character's eight hex digits.
void write_rewrite(char* out, std::uint32_t c) {
    static constexpr char digits[] = "0123456789ABCDEF";
    out[0] = '\\';
    out[1] = 'U';
    for (int i = 9; i >= 2; --i, c >>= 4) out[i] = digits[c & 15];
}

}  // namespace

std::uint32_t SurrogateEscapes::pair_at(std::size_t at) const {
    if (input_.size() - at < pair_size) return 0;
    const char* p = input_.data() + at;
    long high = unit_escape(p);
    if (high < 0xD800 || high > 0xDBFF) return 0;
    long low = unit_escape(p + 6);
    if (low < 0xDC00 || low > 0xDFFF) return 0;
    return static_cast<std::uint32_t>(0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00));
}

std::size_t SurrogateEscapes::next_pair(std::size_t limit) {
    if (found_ != none) return found_;
    const char* data = input_.data();
    while (scanned_ < limit) {
        const void* hit = std::memchr(data + scanned_, '\\', limit - scanned_);
        if (!hit) {
            scanned_ = limit;
            break;
        }
        // Of a run of backslashes, the last one starts an escape when the
        // run is odd: the ones before it pair up as escaped backslashes.
        std::size_t run = static_cast<const char*>(hit) - data;
        std::size_t end = run;
        while (end < input_.size() && data[end] == '\\') ++end;
        scanned_ = end;
        if ((end - run) % 2 == 1 && (found_character_ = pair_at(end - 1)) != 0) {
            found_ = end - 1;
            scanned_ = found_ + pair_size;
            return found_;
        }
    }
    return none;
}

std::size_t SurrogateEscapes::fill(char* out, std::size_t size, std::size_t piece) {
    std::size_t n = 0;
    while (tail_used_ < rewrite_size && n < size) out[n++] = tail_[tail_used_++];
    // Each call takes the input of one piece as the text as written would be
    // taken: a piece that ends inside a pair takes it whole, and the next one
    // still ends where it would have.  So libyaml decodes every other
    // character, and meets every fault in the input, at the same read as it
    // does without the rewrites.
    while (n == 0 && consumed_ < input_.size()) {
        const std::size_t end = std::min(input_.size(), piece_start_ + std::min(size, piece));
        piece_start_ = end;
        while (consumed_ < end && n < size) {
            std::size_t pair = next_pair(end);
            // A pair found past the end (its run of backslashes began before
            // it) waits for the next piece.
            std::size_t plain = std::min({pair, end, consumed_ + (size - n)}) - consumed_;
            if (plain) {
                std::memcpy(out + n, input_.data() + consumed_, plain);
                characters_ += count_characters(out + n, plain);
                consumed_ += plain;
                n += plain;
            }
            if (pair != consumed_) continue;
            rewrites_.push_back(Rewrite{characters_, pair});
            if (size - n >= rewrite_size) {
                write_rewrite(out + n, found_character_);
                n += rewrite_size;
            } else {
                write_rewrite(tail_, found_character_);
                tail_used_ = 0;
                while (n < size) out[n++] = tail_[tail_used_++];
            }
            found_ = none;
            consumed_ += pair_size;
            characters_ += rewrite_size;
        }
    }
    return n;
}

std::size_t SurrogateEscapes::shortened_before(std::size_t index, std::size_t column) const {
    if (column > index) return 0;
    // The rewrites that end before the mark, from its line's start on.
    std::size_t line_start = index - column;
    auto first = std::partition_point(rewrites_.begin(), rewrites_.end(),
                                      [&](const Rewrite& r) { return r.index < line_start; });
    auto last = std::partition_point(first, rewrites_.end(),
                                     [&](const Rewrite& r) { return r.index + rewrite_size <= index; });
    return static_cast<std::size_t>(last - first) * (pair_size - rewrite_size);
}

std::size_t SurrogateEscapes::byte_offset(std::size_t offset) const {
    // Rewrite i starts at byte input - 2 i of the rewritten input.
    std::size_t lo = 0, hi = rewrites_.size();
    while (lo < hi) {
        std::size_t mid = lo + (hi - lo) / 2;
        if (rewrites_[mid].input - (pair_size - rewrite_size) * mid < offset) lo = mid + 1;
        else hi = mid;
    }
    return offset + lo * (pair_size - rewrite_size);
}

bool SurrogateEscapes::restore_text(std::size_t start, std::size_t end, std::string_view text, std::string& out) {
    passed(start);
    std::size_t first = resolved_;
    passed(end);
    std::size_t last = resolved_;
    if (first == last) return false;

    // Every backslash of such a scalar is one of its text, in order, and a
    // rewrite is one of them.  Counted back from the scalar's end, which
    // nothing but white space follows, the k-th backslash of the input is
    // the k-th of the text.
    std::vector<std::size_t> after(last - first);  // backslashes from each rewrite on
    const char* data = input_.data();
    std::size_t at = rewrites_[first].input;
    std::size_t character = rewrites_[first].index;
    std::size_t next = first;
    std::size_t backslashes = 0;
    while (character < end && at < input_.size()) {
        if (next < last && at == rewrites_[next].input) {
            after[next - first] = backslashes++;
            at += pair_size;
            character += rewrite_size;
            ++next;
            continue;
        }
        unsigned char b = static_cast<unsigned char>(data[at++]);
        backslashes += b == '\\';
        character += (b & 0xC0) != 0x80;
    }
    for (auto& a : after) a = backslashes - a - 1;  // backslashes after the rewrite's own

    // Where each rewrite stands in the text, found from its end.
    std::vector<std::size_t> where(last - first, none);
    std::size_t j = text.size();
    std::size_t seen = 0;
    for (std::size_t i = last - first; i-- > 0;) {
        while (j > 0) {
            if (text[--j] != '\\') continue;
            if (seen++ == after[i]) {
                where[i] = j;
                break;
            }
        }
    }

    out.clear();
    out.reserve(text.size() + 2 * (last - first));
    std::size_t copied = 0;
    for (std::size_t i = 0; i < last - first; ++i) {
        const Rewrite& r = rewrites_[first + i];
        char rewrite[rewrite_size];
        write_rewrite(rewrite, pair_at(r.input));
        // Only a rewrite that is part of the text is there (one in a comment
        // before the text is not).
        if (where[i] == none || text.substr(where[i], rewrite_size) != std::string_view(rewrite, rewrite_size))
            continue;
        out.append(text, copied, where[i] - copied);
        out.append(input_.substr(r.input, pair_size));
        copied = where[i] + rewrite_size;
    }
    if (copied == 0) return false;
    out.append(text, copied);
    return true;
}

}  // namespace brindle::models
