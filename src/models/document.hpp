// The recorded events of one YAML document, and the cursor that every model
// reader walks them with.
//
// The whole document is parsed by libyaml before any model reader runs.
// Scalar texts live in one arena owned by the document; events refer to them
// by offset, so recording an event allocates nothing of its own.  Anchors are
// resolved while loading: an alias event holds the index of the event that
// carried its anchor.
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
    EventKind kind = EventKind::void_;
    ScalarStyle style = ScalarStyle::plain;
    Tag tag = Tag::none;
    std::uint32_t tag_size = 0;    // local tags: length of the name after "!"
    std::size_t text_offset = 0;   // scalar: value in the arena; alias: index of the anchored event
    std::size_t text_size = 0;
    std::size_t tag_offset = 0;    // local tags: name in the arena
    std::size_t node_events = 1;   // anchored events: how many events the whole node spans
    Mark mark;                     // start of the event
};

class Document {
public:
    // Loads the first document of `text`; a syntax error or an unknown anchor
    // is kept as the document's failure, with the events before it.
    explicit Document(std::string_view text);
    ~Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    const std::vector<Event>& events() const noexcept { return events_; }
    const std::optional<ReadError>& failure() const noexcept { return failure_; }
    std::string_view text(const Event& e) const noexcept { return {arena_.data() + e.text_offset, e.text_size}; }
    std::string_view tag_name(const Event& e) const noexcept { return {arena_.data() + e.tag_offset, e.tag_size}; }

    // Whether anything but comments, white space and document end markers
    // follows the first document (a second document, an empty one, or an error).
    bool has_another_document();

private:
    struct Parser;
    enum class Load { done, stream_end, failed };
    Load load(bool first);
    void set_tag(Event& rec, const unsigned char* tag);

    std::unique_ptr<Parser> parser_;
    std::vector<Event> events_;
    std::string arena_;
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
    std::size_t alias_events = 0;   // events read through aliases so far
    std::size_t alias_limit = 0;    // see alias_event_limit
};

// The cursor every model reader receives.  A child cursor shares the position
// of its parent, so consuming a child's node advances the parent; following
// an alias gives a cursor with a position of its own at the anchored event.
class Cursor {
public:
    static constexpr std::uint8_t nesting_limit = 128;

    Cursor(const Document& doc, ReadCounters& counters)
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
    // they fail with the document's failure, or the end of input.
    const Event& peek() const {
        const auto& ev = doc_->events();
        if (*pos_ >= ev.size()) [[unlikely]] throw_past_end();
        return ev[*pos_];
    }
    const Event& next() {
        const Event& e = peek();
        ++*pos_;
        return e;
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

    [[noreturn]] void throw_past_end() const;

    const Document* doc_;
    ReadCounters* counters_;
    std::size_t* pos_;
    std::size_t own_pos_ = 0;
    PathSegment own_segment_;
    const PathSegment* path_;
    std::uint8_t budget_;
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
    const Event& e = c.next();
    if (e.kind == EventKind::alias) {
        // An anchored event is never an alias itself.
        Cursor target = c.follow(e);
        return detail::read_at(target, target.next(), f);
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
auto read_yaml_document(std::string_view text, ReadRoot&& read_root) {
    Document doc(without_byte_order_mark(text));
    ReadCounters counters{0, alias_event_limit(doc.events().size())};
    Cursor cursor(doc, counters);
    auto value = read_root(cursor);
    if (doc.failure()) throw *doc.failure();
    if (doc.has_another_document()) throw ReadError::more_documents();
    return value;
}

}  // namespace brindle::models
