#include "models/ort/identifier.hpp"

#include <array>

namespace brindle::models::ort {

std::optional<Identifier> parse_identifier(std::string_view text) {
    std::array<std::string_view, 4> pieces;
    std::size_t count = 0;
    std::size_t start = 0;
    for (;;) {
        std::size_t colon = text.find(':', start);
        if (count == pieces.size()) return std::nullopt;
        pieces[count++] = text.substr(start, colon == std::string_view::npos ? colon : colon - start);
        if (colon == std::string_view::npos) break;
        start = colon + 1;
    }
    if (count != pieces.size()) return std::nullopt;
    return Identifier{std::string(pieces[0]), std::string(pieces[1]), std::string(pieces[2]), std::string(pieces[3])};
}

ValidationError invalid_identifier() {
    return ValidationError::invalid_field("identifier", "must be in the format 'type:namespace:name:version'");
}

void append_text(std::string& out, const Identifier& id) {
    out.append(id.type).append(1, ':').append(id.namespace_).append(1, ':').append(id.name).append(1, ':');
    out.append(id.version);
}

std::string to_text(const Identifier& id) {
    std::string out;
    out.reserve(id.type.size() + id.namespace_.size() + id.name.size() + id.version.size() + 3);
    append_text(out, id);
    return out;
}

void read(Cursor& c, Identifier& out) {
    std::string text;
    read(c, text);
    std::optional<Identifier> id = parse_identifier(text);
    if (!id) throw ReadError(invalid_identifier().text());
    out = std::move(*id);
}

}  // namespace brindle::models::ort

namespace brindle::models {

std::uint64_t Hasher<ort::Identifier>::operator()(const ort::Identifier& id) const {
    std::string bytes;
    bytes.reserve(id.type.size() + id.namespace_.size() + id.name.size() + id.version.size() + 4);
    for (const std::string* part : {&id.type, &id.namespace_, &id.name, &id.version})
        bytes.append(*part).append(1, '\xff');
    return hash_bytes(bytes.data(), bytes.size());
}

}  // namespace brindle::models
