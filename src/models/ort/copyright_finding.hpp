#pragma once

#include <string>

#include "models/model.hpp"
#include "models/ort/text_location.hpp"

namespace brindle::models::ort {

// A copyright statement a scanner found at one place, taken as written.
struct CopyrightFinding {
    std::string statement;
    TextLocation location;

    // Equal only when statement and place are: the same statement in two
    // files is two findings.  Hashed over both.
    friend bool operator==(const CopyrightFinding&, const CopyrightFinding&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::CopyrightFinding> {
    using T = ort::CopyrightFinding;
    static constexpr std::string_view name = "CopyrightFinding";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        required("statement", &T::statement),
        required("location", &T::location),
    };
};
