#pragma once

#include <optional>
#include <string>
#include <vector>

#include "models/buffered.hpp"
#include "models/collections.hpp"
#include "models/model.hpp"
#include "models/ort/base_run.hpp"
#include "models/ort/file_list.hpp"
#include "models/ort/identifier.hpp"
#include "models/ort/issue.hpp"
#include "models/ort/provenance_resolution_result.hpp"
#include "models/ort/scan_result.hpp"
#include "models/ort/scanner_configuration.hpp"

namespace brindle::models::ort {

// One run of the scanner stage: the configuration it ran with, where each
// package's source was found, what was found in it, the issues and the
// scanners per package, and the files of each scanned source.
struct ScannerRun {
    BaseRun base;
    ScannerConfiguration config;
    OrderedSet<ProvenanceResolutionResult> provenances;
    // None and an empty set are different values.
    std::optional<OrderedSet<ScanResult>> scan_results;
    OrderedMap<Identifier, std::vector<Issue>> issues;
    OrderedMap<Identifier, OrderedSet<std::string>> scanners;
    OrderedSet<FileList> files;

    friend bool operator==(const ScannerRun&, const ScannerRun&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::ScannerRun> {
    using T = ort::ScannerRun;
    static constexpr std::string_view name = "ScannerRun";
    static constexpr auto unknown_keys = UnknownKeys::base;
    static constexpr auto base = &T::base;
    static constexpr auto fields = std::tuple{
        required("config", &T::config),
        required("provenances", &T::provenances),
        optional("scan_results", &T::scan_results),
        defaulted("issues", &T::issues),
        required("scanners", &T::scanners),
        required("files", &T::files),
    };
};
