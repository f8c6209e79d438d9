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
    // files is two findings.
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

// Hashed by the statement alone, which equal findings share.
template <>
struct brindle::models::Hasher<brindle::models::ort::CopyrightFinding> {
    std::uint64_t operator()(const ort::CopyrightFinding& f) const { return hash_value(f.statement); }
};
