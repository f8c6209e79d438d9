#include "models/document.hpp"

#include "models/libyaml_input.hpp"

#include <yaml.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <unordered_map>

namespace brindle::models {

namespace {

// Far beyond what any reader accepts (128 levels); only values that are
// skipped could nest deeper.
constexpr std::size_t load_depth_limit = 1024;

// libyaml checks every %TAG directive of a document against all the earlier
// ones and resolves every tag handle by walking the list, so its work grows
// with the square of their number.  The input is handed to it in small
// pieces, and it gets no more once a document has more directives than any
// real file: the overshoot is bounded by what one piece can hold.
constexpr std::size_t tag_directive_limit = 100;
constexpr std::size_t input_piece = 1024;

Tag classify_tag(const char* tag) {
    if (!tag) return Tag::none;
    if (tag[0] == '!') return Tag::local;
    if (std::strcmp(tag, YAML_NULL_TAG) == 0) return Tag::null;
    if (std::strcmp(tag, YAML_BOOL_TAG) == 0) return Tag::boolean;
    if (std::strcmp(tag, YAML_INT_TAG) == 0) return Tag::integer;
    if (std::strcmp(tag, YAML_FLOAT_TAG) == 0) return Tag::floating;
    return Tag::other;
}

ScalarStyle to_style(yaml_scalar_style_t s) {
    switch (s) {
        case YAML_SINGLE_QUOTED_SCALAR_STYLE: return ScalarStyle::single_quoted;
        case YAML_DOUBLE_QUOTED_SCALAR_STYLE: return ScalarStyle::double_quoted;
        case YAML_LITERAL_SCALAR_STYLE: return ScalarStyle::literal;
        case YAML_FOLDED_SCALAR_STYLE: return ScalarStyle::folded;
        default: return ScalarStyle::plain;
    }
}

struct EventGuard {
    yaml_event_t event{};
    ~EventGuard() { yaml_event_delete(&event); }
};

// Scalar bytes of one chunk are kept in blocks of this size; a longer text
// gets a block of its own.
constexpr std::size_t text_block = small_document_window ? 16 : 16 * 1024;
// How far loading runs ahead of the event asked for.
constexpr std::size_t load_ahead = small_document_window ? 0 : 512;
// Released chunks kept for reuse, so that a long read touches the same memory.
constexpr std::size_t spare_chunks = small_document_window ? 0 : 2;

#ifdef BRINDLE_SMALL_DOCUMENT_WINDOW
std::atomic<std::size_t> released_chunks{0};
#endif

}  // namespace

struct Document::Chunk {
    Event events[chunk_events];
    std::unique_ptr<char[]> home;               // text_block bytes, kept when the chunk is reused
    std::vector<std::unique_ptr<char[]>> more;  // further blocks, and long texts
    char* free = nullptr;
    std::size_t left = 0;
    bool pinned = false;  // holds an event of an anchored node

    // Empties the chunk for the events of another part of the document.
    void make_reusable() {
        more.clear();
        free = home.get();
        left = home ? text_block : 0;
        pinned = false;
    }
};

// How much more input is taken in before its owner hears of it again.
constexpr std::size_t release_step = small_document_window ? 1 : 256 * 1024;

struct Document::Parser {
    yaml_parser_t parser{};
    LibyamlInput input;
    InputRelease release;
    std::size_t reported = 0;  // input released when the owner last heard
    std::string restored;      // a scalar's text as written, see LibyamlInput
    bool stream_end = false;
    bool too_many_tag_directives = false;
    // Anchor name to its number; a later definition of a name replaces the
    // earlier one for the aliases after it.
    std::unordered_map<std::string, std::uint32_t> names;
    // Per anchor number: its event and the size of its node (0 while open).
    std::vector<Anchored> anchors;
    // Per open collection: its anchor number, or none.
    static constexpr std::uint32_t no_anchor = UINT32_MAX;
    std::vector<std::uint32_t> open;
    std::size_t open_anchored = 0;  // open collections that carry an anchor

    explicit Parser(std::string_view text) : input(text) {
        if (!yaml_parser_initialize(&parser)) throw std::bad_alloc();
    }
    ~Parser() { yaml_parser_delete(&parser); }

    // libyaml's read handler.
    static int read(void* data, unsigned char* buffer, std::size_t size, std::size_t* size_read) {
        Parser& ps = *static_cast<Parser*>(data);
        const auto& tags = ps.parser.tag_directives;
        // The list also holds libyaml's two defaults, "!" and "!!".
        if (static_cast<std::size_t>(tags.top - tags.start) > tag_directive_limit + 2) {
            ps.too_many_tag_directives = true;
            return 0;
        }
        const ScannerPlace scanner = ps.scanner_place();
        *size_read = ps.input.fill(reinterpret_cast<char*>(buffer), size, input_piece, scanner);
        if (ps.release.release && ps.input.consumed() >= ps.reported + release_step) {
            std::size_t releasable = ps.input.releasable(scanner);
            if (releasable >= ps.reported + release_step) {
                ps.release.release(ps.release.owner, ps.input.text().data() + releasable);
                ps.reported = releasable;
            }
        }
        return 1;
    }

    // Where libyaml's scanner is, which the input asks for to place a
    // character: the end of the token it finished last (the newest in its
    // queue), its flow level and its block indentation.
    ScannerPlace scanner_place() const {
        const auto& tokens = parser.tokens;
        ScannerPlace place;
        if (tokens.tail != tokens.start) {
            const yaml_mark_t& end = tokens.tail[-1].end_mark;
            place.token_end = end.index;
            place.line_start = end.column == 0;
        }
        place.flow_level = parser.flow_level;
        place.indent = parser.indent;
        return place;
    }

    Mark mark(const yaml_mark_t& m) const { return input.position(m.index, m.line, m.column); }

    // The next event; false with `failure` set when libyaml fails.
    bool parse(yaml_event_t& ev, std::optional<ReadError>& failure) {
        if (yaml_parser_parse(&parser, &ev)) return true;
        if (parser.error == YAML_MEMORY_ERROR) throw std::bad_alloc();
        if (too_many_tag_directives) {
            failure = ReadError::libyaml("too many %TAG directives", 0, {}, nullptr, {});
        } else {
            failure = ReadError::libyaml(parser.problem, input.byte_offset(parser.problem_offset),
                                         mark(parser.problem_mark), parser.context, mark(parser.context_mark));
        }
        return false;
    }
};

#ifdef BRINDLE_SMALL_DOCUMENT_WINDOW
std::size_t released_chunk_count() noexcept { return released_chunks.load(std::memory_order_relaxed); }
#endif

Document::Document(std::string_view text, InputRelease release) : parser_(std::make_unique<Parser>(text)) {
    auto& p = parser_->parser;
    yaml_parser_set_encoding(&p, YAML_UTF8_ENCODING);
    parser_->release = release;
    yaml_parser_set_input(&p, &Parser::read, parser_.get());
}

Document::~Document() = default;

const Event& Document::event_slow(std::size_t index) {
    if (index >= confirmed_ && load_at_least(index + 1 + load_ahead) <= index) {
        if (failure_) throw *failure_;
        throw ReadError::end_of_input();
    }
    std::size_t chunk = index >> chunk_bits;
    if (chunk > newest_chunk_) {
        newest_chunk_ = chunk;
        release_before(chunk - 1);
    }
    return chunk_events_[chunk][index & chunk_mask];
}

void Document::release_before(std::size_t chunk) {
    for (; released_ < chunk; ++released_) {
        auto& c = chunks_[released_];
        if (!c || c->pinned) continue;
        chunk_events_[released_] = nullptr;
#ifdef BRINDLE_SMALL_DOCUMENT_WINDOW
        released_chunks.fetch_add(1, std::memory_order_relaxed);
#endif
        if (spare_.size() < spare_chunks) {
            c->make_reusable();
            spare_.push_back(std::move(c));
        } else {
            c.reset();
        }
    }
}

Event& Document::append() {
    std::size_t chunk = loaded_ >> chunk_bits;
    if (chunk == chunks_.size()) {
        if (spare_.empty()) {
            chunks_.push_back(std::make_unique<Chunk>());
        } else {
            chunks_.push_back(std::move(spare_.back()));
            spare_.pop_back();
        }
        chunk_events_.push_back(chunks_.back()->events);
    }
    Chunk& c = *chunks_[chunk];
    // Every event of an anchored node is kept for the aliases to it.
    if (parser_->open_anchored) c.pinned = true;
    Event& e = c.events[loaded_ & chunk_mask];
    e = Event{};
    return e;
}

const char* Document::store(const char* data, std::size_t size, const char* tag, std::size_t tag_size) {
    std::size_t n = size + tag_size;
    if (n == 0) return nullptr;
    Chunk& c = *chunks_[loaded_ >> chunk_bits];
    char* out;
    if (n <= c.left) {
        out = c.free;
        c.free += n;
        c.left -= n;
    } else if (n > text_block / 4) {
        c.more.push_back(std::make_unique_for_overwrite<char[]>(n));
        out = c.more.back().get();
    } else {
        auto& block = c.home ? c.more.emplace_back() : c.home;
        block = std::make_unique_for_overwrite<char[]>(text_block);
        out = block.get();
        c.free = out + n;
        c.left = text_block - n;
    }
    if (size) std::memcpy(out, data, size);
    if (tag_size) std::memcpy(out + size, tag, tag_size);
    return out;
}

std::size_t Document::load_at_least(std::size_t count) {
    while (confirmed_ < count && load_one()) {}
    return confirmed_;
}

const std::optional<ReadError>& Document::finish() {
    while (load_one()) {}
    return failure_;
}

Document::Anchored Document::anchored(std::uint32_t anchor) {
    while (parser_->anchors[anchor].node_events == 0 && load_one()) {}
    Anchored a = parser_->anchors[anchor];
    // A node cut short by a failure counts as its first event.
    if (a.node_events == 0) a.node_events = 1;
    return a;
}

bool Document::load_one() {
    const bool more = load_event();
    // Events parsed from part of a piece are held back until the rest of it
    // is handed over, or loading ends.
    if (complete_ || !parser_->input.piece_open()) confirmed_ = loaded_;
    return more;
}

bool Document::load_event() {
    if (complete_) return false;
    Parser& ps = *parser_;
    for (;;) {
        EventGuard g;
        yaml_event_t& ev = g.event;
        const bool held = ps.input.piece_open();
        if (!ps.parse(ev, failure_)) {
            // A fault that libyaml meets in the rest of a piece it had in
            // part: the events after that piece's first read are not there.
            if ((held || ps.input.piece_open()) && ps.parser.error == YAML_READER_ERROR) loaded_ = confirmed_;
            complete_ = true;
            return false;
        }
        Mark mark = ps.mark(ev.start_mark);
        // What lies before an event is in no scalar still to come.
        ps.input.passed(ev.start_mark.index);
        switch (ev.type) {
            case YAML_STREAM_START_EVENT:
            case YAML_DOCUMENT_START_EVENT:
            case YAML_NO_EVENT:
                continue;
            case YAML_DOCUMENT_END_EVENT:
                complete_ = true;
                return false;
            case YAML_STREAM_END_EVENT:
                ps.stream_end = true;
                complete_ = true;
                if (loaded_ == 0) {
                    Event& rec = append();
                    rec.kind = EventKind::void_;
                    rec.mark = mark;
                    ++loaded_;
                }
                return false;
            case YAML_ALIAS_EVENT: {
                auto it = ps.names.find(reinterpret_cast<const char*>(ev.data.alias.anchor));
                if (it == ps.names.end()) {
                    failure_ = ReadError::unknown_anchor(mark);
                    complete_ = true;
                    return false;
                }
                Event& rec = append();
                rec.kind = EventKind::alias;
                rec.mark = mark;
                rec.aux = it->second;
                ++loaded_;
                return true;
            }
            case YAML_SCALAR_EVENT: {
                const auto& sc = ev.data.scalar;
                Tag tag = classify_tag(reinterpret_cast<const char*>(sc.tag));
                // Local tags keep their name (after the "!") for the generic value reader.
                const char* tag_name = tag == Tag::local ? reinterpret_cast<const char*>(sc.tag) + 1 : nullptr;
                std::size_t tag_size = tag_name ? std::strlen(tag_name) : 0;
                std::string_view value(reinterpret_cast<const char*>(sc.value), sc.length);
                // Only a double-quoted scalar reads escapes: elsewhere a
                // rewritten pair of them is given back as written.
                if (sc.style != YAML_DOUBLE_QUOTED_SCALAR_STYLE &&
                    ps.input.restore(ev.start_mark.index, ev.end_mark.index, value, ps.restored))
                    value = ps.restored;
                ps.input.passed(ev.end_mark.index);
                Event& rec = append();
                rec.kind = EventKind::scalar;
                rec.style = to_style(sc.style);
                rec.tag = tag;
                rec.mark = mark;
                rec.text_size = value.size();
                rec.aux = static_cast<std::uint32_t>(tag_size);
                rec.text_data = store(value.data(), value.size(), tag_name, tag_size);
                if (sc.anchor) define_anchor(reinterpret_cast<const char*>(sc.anchor), 1);
                ++loaded_;
                return true;
            }
            case YAML_SEQUENCE_START_EVENT:
            case YAML_MAPPING_START_EVENT: {
                bool seq = ev.type == YAML_SEQUENCE_START_EVENT;
                if (ps.open.size() >= load_depth_limit) {
                    // libyaml's scanner works per token through every open
                    // flow level, so unbounded nesting costs quadratic time.
                    // No reader goes that deep, so loading stops here.
                    failure_ = ReadError::nesting(mark);
                    complete_ = true;
                    return false;
                }
                const char* raw_tag = reinterpret_cast<const char*>(seq ? ev.data.sequence_start.tag : ev.data.mapping_start.tag);
                const yaml_char_t* anchor = seq ? ev.data.sequence_start.anchor : ev.data.mapping_start.anchor;
                Tag tag = classify_tag(raw_tag);
                const char* tag_name = tag == Tag::local ? raw_tag + 1 : nullptr;
                std::size_t tag_size = tag_name ? std::strlen(tag_name) : 0;
                Event& rec = append();
                rec.kind = seq ? EventKind::sequence_start : EventKind::mapping_start;
                rec.tag = tag;
                rec.mark = mark;
                rec.aux = static_cast<std::uint32_t>(tag_size);
                rec.text_data = store(nullptr, 0, tag_name, tag_size);
                // Every open collection is tracked, so that the matching end
                // can tell whether its start carried an anchor.
                std::uint32_t number = Parser::no_anchor;
                if (anchor) {
                    number = define_anchor(reinterpret_cast<const char*>(anchor), 0);
                    ++ps.open_anchored;
                }
                ps.open.push_back(number);
                ++loaded_;
                return true;
            }
            case YAML_SEQUENCE_END_EVENT:
            case YAML_MAPPING_END_EVENT: {
                Event& rec = append();
                rec.kind = ev.type == YAML_SEQUENCE_END_EVENT ? EventKind::sequence_end : EventKind::mapping_end;
                rec.mark = mark;
                ++loaded_;
                if (!ps.open.empty()) {
                    std::uint32_t number = ps.open.back();
                    ps.open.pop_back();
                    if (number != Parser::no_anchor) {
                        auto& a = ps.anchors[number];
                        a.node_events = loaded_ - a.event;
                        --ps.open_anchored;
                    }
                }
                return true;
            }
        }
    }
}

// Called for the event just appended (not yet counted), which carries the
// anchor; `node_events` is 1 for a scalar, 0 for a collection still open.
std::uint32_t Document::define_anchor(const char* name, std::size_t node_events) {
    Parser& ps = *parser_;
    auto number = static_cast<std::uint32_t>(ps.anchors.size());
    ps.anchors.push_back(Anchored{loaded_, node_events});
    ps.names.insert_or_assign(std::string(name), number);
    chunks_[loaded_ >> chunk_bits]->pinned = true;
    return number;
}

bool Document::has_another_document() {
    Parser& ps = *parser_;
    if (ps.stream_end || failure_) return false;
    for (;;) {
        EventGuard g;
        if (!ps.parse(g.event, failure_)) return true;
        switch (g.event.type) {
            case YAML_STREAM_START_EVENT:
            case YAML_DOCUMENT_START_EVENT:
            case YAML_NO_EVENT:
                continue;
            case YAML_STREAM_END_EVENT:
                ps.stream_end = true;
                return false;
            default:
                return true;
        }
    }
}

std::string PathSegment::text() const {
    switch (kind) {
        case Kind::root:
            return ".";
        case Kind::index:
            return parent->text() + "[" + std::to_string(index) + "]";
        case Kind::key:
        case Kind::unknown_key: {
            std::string t = parent->kind == Kind::root ? std::string() : parent->text() + ".";
            if (kind == Kind::key) t.append(key);
            else t += "?";
            return t;
        }
    }
    return ".";
}

Cursor Cursor::follow(const Event& alias) {
    Document::Anchored target = doc_->anchored(alias.aux);
    std::size_t used = counters_->alias_events += target.node_events;
    // At most 100 times the document's events: only as much of the document
    // as that takes is loaded to know it.
    if (used > alias_event_ceiling || doc_->load_at_least((used + 99) / 100) < (used + 99) / 100)
        throw ReadError::repetition();
    return Cursor(OwnPosition{}, *this, target.event);
}

void Cursor::skip_node() {
    std::size_t depth = 0;
    do {
        const Event e = next();
        switch (e.kind) {
            case EventKind::sequence_start:
            case EventKind::mapping_start: ++depth; break;
            case EventKind::sequence_end:
            case EventKind::mapping_end: --depth; break;
            default: break;
        }
    } while (depth != 0);
}

}  // namespace brindle::models
