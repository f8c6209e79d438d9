// Document-level reading: one document, nesting, anchors and aliases, syntax
// errors, and the place of errors.
#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "models/json_value.hpp"
#include "models/yaml_value.hpp"
#include "test_util.hpp"

using namespace brindle::models;
using brindle::test::read_error;
using brindle::test::read_ok;

namespace {

using Texts = OrderedMap<std::string, std::string>;
using Lists = OrderedMap<std::string, std::vector<std::string>>;

// A generic value of any depth, to count nesting levels.
struct Any {
    YamlValue v;
};
void read(Cursor& c, Any& out) { out.v = read_yaml_value(c); }

struct Case {
    const char* input;
    const char* error;
};

TEST(Document, OneDocument) {
    const char* more = "deserializing from YAML containing more than one document is not supported";
    const Case cases[] = {
        {"", ""},
        {"# only a comment\n", ""},
        {"   \n\n", ""},
        {"---\n", ""},
        {"a: b\n...\n", ""},
        {"a: b\n...\n# trailing comment\n...\n", ""},
        {"--- a: b\n", "invalid type: string \"a\", expected a map at line 1 column 5"},
        {"a: b\n---\nc: d\n", more},
        {"a: b\n---\n", more},
        {"a: b\n--- \n...\n", more},
        {"{a: b}}\n", more},
        {"a: b\n...\n]\n", more},
    };
    for (const auto& c : cases) EXPECT_EQ(read_error<Texts>(c.input), c.error) << c.input;
}

TEST(Document, SyntaxErrors) {
    const Case cases[] = {
        {"a: [b, c\n", "did not find expected ',' or ']' at line 2 column 1, while parsing a flow sequence at line 1 column 4"},
        {"a: 'b\n", "found unexpected end of stream at line 2 column 1, while scanning a quoted scalar at line 1 column 4"},
        {"a:\n\tb: c\n", "found character that cannot start any token at line 2 column 1, while scanning for the next token"},
        {"a: b\n c: d\n", "mapping values are not allowed in this context at line 2 column 3"},
        {"a: \"\\q\"\n", "found unknown escape character at line 1 column 5, while parsing a quoted scalar at line 1 column 4"},
        {"a: \xff\n", "invalid leading UTF-8 octet at position 3"},
    };
    for (const auto& c : cases) EXPECT_EQ(read_error<Any>(c.input), c.error) << c.input;
    // A type error before a syntax error is reported instead of it.
    EXPECT_EQ(read_error<Texts>("a: [x]\nb: [c\n"), "a: invalid type: sequence, expected a string at line 1 column 4");
}

// One byte order mark at the very start is skipped: the text reads, and
// fails, exactly as it does without it, positions included.
TEST(Document, ByteOrderMark) {
    const std::string bom = "\xEF\xBB\xBF";
    const Case cases[] = {
        {"a: b\nc: d\n", ""},
        {"", ""},
        {"a: [x]\n", "a: invalid type: sequence, expected a string at line 1 column 4"},
        {"b: c\na: [x]\n", "a: invalid type: sequence, expected a string at line 2 column 4"},
        {"[]", "invalid type: sequence, expected a map"},
        {"a: 'b\n", "found unexpected end of stream at line 2 column 1, while scanning a quoted scalar at line 1 column 4"},
        {"a: \xff\n", "invalid leading UTF-8 octet at position 3"},
        {"a: b\n---\nc: d\n", "deserializing from YAML containing more than one document is not supported"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(read_error<Texts>(bom + c.input), c.error) << c.input;
        EXPECT_EQ(read_error<Texts>(c.input), c.error) << c.input;
    }
    auto two = read_ok<Texts>(bom + "a: b\nc: d\n");
    EXPECT_EQ(two.size(), 2u);
    // Anywhere else the mark is what it always was: a character of a text,
    // or a second mark at the start that moves the columns of its line.
    EXPECT_EQ(*read_ok<Texts>(bom + "a: " + bom + "x\n").find("a"), bom + "x");
    EXPECT_EQ(read_error<Texts>(bom + bom + "a: [x]\n"),
              "a: invalid type: sequence, expected a string at line 1 column 5");
}

std::string nested_sequences(int depth) {
    return std::string(static_cast<std::size_t>(depth), '[') + std::string(static_cast<std::size_t>(depth), ']');
}

TEST(Document, NestingBudget) {
    EXPECT_EQ(read_error<Any>(nested_sequences(128)), "");
    EXPECT_EQ(read_error<Any>(nested_sequences(129)), "recursion limit exceeded at line 1 column 129");
    // A mapping counts as well; the error has a position but no path.
    std::string maps;
    for (int i = 0; i < 129; ++i) maps += std::string(static_cast<std::size_t>(i) * 2, ' ') + "k:\n";
    maps += std::string(258, ' ') + "v\n";
    EXPECT_EQ(read_error<Any>(maps), "recursion limit exceeded at line 129 column 257");
    // Far past the budget the loader still only records events.
    EXPECT_EQ(read_error<Any>(nested_sequences(100000)), "recursion limit exceeded at line 1 column 129");
    // A collection reached through an alias counts where the alias stands.
    std::string deep = "- &a " + nested_sequences(127) + "\n- [*a]\n";
    EXPECT_EQ(read_error<Any>(deep), "recursion limit exceeded at line 1 column 132");
}

TEST(Document, Anchors) {
    EXPECT_EQ(read_ok<Texts>("a: &x one\nb: *x\n").find("b") ? *read_ok<Texts>("a: &x one\nb: *x\n").find("b") : "",
              "one");
    // A name anchored twice: aliases read the latest definition before them.
    auto v = read_ok<std::vector<std::string>>("[&x one, *x, &x two, *x]");
    EXPECT_EQ(v, (std::vector<std::string>{"one", "one", "two", "two"}));
    EXPECT_EQ(read_error<Texts>("a: *x\nb: &x one\n"), "unknown anchor at line 1 column 4");
    // The path of a value reached through an alias is the place of use, the
    // position that of the anchored node.
    EXPECT_EQ(read_error<Lists>("a: &x [one, [two]]\nb: *x\n"),
              "a[1]: invalid type: sequence, expected a string at line 1 column 13");
    EXPECT_EQ((read_error<OrderedMap<std::string, Lists>>("a: {k: &x [one, [two]]}\nb: {k: *x}\n")),
              "a.k[1]: invalid type: sequence, expected a string at line 1 column 17");
    EXPECT_EQ((read_error<OrderedMap<std::string, Lists>>("a: &y {k: [one]}\nb: {k: &x [x, [two]]}\nc: {z: *x}\n")),
              "b.k[1]: invalid type: sequence, expected a string at line 2 column 15");
    EXPECT_EQ((read_error<OrderedMap<std::string, Lists>>("a: {k: [ok]}\nb: {z: &x [x, [two]]}\n")),
              "b.z[1]: invalid type: sequence, expected a string at line 2 column 15");
    // An alias used as a key gives the key segment "?".
    EXPECT_EQ(read_error<Lists>("&k key: [a]\n*k : [[b]]\n"), "?[0]: invalid type: sequence, expected a string at line 2 column 7");
    // A node holding an alias to itself is expanded until a limit stops it.
    EXPECT_EQ(read_error<Any>("&a [*a]"), "repetition limit exceeded");
    EXPECT_EQ(read_error<Any>("&a [[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[*a]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]"),
              "recursion limit exceeded at line 1 column 33");
}

// Walks sequences and scalars without keeping anything.
struct Sink {};
void read(Cursor& c, Sink&) {
    read_node(c, [](Cursor& at, const Event& e) {
        if (e.kind != EventKind::sequence_start) return;
        Cursor::Nested nested(at, e.mark);
        for (std::size_t i = 0; at.peek().kind != EventKind::sequence_end; ++i) {
            Cursor child(at, i);
            Sink s;
            read(child, s);
        }
        at.next();
    });
}

TEST(Document, RepetitionLimit) {
    // Many aliases of a small node stay within 100 times the events.
    std::string many = "a: &a x\nb: [";
    for (int i = 0; i < 1000; ++i) many += "*a, ";
    many += "*a]\n";
    EXPECT_EQ(read_error<Any>(many), "");

    // The classic bomb: each level doubles nine times.
    std::string bomb = "a: &a [\"lol\",\"lol\",\"lol\",\"lol\",\"lol\",\"lol\",\"lol\",\"lol\",\"lol\"]\n";
    const char* names = "abcdefghi";
    for (int i = 1; i < 9; ++i) {
        bomb += std::string(1, names[i]) + ": &" + names[i] + " [";
        for (int k = 0; k < 9; ++k) bomb += std::string(k ? ", *" : "*") + names[i - 1];
        bomb += "]\n";
    }
    EXPECT_EQ(read_error<Any>(bomb), "repetition limit exceeded");

    // One large anchored node aliased many times: few jumps, huge expanded
    // size.  Counting events read through aliases stops it quickly.
    std::string big = "a: &big [";
    for (int i = 0; i < 20000; ++i) big += "x, ";
    big += "x]\nb: [";
    for (int i = 0; i < 20000; ++i) big += "*big, ";
    big += "*big]\n";
    ASSERT_GT(big.size(), 150000u);
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ((read_error<OrderedMap<std::string, Sink>>(big)), "repetition limit exceeded");
    auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 20.0);  // a bound against runaway work, not a timing test
}

TEST(Document, AliasCeiling) {
    // 100 times the events would allow this, but the ceiling on events read
    // through aliases stops it: a node of 50,002 events aliased 30 times.
    std::string big = "a: &big [";
    for (int i = 0; i < 50000; ++i) big += "x, ";
    big += "x]\nb: [";
    for (int i = 0; i < 29; ++i) big += "*big, ";
    big += "*big]\n";
    EXPECT_EQ((read_error<OrderedMap<std::string, Sink>>(big)), "repetition limit exceeded");
    // Up to the ceiling aliases are followed: 19 times the node.
    std::string fits = big.substr(0, big.find("b: [")) + "b: [";
    for (int i = 0; i < 18; ++i) fits += "*big, ";
    fits += "*big]\n";
    EXPECT_EQ((read_error<OrderedMap<std::string, Sink>>(fits)), "");
    EXPECT_EQ(alias_event_limit(10), 1000u);
    EXPECT_EQ(alias_event_limit(20000), 1000000u);
}

TEST(Document, ErrorPlace) {
    // At the root: no path and, at line 1 column 1, no position.
    EXPECT_EQ(read_error<std::int32_t>("x"), "invalid type: string \"x\", expected i32");
    EXPECT_EQ(read_error<std::int32_t>("\n  x"), "invalid type: string \"x\", expected i32 at line 2 column 3");
    EXPECT_EQ(read_error<std::vector<std::int32_t>>("[1, x]"), ".[1]: invalid type: string \"x\", expected i32 at line 1 column 5");
    EXPECT_EQ((read_error<OrderedMap<std::string, std::vector<Texts>>>("a:\n- b: c\n- b: [d]\n")),
              "a[1].b: invalid type: sequence, expected a string at line 3 column 6");
}

// Documents far longer than the window of events the reader keeps: the keys
// on the path of an error, nodes aliased from far behind, and texts of every
// length stay as they were written.
TEST(Document, LongDocuments) {
    auto repeated = [](const std::string& item, int n) {
        std::string out;
        for (int i = 0; i < n; ++i) out += item;
        return out;
    };
    const std::string key = "a-key-longer-than-any-small-string-buffer";
    std::string list = key + ": [" + repeated("x, ", 30000) + "[y]]\n";
    EXPECT_EQ(read_error<Lists>(list), key + "[30000]: invalid type: sequence, expected a string at line 1 column " +
                                           std::to_string(key.size() + 3 + 3 * 30000 + 1));
    std::string json = "k:\n  " + key + ": [" + repeated("1, ", 30000) + "!t x]\n";
    EXPECT_EQ((read_error<OrderedMap<std::string, JsonValue>>(json)),
              "k." + key + "[30000]: invalid type: enum, expected any valid JSON value at line 2 column " +
                  std::to_string(2 + key.size() + 3 + 3 * 30000 + 1));

    std::string far = "a: &x [one, &s two]\nfill: [" + repeated("x, ", 30000) + "x]\nb: *x\nc: [*s, *s]\n";
    Lists v = read_ok<Lists>(far);
    ASSERT_NE(v.find("b"), nullptr);
    EXPECT_EQ(*v.find("b"), (std::vector<std::string>{"one", "two"}));
    EXPECT_EQ(*v.find("c"), (std::vector<std::string>{"two", "two"}));
    EXPECT_EQ(v.find("fill")->size(), 30001u);

    // Texts of many sizes, one far longer than a block of scalar bytes.
    std::vector<std::string> texts;
    std::string input = "[";
    for (int i = 0; i < 20000; ++i) {
        texts.push_back(std::string(static_cast<std::size_t>(i % 97), static_cast<char>('a' + i % 26)));
        if (i == 9999) texts.back() = std::string(100000, 'z');
        input += "'" + texts.back() + "', ";
    }
    input += "end]";
    texts.push_back("end");
    EXPECT_EQ(read_ok<std::vector<std::string>>(input), texts);
}

// The build with the least window (BRINDLE_SMALL_DOCUMENT_WINDOW, as the
// sanitizer and fuzz builds are) gives chunks back and offers every piece of
// input it has taken in back to its owner even on a short document, so that
// every test input walks the release of memory.
TEST(Document, LeastWindowReleasesOnShortInput) {
#ifndef BRINDLE_SMALL_DOCUMENT_WINDOW
    GTEST_SKIP() << "runs in the build with BRINDLE_SMALL_DOCUMENT_WINDOW on (scripts/sanitize)";
#else
    std::string input = "keys:\n";
    for (int i = 0; i < 300; ++i)
        input += "  key-" + std::to_string(i) + ": [some text " + std::to_string(i) + ", more]\n";
    std::vector<const char*> offered;
    InputRelease release{[](void* owner, const char* up_to) { static_cast<std::vector<const char*>*>(owner)->push_back(up_to); },
                         &offered};
    const std::size_t chunks_before = released_chunk_count();
    auto v = read_yaml_document(
        input,
        [](Cursor& c) {
            OrderedMap<std::string, Lists> value;
            read(c, value);
            return value;
        },
        release);
    ASSERT_NE(v.find("keys"), nullptr);
    const Lists& keys = *v.find("keys");
    EXPECT_EQ(keys.size(), 300u);
    ASSERT_NE(keys.find("key-299"), nullptr);
    EXPECT_EQ(*keys.find("key-299"), (std::vector<std::string>{"some text 299", "more"}));
    EXPECT_GT(released_chunk_count(), chunks_before);
    // Offered at every read, forward only, up to the end of the input.
    EXPECT_GE(offered.size(), input.size() / 1024);
    EXPECT_TRUE(std::is_sorted(offered.begin(), offered.end()));
    ASSERT_FALSE(offered.empty());
    EXPECT_EQ(offered.back(), input.data() + input.size());
#endif
}

TEST(Document, SkipNode) {
    Document doc("a: [b, {c: *x}]\n");  // the alias fails loading; skipping stops at it
    ReadCounters counters;
    Cursor c(doc, counters);
    c.next();  // mapping start
    c.skip_node();  // key a
    EXPECT_EQ(c.peek().kind, EventKind::sequence_start);
    try {
        c.skip_node();
        FAIL() << "expected the stored failure";
    } catch (const ReadError& e) {
        EXPECT_EQ(e.text(), "unknown anchor at line 1 column 12");
    }
    Document ok("[a, [b, &x c], {d: *x}]\nrest");
    (void)ok;
}

}  // namespace
