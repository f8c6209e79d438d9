#include "models/document.hpp"

#include <yaml.h>

#include <algorithm>
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

Mark to_mark(const yaml_mark_t& m) { return Mark{m.index, m.line, m.column}; }

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

}  // namespace

struct Document::Parser {
    yaml_parser_t parser{};
    bool finished = false;
    std::string_view input;
    std::size_t consumed = 0;
    bool too_many_tag_directives = false;
    // Anchor name to the index of the event that carried it; a later
    // definition of a name replaces the earlier one for the aliases after it.
    std::unordered_map<std::string, std::size_t> anchors;
    // Indices of the open collections that carry an anchor, to record the size of their node.
    std::vector<std::size_t> open;

    Parser() {
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
        std::size_t n = std::min({size, input_piece, ps.input.size() - ps.consumed});
        if (n) std::memcpy(buffer, ps.input.data() + ps.consumed, n);
        ps.consumed += n;
        *size_read = n;
        return 1;
    }
};

Document::Document(std::string_view text) : parser_(std::make_unique<Parser>()) {
    auto& p = parser_->parser;
    yaml_parser_set_encoding(&p, YAML_UTF8_ENCODING);
    parser_->input = text;
    yaml_parser_set_input(&p, &Parser::read, parser_.get());
    // Scalar texts never take more room than the input; events take a few
    // dozen bytes of input each in typical files.
    arena_.reserve(text.size());
    events_.reserve(text.size() / 32 + 4);
    load(true);
}

Document::~Document() = default;

void Document::set_tag(Event& rec, const unsigned char* tag) {
    auto text = reinterpret_cast<const char*>(tag);
    rec.tag = classify_tag(text);
    if (rec.tag != Tag::local) return;
    // Local tags keep their name (after the "!") for the generic value reader.
    std::size_t n = std::strlen(text + 1);
    rec.tag_offset = arena_.size();
    rec.tag_size = static_cast<std::uint32_t>(n);
    arena_.append(text + 1, n);
}

bool Document::has_another_document() {
    std::size_t before = events_.size();
    Load result = load(false);
    return result != Load::stream_end || events_.size() != before;
}

Document::Load Document::load(bool first) {
    Parser& ps = *parser_;
    if (ps.finished) return Load::stream_end;
    std::size_t first_event = events_.size();
    for (;;) {
        EventGuard g;
        yaml_event_t& ev = g.event;
        if (!yaml_parser_parse(&ps.parser, &ev)) {
            const auto& p = ps.parser;
            if (p.error == YAML_MEMORY_ERROR) throw std::bad_alloc();
            if (ps.too_many_tag_directives) {
                failure_ = ReadError::libyaml("too many %TAG directives", 0, {}, nullptr, {});
                return Load::failed;
            }
            failure_ = ReadError::libyaml(p.problem, p.problem_offset, to_mark(p.problem_mark), p.context,
                                          to_mark(p.context_mark));
            return Load::failed;
        }
        Event rec;
        rec.mark = to_mark(ev.start_mark);
        const yaml_char_t* anchor = nullptr;
        switch (ev.type) {
            case YAML_STREAM_START_EVENT:
            case YAML_DOCUMENT_START_EVENT:
            case YAML_NO_EVENT:
                continue;
            case YAML_DOCUMENT_END_EVENT:
                return Load::done;
            case YAML_STREAM_END_EVENT:
                ps.finished = true;
                if (!first) {
                    // Only the stream end followed the first document.
                    return events_.size() == first_event ? Load::stream_end : Load::done;
                }
                if (events_.empty()) {
                    rec.kind = EventKind::void_;
                    events_.push_back(rec);
                }
                return Load::done;
            case YAML_ALIAS_EVENT: {
                auto name = reinterpret_cast<const char*>(ev.data.alias.anchor);
                auto it = ps.anchors.find(name);
                if (it == ps.anchors.end()) {
                    failure_ = ReadError::unknown_anchor(rec.mark);
                    return Load::failed;
                }
                rec.kind = EventKind::alias;
                rec.text_offset = it->second;
                break;
            }
            case YAML_SCALAR_EVENT: {
                rec.kind = EventKind::scalar;
                rec.style = to_style(ev.data.scalar.style);
                rec.text_offset = arena_.size();
                rec.text_size = ev.data.scalar.length;
                arena_.append(reinterpret_cast<const char*>(ev.data.scalar.value), ev.data.scalar.length);
                anchor = ev.data.scalar.anchor;
                set_tag(rec, ev.data.scalar.tag);
                break;
            }
            case YAML_SEQUENCE_START_EVENT:
            case YAML_MAPPING_START_EVENT: {
                bool seq = ev.type == YAML_SEQUENCE_START_EVENT;
                rec.kind = seq ? EventKind::sequence_start : EventKind::mapping_start;
                set_tag(rec, seq ? ev.data.sequence_start.tag : ev.data.mapping_start.tag);
                anchor = seq ? ev.data.sequence_start.anchor : ev.data.mapping_start.anchor;
                if (ps.open.size() >= load_depth_limit) {
                    // libyaml's scanner works per token through every open
                    // flow level, so unbounded nesting costs quadratic time.
                    // No reader goes that deep, so loading stops here.
                    failure_ = ReadError::nesting(rec.mark);
                    return Load::failed;
                }
                // Every open collection is tracked, so that the matching end
                // can tell whether its start carried an anchor.
                ps.open.push_back(anchor ? events_.size() : SIZE_MAX);
                break;
            }
            case YAML_SEQUENCE_END_EVENT:
            case YAML_MAPPING_END_EVENT: {
                rec.kind = ev.type == YAML_SEQUENCE_END_EVENT ? EventKind::sequence_end : EventKind::mapping_end;
                if (!ps.open.empty()) {
                    std::size_t start = ps.open.back();
                    ps.open.pop_back();
                    if (start != SIZE_MAX) events_[start].node_events = events_.size() + 1 - start;
                }
                break;
            }
        }
        if (anchor) ps.anchors[reinterpret_cast<const char*>(anchor)] = events_.size();
        events_.push_back(rec);
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

void Cursor::throw_past_end() const {
    if (doc_->failure()) throw *doc_->failure();
    throw ReadError::end_of_input();
}

Cursor Cursor::follow(const Event& alias) {
    std::size_t target = alias.text_offset;
    std::size_t size = doc_->events()[target].node_events;
    counters_->alias_events += size;
    if (counters_->alias_events > counters_->alias_limit) throw ReadError::repetition();
    return Cursor(OwnPosition{}, *this, target);
}

void Cursor::skip_node() {
    std::size_t depth = 0;
    do {
        const Event& e = next();
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
