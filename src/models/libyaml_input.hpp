// The input as libyaml is given it.  libyaml reads YAML 1.1; a JSON text, and
// a double-quoted scalar of YAML 1.2, read some characters otherwise, and the
// input is handed over so that libyaml reads them as those do:
//
// - A character above U+FFFF escaped as a UTF-16 surrogate pair, two `\u`
//   escapes (`"\uD83D\uDC96"`, as JSON writers escape it), which libyaml
//   rejects escape by escape, is handed over as the one `\U` escape of that
//   character (`\U0001F496`).  Where such a pair stands is not known when it
//   is handed over: only a double-quoted scalar reads escapes, and elsewhere
//   (plain, single-quoted and block scalars, comments) the twelve characters
//   are text.  So every pair that would be an escape in a double-quoted
//   scalar is rewritten, and the document reader asks afterwards, per scalar:
//   a scalar that is not double-quoted gets its text as written back
//   (`restore`).
//
// - U+007F, U+0080 to U+009F, U+2028, U+2029, U+FFFE and U+FFFF written as
//   themselves inside a double-quoted scalar are that character, as every
//   character from U+0020 on is in a JSON string.  libyaml takes NEL, LS and
//   PS for line breaks (folded, with the spaces around them dropped) and
//   refuses the others, so inside a double-quoted scalar each is handed over
//   as its escape (`\N`, `\L`, `\P`, `\x7F`, `\uFFFE` ...).  Anywhere else it
//   is handed over as written, and libyaml reads it as it always has.  Where
//   such a character stands is asked of libyaml itself: the input handed over
//   stops before it, and when libyaml asks for it, its scanner has finished
//   every token but the one it is in, and looks no more than three characters
//   ahead (`ScannerPlace`).  From the end of the last token it finished, the
//   tokens up to the character are found by libyaml's rules: it is inside a
//   double-quoted scalar when one of them starts with `"` and no `"` of its
//   own closes it before.  Once one is found inside, the rest of that scalar
//   is known without asking, and so is everything up to the next `"`.
//
// - In a JSON text, a tab in the white space before or after the top-level
//   object or array is white space; libyaml refuses a tab there, at the start
//   of a line of a block, and is handed a space in its place.
//
// Each rewrite has another length than what it stands for, and `position`
// and `byte_offset` count that back, so every position libyaml reports is one
// in the text as written, where the characters above are ordinary characters
// on their line.  Only libyaml's limit of 1024 characters on a simple key
// counts the rewritten text: a key with pairs may be that much longer, one
// with the characters above that much shorter.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "models/read_error.hpp"

namespace brindle::models {

// Where libyaml's scanner is: the end of the last token it finished (its
// character index in the text handed over, and whether that is at the start
// of a line), and its flow level and block indentation.
struct ScannerPlace {
    std::size_t token_end = 0;
    bool line_start = true;
    int flow_level = 0;
    int indent = -1;
};

class LibyamlInput {
public:
    explicit LibyamlInput(std::string_view input);

    // Writes the next at most `size` bytes of the rewritten input to `out`,
    // taking the next `piece` bytes of input (and the rest of a pair they end
    // in); 0 once it is all taken.  `scanner` is where libyaml's scanner is,
    // for a character that only it can place.
    std::size_t fill(char* out, std::size_t size, std::size_t piece, ScannerPlace scanner = {});

    // The input, as written.
    std::string_view text() const noexcept { return input_; }
    // Input bytes taken so far.
    std::size_t consumed() const noexcept { return consumed_; }
    // Whether the last call handed over part of a piece only, stopping before
    // a character that libyaml must place.
    bool piece_open() const noexcept { return resume_piece_; }
    // The input before this offset is never looked at again, with libyaml's
    // scanner at `scanner`.
    std::size_t releasable(ScannerPlace scanner);

    // A libyaml mark (character index, line and column of the rewritten
    // input) as line and column of the input.
    Mark position(std::size_t index, std::size_t line, std::size_t column) const {
        if (!shifts_.empty()) [[unlikely]]
            column -= longer_before(index, column);
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
        if (resolved_ == pairs_.size()) [[likely]]
            return false;
        return restore_text(start, end, text, out);
    }
    void passed(std::size_t index) {
        while (resolved_ < pairs_.size() && pairs_[resolved_].index < index) ++resolved_;
    }

#ifdef BRINDLE_SMALL_DOCUMENT_WINDOW
    // In the builds that check the reader (sanitizers, fuzzing): checks that
    // each character placed inside or outside a double-quoted scalar stands
    // there in the tokens libyaml scans of what it was handed, and aborts
    // with a report if not.
    ~LibyamlInput();
#endif

private:
    struct Pair {
        std::size_t index;  // character index in the rewritten input
        std::size_t input;  // byte offset of the pair in the input
    };
    // A rewrite of any kind, for the positions.
    struct Shift {
        std::size_t index;          // character index of the rewrite in the rewritten input
        std::size_t input;          // byte offset in the input of what it stands for
        std::size_t characters;     // its characters, rewritten
        std::size_t input_bytes;    // the bytes it stands for
        std::ptrdiff_t longer;      // characters it adds, with those before it
        std::ptrdiff_t more_bytes;  // bytes it adds, with those before it
    };
    static constexpr std::size_t none = static_cast<std::size_t>(-1);
    static constexpr std::size_t pair_size = 12;     // \uHHHH\uHHHH
    static constexpr std::size_t rewrite_size = 10;  // \UHHHHHHHH

    // The characters that the rewrites before a mark on its line added.
    std::ptrdiff_t longer_before(std::size_t index, std::size_t column) const;
    bool restore_text(std::size_t start, std::size_t end, std::string_view text, std::string& out);

    // The offset of the next pair at or after consumed_, looking no further
    // than `limit` for its start; `none` if there is none before it.
    std::size_t next_pair(std::size_t limit);
    // The character the pair at `at` stands for, or 0 when no pair is there.
    std::uint32_t pair_at(std::size_t at) const;
    // The offset of the next character at or after consumed_ that libyaml
    // reads otherwise than JSON (see above), starting before `limit`; `none`
    // if there is none.
    std::size_t next_special(std::size_t limit);

    // Whether the character at consumed_ stands inside a double-quoted
    // scalar, asked of the scanner at `scanner` when nothing else tells.
    bool inside_double_quotes(ScannerPlace scanner);
    // Moves the cursor to the character `index` of the rewritten input.
    void walk_to(std::size_t index);
    // Writes the rewrite of `text` (`characters` long, standing for
    // `input_bytes` of input: a pair, or one character) and counts it.
    void rewrite(char* out, std::size_t& n, std::size_t size, std::string_view text, std::size_t characters,
                 std::size_t input_bytes);
    // Copies input bytes [consumed_, consumed_ + count) to out + n.
    void copy(char* out, std::size_t& n, std::size_t count);
    // fill, less what the checking builds keep of it.
    std::size_t fill_piece(char* out, std::size_t size, std::size_t piece, ScannerPlace scanner);

    std::string_view input_;
    std::size_t consumed_ = 0;
    std::size_t piece_end_ = 0;     // where the current piece of the text as written ends
    bool resume_piece_ = false;     // the last call stopped inside its piece
    std::size_t scanned_ = 0;       // no pair starts in [consumed_, scanned_) but found_
    std::size_t found_ = none;      // a pair found and not yet handed over
    std::uint32_t found_character_ = 0;  // the character it stands for
    std::size_t special_scanned_ = 0;    // no special character starts in [consumed_, special_scanned_) but special_
    std::size_t special_ = none;         // one found and not yet handed over
    std::size_t characters_ = 0;    // characters handed over
    char tail_[rewrite_size] = {};  // a rewrite that did not fit, from tail_used_ to tail_size_
    std::size_t tail_used_ = 0;
    std::size_t tail_size_ = 0;
    std::vector<Pair> pairs_;
    std::size_t resolved_ = 0;  // pairs before this one lie behind the last event
    std::vector<Shift> shifts_;
#ifdef BRINDLE_SMALL_DOCUMENT_WINDOW
    struct Placed {
        std::size_t index;   // in the rewritten input
        std::size_t input;
        std::size_t handed;  // its byte in handed_
        std::size_t length;  // its bytes
        bool line_break;     // NEL, LS or PS
        bool inside;
    };
    std::vector<Placed> placed_;
    std::string handed_;  // all that was handed over
#endif

    // Tabs in [0, lead_tabs_) and [trail_tabs_, end) are handed over as spaces.
    std::size_t lead_tabs_ = 0;
    std::size_t trail_tabs_ = 0;

    // Double-quoted scalars: what is known of them so far.
    std::size_t outside_from_ = 0;     // no double-quoted scalar holds [outside_from_, consumed_) ...
    bool quote_since_ = false;         // ... unless a `"` stands there
    std::size_t quoted_from_ = 0;      // [consumed_, quoted_until_) lies inside the one
    std::size_t quoted_until_ = 0;     // whose `"` is at quoted_from_
    // The cursor: the character cursor_index_ of the rewritten input is the
    // byte cursor_byte_ of the input.
    std::size_t cursor_index_ = 0;
    std::size_t cursor_byte_ = 0;
    // The white space after the last token libyaml finished, as far as skipped.
    std::size_t gap_token_ = none;  // the index of that token's end
    std::size_t gap_at_ = 0;        // the byte skipped to
    bool gap_line_start_ = true;
    bool gap_done_ = false;         // gap_at_ is the start of the next token
    // The last quoted scalar looked at: its opening quote, and the quote
    // that closes it (the input's end when none does).
    std::size_t quote_start_ = none;
    std::size_t quote_close_ = 0;
    // The plain scalar that starts at plain_.start, as far as scanned.
    struct PlainScan {
        std::size_t start = none;
        std::size_t at = 0;  // the byte it is scanned to
        // Where `at` is: where a run of text may start, in one, or in the
        // white space after one.
        enum Phase : std::uint8_t { top, text, white } phase = top;
        bool after_break = false;     // that white space holds a line break ...
        std::size_t column = 0;       // ... and at is at this column
        std::size_t end = none;       // where it ends, once known
    } plain_;

    // Where the quoted scalar that starts at `start` closes.
    std::size_t quoted_close(std::size_t start);
    // Where the plain scalar that starts at `start` ends, looking no further
    // than `limit` (then gives `limit`).
    std::size_t plain_end(std::size_t start, int flow_level, int indent, std::size_t limit);
    // Skips the white space and comments before a token from `at`, no further
    // than `limit`; gives where it stops, `line_start` telling whether that is
    // at the start of a line.
    std::size_t skip_gap(std::size_t at, bool& line_start, std::size_t limit) const;
};

}  // namespace brindle::models
