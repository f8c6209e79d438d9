#pragma once

#include <string>
#include <vector>

#include "models/model.hpp"
#include "models/ort/issue.hpp"

namespace brindle::models::ort {

// When an advisor ran for a package (times kept as the texts given) and what went wrong.
struct AdvisorSummary {
    std::string start_time;
    std::string end_time;
    std::vector<Issue> issues;

    friend bool operator==(const AdvisorSummary&, const AdvisorSummary&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::AdvisorSummary> {
    using T = ort::AdvisorSummary;
    static constexpr std::string_view name = "AdvisorSummary";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        required("start_time", &T::start_time),
        required("end_time", &T::end_time),
        defaulted("issues", &T::issues),
    };
};
