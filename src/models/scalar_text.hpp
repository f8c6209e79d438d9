// Lenient texts: values that may be given as a text, a number or a boolean
// and are held as the scalar's canonical text (0x10 gives 16, True gives
// true, 1.50 gives 1.5), where a plain text field would keep the characters
// as written.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "models/collections.hpp"
#include "models/read.hpp"
#include "models/yaml_value.hpp"

namespace brindle::models {

// The text of a scalar: booleans as true or false, numbers in the YAML
// writer's number form, texts unchanged; nothing for null, a sequence, a
// mapping or a tagged value.
std::optional<std::string> scalar_to_text(const YamlValue& v);

struct ScalarText {
    std::string text;

    friend bool operator==(const ScalarText&, const ScalarText&) = default;
};

// An optional lenient text: absent for the absent forms, a null and an empty
// text; anything but a scalar fails with "expected a string or an integer
// scalar", placed at the enclosing struct.
void read(Cursor& c, std::optional<ScalarText>& out);

// A map of lenient texts: the map is read whole first (a repeated key keeps
// its last value), then the first entry that is not a scalar fails with
// "option '<key>' is not a scalar", placed at the enclosing struct.
void read(Cursor& c, OrderedMap<std::string, ScalarText>& out);

inline const std::string& text_of(const ScalarText& v) { return v.text; }

}  // namespace brindle::models
