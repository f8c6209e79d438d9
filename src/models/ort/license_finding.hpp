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
    // in two files is two findings.
    friend bool operator==(const LicenseFinding&, const LicenseFinding&) = default;
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

// Hashed by the license text alone, which equal findings share.
template <>
struct brindle::models::Hasher<brindle::models::ort::LicenseFinding> {
    std::uint64_t operator()(const ort::LicenseFinding& f) const { return hash_value(f.license); }
};
