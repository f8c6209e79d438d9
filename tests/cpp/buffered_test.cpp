// Captured values, reading from them, and the base part of runs.
#include "models/buffered.hpp"
#include "models/json_writer.hpp"
#include "models/ort/base_run.hpp"
#include "models/write.hpp"
#include "test_util.hpp"

using namespace brindle::models;
using brindle::models::ort::BaseRun;
using brindle::test::read_error;
using brindle::test::read_ok;

namespace {

// A run with its own two fields and the base part.
struct TestRun {
    BaseRun base;
    std::string config;
    std::optional<std::string> note;
};

// A pair read from a captured value, as a field of a directly read struct.
struct Pair {
    std::string first;
    std::optional<std::uint32_t> second;
};
struct Captured {
    Buffered value;
};
struct Holder {
    std::string name;
    Captured pair;
};

}  // namespace

template <>
struct brindle::models::Model<TestRun> {
    static constexpr std::string_view name = "TestRun";
    static constexpr auto unknown_keys = UnknownKeys::base;
    static constexpr auto base = &TestRun::base;
    static constexpr auto fields = std::tuple{required("config", &TestRun::config), optional("note", &TestRun::note)};
};
template <>
struct brindle::models::Model<Pair> {
    static constexpr std::string_view name = "Pair";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{required("first", &Pair::first), optional("second", &Pair::second)};
};

namespace {

// Reads the captured value as a Pair right away, like a provenance field does.
void read(Cursor& c, Captured& out) {
    out.value = capture(c);
    Pair p;
    read_buffered(out.value, p);
}

}  // namespace

template <>
struct brindle::models::Model<Holder> {
    static constexpr std::string_view name = "Holder";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{defaulted("name", &Holder::name), required("pair", &Holder::pair)};
};

namespace {

struct Case {
    const char* input;
    const char* error;
};

const char* env = "environment: {ort_version: '1', build_jdk: '17', java_version: '17', os: Linux, processors: 8, max_memory: 1024}\n";

std::string run(const std::string& body) { return "\nr:\n" + body; }

TEST(Buffered, BaseRunInAnyOrder) {
    std::string text = std::string("config: c\n") + env + "end_time: e\nextra: [1, {a: b}]\nstart_time: s\n";
    auto r = read_ok<TestRun>(text);
    EXPECT_EQ(r.base.start_time, "s");
    EXPECT_EQ(r.base.end_time, "e");
    EXPECT_EQ(r.base.environment.processors, 8u);
    EXPECT_EQ(r.base.environment.max_memory, 1024u);
    EXPECT_EQ(r.config, "c");
    // Written with the base fields first, whatever the input order.
    JsonWriter w;
    write(w, r);
    std::string json = w.take();
    EXPECT_LT(json.find("\"start_time\""), json.find("\"end_time\""));
    EXPECT_LT(json.find("\"environment\""), json.find("\"config\""));
    EXPECT_EQ(json.find("extra"), std::string::npos);
}

TEST(Buffered, BaseRunErrors) {
    using Runs = OrderedMap<std::string, TestRun>;
    std::string base = std::string("  start_time: s\n  end_time: e\n  ") + env;
    const Case cases[] = {
        // Own fields first, then the base part in declaration order, at the run.
        {"  end_time: e\n", "r: missing field `config` at line 3 column 3"},
        {"  config: c\n  end_time: e\n", "r: missing field `start_time` at line 3 column 3"},
        {"  config: c\n  start_time: s\n", "r: missing field `end_time` at line 3 column 3"},
        {"  config: c\n  start_time: s\n  start_time: s\n", "r: duplicate field `start_time` at line 3 column 3"},
        {"  config: c\n  start_time: 2024\n", "r: invalid type: integer `2024`, expected a string at line 3 column 3"},
        {"  config: c\n  start_time: '2024'\n  end_time: 2024-01-01T10:00:00Z\n", "r: missing field `environment` at line 3 column 3"},
        {"  config: c\n  start_time: s\n  end_time: e\n  environment:\n",
         "r: invalid type: unit value, expected struct Environment at line 3 column 3"},
        {"  config: c\n  start_time: s\n  end_time: e\n  environment: {}\n",
         "r: missing field `ort_version` at line 3 column 3"},
        {"  config: c\n  start_time: s\n  end_time: e\n  environment: [a, b, c, d, 1]\n",
         "r: invalid length 5, expected struct Environment with 7 elements at line 3 column 3"},
        {"  config: c\n  start_time: s\n  end_time: e\n  environment: [a, b, c, d, 1, 2, {}, x]\n",
         "r: invalid length 8, expected 7 elements in sequence at line 3 column 3"},
        {"  config: c\n  start_time: s\n  end_time: e\n  environment: [1, b, c, d, 1, 2, {}, x]\n",
         "r: invalid type: integer `1`, expected a string at line 3 column 3"},
        {"  config: c\n  start_time: s\n  end_time: e\n  environment: [a, b, c, d, -0, -0x0, {}]\n", ""},
        {"  config: c\n  start_time: s\n  end_time: e\n  environment: {-0: a, 1: b, 2: c, 3: d, 4: 1, 5: 2}\n", ""},
        {"  config: c\n  start_time: s\n  end_time: e\n  environment: [a, b, 17, d, 1, 2]\n",
         "r: invalid type: integer `17`, expected a string at line 3 column 3"},
        {"  config: c\n  start_time: s\n  end_time: e\n  environment: [a, b, c, d, '8', 2]\n",
         "r: invalid type: string \"8\", expected u32 at line 3 column 3"},
        {"  config: c\n  start_time: s\n  end_time: e\n  environment: [a, b, c, d, 4294967296, 2]\n",
         "r: invalid value: integer `4294967296`, expected u32 at line 3 column 3"},
        {"  config: c\n  start_time: s\n  end_time: e\n  environment: [a, b, c, d, -1, 2]\n",
         "r: invalid value: integer `-1`, expected u32 at line 3 column 3"},
        {"  config: c\n  start_time: s\n  end_time: e\n  environment: {-1: x}\n",
         "r: invalid type: integer `-1`, expected field identifier at line 3 column 3"},
        {"  config: c\n  start_time: s\n  end_time: e\n  environment: {true: x}\n",
         "r: invalid type: boolean `true`, expected field identifier at line 3 column 3"},
        {"  config: c\n  start_time: s\n  end_time: e\n  environment: [a, b, c, d, 1, 2, {k: 5}]\n",
         "r: invalid type: integer `5`, expected a string at line 3 column 3"},
        {"  config: c\n  start_time: s\n  end_time: e\n  environment: [a, b, c, d, 1, 2, x]\n",
         "r: invalid type: string \"x\", expected a map at line 3 column 3"},
        // Capture errors keep the position of the captured node, even under an ignored key.
        {"  config: c\n  other: !thing x\n", "r.other: untagged and internally tagged enums do not support enum input at line 4 column 10"},
        {"  config: c\n  other: [!!int x]\n", "r.other[0]: invalid value: string \"x\", expected an integer at line 4 column 11"},
        {"  config: c\n  other: 1234567890123456789012345\n",
         "r.other: invalid type: integer `1234567890123456789012345` as u128, expected any value at line 4 column 10"},
        // Own keys are read directly, with their own place.
        {"  config: [c]\n", "r.config: invalid type: sequence, expected a string at line 3 column 11"},
    };
    for (const auto& c : cases) EXPECT_EQ(read_error<Runs>(run(c.input)), c.error) << c.input;
    EXPECT_EQ(read_error<Runs>(run(base + "  config: c\n  other: [1, 2]\n")), "");
    // Outside JSON content a decimal too long for 128 bits is a float, as before.
    EXPECT_EQ(read_error<Runs>(run(base + "  config: c\n  other: 123456789012345678901234567890123456789012\n")), "");
    // An empty run reports its own missing field first.
    EXPECT_EQ(read_error<Runs>("r:\n"), "r: missing field `config` at line 1 column 3");

    // Environment details: integer keys name fields by position, larger ones
    // and unknown texts are ignored; six values leave the variables empty.
    auto r = read_ok<Runs>(run("  config: c\n  start_time: s\n  end_time: e\n  environment: {0: v, 1: j, 2: k, 3: o, 4: 0x10, 5: 2, 7: x, z: y, variables: {a: '1', a: '2'}}\n"));
    const auto& e = r.find("r")->base.environment;
    EXPECT_EQ(e.ort_version, "v");
    EXPECT_EQ(e.processors, 16u);
    ASSERT_EQ(e.variables.size(), 1u);
    EXPECT_EQ(e.variables.begin()->second, "2");
    auto six = read_ok<Runs>(run("  config: c\n  start_time: s\n  end_time: e\n  environment: [a, b, '17', d, 1, 18446744073709551615]\n"));
    EXPECT_TRUE(six.find("r")->base.environment.variables.empty());
    EXPECT_EQ(six.find("r")->base.environment.max_memory, UINT64_MAX);
}

TEST(Buffered, StructsFromCapturedValues) {
    const Case cases[] = {
        {"pair: {first: a, second: 3}", ""},
        {"pair: [a, 3]", ""},
        {"pair: [a]", ""},
        {"pair: {1: 3, 0: a, zz: [ignored]}", ""},
        {"pair: [a, ~]", ""},
        {"pair: []", "invalid length 0, expected struct Pair with 2 elements"},
        {"pair: [a, 1, 2]", "invalid length 3, expected 2 elements in sequence"},
        {"pair: {first: a, first: b}", "duplicate field `first`"},
        {"pair: {first: a, 1: x, first: b}", "invalid type: string \"x\", expected u32"},
        {"pair: {first: 17}", "invalid type: integer `17`, expected a string"},
        {"pair: {first: true}", "invalid type: boolean `true`, expected a string"},
        {"pair: {first: ~}", "invalid type: unit value, expected a string"},
        {"pair: {first: }", "invalid type: unit value, expected a string"},
        {"pair: {first: '17'}", ""},
        {"pair: {first: !!str 17}", ""},
        {"pair: {first: !!int '17'}", "invalid type: integer `17`, expected a string"},
        {"pair: {second: 3}", "missing field `first`"},
        {"pair: x", "invalid type: string \"x\", expected struct Pair"},
        {"pair: ", "invalid type: unit value, expected struct Pair"},
        {"name: n\npair: {first: [!x a]}", "pair.first[0]: untagged and internally tagged enums do not support enum input at line 2 column 16"},
        {"pair: {first: !!null ''}", "pair.first: invalid value: string \"\", expected null at line 1 column 15"},
    };
    for (const auto& c : cases) EXPECT_EQ(read_error<Holder>(c.input), c.error) << c.input;
    // Aliases are expanded into the captured value.
    EXPECT_EQ(read_error<Holder>("name: &n x\npair: [*n, 1]"), "");
}

}  // namespace

namespace {

TEST(Buffered, AliasBudgetAppliesToCaptures) {
    // Each level holds nine aliases of the one before: captured in full it
    // would be 9^8 nodes.
    std::string bomb = "a: &a [x, x, x, x, x, x, x, x, x]\n";
    const char* names = "abcdefgh";
    for (int i = 1; i < 8; ++i) {
        bomb += std::string(1, names[i]) + ": &" + names[i] + " [";
        for (int k = 0; k < 9; ++k) bomb += std::string(k ? ", *" : "*") + names[i - 1];
        bomb += "]\n";
    }
    bomb += "config: c\n";
    EXPECT_EQ(read_error<TestRun>(bomb), "repetition limit exceeded");
}

}  // namespace
