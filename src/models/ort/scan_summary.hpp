#pragma once

#include <string>
#include <vector>

#include "models/collections.hpp"
#include "models/model.hpp"
#include "models/ort/copyright_finding.hpp"
#include "models/ort/issue.hpp"
#include "models/ort/license_finding.hpp"
#include "models/ort/snippet_finding.hpp"

namespace brindle::models::ort {

// What one scan of one source tree found.  The times are kept as the texts
// given.
struct ScanSummary {
    std::string start_time;
    std::string end_time;
    OrderedSet<LicenseFinding> licenses;
    OrderedSet<CopyrightFinding> copyrights;
    OrderedSet<SnippetFinding> snippets;
    std::vector<Issue> issues;

    friend bool operator==(const ScanSummary&, const ScanSummary&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::ScanSummary> {
    using T = ort::ScanSummary;
    static constexpr std::string_view name = "ScanSummary";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        required("start_time", &T::start_time),
        required("end_time", &T::end_time),
        defaulted("licenses", &T::licenses),
        defaulted("copyrights", &T::copyrights),
        defaulted("snippets", &T::snippets),
        defaulted("issues", &T::issues),
    };
};
