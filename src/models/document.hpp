// The events of one YAML document, and the cursor that every model reader
// walks them with.
//
// libyaml parses the document as the readers ask for events, a little ahead
// of them.  Events are kept in chunks of a few thousand, each with the bytes
// of its scalar texts, and a chunk is given back once the readers have moved
// two chunks past it, so memory does not grow with the document: readers take
// events by value and never keep a text of the document past the next node.
// What an alias may lead back to stays: a chunk that holds any event of an
// anchored node is kept to the end of the read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "models/read_error.hpp"

namespace brindle::models {

// Built with BRINDLE_SMALL_DOCUMENT_WINDOW (the sanitizer and fuzz builds,
// never a release), every window of the reader is the least that is still
// correct: chunks of two events, none kept for reuse, no loading ahead, tiny
// text blocks, and the input offered back at every read.  Then even a short
// test input walks the release of memory that otherwise only long documents
// reach, and a text kept past its window is read from freed memory, which the
// sanitizers see.
#ifdef BRINDLE_SMALL_DOCUMENT_WINDOW
inline constexpr bool small_document_window = true;

// Chunks given back so far by every document of the process, for the tests
// to see that the window moves.
std::size_t released_chunk_count() noexcept;
#else
inline constexpr bool small_document_window = false;
#endif

enum class EventKind : std::uint8_t {
    scalar,
    alias,
    sequence_start,
    sequence_end,
    mapping_start,
    mapping_end,
    void_,  // the empty node of an input without any document
};

enum class ScalarStyle : std::uint8_t { plain, single_quoted, double_quoted, literal, folded };

// The tags the readers look at; every other tag is `other`.
enum class Tag : std::uint8_t { none, null, boolean, integer, floating, local, other };

struct Event {
    const char* text_data = nullptr;  // scalar: the value; a local tag's name follows it
    std::size_t text_size = 0;
    Mark mark;                        // start of the event
    std::uint32_t aux = 0;            // local tags: size of the name after "!"; alias: anchor number
    EventKind kind = EventKind::void_;
    ScalarStyle style = ScalarStyle::plain;
    Tag tag = Tag::none;
};

// Told now and then how far libyaml has taken in the text: everything before
// `up_to` is never looked at again, so its owner may give its memory back.
struct InputRelease {
    void (*release)(void* owner, const char* up_to) = nullptr;
    void* owner = nullptr;
};

class Document {
public:
    // Prepares to read the first document of `text`, which must outlive the
    // document.  Nothing is parsed until events are asked for.
    explicit Document(std::string_view text, InputRelease release = {});
    ~Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    // The event at `index` of the first document.  Past its last event it
    // fails with the document's failure (a syntax error or an unknown anchor,
    // once loading reached it) or with the end of input.  The reference, and
    // the texts of the event, stay valid until an event two chunks further on
    // is asked for.
    const Event& event(std::size_t index) {
        std::size_t chunk = index >> chunk_bits;
        if (index < confirmed_ && chunk <= newest_chunk_) [[likely]]
            return chunk_events_[chunk][index & chunk_mask];
        return event_slow(index);
    }

    std::string_view text(const Event& e) const noexcept { return {e.text_data, e.text_size}; }
    std::string_view tag_name(const Event& e) const noexcept { return {e.text_data + e.text_size, e.aux}; }

    // An anchored node: the index of its first event and how many events it
    // spans.  Loads until the node is complete (or loading stops).
    struct Anchored {
        std::size_t event;
        std::size_t node_events;
    };
    Anchored anchored(std::uint32_t anchor);

    // Loads until the first document holds `count` events or is complete;
    // gives how many it holds.  Events that libyaml parsed from the part of a
    // piece of input handed over before a character that it must place are
    // held back until the rest of that piece is handed over: libyaml meets a
    // fault in that rest at the piece's first read, and so no event parsed
    // after that read.
    std::size_t load_at_least(std::size_t count);

    // Loads the rest of the first document; its failure, if any, is then known.
    const std::optional<ReadError>& finish();

    // Whether anything but comments, white space and document end markers
    // follows the first document (a second document, an empty one, or an
    // error).  Call after finish().
    bool has_another_document();

private:
    static constexpr std::size_t chunk_bits = small_document_window ? 1 : 10;
    static constexpr std::size_t chunk_events = std::size_t{1} << chunk_bits;
    static constexpr std::size_t chunk_mask = chunk_events - 1;
    struct Chunk;
    struct Parser;

    const Event& event_slow(std::size_t index);
    // Parses and records one event of the first document; false once it is
    // complete.  load_one also says which events readers may see.
    bool load_one();
    bool load_event();
    Event& append();
    std::uint32_t define_anchor(const char* name, std::size_t node_events);
    void release_before(std::size_t chunk);
    const char* store(const char* data, std::size_t size, const char* tag, std::size_t tag_size);

    std::unique_ptr<Parser> parser_;
    std::vector<std::unique_ptr<Chunk>> chunks_;  // released chunks are null
    std::vector<Event*> chunk_events_;            // the events of each chunk
    std::vector<std::unique_ptr<Chunk>> spare_;
    std::size_t loaded_ = 0;        // events recorded
    std::size_t confirmed_ = 0;     // events recorded that are held back no longer
    std::size_t newest_chunk_ = 0;  // the furthest chunk asked for
    std::size_t released_ = 0;      // chunks before this one were looked at for release
    bool complete_ = false;         // the first document is loaded (or loading failed)
    std::optional<ReadError> failure_;
};

// One segment of the path of a value; each points to its parent.  Segments
// live on the stack of the readers, and text is only built for an error.
struct PathSegment {
    enum class Kind : std::uint8_t { root, index, key, unknown_key };
    Kind kind = Kind::root;
    const PathSegment* parent = nullptr;
    std::size_t index = 0;
    std::string_view key;

    std::string text() const;
};

// How many events may be read through aliases in a document of `events`
// events: 100 times its events, and never more than a million.  Everything
// read through an alias is built anew, so the ceiling bounds the memory a
// small file of aliases can make a reader take; files do not come near it.
constexpr std::size_t alias_event_ceiling = 1'000'000;
constexpr std::size_t alias_event_limit(std::size_t events) {
    return events < alias_event_ceiling / 100 ? 100 * events : alias_event_ceiling;
}

// Counters shared by every cursor over one document.
struct ReadCounters {
    std::size_t alias_events = 0;  // events read through aliases so far; see alias_event_limit
};

// The cursor every model reader receives.  A child cursor shares the position
// of its parent, so consuming a child's node advances the parent; following
// an alias gives a cursor with a position of its own at the anchored event.
class Cursor {
public:
    static constexpr std::uint8_t nesting_limit = 128;

    Cursor(Document& doc, ReadCounters& counters)
        : doc_(&doc), counters_(&counters), pos_(&own_pos_), path_(&own_segment_), budget_(nesting_limit) {}

    // A child for the element `index` of a sequence.
    Cursor(Cursor& parent, std::size_t index)
        : Cursor(parent, PathSegment{PathSegment::Kind::index, parent.path_, index, {}}) {}
    // A child for the value of a mapping entry whose key event is `key`
    // (a scalar gives its text, anything else "?").
    Cursor(Cursor& parent, const Event& key)
        : Cursor(parent, key.kind == EventKind::scalar
                             ? PathSegment{PathSegment::Kind::key, parent.path_, 0, parent.doc_->text(key)}
                             : PathSegment{PathSegment::Kind::unknown_key, parent.path_, 0, {}}) {}

    Cursor(const Cursor&) = delete;
    Cursor& operator=(const Cursor&) = delete;

    const Document& document() const noexcept { return *doc_; }
    std::string_view text(const Event& e) const noexcept { return doc_->text(e); }

    // The next event, without consuming it / consumed.  Past the last event
    // they fail with the document's failure, or the end of input.  Events
    // are copies: a reader may keep one (its mark) while it reads the nodes
    // inside it, but not its text.
    Event peek() const { return doc_->event(*pos_); }
    Event next() {
        Event e = doc_->event(*pos_);
        ++*pos_;
        return e;
    }

    // Points this cursor's map key segment at `key`, text that lives as long
    // as the cursor, in place of the key's text in the document (which may be
    // given back while the value is read).  The second form keeps a copy.
    void set_key(std::string_view key) noexcept { own_segment_.key = key; }
    void keep_key() {
        own_key_.assign(own_segment_.key);
        own_segment_.key = own_key_;
    }

    // A cursor at the node that the alias `alias` (just consumed) refers to.
    // The events of that node count against the document's repetition limit.
    Cursor follow(const Event& alias);

    // Lowers the nesting budget while the entries of a collection starting at
    // `start` are read; fails when it is spent.
    class Nested {
    public:
        explicit Nested(Cursor& c, const Mark& start) : c_(c) {
            if (c_.budget_ == 0) throw ReadError::nesting(start);
            --c_.budget_;
        }
        ~Nested() { ++c_.budget_; }
        Nested(const Nested&) = delete;
        Nested& operator=(const Nested&) = delete;

    private:
        Cursor& c_;
    };

    // Consumes one whole node without interpreting it: no alias is followed
    // and the nesting budget is not used.
    void skip_node();

    std::string path_text() const { return path_->text(); }
    const PathSegment* path() const noexcept { return path_; }

    // Gives a message error without position this mark and this cursor's path.
    void attach(ReadError& e, const Mark& mark) const {
        if (!e.positioned()) e.attach_position(mark, path_text());
    }

private:
    Cursor(Cursor& parent, const PathSegment& seg)
        : doc_(parent.doc_), counters_(parent.counters_), pos_(parent.pos_), own_segment_(seg),
          path_(&own_segment_), budget_(parent.budget_) {}
    // A cursor with a position of its own; the path stays that of `at`.
    struct OwnPosition {};
    Cursor(OwnPosition, const Cursor& at, std::size_t position)
        : doc_(at.doc_), counters_(at.counters_), pos_(&own_pos_), own_pos_(position), path_(at.path_),
          budget_(at.budget_) {}

    Document* doc_;
    ReadCounters* counters_;
    std::size_t* pos_;
    std::size_t own_pos_ = 0;
    PathSegment own_segment_;
    const PathSegment* path_;
    std::uint8_t budget_;
    std::string own_key_;
};

// Runs `f(cursor, event)` on the next node: its first event is consumed (an
// alias is followed first), and a message error without a position coming out
// of `f` is given that event's mark and the path of the cursor it was read on.
namespace detail {
template <class F>
decltype(auto) read_at(Cursor& c, const Event& e, F& f) {
    try {
        return f(c, e);
    } catch (ReadError& err) {
        c.attach(err, e.mark);
        throw;
    }
}
}  // namespace detail

template <class F>
decltype(auto) read_node(Cursor& c, F&& f) {
    const Event e = c.next();
    if (e.kind == EventKind::alias) {
        // An anchored event is never an alias itself.
        Cursor target = c.follow(e);
        const Event first = target.next();
        return detail::read_at(target, first, f);
    }
    return detail::read_at(c, e, f);
}

// The text without one byte order mark (U+FEFF) at its very start, which
// editors may write and which is no part of the document: given to libyaml, it
// would move every column of the first line by one.
inline std::string_view without_byte_order_mark(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    return text;
}

// Reads the one document of `text` (after a byte order mark) with
// `read_root(cursor)`, the reader of a root type, and checks that nothing but
// comments and document end markers follow it.  Fails with a ReadError.
template <class ReadRoot>
auto read_yaml_document(std::string_view text, ReadRoot&& read_root, InputRelease release = {}) {
    Document doc(without_byte_order_mark(text), release);
    ReadCounters counters;
    Cursor cursor(doc, counters);
    auto value = read_root(cursor);
    if (const auto& failure = doc.finish()) throw *failure;
    if (doc.has_another_document()) throw ReadError::more_documents();
    return value;
}

}  // namespace brindle::models
