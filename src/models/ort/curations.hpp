#pragma once

#include <vector>

#include "models/model.hpp"
#include "models/ort/license_finding_curation.hpp"
#include "models/ort/package_curation.hpp"

namespace brindle::models::ort {

// The curations a repository supplies: of package metadata and of license
// findings.
struct Curations {
    std::vector<PackageCuration> packages;
    std::vector<LicenseFindingCuration> license_findings;

    friend bool operator==(const Curations&, const Curations&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::Curations> {
    using T = ort::Curations;
    static constexpr std::string_view name = "Curations";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        defaulted("packages", &T::packages),
        defaulted("license_findings", &T::license_findings),
    };
};
