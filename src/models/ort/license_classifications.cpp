#include "models/ort/license_classifications.hpp"

namespace brindle::models::ort {

std::optional<ValidationError> validate_license_classifications(const LicenseClassifications& c) {
    // The sets refer to the model's own texts rather than copying them.
    OrderedSet<std::string_view> names;
    for (const auto& category : c.categories)
        if (!names.insert(category.name))
            return ValidationError::invalid_field("categories", "duplicate license category name: " + category.name);

    OrderedSet<std::string_view> ids;
    for (const auto& categorization : c.categorizations)
        if (!ids.insert(categorization.id))
            return ValidationError::invalid_field("categorizations",
                                                  "duplicate license categorization id: " + categorization.id);

    for (const auto& categorization : c.categorizations)
        for (const auto& name : categorization.categories)
            if (!names.contains(name))
                return ValidationError::invalid_field(
                    "categorizations",
                    "categorization '" + categorization.id + "' references unknown category '" + name + "'");
    return std::nullopt;
}

}  // namespace brindle::models::ort
