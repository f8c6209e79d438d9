// JSON and YAML text writers: exact texts, and YAML that reads back.
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "models/json_value.hpp"
#include "models/json_writer.hpp"
#include "models/yaml_value.hpp"
#include "models/yaml_writer.hpp"
#include "test_util.hpp"

using namespace brindle::models;

namespace {

using Members = std::initializer_list<std::pair<std::string, JsonValue>>;

JsonValue obj(Members members) {
    JsonValue v = JsonValue::object();
    for (const auto& [k, m] : members) v.set(k, m);
    return v;
}

JsonValue arr(std::initializer_list<JsonValue> items) { return JsonValue::array(JsonValue::Array(items)); }
JsonValue txt(std::string s) { return JsonValue::text(std::move(s)); }

constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double nan = std::numeric_limits<double>::quiet_NaN();

TEST(JsonValue, NumbersAndObjects) {
    EXPECT_EQ(JsonValue::number(std::int64_t{5}), JsonValue::number(std::uint64_t{5}));
    EXPECT_TRUE(std::holds_alternative<std::int64_t>(JsonValue::number(std::int64_t{-5}).value));
    EXPECT_EQ(JsonValue::number(nan), JsonValue::null());
    EXPECT_EQ(JsonValue::number(-inf), JsonValue::null());
    EXPECT_TRUE(std::holds_alternative<double>(JsonValue::number(-0.0).value));

    // Keys in byte-wise order (upper case before lower, UTF-8 last); a
    // repeated key replaces the value.
    JsonValue o = obj({{"b", txt("1")}, {"\xc3\xa9", txt("2")}, {"a", txt("3")}, {"B", txt("4")}, {"b", txt("5")}});
    const auto& m = std::get<JsonValue::Object>(o.value);
    ASSERT_EQ(m.size(), 4u);
    EXPECT_EQ(m[0].first, "B");
    EXPECT_EQ(m[1].first, "a");
    EXPECT_EQ(m[2].first, "b");
    EXPECT_EQ(m[2].second, txt("5"));
    EXPECT_EQ(m[3].first, "\xc3\xa9");
}

TEST(JsonWriter, Layout) {
    const struct {
        JsonValue value;
        const char* json;
    } cases[] = {
        {JsonValue::null(), "null"},
        {txt("x"), "\"x\""},
        {JsonValue::object(), "{}"},
        {JsonValue::array(), "[]"},
        {obj({{"url", txt("u")}, {"hash", obj({{"value", txt("abc")}, {"algorithm", txt("SHA1")}})}}),
         "{\n  \"hash\": {\n    \"algorithm\": \"SHA1\",\n    \"value\": \"abc\"\n  },\n  \"url\": \"u\"\n}"},
        {obj({{"a", JsonValue::array()}, {"b", JsonValue::object()}, {"c", JsonValue::boolean(false)}}),
         "{\n  \"a\": [],\n  \"b\": {},\n  \"c\": false\n}"},
        {arr({JsonValue::number(std::uint64_t{1}), arr({JsonValue::boolean(true)}), obj({{"k", JsonValue::null()}})}),
         "[\n  1,\n  [\n    true\n  ],\n  {\n    \"k\": null\n  }\n]"},
        {obj({{"x", obj({{"y", arr({JsonValue::array()})}})}}),
         "{\n  \"x\": {\n    \"y\": [\n      []\n    ]\n  }\n}"},
    };
    for (const auto& c : cases) EXPECT_EQ(to_json_text(c.value), c.json);
}

TEST(JsonWriter, StreamingKeepsCallOrder) {
    JsonWriter w;
    w.begin_object();
    w.key("url");
    w.string("u");
    w.key("hash");
    w.begin_object();
    w.key("value");
    w.string("abc");
    w.key("algorithm");
    w.string("SHA1");
    w.end_object();
    w.end_object();
    EXPECT_EQ(w.take(), "{\n  \"url\": \"u\",\n  \"hash\": {\n    \"value\": \"abc\",\n    \"algorithm\": \"SHA1\"\n  }\n}");
}

TEST(JsonWriter, Escapes) {
    const struct {
        std::string text;
        const char* json;
    } cases[] = {
        {"", R"("")"},
        {"plain/slash \x7f", "\"plain/slash \x7f\""},
        {"tab\tlf\nquote\"back\\", R"("tab\tlf\nquote\"back\\")"},
        {"\b\f\r", R"("\b\f\r")"},
        {std::string("\x01\x1f\x1b\0", 4), R"("\u0001\u001f\u001b\u0000")"},
        {"\xc3\xa9 \xe4\xb8\xad \xf0\x9f\x98\x80", "\"\xc3\xa9 \xe4\xb8\xad \xf0\x9f\x98\x80\""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(to_json_text(txt(c.text)), c.json);
        // Keys are escaped the same way.
        EXPECT_EQ(to_json_text(obj({{c.text, JsonValue::null()}})),
                  std::string("{\n  ") + c.json + ": null\n}")
            << c.json;
    }
}

TEST(Writers, Numbers) {
    const struct {
        double value;
        const char* json;
        const char* yaml;
    } floats[] = {
        {1.0, "1.0", "1.0"},
        {0.1, "0.1", "0.1"},
        {12.5, "12.5", "12.5"},
        {100.0, "100.0", "100.0"},
        {1e15, "1000000000000000.0", "1000000000000000.0"},
        {1e16, "1e+16", "1e16"},
        {1.2345678901234568e17, "1.2345678901234568e+17", "1.2345678901234568e17"},
        {1.5e300, "1.5e+300", "1.5e300"},
        {0.00001, "0.00001", "0.00001"},
        {0.001234, "0.001234", "0.001234"},
        {0.000001, "1e-6", "1e-6"},
        {2.5e-10, "2.5e-10", "2.5e-10"},
        {5e-324, "5e-324", "5e-324"},
        {std::numeric_limits<double>::max(), "1.7976931348623157e+308", "1.7976931348623157e308"},
        {0.0, "0.0", "0.0"},
        {-0.0, "-0.0", "-0.0"},
        {-1.5, "-1.5", "-1.5"},
        {nan, "null", ".nan"},
        {inf, "null", ".inf"},
        {-inf, "null", "-.inf"},
    };
    for (const auto& f : floats) {
        JsonWriter j;
        j.number(f.value);
        EXPECT_EQ(j.take(), f.json) << f.json;
        YamlWriter y;
        y.number(f.value);
        EXPECT_EQ(y.take(), std::string(f.yaml) + "\n") << f.yaml;
    }

    JsonWriter j;
    j.begin_array();
    j.number(std::numeric_limits<std::uint64_t>::max());
    j.number(std::numeric_limits<std::int64_t>::min());
    j.number(std::int64_t{0});
    j.end_array();
    EXPECT_EQ(j.take(), "[\n  18446744073709551615,\n  -9223372036854775808,\n  0\n]");
    YamlWriter y;
    y.begin_array();
    y.number(std::numeric_limits<std::uint64_t>::max());
    y.number(std::numeric_limits<std::int64_t>::min());
    y.null();
    y.boolean(true);
    y.end_array();
    EXPECT_EQ(y.take(), "- 18446744073709551615\n- -9223372036854775808\n- null\n- true\n");
}

// How a text value is written as the value of the key k.
TEST(YamlWriter, TextStyles) {
    const struct {
        std::string text;
        const char* yaml;  // after "k:"
    } cases[] = {
        // Texts that would read back as something else.
        {"", " ''"},
        {"null", " 'null'"},
        {"~", " '~'"},
        {"NULL", " 'NULL'"},
        {"true", " 'true'"},
        {"FALSE", " 'FALSE'"},
        {"12", " '12'"},
        {"-3", " '-3'"},
        {"+7", " '+7'"},
        {"0x1F", " '0x1F'"},
        {"-0x1f", " '-0x1f'"},
        {"0o17", " '0o17'"},
        {"0b101", " '0b101'"},
        {"340282366920938463463374607431768211455", " '340282366920938463463374607431768211455'"},
        {"1.5", " '1.5'"},
        {"1.0", " '1.0'"},
        {".5", " '.5'"},
        {"5.", " '5.'"},
        {"1e3", " '1e3'"},
        {"-2.5E-3", " '-2.5E-3'"},
        {"1e-400", " '1e-400'"},
        {".inf", " '.inf'"},
        {"+.inf", " '+.inf'"},
        {"-.Inf", " '-.Inf'"},
        {".NaN", " '.NaN'"},
        {"007", " '007'"},
        {"-01", " '-01'"},
        {"00", " '00'"},
        // Texts that read back as texts: plain where the emitter allows.
        {"yes", " yes"},
        {"on", " on"},
        {"inf", " inf"},
        {"nan", " nan"},
        {"1.0.0", " 1.0.0"},
        {"0x", " 0x"},
        {"0X10", " 0X10"},
        {"1_000", " 1_000"},
        {"+-5", " +-5"},
        {"1e999", " 1e999"},
        {"0x1ffffffffffffffffffffffffffffffff", " 0x1ffffffffffffffffffffffffffffffff"},
        {"nul l", " nul l"},
        {"a:b", " a:b"},
        {"a#b", " a#b"},
        {"-a", " -a"},
        {":a", " :a"},
        {"key: value", " 'key: value'"},
        {"a #b", " 'a #b'"},
        {"key:", " 'key:'"},
        {"- a", " '- a'"},
        {"-", " '-'"},
        {"? a", " '? a'"},
        {"#a", " '#a'"},
        {"*a", " '*a'"},
        {"&a", " '&a'"},
        {"!a", " '!a'"},
        {"%a", " '%a'"},
        {"@a", " '@a'"},
        {"`a", " '`a'"},
        {"[a]", " '[a]'"},
        {"{a}", " '{a}'"},
        {"|a", " '|a'"},
        {">a", " '>a'"},
        {"'a'", " '''a'''"},
        {"\"a\"", " '\"a\"'"},
        {"---", " '---'"},
        {"...", " '...'"},
        {" a", " ' a'"},
        {"a ", " 'a '"},
        {" ", " ' '"},
        {"it's", " it's"},
        // Characters that only double quotes can hold.
        {"a\tb", " \"a\\tb\""},
        {"a\rb", " \"a\\rb\""},
        {std::string("a\0b", 3), " \"a\\0b\""},
        {"\x7f\x1b\xc2\x85\xc2\x80", " \"\\x7F\\e\\N\\x80\""},
        {"\ufeffa", " \"\\uFEFFa\""},
        {"a\tb\"\\\xf0\x9f\x98\x80", " \"a\\tb\\\"\\\\\xf0\x9f\x98\x80\""},
        // Non-ASCII text stays as it is, emoji included.
        {"\xc3\xa9t\xc3\xa9 \xc3\x9f", " \xc3\xa9t\xc3\xa9 \xc3\x9f"},
        {"\xe4\xb8\xad\xe6\x96\x87", " \xe4\xb8\xad\xe6\x96\x87"},
        {"\xf0\x9f\x98\x80", " \xf0\x9f\x98\x80"},
        {"\xc2\xa0", " \xc2\xa0"},
        // Line feeds: literal blocks with their chomping and indentation hints.
        {"a\nb", " |-\n  a\n  b"},
        {"a\n", " |\n  a"},
        {"a\n\n", " |+\n  a\n"},
        {"\n", " |2+\n"},
        {" a\nb", " |2-\n   a\n  b"},
        {"\na", " |2-\n\n  a"},
        {"a\n\nb", " |-\n  a\n\n  b"},
        {"a\n b", " |-\n  a\n   b"},
        {"a\n#b", " |-\n  a\n  #b"},
        // A space before a line break, or at the end, rules the block out.
        {"a \nb", " \"a \\nb\""},
        {"a\nb ", " \"a\\nb \""},
        {"a\n\tb", " \"a\\n\\tb\""},
        // The line and paragraph separators are escaped, with or without a
        // line feed beside them.
        {"a\u2028b", " \"a\\Lb\""},
        {"\u2029", " \"\\P\""},
        {"a\nb\u2028", " \"a\\nb\\L\""},
        {"a\u2029\n", " \"a\\P\\n\""},
    };
    for (const auto& c : cases) {
        YamlWriter w;
        w.begin_object();
        w.key("k");
        w.string(c.text);
        w.end_object();
        EXPECT_EQ(w.take(), std::string("k:") + c.yaml + "\n") << c.yaml;
    }
}

TEST(YamlWriter, LongTextStaysOnOneLine) {
    std::string words;
    for (int i = 0; i < 1000; ++i) words += "word ";
    words += "end";
    EXPECT_EQ(to_yaml_text(txt(words)), words + "\n");
}

TEST(YamlWriter, Layout) {
    const struct {
        JsonValue value;
        const char* yaml;
    } cases[] = {
        {JsonValue::null(), "null\n"},
        {txt("a\nb"), "|-\n  a\n  b\n"},
        {txt("1.0"), "'1.0'\n"},
        {JsonValue::object(), "{}\n"},
        {JsonValue::array(), "[]\n"},
        {obj({{"categories", arr({obj({{"name", txt("permissive")}, {"description", txt("")}})})},
              {"categorizations", arr({obj({{"id", txt("MIT")}, {"categories", arr({txt("permissive")})}})})}}),
         "categories:\n"
         "- description: ''\n"
         "  name: permissive\n"
         "categorizations:\n"
         "- categories:\n"
         "  - permissive\n"
         "  id: MIT\n"},
        {obj({{"a", obj({{"b", obj({{"c", txt("d")}})}, {"e", JsonValue::object()}})},
              {"f", JsonValue::array()},
              {"g", JsonValue::null()}}),
         "a:\n  b:\n    c: d\n  e: {}\nf: []\ng: null\n"},
        {arr({arr({txt("a"), txt("b")}), arr({}), obj({}), txt("a\nb"), obj({{"k", txt("x\ny")}})}),
         "- - a\n  - b\n- []\n- {}\n- |-\n  a\n  b\n- k: |-\n    x\n    y\n"},
        {obj({{"s", arr({obj({{"a", arr({txt("x")})}, {"b", JsonValue::boolean(false)}})})}}),
         "s:\n- a:\n  - x\n  b: false\n"},
        {obj({{"t", txt("a\n")}, {"u", txt("v")}}), "t: |\n  a\nu: v\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(to_yaml_text(c.value), c.yaml);
}

TEST(YamlWriter, Keys) {
    const std::string k128(128, 'k'), k129(129, 'k');
    const struct {
        JsonValue value;
        std::string yaml;
    } cases[] = {
        {obj({{k128, txt("v")}}), k128 + ": v\n"},
        {obj({{k129, txt("v")}}), "? " + k129 + "\n: v\n"},
        {obj({{k129, obj({{"a", txt("b")}, {"c", txt("d")}})}}), "? " + k129 + "\n: a: b\n  c: d\n"},
        {obj({{k129, arr({txt("a"), txt("b")})}}), "? " + k129 + "\n: - a\n  - b\n"},
        {obj({{"a\nb", txt("v")}}), "? |-\n  a\n  b\n: v\n"},
        {obj({{"a\n", txt("v")}}), "? |\n  a\n: v\n"},
        {obj({{"a\u2028", txt("v")}}), "? \"a\\L\"\n: v\n"},
        {obj({{"a\nb\u2029", txt("v")}}), "? \"a\\nb\\P\"\n: v\n"},
        {obj({{"", txt("v")}, {"1", txt("2")}, {"a b", txt("c")}, {"a: b", txt("c")}}),
         "'': v\n'1': '2'\na b: c\n'a: b': c\n"},
        {arr({obj({{k129, txt("v")}})}), "- ? " + k129 + "\n  : v\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(to_yaml_text(c.value), c.yaml);
}

JsonValue from_yaml(const YamlValue& y) {
    switch (y.kind) {
        case YamlValue::Kind::null: return JsonValue::null();
        case YamlValue::Kind::boolean: return JsonValue::boolean(y.boolean);
        case YamlValue::Kind::unsigned_int: return JsonValue::number(y.unsigned_int);
        case YamlValue::Kind::negative_int: return JsonValue::number(y.negative_int);
        case YamlValue::Kind::floating: return JsonValue::number(y.floating);
        case YamlValue::Kind::text: return txt(y.text);
        case YamlValue::Kind::sequence: {
            JsonValue::Array a;
            for (const auto& item : y.items) a.push_back(from_yaml(item));
            return JsonValue::array(std::move(a));
        }
        case YamlValue::Kind::mapping: {
            JsonValue o = JsonValue::object();
            for (std::size_t i = 0; i < y.items.size(); i += 2) {
                EXPECT_EQ(y.items[i].kind, YamlValue::Kind::text);
                o.set(y.items[i].text, from_yaml(y.items[i + 1]));
            }
            return o;
        }
        case YamlValue::Kind::tagged: break;
    }
    ADD_FAILURE() << "tagged value";
    return {};
}

TEST(YamlWriter, ReadsBack) {
    const char* texts[] = {
        "", "null", "~", "Null", "true", "False", "12", "-3", "+7", "0x1F", "-0b1", "0o17", "1.5", ".5", "1e3",
        "-.Inf", ".NaN", "007", "-01", "yes", "1.0.0", "0x", "1_000", "1e999", "a: b", "a #b", "- a", "-", "?",
        ":", "#", "'", "\"", "---", "...", " a ", "a\tb", "a\rb", "\x7f", "\xef\xbb\xbf", "\xc2\x85", "a\u2028b",
        "a\nb", "a\n", "a\n\n", "\n", "\n\n", " a\nb", "a \nb", "a\nb ", "\xc3\xa9\xf0\x9f\x98\x80", "it's",
    };
    JsonValue all = JsonValue::object();
    JsonValue list = JsonValue::array();
    for (const char* t : texts) {
        all.set(t, txt(t));
        std::get<JsonValue::Array>(list.value).push_back(txt(t));
    }
    std::string k129(129, 'k');
    const JsonValue values[] = {
        all,
        list,
        arr({list, all, JsonValue::object(), JsonValue::array()}),
        obj({{"n", JsonValue::null()},
             {"b", JsonValue::boolean(false)},
             {"u", JsonValue::number(std::numeric_limits<std::uint64_t>::max())},
             {"i", JsonValue::number(std::numeric_limits<std::int64_t>::min())},
             {"f", arr({JsonValue::number(1e16), JsonValue::number(0.1), JsonValue::number(-0.0),
                        JsonValue::number(5e-324), JsonValue::number(1e15), JsonValue::number(1e-6)})},
             {k129, obj({{"x", arr({obj({{"a\nb", txt("c\nd")}})})}})}}),
    };
    for (const auto& v : values) {
        std::string yaml = to_yaml_text(v);
        YamlValue back = read_yaml_document(yaml, [](Cursor& c) { return read_yaml_value(c); });
        EXPECT_EQ(from_yaml(back), v) << yaml;
    }
    for (const char* t : texts) {
        std::string yaml = to_yaml_text(txt(t));
        YamlValue back = read_yaml_document(yaml, [](Cursor& c) { return read_yaml_value(c); });
        EXPECT_EQ(from_yaml(back), txt(t)) << yaml;
    }
}

// A separator is a line break to a reader of one YAML version and text to
// another: none stands raw in the output, wherever the text is, and the
// output still ends with a line feed.
TEST(YamlWriter, SeparatorsNeverRaw) {
    const std::string texts[] = {"a\nb\u2028", "a\nb\u2029c", "\u2028", "\n\u2029", "a\u2028\n", "a\u2028b\u2029"};
    for (const auto& t : texts) {
        const JsonValue values[] = {
            txt(t),
            obj({{"z", txt(t)}}),
            obj({{t, txt("v")}}),
            obj({{"a", obj({{"z", txt(t)}})}, {"b", arr({txt(t)})}}),
            arr({obj({{t, arr({txt(t)})}})}),
        };
        for (const auto& v : values) {
            std::string yaml = to_yaml_text(v);
            EXPECT_TRUE(yaml.ends_with('\n')) << yaml;
            EXPECT_EQ(yaml.find("\u2028"), std::string::npos) << yaml;
            EXPECT_EQ(yaml.find("\u2029"), std::string::npos) << yaml;
            YamlValue back = read_yaml_document(yaml, [](Cursor& c) { return read_yaml_value(c); });
            EXPECT_EQ(from_yaml(back), v) << yaml;
        }
    }
}

// Every text of up to three characters from an alphabet of digits, signs,
// indicators, blanks and line breaks, as a key and as a value.
TEST(YamlWriter, ShortTextsReadBack) {
    const std::string_view alphabet[] = {"0", "1", "x", ".", "e", "-", "+", ":", "#", "'", "n", " ", "\t", "\n", "\u2028"};
    std::vector<std::string> texts{""};
    for (std::size_t from = 0, len = 0; len < 3; ++len) {
        std::size_t to = texts.size();
        for (std::size_t i = from; i < to; ++i)
            for (auto a : alphabet) texts.push_back(texts[i] + std::string(a));
        from = to;
    }
    JsonValue::Array items;
    for (const auto& t : texts) items.push_back(obj({{t, txt(t)}}));
    JsonValue v = JsonValue::array(std::move(items));
    std::string yaml = to_yaml_text(v);
    YamlValue back = read_yaml_document(yaml, [](Cursor& c) { return read_yaml_value(c); });
    JsonValue got = from_yaml(back);
    const auto& want_items = std::get<JsonValue::Array>(v.value);
    const auto& got_items = std::get<JsonValue::Array>(got.value);
    ASSERT_EQ(got_items.size(), want_items.size());
    for (std::size_t i = 0; i < want_items.size(); ++i)
        EXPECT_EQ(got_items[i], want_items[i]) << to_yaml_text(want_items[i]);
}

}  // namespace
