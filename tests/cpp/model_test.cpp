// Struct reading from field tables: unknown, duplicate and missing fields,
// empty values, optional values, keys that are not text.
#include "models/model.hpp"
#include "test_util.hpp"

using namespace brindle::models;
using brindle::test::read_error;
using brindle::test::read_ok;

namespace {

struct One {
    std::string a;
};
struct Two {
    std::string a;
    std::optional<std::int32_t> b;
};
struct Three {
    std::int32_t first = 0;
    std::optional<std::string> second;
    std::vector<std::string> third;
    Two inner;
};
struct Empty {};
struct Skipping {
    std::int32_t x = 0;
};

}  // namespace

template <>
struct brindle::models::Model<One> {
    static constexpr std::string_view name = "One";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{required("a", &One::a)};
};
template <>
struct brindle::models::Model<Two> {
    static constexpr std::string_view name = "Two";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{required("a", &Two::a), optional("b", &Two::b)};
};
template <>
struct brindle::models::Model<Three> {
    static constexpr std::string_view name = "Three";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        required("first", &Three::first),
        optional("second", &Three::second),
        defaulted("third", &Three::third),
        required("inner", &Three::inner),
    };
};
template <>
struct brindle::models::Model<Empty> {
    static constexpr std::string_view name = "Empty";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{};
};
template <>
struct brindle::models::Model<Skipping> {
    static constexpr std::string_view name = "Skipping";
    static constexpr auto unknown_keys = UnknownKeys::skip;
    static constexpr auto fields = std::tuple{defaulted("x", &Skipping::x)};
};

namespace {

struct Case {
    const char* input;
    const char* error;
};

TEST(Structs, UnknownFields) {
    EXPECT_EQ(read_error<One>("a: x\nz: 1\n"), "unknown field `z`, expected `a` at line 2 column 1");
    EXPECT_EQ(read_error<Two>("a: x\nz: 1\n"), "unknown field `z`, expected `a` or `b` at line 2 column 1");
    EXPECT_EQ(read_error<Three>("inner:\n  a: x\n  c: 1\n"),
              "inner: unknown field `c`, expected `a` or `b` at line 3 column 3");
    EXPECT_EQ(read_error<Three>("first: 1\nFirst: 2\n"),
              "unknown field `First`, expected one of `first`, `second`, `third`, `inner` at line 2 column 1");
    EXPECT_EQ(read_error<Empty>("z: 1\n"), "unknown field `z`, there are no fields");
    EXPECT_EQ(read_error<Empty>("{}"), "");
    // Keys are matched by their text whatever their style or tag.
    EXPECT_EQ(read_ok<One>("'a': x\n").a, "x");
    EXPECT_EQ(read_ok<One>("!!str a: x\n").a, "x");
    EXPECT_EQ(read_error<One>("1: x\n"), "unknown field `1`, expected `a`");
    // A sequence or mapping as a key.
    EXPECT_EQ(read_error<One>("? [a]\n: x\n"), "invalid type: sequence, expected field identifier at line 1 column 3");
    EXPECT_EQ(read_error<One>("{a: x, {b: c}: d}"), "invalid type: map, expected field identifier at line 1 column 8");
    // A key given as an alias names the field of its anchored text.
    EXPECT_EQ(read_ok<Three>("inner: {&k a: x}\nfirst: 1\nsecond: *k\n").second, std::optional<std::string>("a"));
}

TEST(Structs, SkippedKeys) {
    // Skipped values are not read: no alias is followed, no depth counted,
    // and a repeated unknown key is no error.
    std::string deep(300, '[');
    deep += std::string(300, ']');
    EXPECT_EQ(read_error<Skipping>("z: " + deep + "\nz: *nothing_followed\nx: 3\n"), "unknown anchor at line 2 column 4");
    EXPECT_EQ(read_ok<Skipping>("q: &q 1\nz: " + deep + "\nz: [*q, {a: *q}]\n").x, 0);
    EXPECT_EQ(read_ok<Skipping>("Z: {a: [1, 2]}\nx: 3\nZ: x\n").x, 3);
}

TEST(Structs, DuplicateAndMissingFields) {
    const Case cases[] = {
        {"a: x\nb: 1\nb: 2\n", "duplicate field `b`"},
        {"a: x\nb: ~\nb: 2\n", "duplicate field `b`"},
        {"a: x\nb:\nb: 2\n", "duplicate field `b`"},
        {"b: 1\n", "missing field `a`"},
        {"\nb: 1\nb: x\n", "duplicate field `b` at line 2 column 1"},
        // Every entry is read before a missing field is reported.
        {"b: x\n", "b: invalid type: string \"x\", expected i32 at line 1 column 4"},
    };
    for (const auto& c : cases) EXPECT_EQ(read_error<Two>(c.input), c.error) << c.input;
    // The first absent required field in declaration order, at the struct.
    EXPECT_EQ(read_error<Three>("third: []\n"), "missing field `first`");
    EXPECT_EQ(read_error<Three>("first: 1\n"), "missing field `inner`");
    EXPECT_EQ(read_error<Three>("first: 1\ninner:\n  b: 2\n"), "inner: missing field `a` at line 3 column 3");
    EXPECT_EQ(read_error<Three>("first: 1\ninner: {}\n"), "inner: missing field `a` at line 2 column 8");
    // An empty value reads as a mapping without entries.
    EXPECT_EQ(read_error<Three>("first: 1\ninner:\n"), "inner: missing field `a` at line 2 column 7");
    EXPECT_EQ(read_error<Three>("first: 1\ninner: !foo\n"), "inner: missing field `a` at line 2 column 8");
}

TEST(Structs, WrongKinds) {
    const Case cases[] = {
        {"[a]", "invalid type: sequence, expected struct Two"},
        {"x", "invalid type: string \"x\", expected struct Two"},
        {"~", "invalid type: unit value, expected struct Two"},
        {"''", "invalid type: string \"\", expected struct Two"},
        {"\n  5", "invalid type: integer `5`, expected struct Two at line 2 column 3"},
    };
    for (const auto& c : cases) EXPECT_EQ(read_error<Two>(c.input), c.error) << c.input;
    EXPECT_EQ(read_error<Three>("first: 1\ninner: [a]\n"), "inner: invalid type: sequence, expected struct Two at line 2 column 8");
    EXPECT_EQ(read_error<std::vector<Two>>("- a: x\n- ~\n"), ".[1]: invalid type: unit value, expected struct Two at line 2 column 3");
}

TEST(Structs, OptionalValues) {
    for (const char* absent : {"b:", "b: ~", "b: null", "b: Null", "b: NULL", "b: !!null ~"})
        EXPECT_FALSE(read_ok<Two>(std::string("a: x\n") + absent).b.has_value()) << absent;
    EXPECT_EQ(read_error<Two>("a: x\nb: 'null'\n"), "b: invalid type: string \"null\", expected i32 at line 2 column 4");
    EXPECT_EQ(read_error<Two>("a: x\nb: nULL\n"), "b: invalid type: string \"nULL\", expected i32 at line 2 column 4");
    EXPECT_EQ(read_error<Two>("a: x\nb: !!null x\n"), "invalid value: string \"x\", expected null");
    EXPECT_EQ(read_ok<Three>("first: 1\nsecond: 'null'\ninner: {a: x}\n").second, std::optional<std::string>("null"));
    // Absent, empty and present values of the other kinds.
    auto t = read_ok<Three>("first: 0x1F\nthird:\ninner: {a: ~}\n");
    EXPECT_EQ(t.first, 31);
    EXPECT_TRUE(t.third.empty());
    EXPECT_EQ(t.inner.a, "~");
    EXPECT_EQ(read_error<Three>("first: 1\nthird: ~\ninner: {a: x}\n"),
              "third: invalid type: unit value, expected a sequence at line 2 column 8");
}

using TwoMap = OrderedMap<std::string, Two>;

TEST(Structs, Aliases) {
    auto t = read_ok<std::vector<Two>>("- &t {a: x, b: 1}\n- *t\n");
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[1].a, "x");
    EXPECT_EQ(t[1].b, std::optional<std::int32_t>(1));
    // An error inside an anchored struct used through an alias: the path of
    // the place of use, the position of the anchored node.
    EXPECT_EQ(read_error<TwoMap>("p: &t {a: x, b: y}\nq: *t\n"),
              "p.b: invalid type: string \"y\", expected i32 at line 1 column 17");
    EXPECT_EQ(read_error<TwoMap>("p: &t {a: x}\nq: *t\nr: &u {b: 1}\ns: *u\n"),
              "r: missing field `a` at line 3 column 4");
}

}  // namespace
