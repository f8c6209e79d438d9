#pragma once

#include <string>

#include "models/collections.hpp"
#include "models/model.hpp"
#include "models/ort/provenance.hpp"
#include "models/ort/scan_summary.hpp"
#include "models/ort/scanner_details.hpp"

namespace brindle::models::ort {

// What one scanner found for one scanned source.
struct ScanResult {
    Provenance provenance{std::monostate{}};
    ScannerDetails scanner;
    ScanSummary summary;
    OrderedMap<std::string, std::string> additional_data;

    // Equal only when every field is, the provenance with its whole record:
    // the results of two scanners for the same source are both kept, and so
    // are the results for two packages of one repository revision (other
    // `vcs_info.path`) or for one artifact url with other hashes.  Hashed over
    // every field.
    friend bool operator==(const ScanResult&, const ScanResult&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::ScanResult> {
    using T = ort::ScanResult;
    static constexpr std::string_view name = "ScanResult";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        required("provenance", &T::provenance),
        required("scanner", &T::scanner),
        required("summary", &T::summary),
        defaulted("additional_data", &T::additional_data),
    };
};
