// Scalar and collection readers: values and the exact error texts.
#include <cmath>
#include <cstdint>
#include <limits>

#include "models/yaml_value.hpp"
#include "test_util.hpp"

using namespace brindle::models;
using brindle::test::read_error;
using brindle::test::read_ok;

namespace {

struct Case {
    const char* input;
    const char* error;  // "" for success
};

TEST(Scalars, I32) {
    const Case cases[] = {
        {"2147483647", ""},
        {"-2147483648", ""},
        {"+0x10", ""},
        {"-0b101", ""},
        {"0o17", ""},
        {"0", ""},
        {"-0", ""},
        {"2147483648", "invalid value: integer `2147483648`, expected i32"},
        {"-2147483649", "invalid value: integer `-2147483649`, expected i32"},
        {"0X10", "invalid type: string \"0X10\", expected i32"},
        {"1_000", "invalid type: string \"1_000\", expected i32"},
        {"010", "invalid type: string \"010\", expected i32"},
        {"+-5", "invalid type: string \"+-5\", expected i32"},
        {"0x", "invalid type: string \"0x\", expected i32"},
        {"1.5", "invalid type: floating point `1.5`, expected i32"},
        {"true", "invalid type: boolean `true`, expected i32"},
        {"~", "invalid type: unit value, expected i32"},
        {"'5'", "invalid type: string \"5\", expected i32"},
        {"[1]", "invalid type: sequence, expected i32"},
        {"{a: 1}", "invalid type: map, expected i32"},
        {"!!int abc", "invalid value: string \"abc\", expected an integer"},
        {"!!int |\n  5", ""},
        {"!!str 7", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(read_error<std::int32_t>(c.input), c.error) << c.input;
    EXPECT_EQ(read_ok<std::int32_t>("+0x10"), 16);
    EXPECT_EQ(read_ok<std::int32_t>("-0b101"), -5);
    EXPECT_EQ(read_ok<std::int32_t>("0o17"), 15);
}

TEST(Scalars, I64) {
    const Case cases[] = {
        {"9223372036854775807", ""},
        {"-9223372036854775808", ""},
        {"9223372036854775808", "invalid type: integer `9223372036854775808`, expected i64"},
        {"18446744073709551616", "invalid type: integer `18446744073709551616` as u128, expected i64"},
        {"-9223372036854775809", "invalid type: integer `-9223372036854775809` as i128, expected i64"},
        {"1000000000000000000000000000000000000000000",
         "invalid type: floating point `1000000000000000000000000000000000000000000.0`, expected i64"},
        {"-0x10", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(read_error<std::int64_t>(c.input), c.error) << c.input;
    EXPECT_EQ(read_ok<std::int64_t>("-9223372036854775808"), INT64_MIN);
    EXPECT_EQ(read_ok<std::int64_t>("-0x10"), -16);
}

TEST(Scalars, F64) {
    const Case cases[] = {
        {".5", ""},
        {"5.", ""},
        {"007", ""},
        {"-2.5E-3", ""},
        {"1e-400", ""},  // underflow is not overflow
        {".NaN", ""},
        {"+.inf", ""},
        {"-.Inf", ""},
        {"1e999", "invalid type: string \"1e999\", expected f64"},
        {"0x10", "invalid type: integer `16`, expected f64"},
        {"inf", "invalid type: string \"inf\", expected f64"},
        {"+.nan", "invalid type: string \"+.nan\", expected f64"},
        {".", "invalid type: string \".\", expected f64"},
        {"1e", "invalid type: string \"1e\", expected f64"},
        {"yes", "invalid type: string \"yes\", expected f64"},
        {"\"1.5\"", "invalid type: string \"1.5\", expected f64"},
    };
    for (const auto& c : cases) EXPECT_EQ(read_error<double>(c.input), c.error) << c.input;
    EXPECT_EQ(read_ok<double>(".5"), 0.5);
    EXPECT_EQ(read_ok<double>("007"), 7.0);
    EXPECT_EQ(read_ok<double>("1e-400"), 0.0);
    EXPECT_EQ(read_ok<double>("5e-324"), 5e-324);
    EXPECT_TRUE(std::isnan(read_ok<double>(".NaN")));
    EXPECT_EQ(read_ok<double>("+.inf"), std::numeric_limits<double>::infinity());
}

TEST(Scalars, Bool) {
    const Case cases[] = {
        {"true", ""}, {"True", ""}, {"TRUE", ""}, {"false", ""}, {"False", ""}, {"FALSE", ""},
        {"yes", "invalid type: string \"yes\", expected a boolean"},
        {"tRUE", "invalid type: string \"tRUE\", expected a boolean"},
        {"'true'", "invalid type: string \"true\", expected a boolean"},
        {"1", "invalid type: integer `1`, expected a boolean"},
        {"!!bool yes", "invalid value: string \"yes\", expected a boolean"},
    };
    for (const auto& c : cases) EXPECT_EQ(read_error<bool>(c.input), c.error) << c.input;
    EXPECT_TRUE(read_ok<bool>("TRUE"));
    EXPECT_FALSE(read_ok<bool>("False"));
}

TEST(Scalars, Text) {
    EXPECT_EQ(read_ok<std::string>("~"), "~");
    EXPECT_EQ(read_ok<std::string>("5"), "5");
    EXPECT_EQ(read_ok<std::vector<std::string>>("- \n- ''\n"), (std::vector<std::string>{"", ""}));
    EXPECT_EQ((read_error<OrderedMap<std::string, bool>>("a:\n")),
              "a: invalid type: unit value, expected a boolean at line 1 column 3");
    EXPECT_EQ(read_ok<std::string>("'null'"), "null");
    EXPECT_EQ(read_ok<std::string>("!!int 12"), "12");
    EXPECT_EQ(read_ok<std::string>("|\n  a\n  b\n"), "a\nb\n");
    EXPECT_EQ(read_error<std::string>("[a]"), "invalid type: sequence, expected a string");
    EXPECT_EQ(read_error<std::string>("{a: b}"), "invalid type: map, expected a string");
}

TEST(Scalars, Descriptions) {
    // The quoted text of a found string escapes what is not printable.
    EXPECT_EQ(read_error<bool>("\"a\\\"b\\\\c\\td\\re\\nf\\0g\\x01h\\u200bi\""),
              "invalid type: string \"a\\\"b\\\\c\\td\\re\\nf\\0g\\u{1}h\\u{200b}i\", expected a boolean");
    EXPECT_EQ(read_error<bool>("\"é😀\""), "invalid type: string \"é😀\", expected a boolean");
    EXPECT_EQ(read_error<bool>("1e20"), "invalid type: floating point `100000000000000000000.0`, expected a boolean");
    EXPECT_EQ(read_error<bool>("1.5e-7"), "invalid type: floating point `0.00000015`, expected a boolean");
    EXPECT_EQ(read_error<bool>("-0.0"), "invalid type: floating point `-0.0`, expected a boolean");
    EXPECT_EQ(read_error<bool>(".inf"), "invalid type: floating point `inf`, expected a boolean");
    EXPECT_EQ(read_error<bool>("-.inf"), "invalid type: floating point `-inf`, expected a boolean");
    EXPECT_EQ(read_error<bool>(".nan"), "invalid type: floating point `NaN`, expected a boolean");
    EXPECT_EQ(read_error<bool>("!!float 1"), "invalid type: floating point `1.0`, expected a boolean");
    EXPECT_EQ(read_error<bool>("!!null x"), "invalid value: string \"x\", expected null");
    EXPECT_EQ(read_error<bool>("!foo 5"), "invalid type: integer `5`, expected a boolean");
}

TEST(Collections, ListsSetsMaps) {
    EXPECT_EQ(read_ok<std::vector<std::string>>("[a, b, a]"), (std::vector<std::string>{"a", "b", "a"}));
    EXPECT_TRUE(read_ok<std::vector<std::string>>("").empty());
    EXPECT_EQ(read_error<std::vector<std::string>>("~"), "invalid type: unit value, expected a sequence");
    EXPECT_EQ(read_error<std::vector<std::string>>("a"), "invalid type: string \"a\", expected a sequence");
    EXPECT_EQ(read_error<std::vector<std::string>>("{a: 1}"), "invalid type: map, expected a sequence");
    EXPECT_EQ(read_error<std::vector<std::int32_t>>("- 1\n- x\n"),
              ".[1]: invalid type: string \"x\", expected i32 at line 2 column 3");

    // Past the size at which sets start their hash index, with repeats just
    // before and after it.
    auto big = read_ok<OrderedSet<std::string>>("[a, b, c, d, e, f, g, h, a, h, i, a, i, j, b, k]");
    EXPECT_EQ(std::vector<std::string>(big.begin(), big.end()),
              (std::vector<std::string>{"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k"}));
    EXPECT_TRUE(big.contains("k") && big.contains("a") && !big.contains("z"));
    auto set = read_ok<OrderedSet<std::string>>("[b, a, b, c, a]");
    EXPECT_EQ(std::vector<std::string>(set.begin(), set.end()), (std::vector<std::string>{"b", "a", "c"}));

    using Map = OrderedMap<std::string, std::int32_t>;
    auto map = read_ok<Map>("b: 1\na: 2\nb: 3\n");
    ASSERT_EQ(map.size(), 2u);
    EXPECT_EQ(map.begin()->first, "b");
    EXPECT_EQ(map.begin()->second, 3);
    EXPECT_EQ(read_error<Map>("~"), "invalid type: unit value, expected a map");
    EXPECT_EQ(read_error<Map>("[1]"), "invalid type: sequence, expected a map");
    EXPECT_EQ(read_error<Map>("a: 1\nb: x\n"), "b: invalid type: string \"x\", expected i32 at line 2 column 4");
    EXPECT_EQ(read_error<Map>("a: 1\n[k]: 2\n"), "invalid type: sequence, expected a string at line 2 column 1");
    using Nested = OrderedMap<std::string, Map>;
    EXPECT_EQ(read_error<Nested>("outer:\n  sub/dir: x\n"),
              "outer.sub/dir: invalid type: string \"x\", expected i32 at line 2 column 12");
}

TEST(Collections, Optional) {
    for (const char* absent : {"", "~", "null", "Null", "NULL", "!!null null", "!!null ~"})
        EXPECT_FALSE(read_ok<std::optional<std::int32_t>>(absent).has_value()) << absent;
    EXPECT_EQ(read_ok<std::optional<std::string>>("'null'"), std::optional<std::string>("null"));
    EXPECT_EQ(read_ok<std::optional<std::string>>("nULL"), std::optional<std::string>("nULL"));
    EXPECT_EQ(read_ok<std::optional<std::string>>("!foo null"), std::optional<std::string>("null"));
    EXPECT_EQ(read_error<std::optional<std::int32_t>>("!!null x"), "invalid value: string \"x\", expected null");
    EXPECT_EQ(read_error<std::optional<std::int32_t>>("!!null ''"), "invalid value: string \"\", expected null");
    EXPECT_EQ(read_ok<std::optional<std::int32_t>>("5"), std::optional<std::int32_t>(5));
    auto via_alias = read_ok<std::vector<std::optional<std::int32_t>>>("[&a ~, *a, &b 3, *b]");
    EXPECT_EQ(via_alias, (std::vector<std::optional<std::int32_t>>{std::nullopt, std::nullopt, 3, 3}));
}

enum class Colour { RED = 1, GREEN, BLUE };

}  // namespace

template <>
struct brindle::models::EnumInfo<Colour> {
    static constexpr std::string_view name = "Colour";
    static constexpr std::array<std::string_view, 3> variants{"RED", "GREEN", "BLUE"};
};

namespace {

TEST(Enums, NamesNumbersAndErrors) {
    EXPECT_EQ(read_ok<Colour>("GREEN"), Colour::GREEN);
    EXPECT_EQ(read_ok<Colour>("3"), Colour::BLUE);
    EXPECT_EQ(read_ok<Colour>("0x2"), Colour::GREEN);
    EXPECT_EQ(read_ok<Colour>("'RED'"), Colour::RED);
    const Case cases[] = {
        {"green", "invalid Colour value: green"},
        {"0", "invalid Colour value: 0"},
        {"4", "invalid Colour value: 4"},
        {"-1", "invalid Colour value: -1"},
        {"1.0", "invalid Colour value: 1.0"},
        {"1e16", "invalid Colour value: 1e16"},
        {".nan", "invalid Colour value: .nan"},
        {"~", "invalid Colour value: Null"},
        {"true", "invalid Colour value: Bool(true)"},
        {"[RED, 2, 'x', ~]", "invalid Colour value: Sequence [String(\"RED\"), Number(2), String(\"x\"), Null]"},
        {"{a: 1, 2: b, true: ~}", "invalid Colour value: Mapping {\"a\": Number(1), \"2\": String(\"b\"), true: Null}"},
        {"!x RED", "invalid Colour value: TaggedValue { tag: !x, value: String(\"RED\") }"},
        {"{a: 1, a: 2}", "duplicate entry with key \"a\""},
        {"{~: 1, null: 2}", "duplicate entry with null key"},
        {"{1: 1, 0x1: 2}", "duplicate entry with key 1"},
        {"{0: 1, -0: 2}", "duplicate entry with key 0"},
        {"{0.0: 1, -0.0: 2}", "duplicate entry with key -0.0"},
        {"{.nan: 1, .nan: 2}", "invalid Colour value: Mapping {\".nan\": Number(1), \".nan\": Number(2)}"},
        {"[340282366920938463463374607431768211455]",
         ".[0]: invalid type: integer `340282366920938463463374607431768211455` as u128, expected any YAML value at line 1 column 2"},
    };
    for (const auto& c : cases) EXPECT_EQ(read_error<Colour>(c.input), c.error) << c.input;
    // The enum error takes the place of the enclosing collection.
    EXPECT_EQ(read_error<std::vector<Colour>>("\n- RED\n- pink\n"), "invalid Colour value: pink at line 2 column 1");
}

}  // namespace
