// Hostile input: nesting far past the budget, alias bombs, huge scalars and
// mappings, broken encodings, control characters, byte order marks, line ends
// and tabs.  Every read ends in its exact text, within a bound of time and of
// memory; big inputs are built when their case runs.
#include <sys/resource.h>

#include <chrono>
#include <functional>
#include <string>

#include "models/buffered.hpp"
#include "models/ort/license_classifications.hpp"
#include "models/yaml_value.hpp"
#include "test_util.hpp"

using namespace brindle::models;
using brindle::models::ort::LicenseClassifications;

namespace {

// Bounds against runaway work, far above what the cases need even under the
// sanitizers; they are not timing tests.
constexpr double max_seconds = 60.0;
constexpr long max_growth_mb = 1536;

enum class Reader { value, capture, classifications };

std::string read_with(Reader reader, std::string_view text, LicenseClassifications* out = nullptr) {
    try {
        switch (reader) {
            case Reader::value: read_yaml_document(text, [](Cursor& c) { return read_yaml_value(c); }); break;
            case Reader::capture: read_yaml_document(text, [](Cursor& c) { return capture(c); }); break;
            case Reader::classifications: {
                auto v = read_document<LicenseClassifications>(text);
                if (out) *out = std::move(v);
                break;
            }
        }
        return "";
    } catch (const ReadError& e) {
        return e.text();
    }
}

long peak_rss_mb() {
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    return ru.ru_maxrss / 1024;
}

// Reads `text` and checks the bounds; gives the error text ("" on success).
std::string bounded_read(std::string_view what, Reader reader, std::string_view text,
                         LicenseClassifications* out = nullptr) {
    long rss_before = peak_rss_mb();
    auto start = std::chrono::steady_clock::now();
    std::string error = read_with(reader, text, out);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, max_seconds) << what;
    // Peak growth: a peak reached earlier in the process hides part of it, never adds.
    EXPECT_LT(peak_rss_mb() - rss_before, max_growth_mb) << what;
    return error;
}

std::string repeat(std::string_view s, std::size_t n) {
    std::string out;
    out.reserve(s.size() * n);
    for (std::size_t i = 0; i < n; ++i) out += s;
    return out;
}

std::string block_mappings(std::size_t depth) {
    std::string s;
    for (std::size_t i = 0; i < depth; ++i) s += std::string(2 * i, ' ') + "k:\n";
    return s;
}

// Nine levels, each a sequence of nine aliases of the level below.
std::string billion_laughs() {
    std::string s = "a: &a [lol, lol, lol, lol, lol, lol, lol, lol, lol]\n";
    for (char level = 'b'; level <= 'i'; ++level) {
        s += std::string(1, level) + ": &" + level + " [";
        for (int k = 0; k < 9; ++k) s += std::string(k ? ", *" : "*") + static_cast<char>(level - 1);
        s += "]\n";
    }
    return s;
}

std::string keys(std::size_t count) {
    std::string s;
    for (std::size_t i = 0; i < count; ++i) s += "k" + std::to_string(i) + ": v\n";
    return s;
}

std::string tag_directives(std::size_t count) {
    std::string s;
    for (std::size_t i = 0; i < count; ++i) s += "%TAG !t" + std::to_string(i) + "! tag:example.com,2000:\n";
    return s;
}

struct Case {
    const char* name;
    std::function<std::string()> input;
    Reader reader;
    const char* error;
};

TEST(Hostile, Inputs) {
    using enum Reader;
    const Case cases[] = {
        // Nesting far past the budget of 128 levels.
        {"block mappings 2000 deep", [] { return block_mappings(2000); }, value,
         "recursion limit exceeded at line 129 column 257"},
        {"block mappings 2000 deep, captured", [] { return block_mappings(2000); }, capture,
         "recursion limit exceeded at line 129 column 257"},
        {"flow mappings 100000 deep", [] { return repeat("{a: ", 100000); }, value,
         "recursion limit exceeded at line 1 column 513"},
        {"block sequences 100000 deep on one line", [] { return repeat("- ", 100000) + "x\n"; }, value,
         "recursion limit exceeded at line 1 column 257"},
        {"1 MB of [", [] { return std::string(1 << 20, '['); }, value, "recursion limit exceeded at line 1 column 129"},
        {"1 MB of [, captured", [] { return std::string(1 << 20, '['); }, capture,
         "recursion limit exceeded at line 1 column 129"},
        {"1 MB of [ as a classification", [] { return std::string(1 << 20, '['); }, classifications,
         "invalid type: sequence, expected struct LicenseClassifications"},
        {"1 MB of [ in a categorization",
         [] { return "categorizations:\n- id: x\n  categories: " + std::string(1 << 20, '['); }, classifications,
         "categorizations[0].categories[0]: invalid type: sequence, expected a string at line 3 column 16"},
        {"1 MB of { as a classification", [] { return std::string(1 << 20, '{'); }, classifications,
         "invalid type: map, expected field identifier at line 1 column 2"},

        // Aliases.
        {"billion laughs", billion_laughs, value, "repetition limit exceeded"},
        {"billion laughs, captured", billion_laughs, capture, "repetition limit exceeded"},
        {"one categorization aliased 20000 times",
         [] {
             return "categories: [{name: c}]\ncategorizations:\n- &a {id: x, categories: [" + repeat("c, ", 100) +
                    "c]}\n" + repeat("- *a\n", 20000);
         },
         classifications, "repetition limit exceeded"},
        {"a node of 60000 scalars aliased 10000 times (millions of values otherwise)",
         [] { return "a: &a [" + repeat("x, ", 60000) + "x]\nb: [" + repeat("*a, ", 10000) + "*a]\n"; }, value,
         "repetition limit exceeded"},
        {"a sequence holding an alias to itself", [] { return std::string("&a [*a]"); }, value,
         "repetition limit exceeded"},
        {"a mapping holding an alias to itself, captured", [] { return std::string("&a {k: *a}"); }, capture,
         "repetition limit exceeded"},
        {"a classification holding an alias to itself", [] { return std::string("&a {categories: *a}"); },
         classifications, "categories: invalid type: map, expected a sequence"},
        {"categories holding an alias to their own list",
         [] { return std::string("categorizations: &a [{id: x, categories: *a}]"); }, classifications,
         "categorizations[0].categories[0]: invalid type: map, expected a string at line 1 column 22"},
        {"an unclosed sequence holding aliases to itself",
         [] { return "&a [" + repeat("x, ", 10000) + "*a, *a, *a, "; }, value, "recursion limit exceeded"},
        {"an alias to an anchor defined after it", [] { return std::string("a: *x\nb: &x 1\n"); }, value,
         "unknown anchor at line 1 column 4"},

        // Wide mappings: repeated keys are found in linear time.
        {"200000 keys", [] { return keys(200000); }, value, ""},
        {"200000 keys, the first repeated last", [] { return keys(200000) + "k0: w\n"; }, value,
         "duplicate entry with key \"k0\""},
        // A NaN key equals no key, so none of them is a repeat; they share no chain in the index.
        {"200000 NaN keys", [] { return repeat(".nan: v\n", 200000); }, value, ""},
        {"200000 NaN keys in sequences", [] { return repeat("? [.nan]\n: v\n", 200000); }, value, ""},
        {"100000 keys in a classification", [] { return "categories: []\n" + keys(100000); }, classifications,
         "unknown field `k0`, expected `categories` or `categorizations` at line 2 column 1"},

        // %TAG directives: libyaml's work grows with the square of their number.
        {"100000 %TAG directives", [] { return tag_directives(100000) + "--- x\n"; }, value,
         "too many %TAG directives"},
        {"101 %TAG directives", [] { return tag_directives(101) + "--- x\n"; }, value, "too many %TAG directives"},
        {"100 %TAG directives, the last one used", [] { return tag_directives(100) + "--- !t99!x a\n"; }, value, ""},
        {"100000 %TAG directives after the document", [] { return "x\n...\n" + tag_directives(100000) + "--- y\n"; },
         value, "deserializing from YAML containing more than one document is not supported"},

        // Bytes that are not UTF-8, inside quoted scalars and elsewhere.
        {"an invalid leading byte in double quotes", [] { return std::string("categories: [{name: \"a\xff\"}]\n"); },
         classifications, "invalid leading UTF-8 octet at position 22"},
        {"a cut sequence in single quotes", [] { return std::string("categories: [{name: 'a\xc3'}]\n"); },
         classifications, "invalid trailing UTF-8 octet at position 23"},
        {"an overlong NUL in double quotes", [] { return std::string("categories: [{name: \"\xc0\x80\"}]\n"); },
         classifications, "invalid length of a UTF-8 sequence at position 21"},
        {"an encoded surrogate in double quotes",
         [] { return std::string("categories: [{name: \"\xed\xa0\x80\"}]\n"); }, classifications,
         "invalid Unicode character at position 21"},
        {"a lone continuation byte in double quotes", [] { return std::string("categories: [{name: \"\x80\"}]\n"); },
         classifications, "invalid leading UTF-8 octet at position 21"},
        {"a sequence cut by the end of input", [] { return std::string("categories: [{name: \"a\xe2\x82"); },
         classifications, "incomplete UTF-8 octet sequence at position 22"},
        {"an invalid first byte", [] { return std::string("\xff"); }, value, "invalid leading UTF-8 octet"},
        {"a UTF-16 byte order mark", [] { return std::string("\xff\xfe" "c\0a\0", 6); }, value,
         "invalid leading UTF-8 octet"},
        {"an escaped surrogate in double quotes", [] { return std::string("categories: [{name: \"\\ud800\"}]\n"); },
         classifications,
         "found invalid Unicode character escape code at line 1 column 24, while parsing a quoted scalar at line 1 "
         "column 21"},

        // Control characters.
        {"a NUL byte in a plain scalar", [] { return std::string("categories: [{name: a\0b}]\n", 26); },
         classifications, "control characters are not allowed at position 21"},
        {"a NUL byte in double quotes", [] { return std::string("categories: [{name: \"a\0b\"}]\n", 28); },
         classifications, "control characters are not allowed at position 22"},
        {"a NUL byte alone", [] { return std::string(1, '\0'); }, value, "control characters are not allowed"},
        {"an escaped NUL in double quotes", [] { return std::string("categories: [{name: \"a\\0b\"}]\n"); },
         classifications, ""},
        {"a DEL byte in single quotes", [] { return std::string("categories: [{name: 'a\x7f'}]\n"); },
         classifications, "control characters are not allowed at position 22"},

        // Byte order marks: one at the start is no part of the text.
        {"a byte order mark first", [] { return std::string("\xef\xbb\xbf" "categories: [{name: a}]\n"); },
         classifications, ""},
        {"a byte order mark before a sequence", [] { return std::string("\xef\xbb\xbf[]"); }, classifications,
         "invalid type: sequence, expected struct LicenseClassifications"},
        // Only one is skipped: a second one moves the columns of its line, as a first one did before.
        {"two byte order marks", [] { return std::string("\xef\xbb\xbf\xef\xbb\xbf" "[]"); }, classifications,
         "invalid type: sequence, expected struct LicenseClassifications at line 1 column 2"},
        {"a byte order mark inside a key", [] { return std::string("\xef\xbb\xbf{\xef\xbb\xbf" "categories: []}\n"); },
         classifications,
         "unknown field `\xef\xbb\xbf" "categories`, expected `categories` or `categorizations` at line 1 column 2"},

        // Line ends: CR LF and CR alone count lines as LF does.
        {"CR LF line ends", [] { return std::string("categories:\r\n- name: a\r\n  kind: x\r\n"); }, classifications,
         "categories[0]: unknown field `kind`, expected `name` or `description` at line 3 column 3"},
        {"CR line ends", [] { return std::string("categories:\r- name: a\r  kind: x\r"); }, classifications,
         "categories[0]: unknown field `kind`, expected `name` or `description` at line 3 column 3"},

        // Tabs: not as indentation, fine inside a line.
        {"a tab indenting a sequence", [] { return std::string("categories:\n\t- name: a\n"); }, classifications,
         "found character that cannot start any token at line 2 column 1, while scanning for the next token"},
        {"a tab indenting a key", [] { return std::string("categories:\n- name: a\n\tdescription: b\n"); },
         classifications,
         "found a tab character that violates indentation at line 3 column 1, while scanning a plain scalar at "
         "line 2 column 9"},
        {"a tab after a block entry", [] { return std::string("categories:\n-\tname: a\n"); }, classifications,
         "found character that cannot start any token at line 2 column 2, while scanning for the next token"},
        {"tabs inside lines", [] { return std::string("categories: [\t{name:\ta}]\ncategorizations:\t[]\n"); },
         classifications, ""},
    };
    for (const auto& c : cases) {
        std::string text = c.input();
        EXPECT_EQ(bounded_read(c.name, c.reader, text), c.error) << c.name;
    }
}

TEST(Hostile, FiftyMegabyteScalars) {
    const std::size_t size = 50u << 20;
    std::string big(size, 'x');
    EXPECT_EQ(bounded_read("plain", Reader::value, big), "");
    EXPECT_EQ(bounded_read("plain", Reader::classifications, big),
              "invalid type: string \"" + big + "\", expected struct LicenseClassifications");

    LicenseClassifications c;
    std::string quoted = "categories:\n- name: a\n  description: \"" + big + "\"\n";
    ASSERT_EQ(bounded_read("double-quoted", Reader::classifications, quoted, &c), "");
    ASSERT_EQ(c.categories.size(), 1u);
    EXPECT_EQ(c.categories[0].description.size(), size);

    std::string literal =
        "categories:\n- name: a\n  description: |\n" + repeat("    " + std::string(63, 'y') + "\n", size / 64);
    ASSERT_EQ(bounded_read("literal", Reader::classifications, literal, &c), "");
    EXPECT_EQ(c.categories[0].description.size(), size);
}

TEST(Hostile, ReadTexts) {
    // What is read where the table above reads successfully.
    struct Read {
        const char* what;
        std::string input, name, description;
    };
    const Read reads[] = {
        {"escaped NUL", "categories: [{name: \"a\\0b\"}]\n", std::string("a\0b", 3), ""},
        {"byte order mark", "\xef\xbb\xbf" "categories: [{name: a}]\n", "a", ""},
        {"CR LF literal block", "categories:\r\n- name: a\r\n  description: |\r\n    b\r\n    c\r\n", "a", "b\nc\n"},
        {"tabs", "categories: [{name:\ta\t, description: \"\tb\"}]", "a", "\tb"},
    };
    for (const auto& r : reads) {
        LicenseClassifications c;
        ASSERT_EQ(bounded_read(r.what, Reader::classifications, r.input, &c), "") << r.what;
        ASSERT_EQ(c.categories.size(), 1u) << r.what;
        EXPECT_EQ(c.categories[0].name, r.name) << r.what;
        EXPECT_EQ(c.categories[0].description, r.description) << r.what;
    }
}

}  // namespace
