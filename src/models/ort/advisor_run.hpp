#pragma once

#include <vector>

#include "models/collections.hpp"
#include "models/model.hpp"
#include "models/ort/advisor_configuration.hpp"
#include "models/ort/advisor_result.hpp"
#include "models/ort/base_run.hpp"
#include "models/ort/identifier.hpp"
#include "models/ort/issue.hpp"

namespace brindle::models::ort {

// The advisor section of a result: its run base part, the configuration,
// the issues of the providers, and each package's results in input order.
struct AdvisorRun {
    BaseRun base;
    AdvisorConfiguration config;
    std::vector<Issue> provider_issues;
    OrderedMap<Identifier, std::vector<AdvisorResult>> results;

    friend bool operator==(const AdvisorRun&, const AdvisorRun&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::AdvisorRun> {
    using T = ort::AdvisorRun;
    static constexpr std::string_view name = "AdvisorRun";
    static constexpr auto unknown_keys = UnknownKeys::base;
    static constexpr auto base = &T::base;
    static constexpr auto fields = std::tuple{
        required("config", &T::config),
        defaulted("provider_issues", &T::provider_issues),
        defaulted("results", &T::results),
    };
};
