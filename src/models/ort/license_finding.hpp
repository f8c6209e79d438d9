#pragma once

#include <optional>
#include <string>

#include "models/model.hpp"
#include "models/ort/text_location.hpp"

namespace brindle::models::ort {

// A license a scanner found at one place, taken as written.
struct LicenseFinding {
    std::string license;
    TextLocation location;
    std::optional<double> score;

    // Equal only when license, place and score are: the same license found
    // in two files is two findings.  A NaN score equals a NaN score, so that
    // a finding is always equal to itself.  Hashed over all three.
    friend bool operator==(const LicenseFinding& a, const LicenseFinding& b) {
        return a.license == b.license && a.location == b.location && same_number(a.score, b.score);
    }
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::LicenseFinding> {
    using T = ort::LicenseFinding;
    static constexpr std::string_view name = "LicenseFinding";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        required("license", &T::license),
        required("location", &T::location),
        optional("score", &T::score),
    };
};
