// The input as libyaml is given it: a character above U+FFFF escaped as a
// UTF-16 surrogate pair, two `\u` escapes (`"\uD83D\uDC96"`, as JSON writers
// escape it), which libyaml rejects escape by escape, is handed over as the
// one `\U` escape of that character (`\U0001F496`).
//
// Where such a pair stands is not known when it is handed over: only a
// double-quoted scalar reads escapes, and elsewhere (plain, single-quoted and
// block scalars, comments) the twelve characters are text.  So every pair
// that would be an escape in a double-quoted scalar is rewritten, and the
// document reader asks afterwards, per scalar: a scalar that is not
// double-quoted gets its text as written back (`restore`).  Each rewrite is
// two characters shorter than what it stands for, and `position` and
// `byte_offset` count them back in, so every position libyaml reports is one
// in the text as written.  Only libyaml's limit of 1024 characters on a simple
// key counts the shorter text: a key with pairs may be that much longer.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "models/read_error.hpp"

namespace brindle::models {

class SurrogateEscapes {
public:
    explicit SurrogateEscapes(std::string_view input) : input_(input) {}

    // Writes the next at most `size` bytes of the rewritten input to `out`,
    // taking the next `piece` bytes of input (and the rest of a pair they end
    // in); 0 once it is all taken.
    std::size_t fill(char* out, std::size_t size, std::size_t piece);

    // The input, as written.
    std::string_view text() const noexcept { return input_; }
    // Input bytes taken so far.
    std::size_t consumed() const noexcept { return consumed_; }
    // The input before this offset is never looked at again.
    std::size_t releasable() const noexcept {
        return resolved_ < rewrites_.size() && rewrites_[resolved_].input < consumed_ ? rewrites_[resolved_].input
                                                                                      : consumed_;
    }

    // A libyaml mark (character index, line and column of the rewritten
    // input) as line and column of the input.
    Mark position(std::size_t index, std::size_t line, std::size_t column) const {
        if (!rewrites_.empty()) [[unlikely]]
            column += shortened_before(index, column);
        constexpr std::size_t most = UINT32_MAX;
        return Mark{static_cast<std::uint32_t>(std::min(line, most)), static_cast<std::uint32_t>(std::min(column, most))};
    }
    // A byte offset of the rewritten input (libyaml's reader errors) as one of the input.
    std::size_t byte_offset(std::size_t offset) const;

    // Called for every event in document order, with the character indexes
    // of its start and end.  For a scalar that is not double-quoted, whose
    // text libyaml gave as `text`, gives true with the text as written in
    // `out` when a rewrite stood inside it.
    bool restore(std::size_t start, std::size_t end, std::string_view text, std::string& out) {
        if (resolved_ == rewrites_.size()) [[likely]]
            return false;
        return restore_text(start, end, text, out);
    }
    void passed(std::size_t index) {
        while (resolved_ < rewrites_.size() && rewrites_[resolved_].index < index) ++resolved_;
    }

private:
    struct Rewrite {
        std::size_t index;  // character index in the rewritten input
        std::size_t input;  // byte offset of the pair in the input
    };
    static constexpr std::size_t none = static_cast<std::size_t>(-1);
    static constexpr std::size_t pair_size = 12;     // \uHHHH\uHHHH
    static constexpr std::size_t rewrite_size = 10;  // \UHHHHHHHH

    // The characters that the rewrites before a mark on its line left out.
    std::size_t shortened_before(std::size_t index, std::size_t column) const;
    bool restore_text(std::size_t start, std::size_t end, std::string_view text, std::string& out);

    // The offset of the next pair at or after consumed_, looking no further
    // than `limit` for its start; `none` if there is none before it.
    std::size_t next_pair(std::size_t limit);
    // The character the pair at `at` stands for, or 0 when no pair is there.
    std::uint32_t pair_at(std::size_t at) const;

    std::string_view input_;
    std::size_t consumed_ = 0;
    std::size_t piece_start_ = 0;   // where the next piece of the text as written starts
    std::size_t scanned_ = 0;       // no pair starts in [consumed_, scanned_) but found_
    std::size_t found_ = none;      // a pair found and not yet handed over
    std::uint32_t found_character_ = 0;  // the character it stands for
    std::size_t characters_ = 0;    // characters handed over
    char tail_[rewrite_size] = {};  // a rewrite that did not fit, from tail_used_ on
    std::size_t tail_used_ = rewrite_size;
    std::vector<Rewrite> rewrites_;
    std::size_t resolved_ = 0;  // rewrites before this one lie behind the last event
};

}  // namespace brindle::models
