#pragma once

#include <vector>

#include "models/model.hpp"
#include "models/ort/advisor_details.hpp"
#include "models/ort/advisor_summary.hpp"
#include "models/ort/defect.hpp"
#include "models/ort/vulnerability.hpp"

namespace brindle::models::ort {

// What one advisor returned for one package.
struct AdvisorResult {
    AdvisorDetails advisor;
    AdvisorSummary summary;
    std::vector<Vulnerability> vulnerabilities;
    std::vector<Defect> defects;

    friend bool operator==(const AdvisorResult&, const AdvisorResult&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::AdvisorResult> {
    using T = ort::AdvisorResult;
    static constexpr std::string_view name = "AdvisorResult";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        required("advisor", &T::advisor),
        required("summary", &T::summary),
        defaulted("vulnerabilities", &T::vulnerabilities),
        defaulted("defects", &T::defects),
    };
};
