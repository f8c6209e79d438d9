#pragma once

#include <optional>
#include <string>

#include "models/model.hpp"

namespace brindle::models::ort {

// One license chosen where an expression offers a choice; both are held as
// plain text, never parsed.  An absent `given` differs from an empty one.
struct SpdxLicenseChoice {
    std::optional<std::string> given;
    std::string choice;

    friend bool operator==(const SpdxLicenseChoice&, const SpdxLicenseChoice&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::SpdxLicenseChoice> {
    using T = ort::SpdxLicenseChoice;
    static constexpr std::string_view name = "SpdxLicenseChoice";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        optional("given", &T::given),
        required("choice", &T::choice),
    };
};
