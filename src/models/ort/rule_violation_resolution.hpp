#pragma once

#include <string>

#include "models/model.hpp"
#include "models/ort/rule_violation_reason.hpp"

namespace brindle::models::ort {

// Resolves the rule violations whose message the text stands for; the text is held as given, never compiled or matched.
struct RuleViolationResolution {
    std::string message;
    RuleViolationResolutionReason reason = RuleViolationResolutionReason{1};
    std::string comment;

    friend bool operator==(const RuleViolationResolution&, const RuleViolationResolution&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::RuleViolationResolution> {
    using T = ort::RuleViolationResolution;
    static constexpr std::string_view name = "RuleViolationResolution";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        required("message", &T::message),
        required("reason", &T::reason),
        required("comment", &T::comment),
    };
};
