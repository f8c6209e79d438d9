#pragma once

#include <string>

#include "models/model.hpp"
#include "models/ort/issue_resolution_reason.hpp"

namespace brindle::models::ort {

// Resolves the issues whose message the text stands for; the text is held as given, never compiled or matched.
struct IssueResolution {
    std::string message;
    IssueResolutionReason reason = IssueResolutionReason{1};
    std::string comment;

    friend bool operator==(const IssueResolution&, const IssueResolution&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::IssueResolution> {
    using T = ort::IssueResolution;
    static constexpr std::string_view name = "IssueResolution";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        required("message", &T::message),
        required("reason", &T::reason),
        required("comment", &T::comment),
    };
};
