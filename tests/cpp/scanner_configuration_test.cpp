// The scanner configuration and its storage configurations.
#include "models/json_writer.hpp"
#include "models/ort/scanner_configuration.hpp"
#include "models/write.hpp"
#include "models/yaml_writer.hpp"
#include "test_util.hpp"

using namespace brindle::models;
using brindle::models::ort::ScannerConfiguration;
using brindle::test::read_error;
using brindle::test::read_ok;

namespace {

struct Case {
    const char* input;
    const char* expected;  // JSON text, or the error text
};

template <class T>
std::string json(const T& v) {
    JsonWriter w;
    write(w, v);
    return w.take();
}
template <class T>
std::string yaml(const T& v) {
    YamlWriter w;
    write(w, v);
    return w.take();
}

// A configuration read from `input` written back as JSON, or the error text.
std::string json_or_error(const char* input) {
    ScannerConfiguration c;
    std::string err = read_error<ScannerConfiguration>(input, &c);
    return err.empty() ? json(c) : err;
}

// The JSON of a configuration that holds only what `members` says, the
// other fields at their defaults.
std::string config_json(const std::string& members) {
    return "{\n  \"skip_concluded\": false,\n  \"skip_excluded\": false,\n  \"include_files_without_findings\": false,\n"
           "  \"archive\": null,\n  \"detected_license_mapping\": {},\n  \"file_list_storage\": null,\n"
           "  \"scanners\": null,\n  \"storages\": null,\n  \"storage_readers\": null,\n  \"storage_writers\": null,\n"
           "  \"ignore_patterns\": [],\n  \"provenance_storage\": null" +
           members + "\n}";
}

TEST(ScannerConfiguration, Defaults) {
    EXPECT_EQ(json_or_error("{}"), config_json(""));
    EXPECT_EQ(json_or_error(""), config_json(""));
}

}  // namespace
