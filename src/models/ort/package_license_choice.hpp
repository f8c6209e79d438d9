#pragma once

#include <vector>

#include "models/model.hpp"
#include "models/ort/identifier.hpp"
#include "models/ort/spdx_license_choice.hpp"

namespace brindle::models::ort {

// The license choices that apply to one package.
struct PackageLicenseChoice {
    Identifier package_id;
    std::vector<SpdxLicenseChoice> license_choices;

    friend bool operator==(const PackageLicenseChoice&, const PackageLicenseChoice&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::PackageLicenseChoice> {
    using T = ort::PackageLicenseChoice;
    static constexpr std::string_view name = "PackageLicenseChoice";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        required("package_id", &T::package_id),
        defaulted("license_choices", &T::license_choices),
    };
};
