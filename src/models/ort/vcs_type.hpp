// The kind of version-control system, held as text: a known name in the
// letter case it was given, or the empty text for anything else.
#pragma once

#include <cstdint>
#include <string>

#include "models/model.hpp"

namespace brindle::models::ort {

struct VcsType {
    std::string text;

    friend bool operator==(const VcsType&, const VcsType&) = default;
};

// The text itself when it is one of the known names, ASCII letters compared
// without regard to case; else the empty text.  Never fails.
VcsType match_vcs_type(std::string text);

// Any scalar's text, matched.
void read(Cursor& c, VcsType& out);

inline const std::string& text_of(const VcsType& t) { return t.text; }

}  // namespace brindle::models::ort
