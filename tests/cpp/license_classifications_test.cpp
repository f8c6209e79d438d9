// License classification files: real files read and checked, and the
// consistency check's texts.
#include "models/ort/license_classifications.hpp"
#include "test_util.hpp"

using namespace brindle::models;
using brindle::models::ort::LicenseClassifications;
using brindle::test::file_text;
using brindle::test::read_error;
using brindle::test::read_ok;

namespace {

std::string corpus(const std::string& name) { return file_text(brindle::test::corpus_path("license-classifications/" + name)); }

std::string check(const LicenseClassifications& c) {
    auto err = ort::validate_license_classifications(c);
    return err ? err->text() : "";
}

TEST(LicenseClassifications, CorpusFiles) {
    BRINDLE_NEEDS_CORPUS();
    struct Expect {
        const char* file;
        std::size_t categories, categorizations;
        const char* first_category;
        const char* last_id;
    };
    const Expect files[] = {
        {"01.yml", 7, 73, "copyleft", "curl"},
        {"02.yml", 15, 3042, "cla", "zlib-acknowledgement"},
        {"03.yml", 15, 2397, "cla", "zlib-acknowledgement"},
        {"04.yml", 1, 80, "allow", "zlib-acknowledgement"},
    };
    for (const auto& f : files) {
        auto c = read_ok<LicenseClassifications>(corpus(f.file));
        EXPECT_EQ(c.categories.size(), f.categories) << f.file;
        EXPECT_EQ(c.categorizations.size(), f.categorizations) << f.file;
        EXPECT_EQ(c.categories.front().name, f.first_category) << f.file;
        EXPECT_EQ(c.categorizations.back().id, f.last_id) << f.file;
        EXPECT_EQ(check(c), "") << f.file;
    }
    auto c = read_ok<LicenseClassifications>(corpus("01.yml"));
    EXPECT_EQ(c.categories[3].description, "Licenses with permissive obligations.");
    EXPECT_EQ(c.categorizations[0].id, "AGPL-1.0");
    EXPECT_EQ(std::vector<std::string>(c.categorizations[0].categories.begin(), c.categorizations[0].categories.end()),
              (std::vector<std::string>{"copyleft", "include-in-notice-file", "include-source-code-offer-in-notice-file"}));
}

TEST(LicenseClassifications, RepeatedCategoryInRealFile) {
    BRINDLE_NEEDS_CORPUS();
    std::string text = corpus("04.yml");
    auto at = text.find("categories:\n") + std::string("categories:\n").size();
    text.insert(at, "  - name: \"allow\"\n    description: again\n");
    auto c = read_ok<LicenseClassifications>(text);
    EXPECT_EQ(check(c), "Field 'categories' is invalid: duplicate license category name: allow");
}

TEST(LicenseClassifications, Check) {
    struct Case {
        const char* input;
        const char* error;
    };
    const Case cases[] = {
        {"{}", ""},
        {"", ""},
        {"categories: [{name: a}, {name: A}]\ncategorizations: [{id: x, categories: [a, A, a]}]", ""},
        {"categories: [{name: a}]\ncategorizations: [{id: x}, {id: y, categories: []}]", ""},
        // Pass 1 comes first, whatever else is wrong.
        {"categories: [{name: a}, {name: a}]\ncategorizations: [{id: x}, {id: x, categories: [q]}]",
         "Field 'categories' is invalid: duplicate license category name: a"},
        {"categories: [{name: a}]\ncategorizations: [{id: x, categories: [q]}, {id: x}]",
         "Field 'categorizations' is invalid: duplicate license categorization id: x"},
        {"categorizations: [{id: x, categories: [a]}]",
         "Field 'categorizations' is invalid: categorization 'x' references unknown category 'a'"},
        {"categories: [{name: a}, {name: A}]\ncategorizations: [{id: x, categories: [a]}, {id: y, categories: [b, c]}]",
         "Field 'categorizations' is invalid: categorization 'y' references unknown category 'b'"},
    };
    for (const auto& k : cases) EXPECT_EQ(check(read_ok<LicenseClassifications>(k.input)), k.error) << k.input;
}

TEST(LicenseClassifications, ReadingRules) {
    auto c = read_ok<LicenseClassifications>("categories:\n- name: a\n- name: b\n  description:\n- name: c\n  description: ~\n- name: d\n  description: 12\n");
    EXPECT_EQ(c.categories[0].description, "");
    EXPECT_EQ(c.categories[1].description, "");
    EXPECT_EQ(c.categories[2].description, "~");
    EXPECT_EQ(c.categories[3].description, "12");
    struct Case {
        const char* input;
        const char* error;
    };
    const Case cases[] = {
        {"categories:\n- name: a\n  kind: x\n",
         "categories[0]: unknown field `kind`, expected `name` or `description` at line 3 column 3"},
        {"categorizations:\n- id: a\n  category: x\n",
         "categorizations[0]: unknown field `category`, expected `id` or `categories` at line 3 column 3"},
        {"category: []\n", "unknown field `category`, expected `categories` or `categorizations`"},
        {"categories:\n-\n", "categories[0]: missing field `name` at line 2 column 2"},
        {"categorizations:\n- {}\n", "categorizations[0]: missing field `id` at line 2 column 3"},
        {"categories: []\ncategories: []\n", "duplicate field `categories`"},
        {"categories: ~\n", "categories: invalid type: unit value, expected a sequence at line 1 column 13"},
        {"[]", "invalid type: sequence, expected struct LicenseClassifications"},
    };
    for (const auto& k : cases) EXPECT_EQ(read_error<LicenseClassifications>(k.input), k.error) << k.input;
}

TEST(ValidationError, Texts) {
    using K = ValidationError::Kind;
    EXPECT_EQ((ValidationError{K::invalid_field, "f", "m"}.text()), "Field 'f' is invalid: m");
    EXPECT_EQ((ValidationError{K::missing_field, "f", ""}.text()), "Missing required field: f");
    EXPECT_EQ((ValidationError{K::out_of_range, "f", "m"}.text()), "Value out of range for field 'f': m");
    EXPECT_EQ((ValidationError{K::generic, "", "m"}.text()), "Generic validation error: m");
}

}  // namespace

// Writing: the same field tables give the JSON and YAML texts.
#include "models/json_writer.hpp"
#include "models/write.hpp"
#include "models/yaml_writer.hpp"

namespace {

template <class W>
std::string written(const LicenseClassifications& c) {
    W w;
    write(w, c);
    return w.take();
}

TEST(LicenseClassifications, WrittenAsJsonAndYaml) {
    auto c = read_ok<LicenseClassifications>(file_text(BRINDLE_TEST_DATA "/classifications.yml"));
    EXPECT_EQ(written<JsonWriter>(c), file_text(BRINDLE_TEST_DATA "/classifications.json"));
    EXPECT_EQ(written<YamlWriter>(c), file_text(BRINDLE_TEST_DATA "/classifications.out.yml"));
    EXPECT_EQ(written<JsonWriter>(read_ok<LicenseClassifications>("{}")),
              "{\n  \"categories\": [],\n  \"categorizations\": []\n}");
}

TEST(LicenseClassifications, YamlRoundTripOfRealFiles) {
    BRINDLE_NEEDS_CORPUS();
    for (const char* name : {"01.yml", "02.yml", "03.yml", "04.yml"}) {
        auto c = read_ok<LicenseClassifications>(corpus(name));
        auto again = read_ok<LicenseClassifications>(written<YamlWriter>(c));
        EXPECT_TRUE(again == c) << name;
        EXPECT_EQ(written<JsonWriter>(again), written<JsonWriter>(c)) << name;
    }
}

}  // namespace
