#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "models/model.hpp"
#include "models/ort/license_finding_curation_reason.hpp"
#include "models/scalar_text.hpp"

namespace brindle::models::ort {

// A correction of the license found at a path, optionally only from the
// given start lines and for a number of lines.  Licenses are kept as written.
struct LicenseFindingCuration {
    std::string path;
    std::optional<ScalarText> start_lines;
    std::optional<std::int64_t> line_count;
    std::optional<std::string> detected_license;
    std::string concluded_license;
    LicenseFindingCurationReason reason = LicenseFindingCurationReason::CODE;
    std::optional<std::string> comment;

    friend bool operator==(const LicenseFindingCuration&, const LicenseFindingCuration&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::LicenseFindingCuration> {
    using T = ort::LicenseFindingCuration;
    static constexpr std::string_view name = "LicenseFindingCuration";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        required("path", &T::path),
        optional("start_lines", &T::start_lines),
        optional("line_count", &T::line_count),
        optional("detected_license", &T::detected_license),
        required("concluded_license", &T::concluded_license),
        required("reason", &T::reason),
        optional("comment", &T::comment),
    };
};
