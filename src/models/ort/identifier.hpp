// A package identifier: four texts, outside memory always in the text form
// "type:namespace:name:version", also where it is a map key.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "models/model.hpp"
#include "models/validation_error.hpp"

namespace brindle::models::ort {

struct Identifier {
    std::string type;
    std::string namespace_;
    std::string name;
    std::string version;

    // The four texts byte for byte; there is no ordering.
    friend bool operator==(const Identifier&, const Identifier&) = default;
};

// Splits at every ":"; anything but exactly four pieces (empty ones allowed)
// gives nothing.
std::optional<Identifier> parse_identifier(std::string_view text);
// The error for a text that is not four pieces.
ValidationError invalid_identifier();

void append_text(std::string& out, const Identifier& id);
std::string to_text(const Identifier& id);
inline std::string text_of(const Identifier& id) { return to_text(id); }

// The text form; one that is not four pieces fails with the validation
// error's text, placed at the enclosing struct, list or map.
void read(Cursor& c, Identifier& out);

}  // namespace brindle::models::ort

// The four texts in order, each followed by the byte 0xFF.
template <>
struct brindle::models::Hasher<brindle::models::ort::Identifier> {
    std::uint64_t operator()(const ort::Identifier& id) const;
};
