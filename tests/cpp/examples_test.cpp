// The example inputs under examples/, which the demo reads on a clone without
// the corpus: each reads whole, holds what it is there to show, and reads
// back the same from its YAML and its JSON; the result written as JSON holds
// what the YAML one does.
#include <string>

#include "models/json_writer.hpp"
#include "models/ort/license_classifications.hpp"
#include "models/ort/ort_result.hpp"
#include "models/ort/repository_configuration.hpp"
#include "models/write.hpp"
#include "models/yaml_writer.hpp"
#include "test_util.hpp"

using namespace brindle::models;
using namespace brindle::models::ort;
using brindle::test::file_text;
using brindle::test::json;
using brindle::test::read_ok;
using brindle::test::yaml;

namespace {

std::string example(const char* name) { return file_text(std::string(BRINDLE_EXAMPLES "/") + name); }

template <class T>
void reads_back(const T& value, const char* name) {
    EXPECT_TRUE(read_ok<T>(yaml(value)) == value) << name << " through YAML";
    EXPECT_TRUE(read_ok<T>(json(value)) == value) << name << " through JSON";
}

TEST(Examples, Result) {
    auto r = read_ok<OrtResult>(example("result.yml"));
    ASSERT_TRUE(r.analyzer && r.analyzer->result && r.scanner && r.advisor && r.evaluator);
    const AnalyzerResult& analyzed = *r.analyzer->result;
    EXPECT_EQ(analyzed.projects.size(), 2u);
    EXPECT_EQ(analyzed.packages.size(), 5u);
    EXPECT_EQ(analyzed.dependency_graphs.size(), 1u);
    ASSERT_TRUE(r.scanner->scan_results);
    std::size_t licenses = 0, copyrights = 0;
    for (const ScanResult& scan : *r.scanner->scan_results) {
        licenses += scan.summary.licenses.size();
        copyrights += scan.summary.copyrights.size();
    }
    EXPECT_EQ(r.scanner->scan_results->size(), 3u);
    EXPECT_EQ(licenses, 5u);
    EXPECT_EQ(copyrights, 3u);
    ASSERT_EQ(r.advisor->results.size(), 1u);
    EXPECT_EQ(r.evaluator->violations.size(), 1u);
    reads_back(r, "result.yml");
}

TEST(Examples, ResultAsJson) {
    EXPECT_TRUE(read_ok<OrtResult>(example("result.json")) == read_ok<OrtResult>(example("result.yml")));
}

TEST(Examples, RepositoryConfiguration) {
    auto c = read_ok<RepositoryConfiguration>(example("repository-configuration.yml"));
    EXPECT_TRUE(c.analyzer && c.includes && c.excludes && c.resolutions && c.curations && c.license_choices);
    EXPECT_EQ(c.package_configurations.size(), 1u);
    reads_back(c, "repository-configuration.yml");
}

TEST(Examples, LicenseClassifications) {
    auto c = read_ok<LicenseClassifications>(example("license-classifications.yml"));
    auto invalid = validate_license_classifications(c);
    EXPECT_FALSE(invalid) << invalid->text();
    EXPECT_EQ(c.categories.size(), 5u);
    EXPECT_EQ(c.categorizations.size(), 6u);
    reads_back(c, "license-classifications.yml");
}

}  // namespace
