#pragma once

#include <optional>
#include <string>

#include "models/model.hpp"
#include "models/ort/identifier.hpp"
#include "models/ort/license_source.hpp"
#include "models/ort/severity.hpp"

namespace brindle::models::ort {

// One finding of the evaluator: the rule broken, and the package and license concerned.
struct RuleViolation {
    std::string rule;
    std::optional<Identifier> pkg;
    std::optional<std::string> license;
    OrderedSet<LicenseSource> license_sources;
    Severity severity = Severity::HINT;
    std::string message;
    std::string how_to_fix;

    friend bool operator==(const RuleViolation&, const RuleViolation&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::RuleViolation> {
    using T = ort::RuleViolation;
    static constexpr std::string_view name = "RuleViolation";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        required("rule", &T::rule),
        optional("pkg", &T::pkg),
        optional("license", &T::license),
        defaulted("license_sources", &T::license_sources),
        required("severity", &T::severity),
        required("message", &T::message),
        required("how_to_fix", &T::how_to_fix),
    };
};
