#pragma once

#include <optional>
#include <string>
#include <vector>

#include "models/collections.hpp"
#include "models/json_value.hpp"
#include "models/model.hpp"
#include "models/ort/file_archiver_configuration.hpp"
#include "models/ort/file_list_storage_configuration.hpp"
#include "models/ort/provenance_storage_configuration.hpp"
#include "models/ort/scan_storage_configuration.hpp"

namespace brindle::models::ort {

// The configuration a scan ran with, as its scanner run records it.  No
// field is checked against another.
struct ScannerConfiguration {
    bool skip_concluded = false;
    bool skip_excluded = false;
    bool include_files_without_findings = false;
    std::optional<FileArchiverConfiguration> archive;
    OrderedMap<std::string, std::string> detected_license_mapping;
    std::optional<FileListStorageConfiguration> file_list_storage;
    std::optional<OrderedMap<std::string, JsonValue>> scanners;
    std::optional<OrderedMap<std::string, ScanStorageConfiguration>> storages;
    std::optional<std::vector<std::string>> storage_readers;
    std::optional<std::vector<std::string>> storage_writers;
    std::vector<std::string> ignore_patterns;
    std::optional<ProvenanceStorageConfiguration> provenance_storage;

    friend bool operator==(const ScannerConfiguration&, const ScannerConfiguration&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::ScannerConfiguration> {
    using T = ort::ScannerConfiguration;
    static constexpr std::string_view name = "ScannerConfiguration";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        defaulted("skip_concluded", &T::skip_concluded),
        defaulted("skip_excluded", &T::skip_excluded),
        defaulted("include_files_without_findings", &T::include_files_without_findings),
        optional("archive", &T::archive),
        defaulted("detected_license_mapping", &T::detected_license_mapping),
        optional("file_list_storage", &T::file_list_storage),
        optional("scanners", &T::scanners),
        optional("storages", &T::storages),
        optional("storage_readers", &T::storage_readers),
        optional("storage_writers", &T::storage_writers),
        defaulted("ignore_patterns", &T::ignore_patterns),
        optional("provenance_storage", &T::provenance_storage),
    };
};
