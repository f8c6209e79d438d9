#pragma once

#include <vector>

#include "models/model.hpp"
#include "models/ort/base_run.hpp"
#include "models/ort/rule_violation.hpp"

namespace brindle::models::ort {

// The evaluator section of a result: its run base part and the violations found, in input order.
struct EvaluatorRun {
    BaseRun base;
    std::vector<RuleViolation> violations;

    friend bool operator==(const EvaluatorRun&, const EvaluatorRun&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::EvaluatorRun> {
    using T = ort::EvaluatorRun;
    static constexpr std::string_view name = "EvaluatorRun";
    static constexpr auto unknown_keys = UnknownKeys::base;
    static constexpr auto base = &T::base;
    static constexpr auto fields = std::tuple{
        defaulted("violations", &T::violations),
    };
};
