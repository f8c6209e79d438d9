// Characters above U+FFFF escaped as UTF-16 surrogate pairs, as JSON writers
// escape them: one character in a double-quoted scalar, text as written
// everywhere else, and every position that of the text as written.
#include <string>
#include <vector>

#include "models/surrogate_escapes.hpp"
#include "test_util.hpp"

using namespace brindle::models;
using brindle::test::read_error;
using brindle::test::read_ok;

namespace {

using Texts = OrderedMap<std::string, std::string>;
using Lists = OrderedMap<std::string, std::vector<std::string>>;

const std::string grin = "\xF0\x9F\x98\x80";  // U+1F600, \uD83D\uDE00

struct Case {
    std::string input;
    std::string key;
    std::string value;
};

TEST(SurrogateEscapes, PairsInDoubleQuotedScalars) {
    const Case cases[] = {
        {R"({"a": "x \uD83D\uDE00 y"})", "a", "x " + grin + " y"},
        {R"({"\uD83D\uDE00": "v"})", grin, "v"},
        {R"(a: "\uD83D\uDE00")", "a", grin},
        {R"(a: "\ud83d\ude00\uD83D\ude00")", "a", grin + grin},
        {R"(a: "\uD800\uDC00\uDBFF\uDFFF")", "a", "\xF0\x90\x80\x80\xF4\x8F\xBF\xBF"},
        // An escaped backslash before the pair, and a pair next to other escapes.
        {R"(a: "\\\uD83D\uDE00\n\u00E9")", "a", "\\" + grin + "\n\xC3\xA9"},
        // A pair on a continuation line, and one in a key of a block mapping.
        {"a: \"x\n  \\uD83D\\uDE00\"", "a", "x " + grin},
        {"\"\\uD83D\\uDE00\": v", grin, "v"},
    };
    for (const auto& c : cases) {
        Texts v = read_ok<Texts>(c.input);
        ASSERT_NE(v.find(c.key), nullptr) << c.input;
        EXPECT_EQ(*v.find(c.key), c.value) << c.input;
    }
}

// Only a double-quoted scalar reads escapes: the same characters anywhere else
// stay the text they are, also beside text that looks like the one escape.
TEST(SurrogateEscapes, TextEverywhereElse) {
    const std::string pair = R"(\uD83D\uDE00)";
    const Case cases[] = {
        {"a: x " + pair, "a", "x " + pair},
        {pair + ": v", pair, "v"},
        {"a: x\n  \"" + pair + "\"", "a", "x \"" + pair + "\""},
        {"a: '" + pair + "'", "a", pair},
        {"a: '" + pair + "''\n  " + pair + "'", "a", pair + "' " + pair},
        {"a: |\n  " + pair + "\n", "a", pair + "\n"},
        {"a: >\n  " + pair + "\n  " + pair + "\n", "a", pair + " " + pair + "\n"},
        {R"(a: "\\uD83D\\uDE00")", "a", pair},
        {"a: b # " + pair, "a", "b"},
        {"a: \\U0001F600 " + pair + " \\U0001F600", "a", "\\U0001F600 " + pair + " \\U0001F600"},
        {"a: !!str # " + pair + " c\n  " + pair + " x", "a", pair + " x"},
        {"a: |\n  \\\\ " + pair + "\n   \\U0001F600 " + pair + "\\\\\n# " + pair + "\n", "a",
         "\\\\ " + pair + "\n \\U0001F600 " + pair + "\\\\\n"},
    };
    for (const auto& c : cases) {
        Texts v = read_ok<Texts>(c.input);
        ASSERT_NE(v.find(c.key), nullptr) << c.input;
        EXPECT_EQ(*v.find(c.key), c.value) << c.input;
    }
    Lists flow = read_ok<Lists>("c: [p \"" + pair + "\", q]");
    EXPECT_EQ(*flow.find("c"), (std::vector<std::string>{"p \"" + pair + "\"", "q"}));
}

// What is no pair fails as it always has.
TEST(SurrogateEscapes, UnpairedEscapesFail) {
    const std::string at12 = "found invalid Unicode character escape code at line 1 column 7, while parsing a quoted "
                             "scalar at line 1 column 4";
    const std::pair<const char*, std::string> cases[] = {
        {R"(a: "\uD83D")", at12},
        {R"(a: "\uD83Dx")", at12},
        {R"(a: "\uD83D\u0041")", at12},
        {R"(a: "\uD83D\uD83D")", at12},
        {R"(a: "\uDE00")", at12},
        {R"(a: "\uDE00\uD83D")", at12},
        {R"(a: "\U0000D83D\U0000DE00")", at12},
        {R"(a: "\uD83D\\uDE00")", at12},
        {R"(a: "\uD83D\uDE0")", at12},
        {R"(a: "\uD83D\uDE00\uD83D")", "found invalid Unicode character escape code at line 1 column 19, while "
                                        "parsing a quoted scalar at line 1 column 4"},
    };
    for (const auto& [input, error] : cases) EXPECT_EQ(read_error<Texts>(input), error) << input;
}

// Every position reported counts a pair's twelve characters, as it counts
// those of any two escapes: a document fails exactly as it does with
// \u00E9\u00E9 in place of each pair.
TEST(SurrogateEscapes, PositionsOfTheTextAsWritten) {
    const std::string pair = R"(\uD83D\uDE00)";
    std::vector<std::string> inputs = {
        R"(a: "\uD83D\uDE00" x)",
        R"(a: "\uD83D\uDE00\x")",
        R"(a: "\uD83D\uDE00\uD83D\uDE00\q")",
        R"({"\uD83D\uDE00": x, "b": [1]})",
        "{\"\\uD83D\\uDE00\": \"\\uD83D\\uDE00\", \"b\": [\"\\uD83D\\uDE00\", [1,\n 2}",
        "a: \"\\uD83D\\uDE00\\uD83D\\uDE00\" \xFF",
        "a: \"\\uD83D\\uDE00\x01\"",
        "a: [\"\\uD83D\\uDE00\", 'x\n",
        "\"\\uD83D\\uDE00\": [\"\\uD83D\\uDE00\", \"\\uD83D\\uDE00\"]\nb: x\n   c: d\n",
        "a: x \\uD83D\\uDE00 \"\\uD83D\\uDE00\": b",
        // Lines that end in CR LF, NEL and LS: columns count from each line's start.
        "a: \"\\uD83D\\uDE00\"\r\nb: \"\\uD83D\\uDE00\" x",
        "a: \"\\uD83D\\uDE00\xC2\x85\\uD83D\\uDE00\xE2\x80\xA8x\\uD83D\\uDE00\\q\"",
    };
    // Which of two faults is met first depends on where libyaml's pieces of
    // input end: a fault of the text and a control character in a later
    // piece, with pairs before them, in a comment or across the piece's end.
    for (std::size_t pad = 996; pad <= 1000; ++pad)
        inputs.push_back("# " + pair + "\na: \"\\uDE00 " + std::string(pad, 'x') + "\x01\"\n");
    for (std::size_t pad = 1008; pad <= 1022; ++pad)
        inputs.push_back("a: \"" + std::string(pad, 'x') + pair + "\\uDE00" + std::string(40, 'y') + "\x01\"");
    // Too many %TAG directives are told at a read, too.
    std::string tags = "# " + pair + "\n#" + std::string(327, 'x') + "\n";
    for (int i = 0; i < 101; ++i) tags += "%TAG !t" + std::to_string(i) + "! tag:x.org,2000:\n";
    inputs.push_back(tags + "--- \"\\uDE00\"\n" + std::string(2000, 'y') + "\n");
    for (const std::string& input : inputs) {
        std::string other = input;
        for (std::size_t at; (at = other.find(R"(\uD83D\uDE00)")) != std::string::npos;)
            other.replace(at, 12, R"(\u00E9\u00E9)");
        std::string error = read_error<Texts>(input);
        EXPECT_NE(error, "") << input;
        // A path names the key as read.
        if (error.starts_with(grin)) error.replace(0, grin.size(), "\xC3\xA9\xC3\xA9");
        EXPECT_EQ(error, read_error<Texts>(other)) << input;
    }
}

// A pair read at every split of the input: whatever the pieces libyaml asks
// for, the rewritten input is the same, and so are the texts of a document
// whose pairs fall across the pieces and the windows of the reader.
TEST(SurrogateEscapes, PairsAcrossPieces) {
    const std::string input = R"(x\\\uD83D\uDE00\uD83D\uDE00y\\uD83D\uDE00\\\\\ud83d\udfff)";
    const std::string rewritten = R"(x\\\U0001F600\U0001F600y\\uD83D\uDE00\\\\\U0001F7FF)";
    for (std::size_t size = 1; size <= 14; ++size) {
        for (std::size_t piece = 1; piece <= 14; ++piece) {
            SurrogateEscapes e(input);
            std::string out;
            char buffer[14];
            while (std::size_t n = e.fill(buffer, size, piece)) out.append(buffer, n);
            EXPECT_EQ(out, rewritten) << size << " " << piece;
            EXPECT_EQ(e.consumed(), input.size());
        }
    }

    std::string doc = "[";
    std::vector<std::string> expected;
    for (std::size_t pad = 0; pad < 1100; pad += 7) {
        std::string run(pad % 5, '\\');
        doc += "\"" + std::string(pad, 'p') + run + run + R"(\uD83D\uDE00)" + "\", ";
        expected.push_back(std::string(pad, 'p') + run + grin);
    }
    doc += "end]";
    expected.push_back("end");
    EXPECT_EQ(read_ok<std::vector<std::string>>(doc), expected);
}

}  // namespace
