#include "models/libyaml_input.hpp"

#ifdef BRINDLE_SMALL_DOCUMENT_WINDOW
#include <yaml.h>
#endif

#include <algorithm>
#include <bit>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace brindle::models {

namespace {

constexpr std::uint64_t high_bits = 0x8080808080808080u;

std::uint64_t load8(const char* p) {
    std::uint64_t w;
    std::memcpy(&w, p, 8);
    return w;
}

// Characters in UTF-8 bytes: every byte but the continuation bytes
// (10xxxxxx).  Most input is ASCII, passed over 32 bytes at a time.
std::size_t count_characters(const char* p, std::size_t n) {
    std::size_t continuation = 0;
    std::size_t i = 0;
    for (; i + 32 <= n; i += 32) {
        std::uint64_t w[4];
        std::memcpy(w, p + i, 32);
        if (((w[0] | w[1] | w[2] | w[3]) & high_bits) == 0) continue;
        for (std::uint64_t x : w) continuation += static_cast<std::size_t>(std::popcount(x & ~(x << 1) & high_bits));
    }
    for (; i < n; ++i) continuation += (static_cast<unsigned char>(p[i]) & 0xC0) == 0x80;
    return n - continuation;
}

// The byte after `count` characters from `at`.
std::size_t skip_characters(std::string_view s, std::size_t at, std::size_t count) {
    while (count > 0 && at < s.size()) {
        if (count >= 8 && at + 8 <= s.size() && (load8(s.data() + at) & high_bits) == 0) {
            at += 8;
            count -= 8;
            continue;
        }
        ++at;
        while (at < s.size() && (static_cast<unsigned char>(s[at]) & 0xC0) == 0x80) ++at;
        --count;
    }
    return at;
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

// A backslash, `kind` and `digits` hex digits of `value`; gives its length.
std::size_t write_escape(char* out, char kind, std::uint32_t value, int digits) {
    static constexpr char hex_digits[] = "0123456789ABCDEF";
    out[0] = '\\';
    out[1] = kind;
    for (int i = digits + 1; i >= 2; --i, value >>= 4) out[i] = hex_digits[value & 15];
    return static_cast<std::size_t>(digits + 2);
}

// `\U` and the character's eight hex digits.
void write_pair_rewrite(char* out, std::uint32_t c) { write_escape(out, 'U', c, 8); }

// The bytes of the character at `at` when it is one that libyaml reads
// otherwise than a JSON string does (U+007F to U+009F, U+2028, U+2029,
// U+FFFE, U+FFFF), else 0.
std::size_t special_length(std::string_view s, std::size_t at) {
    auto byte = [&](std::size_t i) { return at + i < s.size() ? static_cast<unsigned char>(s[at + i]) : 0u; };
    switch (byte(0)) {
        case 0x7F: return 1;
        case 0xC2: return byte(1) >= 0x80 && byte(1) <= 0x9F ? 2 : 0;
        case 0xE2: return byte(1) == 0x80 && (byte(2) == 0xA8 || byte(2) == 0xA9) ? 3 : 0;
        case 0xEF: return byte(1) == 0xBF && (byte(2) == 0xBE || byte(2) == 0xBF) ? 3 : 0;
        default: return 0;
    }
}

// The escape of such a character in a double-quoted scalar; gives its length.
std::size_t special_escape(std::string_view s, std::size_t at, char* out) {
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[at + i]); };
    auto two = [&](const char* escape) {
        std::memcpy(out, escape, 2);
        return std::size_t{2};
    };
    switch (byte(0)) {
        case 0x7F: return write_escape(out, 'x', 0x7F, 2);
        case 0xC2: return byte(1) == 0x85 ? two("\\N") : write_escape(out, 'x', byte(1), 2);
        case 0xE2: return two(byte(2) == 0xA8 ? "\\L" : "\\P");
        default: return write_escape(out, 'u', byte(2) == 0xBE ? 0xFFFE : 0xFFFF, 4);
    }
}

// A character that libyaml reads as an ordinary one and that no escape
// starts with (U+E000): what such a character is handed over as right after
// a backslash, so that the backslash fails as the start of an unknown escape.
constexpr std::string_view after_backslash = "\xEE\x80\x80";

// The bytes of the line break at `at` as libyaml reads it (LF, CR, CR LF,
// NEL, LS, PS), else 0.
std::size_t line_break(std::string_view s, std::size_t at) {
    switch (s[at]) {
        case '\n': return 1;
        case '\r': return at + 1 < s.size() && s[at + 1] == '\n' ? 2 : 1;
        default: {
            std::size_t n = special_length(s, at);
            if (n == 2 && static_cast<unsigned char>(s[at + 1]) == 0x85) return 2;
            return n == 3 && static_cast<unsigned char>(s[at]) == 0xE2 ? 3 : 0;
        }
    }
}

bool json_space(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Whether libyaml takes the character at `at` for a blank, a line break or
// the end of the input.
bool blankz(std::string_view s, std::size_t at) {
    return at >= s.size() || s[at] == ' ' || s[at] == '\t' || s[at] == '\0' || line_break(s, at) != 0;
}

// Whether a document marker (`---` or `...` and a blank) stands at `at`,
// which is at the start of a line.
bool document_marker(std::string_view s, std::size_t at) {
    const std::string_view three = s.substr(at, 3);
    return (three == "---" || three == "...") && blankz(s, at + 3);
}

// How many backslashes stand right before `at`, back to `from`.
std::size_t backslashes_before(std::string_view s, std::size_t at, std::size_t from) {
    std::size_t n = 0;
    while (at > from && s[at - 1] == '\\') --at, ++n;
    return n;
}

}  // namespace

LibyamlInput::LibyamlInput(std::string_view input) : input_(input), trail_tabs_(input.size()) {
    // A JSON object or array: the white space around it.
    std::size_t first = 0;
    while (first < input_.size() && json_space(input_[first])) ++first;
    if (first == input_.size() || (input_[first] != '{' && input_[first] != '[')) return;
    lead_tabs_ = first;
    std::size_t last = input_.size();
    while (json_space(input_[last - 1])) --last;
    if (input_[last - 1] == '}' || input_[last - 1] == ']') trail_tabs_ = last;
}

std::uint32_t LibyamlInput::pair_at(std::size_t at) const {
    if (input_.size() - at < pair_size) return 0;
    const char* p = input_.data() + at;
    long high = unit_escape(p);
    if (high < 0xD800 || high > 0xDBFF) return 0;
    long low = unit_escape(p + 6);
    if (low < 0xDC00 || low > 0xDFFF) return 0;
    return static_cast<std::uint32_t>(0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00));
}

std::size_t LibyamlInput::next_pair(std::size_t limit) {
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

std::size_t LibyamlInput::next_special(std::size_t limit) {
    if (special_ != none) return special_;
    std::size_t at = std::max(special_scanned_, consumed_);
    const char* data = input_.data();
    // A byte of a word is U+007F or above when its high bit is set, or
    // when adding one to its low seven bits sets it.
    auto high_or_del = [](std::uint64_t w) { return (((w & ~high_bits) + 0x0101010101010101u) | w) & high_bits; };
    while (at < limit) {
        // 32 bytes at a time, then eight, while none is U+007F or above.
        if (at + 32 <= limit) {
            std::uint64_t w[4];
            std::memcpy(w, data + at, 32);
            if ((high_or_del(w[0]) | high_or_del(w[1]) | high_or_del(w[2]) | high_or_del(w[3])) == 0) {
                at += 32;
                continue;
            }
        }
        if (at + 8 <= limit && high_or_del(load8(data + at)) == 0) {
            at += 8;
            continue;
        }
        if (static_cast<unsigned char>(data[at]) >= 0x7F) {
            if (std::size_t n = special_length(input_, at)) {
                special_ = at;
                special_scanned_ = at + n;
                return at;
            }
        }
        ++at;
    }
    special_scanned_ = std::max(special_scanned_, limit);
    return none;
}

void LibyamlInput::copy(char* out, std::size_t& n, std::size_t count) {
    std::memcpy(out + n, input_.data() + consumed_, count);
    if (consumed_ < lead_tabs_ || consumed_ + count > trail_tabs_) [[unlikely]] {
        for (std::size_t i = 0; i < count; ++i) {
            std::size_t at = consumed_ + i;
            if ((at < lead_tabs_ || at >= trail_tabs_) && out[n + i] == '\t') out[n + i] = ' ';
        }
    }
    if (!quote_since_ && consumed_ + count > outside_from_) {
        std::size_t from = std::max(consumed_, outside_from_);
        quote_since_ = std::memchr(input_.data() + from, '"', consumed_ + count - from) != nullptr;
    }
    characters_ += count_characters(out + n, count);
    consumed_ += count;
    n += count;
}

void LibyamlInput::rewrite(char* out, std::size_t& n, std::size_t size, std::string_view text,
                           std::size_t characters, std::size_t input_bytes) {
    // A pair is twelve characters; the others stand for one.
    const std::size_t input_characters = input_bytes == pair_size ? pair_size : 1;
    const Shift* before = shifts_.empty() ? nullptr : &shifts_.back();
    shifts_.push_back(Shift{
        characters_, consumed_, characters, input_bytes,
        (before ? before->longer : 0) + static_cast<std::ptrdiff_t>(characters) - static_cast<std::ptrdiff_t>(input_characters),
        (before ? before->more_bytes : 0) + static_cast<std::ptrdiff_t>(text.size()) - static_cast<std::ptrdiff_t>(input_bytes)});
    if (size - n >= text.size()) {
        std::memcpy(out + n, text.data(), text.size());
        n += text.size();
    } else {
        std::memcpy(tail_, text.data(), text.size());
        tail_size_ = text.size();
        tail_used_ = 0;
        while (n < size) out[n++] = tail_[tail_used_++];
    }
    consumed_ += input_bytes;
    characters_ += characters;
}

std::size_t LibyamlInput::fill(char* out, std::size_t size, std::size_t piece, ScannerPlace scanner) {
    std::size_t n = fill_piece(out, size, piece, scanner);
#ifdef BRINDLE_SMALL_DOCUMENT_WINDOW
    handed_.append(out, n);
#endif
    return n;
}

std::size_t LibyamlInput::fill_piece(char* out, std::size_t size, std::size_t piece, ScannerPlace scanner) {
    std::size_t n = 0;
    while (tail_used_ < tail_size_ && n < size) out[n++] = tail_[tail_used_++];
    // Each call takes the input of one piece as the text as written would be
    // taken: a piece that ends inside a pair takes it whole, and the next one
    // still ends where it would have.  So libyaml decodes every other
    // character, and meets every fault in the input, at the same read as it
    // does without the rewrites; only a character that libyaml must place
    // ends what a call takes before it, and the next call takes the rest.
    while (n == 0 && consumed_ < input_.size()) {
        if (!resume_piece_) piece_end_ = std::min(input_.size(), piece_end_ + std::min(size, piece));
        resume_piece_ = false;
        const std::size_t end = piece_end_;
        while (consumed_ < end && n < size) {
            std::size_t pair = next_pair(end);
            std::size_t special = next_special(end);
            // A pair or character found past the end (a pair's run of
            // backslashes began before it) waits for the next piece.
            std::size_t plain = std::min({pair, special, end, consumed_ + (size - n)}) - consumed_;
            if (plain) copy(out, n, plain);
            if (special == consumed_ && n < size) {
                bool inside;
                if (consumed_ < quoted_until_) {
                    inside = true;
                } else if (!quote_since_) {
                    inside = false;
                } else if (n > 0) {
                    resume_piece_ = true;
                    return n;
                } else {
                    inside = inside_double_quotes(scanner);
                }
                const std::size_t length = special_length(input_, consumed_);
                special_ = none;
#ifdef BRINDLE_SMALL_DOCUMENT_WINDOW
                placed_.push_back(Placed{characters_, consumed_, handed_.size() + n, length,
                                         line_break(input_, consumed_) != 0, inside});
#endif
                if (!inside) {
                    copy(out, n, std::min(length, size - n));
                    outside_from_ = consumed_;
                    quote_since_ = false;
                } else if (backslashes_before(input_, consumed_, quoted_from_) % 2 == 1) {
                    rewrite(out, n, size, after_backslash, 1, length);
                } else {
                    char escape[6];
                    std::size_t k = special_escape(input_, consumed_, escape);
                    rewrite(out, n, size, std::string_view(escape, k), k, length);
                }
                continue;
            }
            if (pair != consumed_) continue;
            pairs_.push_back(Pair{characters_, pair});
            char text[rewrite_size];
            write_pair_rewrite(text, found_character_);
            found_ = none;
            rewrite(out, n, size, std::string_view(text, rewrite_size), rewrite_size, pair_size);
        }
    }
    return n;
}

void LibyamlInput::walk_to(std::size_t index) {
    while (cursor_index_ < index) {
        auto next = std::partition_point(shifts_.begin(), shifts_.end(),
                                         [&](const Shift& s) { return s.index + s.characters <= cursor_index_; });
        if (next != shifts_.end() && next->index < index) {
            cursor_index_ = next->index;
            cursor_byte_ = next->input;
            // A place inside a rewrite is taken as its start.
            if (index < next->index + next->characters) return;
            cursor_index_ += next->characters;
            cursor_byte_ += next->input_bytes;
            continue;
        }
        cursor_byte_ = skip_characters(input_, cursor_byte_, index - cursor_index_);
        cursor_index_ = index;
    }
}

std::size_t LibyamlInput::skip_gap(std::size_t at, bool& line_start, std::size_t limit) const {
    // libyaml skips a byte order mark at a line's start, spaces and tabs, a
    // comment to the end of its line, and line breaks.  (Where a simple key
    // may start in a block, it fails at a tab instead; skipping it here
    // changes no more than which error such a text gives.)  A character of
    // ours among them was handed over as written, so a line break of
    // libyaml's is one here too.
    while (at < limit) {
        if (line_start && input_.substr(at, 3) == "\xEF\xBB\xBF") at += 3;
        line_start = false;
        while (at < limit && (input_[at] == ' ' || input_[at] == '\t')) ++at;
        if (at < limit && input_[at] == '#') {
            while (at < limit && line_break(input_, at) == 0) ++at;
        }
        if (at >= limit) break;
        std::size_t k = line_break(input_, at);
        if (k == 0) return at;
        at += k;
        line_start = true;
    }
    return limit;
}

std::size_t LibyamlInput::quoted_close(std::size_t start) {
    if (quote_start_ == start) return quote_close_;
    quote_start_ = start;
    const char kind = input_[start];
    std::size_t at = start + 1;
    for (;;) {
        const void* hit = std::memchr(input_.data() + at, kind, input_.size() - at);
        if (!hit) {
            at = input_.size();
            break;
        }
        at = static_cast<const char*>(hit) - input_.data();
        if (kind == '"') {
            // Closed by the first `"` after an even run of backslashes.
            if (backslashes_before(input_, at, start) % 2 == 0) break;
            ++at;
        } else {
            // Closed by a `'` that is not one of a pair.
            if (at + 1 >= input_.size() || input_[at + 1] != '\'') break;
            at += 2;
        }
    }
    return quote_close_ = at;
}

std::size_t LibyamlInput::plain_end(std::size_t start, int flow_level, int indent, std::size_t limit) {
    auto blankz = [&](std::size_t i) { return models::blankz(input_, i); };
    PlainScan& p = plain_;
    if (p.start != start) p = PlainScan{start, start};
    if (p.end != none) return p.end;
    // As libyaml scans it: runs of text, each followed by white space.
    while (p.at < limit) {
        if (p.phase == PlainScan::top) {
            // A document marker or a comment ends it.
            if ((p.after_break && p.column == 0 && document_marker(input_, p.at)) || input_[p.at] == '#')
                return p.end = p.at;
            p.phase = PlainScan::text;
        }
        if (p.phase == PlainScan::text) {
            while (p.at < limit && !blankz(p.at)) {
                const char c = input_[p.at];
                // In a flow, libyaml fails at a `:` before one of these; no
                // token follows.
                if (c == ':' && flow_level > 0 && p.at + 1 < input_.size() &&
                    std::strchr(",?[]{}", input_[p.at + 1]) != nullptr)
                    return limit;
                if ((c == ':' && blankz(p.at + 1)) || (flow_level > 0 && std::strchr(",[]{}", c) != nullptr))
                    return p.end = p.at;
                ++p.at;
            }
            if (p.at >= limit) break;
            if (p.at >= input_.size()) return p.end = p.at;
            p.phase = PlainScan::white;
            p.after_break = false;
        }
        while (p.at < limit) {
            if (std::size_t k = line_break(input_, p.at)) {
                p.at += k;
                p.after_break = true;
                p.column = 0;
            } else if (input_[p.at] == ' ' || input_[p.at] == '\t') {
                ++p.at;
                ++p.column;
            } else {
                break;
            }
        }
        if (p.at >= limit) break;
        p.phase = PlainScan::top;
        // In a block, a line less indented than the block ends it.
        if (flow_level == 0 && p.after_break && static_cast<long>(p.column) < static_cast<long>(indent) + 1)
            return p.end = p.at;
    }
    return limit;
}

bool LibyamlInput::inside_double_quotes(ScannerPlace scanner) {
    const std::size_t at = consumed_;
    walk_to(scanner.token_end);
    if (gap_token_ != scanner.token_end) {
        gap_token_ = scanner.token_end;
        gap_at_ = cursor_byte_;
        gap_line_start_ = scanner.line_start;
        gap_done_ = false;
    }
    if (!gap_done_) {
        gap_at_ = skip_gap(gap_at_, gap_line_start_, at);
        gap_done_ = gap_at_ < at;
    }
    // Still in the white space before the token the scanner is in.
    if (!gap_done_) return false;
    // The scanner is in the token that starts there, or at its start; its
    // look ahead may reach past its end into the next few.  Each is found as
    // libyaml's scanner finds it; the character is inside one when it is a
    // double-quoted scalar that does not close before it.
    std::size_t pos = gap_at_;
    bool line_start = gap_line_start_;
    int flow_level = scanner.flow_level;
    auto blankz = [&](std::size_t i) { return models::blankz(input_, i); };
    while (pos < at) {
        switch (input_[pos]) {
            case '"': {
                std::size_t close = quoted_close(pos);
                if (close >= at) {
                    // Everything up to its end is inside, and no other scalar
                    // starts before the next `"` after it.
                    quoted_from_ = pos;
                    quoted_until_ = close;
                    outside_from_ = std::min(input_.size(), close + 1);
                    quote_since_ = false;
                    return true;
                }
                pos = close + 1;
                break;
            }
            case '\'': {
                std::size_t close = quoted_close(pos);
                if (close >= at) return false;
                pos = close + 1;
                break;
            }
            case '[':
            case '{':
                ++flow_level;
                ++pos;
                break;
            case ']':
            case '}':
                if (flow_level > 0) --flow_level;
                ++pos;
                break;
            case ',':
                ++pos;
                break;
            case '-':
            case '.':
                if (line_start && document_marker(input_, pos)) {
                    pos += 3;
                    break;
                }
                if (input_[pos] == '-' && blankz(pos + 1)) {
                    ++pos;
                    break;
                }
                pos = plain_end(pos, flow_level, scanner.indent, at);
                break;
            case '?':
            case ':':
                if (flow_level > 0 || blankz(pos + 1)) {
                    ++pos;
                    break;
                }
                pos = plain_end(pos, flow_level, scanner.indent, at);
                break;
            case '*':
            case '&':
                ++pos;
                while (pos < input_.size() && (std::isalnum(static_cast<unsigned char>(input_[pos])) ||
                                               input_[pos] == '_' || input_[pos] == '-'))
                    ++pos;
                // libyaml fails at an anchor or alias followed by anything else.
                if (!blankz(pos) && std::strchr("?:,]}%@`", input_[pos]) == nullptr) return false;
                break;
            case '!':
                ++pos;
                while (!blankz(pos) && !(flow_level > 0 && input_[pos] == ',')) ++pos;
                break;
            case '|':
            case '>':
                // A block scalar whose header is followed by a line that
                // starts at the first column is empty: that line is the
                // scanner's look ahead, past the end of the scalar.
                if (flow_level == 0) {
                    if (std::size_t k = line_break(input_, pos + 1); k != 0 && pos + 1 + k < input_.size() &&
                                                                   input_[pos + 1 + k] != ' ' &&
                                                                   line_break(input_, pos + 1 + k) == 0) {
                        pos += 1 + k;
                        line_start = true;
                        pos = skip_gap(pos, line_start, at);
                        continue;
                    }
                }
                return false;
            case '%':
            case '@':
            case '`':
                // A directive, or what starts no token: no double-quoted
                // scalar starts before the character.
                return false;
            default:
                pos = plain_end(pos, flow_level, scanner.indent, at);
                break;
        }
        line_start = false;
        pos = skip_gap(pos, line_start, at);
    }
    return false;
}

std::size_t LibyamlInput::releasable(ScannerPlace scanner) {
    std::size_t r = consumed_;
    // libyaml keeps what it read in buffers of its own; only the input of a
    // rewritten pair that may still be given back as text, and that after the
    // last token the scanner finished, which places a character, are kept.
    if (resolved_ < pairs_.size() && pairs_[resolved_].input < r) r = pairs_[resolved_].input;
    // Once all is handed over, no character is left to place.
    if (consumed_ == input_.size()) return r;
    walk_to(scanner.token_end);
    return std::min(r, cursor_byte_);
}

#ifdef BRINDLE_SMALL_DOCUMENT_WINDOW
LibyamlInput::~LibyamlInput() {
    if (placed_.empty()) return;
    // What was handed over, but with a character that libyaml refuses, placed
    // outside, as an ordinary one in its place (one character as well), so
    // that the scan below goes on past it.
    std::string text;
    std::size_t copied = 0;
    // (The input itself may have been given back by now.)
    for (const Placed& p : placed_) {
        if (p.inside || p.line_break || p.handed + p.length > handed_.size()) continue;
        text.append(handed_, copied, p.handed - copied);
        text += after_backslash;
        copied = p.handed + p.length;
    }
    text.append(handed_, copied);
    // The double-quoted scalars among the tokens of that text, as far as
    // libyaml scans it without a fault, those still in its queue included.
    yaml_parser_t parser;
    if (!yaml_parser_initialize(&parser)) return;
    yaml_parser_set_encoding(&parser, YAML_UTF8_ENCODING);
    yaml_parser_set_input_string(&parser, reinterpret_cast<const unsigned char*>(text.data()), text.size());
    std::vector<std::pair<std::size_t, std::size_t>> quoted;  // the characters inside each
    std::size_t scanned = 0;  // no token ends past this
    auto take = [&](const yaml_token_t& token) {
        if (token.type == YAML_SCALAR_TOKEN && token.data.scalar.style == YAML_DOUBLE_QUOTED_SCALAR_STYLE)
            quoted.emplace_back(token.start_mark.index + 1, token.end_mark.index - 1);
        scanned = std::max(scanned, token.end_mark.index);
    };
    for (;;) {
        yaml_token_t token;
        if (!yaml_parser_scan(&parser, &token)) {
            for (const yaml_token_t* t = parser.tokens.head; t != parser.tokens.tail; ++t) take(*t);
            break;
        }
        const bool done = token.type == YAML_STREAM_END_TOKEN;
        take(token);
        yaml_token_delete(&token);
        if (done) {
            scanned = static_cast<std::size_t>(-1);
            break;
        }
    }
    yaml_parser_delete(&parser);
    std::sort(quoted.begin(), quoted.end());
    auto span = quoted.begin();
    for (const Placed& p : placed_) {
        if (p.index >= scanned) break;
        while (span != quoted.end() && span->second <= p.index) ++span;
        const bool inside = span != quoted.end() && span->first <= p.index;
        if (p.inside == inside) continue;
        std::fprintf(stderr, "libyaml input: the character at byte %zu was taken as %s a double-quoted scalar\n",
                     p.input, p.inside ? "inside" : "outside");
        std::abort();
    }
}
#endif

std::ptrdiff_t LibyamlInput::longer_before(std::size_t index, std::size_t column) const {
    if (column > index) return 0;
    // The rewrites that end before the mark, from its line's start on.
    std::size_t line_start = index - column;
    auto first = std::partition_point(shifts_.begin(), shifts_.end(),
                                      [&](const Shift& s) { return s.index < line_start; });
    auto last = std::partition_point(first, shifts_.end(),
                                     [&](const Shift& s) { return s.index + s.characters <= index; });
    if (first == last) return 0;
    return (last - 1)->longer - (first == shifts_.begin() ? 0 : (first - 1)->longer);
}

std::size_t LibyamlInput::byte_offset(std::size_t offset) const {
    // The rewrites that start before the offset in the rewritten input.
    auto before = std::partition_point(shifts_.begin(), shifts_.end(), [&](const Shift& s) {
        std::ptrdiff_t earlier = &s == shifts_.data() ? 0 : (&s - 1)->more_bytes;
        return static_cast<std::ptrdiff_t>(s.input) + earlier < static_cast<std::ptrdiff_t>(offset);
    });
    if (before == shifts_.begin()) return offset;
    return static_cast<std::size_t>(static_cast<std::ptrdiff_t>(offset) - (before - 1)->more_bytes);
}

bool LibyamlInput::restore_text(std::size_t start, std::size_t end, std::string_view text, std::string& out) {
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
    std::size_t at = pairs_[first].input;
    std::size_t character = pairs_[first].index;
    std::size_t next = first;
    std::size_t backslashes = 0;
    while (character < end && at < input_.size()) {
        if (next < last && at == pairs_[next].input) {
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
        const Pair& r = pairs_[first + i];
        char rewrite[rewrite_size];
        write_pair_rewrite(rewrite, pair_at(r.input));
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
