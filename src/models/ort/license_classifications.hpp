#pragma once

#include <optional>
#include <vector>

#include "models/model.hpp"
#include "models/ort/license_categorization.hpp"
#include "models/ort/license_category.hpp"
#include "models/validation_error.hpp"

namespace brindle::models::ort {

struct LicenseClassifications {
    std::vector<LicenseCategory> categories;
    std::vector<LicenseCategorization> categorizations;

    friend bool operator==(const LicenseClassifications&, const LicenseClassifications&) = default;
};

// The consistency check of a read file: unique category names, unique
// categorization ids, and only known categories referenced.  Gives the
// first fault in document order.
std::optional<ValidationError> validate_license_classifications(const LicenseClassifications& c);

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::LicenseClassifications> {
    using T = ort::LicenseClassifications;
    static constexpr std::string_view name = "LicenseClassifications";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        defaulted("categories", &T::categories),
        defaulted("categorizations", &T::categorizations),
    };
};
