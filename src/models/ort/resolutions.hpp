#pragma once

#include <vector>

#include "models/model.hpp"
#include "models/ort/issue_resolution.hpp"
#include "models/ort/rule_violation_resolution.hpp"
#include "models/ort/vulnerability_resolution.hpp"

namespace brindle::models::ort {

// The resolutions section of a repository configuration; nothing here is
// ever applied to a result.
struct Resolutions {
    std::vector<IssueResolution> issues;
    std::vector<RuleViolationResolution> rule_violations;
    std::vector<VulnerabilityResolution> vulnerabilities;

    friend bool operator==(const Resolutions&, const Resolutions&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::Resolutions> {
    using T = ort::Resolutions;
    static constexpr std::string_view name = "Resolutions";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        defaulted("issues", &T::issues),
        defaulted("rule_violations", &T::rule_violations),
        defaulted("vulnerabilities", &T::vulnerabilities),
    };
};
