#pragma once

#include <vector>

#include "models/model.hpp"
#include "models/ort/package_license_choice.hpp"
#include "models/ort/spdx_license_choice.hpp"

namespace brindle::models::ort {

// The license choices section of a repository configuration: choices for
// the whole repository and for single packages.
struct LicenseChoices {
    std::vector<SpdxLicenseChoice> repository_license_choices;
    std::vector<PackageLicenseChoice> package_license_choices;

    friend bool operator==(const LicenseChoices&, const LicenseChoices&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::LicenseChoices> {
    using T = ort::LicenseChoices;
    static constexpr std::string_view name = "LicenseChoices";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        defaulted("repository_license_choices", &T::repository_license_choices),
        defaulted("package_license_choices", &T::package_license_choices),
    };
};
