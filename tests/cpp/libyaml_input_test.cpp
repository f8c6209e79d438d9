// The input as libyaml is given it.  Characters above U+FFFF escaped as
// UTF-16 surrogate pairs, as JSON writers escape them: one character in a
// double-quoted scalar, text as written everywhere else.  The characters that
// a JSON string holds raw and libyaml reads otherwise: themselves in a
// double-quoted scalar, as they always were everywhere else.  Tabs around a
// JSON text.  Every position that of the text as written.
#include <string>
#include <vector>

#include "models/libyaml_input.hpp"
#include "models/ort/license_classifications.hpp"
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
        "a: [\"\\uD83D\\uDE00\", x\xC2\x85 \"\\uD83D\\uDE00\", y\xE2\x80\xA8 \"x\\uD83D\\uDE00\\q\"]",
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
            LibyamlInput e(input);
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

// The characters that a JSON string holds raw and libyaml reads otherwise:
// NEL, LS and PS (line breaks to libyaml), DEL, the C1 controls, U+FFFE and
// U+FFFF (refused by libyaml).
const std::string specials[] = {"\x7F", "\xC2\x80", "\xC2\x85", "\xC2\x9F", "\xE2\x80\xA8", "\xE2\x80\xA9",
                                "\xEF\xBF\xBE", "\xEF\xBF\xBF"};

std::string replaced(std::string text, std::string_view what, std::string_view with) {
    for (std::size_t at = 0; (at = text.find(what, at)) != std::string::npos; at += with.size())
        text.replace(at, what.size(), with);
    return text;
}

// In a double-quoted scalar each is itself, wherever it stands, with the
// spaces around it; and what is written of such a text reads back the same,
// as JSON and as YAML.
TEST(LibyamlInput, JsonStringCharactersInDoubleQuotes) {
    // @ stands for the character.
    const std::string placements[] = {"@", "a@b", "a@", "@a", "a @ b", " @ ", "@@", "a@ @b", "@\\n@", "\\\\@"};
    for (const std::string& c : specials) {
        for (const std::string& placement : placements) {
            const std::string written = replaced(placement, "@", c);
            const std::string text = replaced(replaced(written, "\\n", "\n"), "\\\\", "\\");
            const std::string inputs[] = {
                "{\"k\": \"" + written + "\"}",
                "{\"k\":\"" + written + "\",\"" + written + "\":\"v\"}",
                "k: \"" + written + "\"\n\"" + written + "\": v\n",
                "k: [\"x\",\"" + written + "\"]\n\"" + written + "\":\n  \"v\"",
            };
            for (const std::string& input : inputs) {
                if (input.starts_with("k: [")) {
                    Lists v = read_ok<Lists>(replaced(input, "\n\"" + written + "\":\n  \"v\"", ""));
                    ASSERT_NE(v.find("k"), nullptr) << input;
                    EXPECT_EQ(v.find("k")->back(), text) << input;
                    continue;
                }
                Texts v = read_ok<Texts>(input);
                ASSERT_NE(v.find("k"), nullptr) << input;
                EXPECT_EQ(*v.find("k"), text) << input;
                if (input.starts_with("{\"k\":\"")) {
                    EXPECT_NE(v.find(text), nullptr) << input;
                }
                EXPECT_EQ(read_ok<Texts>(brindle::test::json(v)), v) << input;
                EXPECT_EQ(read_ok<Texts>(brindle::test::yaml(v)), v) << input;
            }
        }
    }
    // Where the scanner looks ahead from the token before the string into it.
    const std::string starts[] = {"[\"@\"]", "[x,\"@\"]", "[x, \"@\"]", "['x',\"@\"]", "[\"x\",\"@\"]",
                                  "[\"\",\"@\"]", "[&a \"@\"]", "[!!str \"@\"]", "[\"x\", ? \"@\"]"};
    for (const std::string& c : specials) {
        for (const std::string& start : starts) {
            const std::string input = "k: " + replaced(start, "@", c);
            Lists v;
            std::string error = read_error<Lists>(input, &v);
            if (start.find('?') != std::string::npos) {
                // A mapping in the list: only that it does not fail on the character.
                EXPECT_EQ(error.find("control"), std::string::npos) << input;
                continue;
            }
            EXPECT_EQ(error, "") << input;
            ASSERT_NE(v.find("k"), nullptr) << input;
            EXPECT_EQ(v.find("k")->back(), c) << input;
        }
        for (const std::string& input : {"k: \"" + c + "\"", "{k: \"" + c + "\"}", "{\"k\":\"" + c + "\"}",
                                         "k: \t\"" + c + "\"", "\t{\"k\": \"" + c + "\"}\n\t",
                                         "--- {\"k\":\"" + c + "\"}", "? \"" + c + "\"\n: x\nk: &a \"" + c + "\""}) {
            Texts v = read_ok<Texts>(input);
            ASSERT_NE(v.find("k"), nullptr) << input;
            EXPECT_EQ(*v.find("k"), c) << input;
        }
        Lists l = read_ok<Lists>("k:\n- \"" + c + "\"\n-  \"" + c + "\"");
        EXPECT_EQ(*l.find("k"), (std::vector<std::string>{c, c}));
        // A key on the line after an empty block scalar or a comment.
        for (const char* before : {"k: |\n", "k: >\n", "k: |\r", "k: a #\n"}) {
            const std::string input = before + ("\"" + c + "\": v");
            Texts v = read_ok<Texts>(input);
            ASSERT_NE(v.find(c), nullptr) << input;
            EXPECT_EQ(*v.find(c), "v") << input;
        }
    }
}

// Everywhere else each reads as it always has: the line breaks as line
// breaks, the others refused where they stand.
TEST(LibyamlInput, JsonStringCharactersEverywhereElse) {
    // @ stands for the character; a `"` before it in each.
    const std::string places[] = {
        "a: x\"y@ z",        "a: 'x\"@ z'",       "a: |\n  \"@ z\n", "# \"@a: b",     "a: \"x\"@b: c",
        "a: \"x\\\"\" @b: c", "a: [x\"@ y]",      "a: [\"\",@ x]",   "a: x\" # @ b",  "a: >\n  \"\n  @ z\n",
        "a: '''@ z'",        "\"a\": '\"'@b: c", "a: \"\"@b: c",
    };
    for (const std::string& place : places) {
        for (const std::string& c : specials) {
            const std::string input = replaced(place, "@", c);
            const bool line_break = c == "\xC2\x85" || c.starts_with("\xE2\x80");
            if (line_break) {
                // As a line feed reads, but in a block scalar, which keeps LS and PS.
                if (place.find('|') != std::string::npos || place.find('>') != std::string::npos) continue;
                Texts as_break;
                std::string error = read_error<Texts>(replaced(place, "@", "\n"), &as_break);
                Texts v;
                EXPECT_EQ(read_error<Texts>(input, &v), error) << input;
                if (!error.empty()) continue;
                // A folded line break is a space, but LS and PS stay.
                std::string a = *as_break.find("a");
                if (c != "\xC2\x85" && a.ends_with(" z")) a = replaced(a, " z", c + "z");
                EXPECT_EQ(v.size(), as_break.size()) << input;
                EXPECT_EQ(*v.find("a"), a) << input;
            } else {
                EXPECT_EQ(read_error<Texts>(input),
                          "control characters are not allowed at position " + std::to_string(input.find(c)))
                    << input;
            }
        }
    }
    // What fails before the string it would start.
    for (const std::string& c : {std::string("\x7F"), std::string("\xEF\xBF\xBF")}) {
        for (const char* before : {"&a\"", "[*a\""}) {
            const std::string input = before + c + "\"";
            EXPECT_EQ(read_error<Texts>(input),
                      "control characters are not allowed at position " + std::to_string(input.find(c)))
                << input;
        }
    }
    // And in block scalars the line breaks are line breaks.
    EXPECT_EQ(*read_ok<Texts>("a: |\n  \"x\xC2\x85  y\"\n").find("a"), "\"x\ny\"\n");
    // Characters below U+0020 are refused in double quotes too.
    EXPECT_EQ(read_error<Texts>("categories: [\x01]"), "control characters are not allowed at position 13");
    EXPECT_EQ(read_error<Texts>("a: \"\xC2\x85\x01\""), "control characters are not allowed at position 6");
}

// Each is one ordinary character on its line: an error after it has the
// place that the same text with `x` in its place gives.  After a backslash it
// starts no escape.
TEST(LibyamlInput, JsonStringCharactersArePlacedAsWritten) {
    const std::string inputs[] = {
        "{\"a\": \"x@y\", \"b\": [1]}",
        "{\"a\": \"@\", \"@@\": \"@ @\", \"b\": [1]}",
        "{\"a\": \"@\",\n \"b\": \"@\", \"c\": [1]}",
        "a: \"@\\uD83D\\uDE00@\"\nb: \"@\" x",
        "a: \"@\n  @\" x",
        "a: \"@\\q\"",
        "[\"@\", \"@\"]",
    };
    for (const std::string& c : specials) {
        for (const std::string& input : inputs) {
            const std::string with = replaced(input, "@", c);
            const std::string error = read_error<Texts>(with);
            EXPECT_NE(error, "") << with;
            EXPECT_EQ(replaced(error, c, "x"), read_error<Texts>(replaced(input, "@", "x"))) << with;
        }
        EXPECT_EQ(read_error<Texts>("a: \"x\\" + c + "\""), read_error<Texts>("a: \"x\\q\""));
        EXPECT_EQ(read_error<Texts>("a: \"\\\\\\" + c + "\""), read_error<Texts>("a: \"\\\\\\q\""));
    }
    // As a user meets it.
    using brindle::models::ort::LicenseClassifications;
    const std::string file = "{\"categories\": [{\"name\": \"a@b\", \"description\": []}]}";
    EXPECT_EQ(read_error<LicenseClassifications>(replaced(file, "@", "\xC2\x85")),
              read_error<LicenseClassifications>(replaced(file, "@", "_")));
    EXPECT_EQ(read_error<LicenseClassifications>(replaced(file, "@", "_")),
              "categories[0].description: invalid type: sequence, expected a string at line 1 column 48");
}

// Many such characters, across every end of libyaml's pieces of input and of
// the reader's windows, and a control character refused after them.
TEST(LibyamlInput, JsonStringCharactersAcrossPieces) {
    std::string doc = "[";
    std::vector<std::string> expected;
    for (std::size_t pad = 0; pad < 1100; pad += 3) {
        const std::string& c = specials[pad % std::size(specials)];
        std::string text = std::string(pad % 11, 'p') + c + std::string(pad % 5, ' ') + c;
        doc += (pad == 0 ? "\"" : pad % 2 ? ",\"" : ", \"") + text + "\"";
        expected.push_back(text);
    }
    doc += ",\"end\"]";
    expected.push_back("end");
    EXPECT_EQ(read_ok<std::vector<std::string>>(doc), expected);
    for (const std::string& c : {std::string("\x7F"), std::string("\xEF\xBF\xBF")}) {
        std::string bad = doc;
        bad.insert(bad.size() - 1, ", x\"" + c);
        EXPECT_EQ(read_error<std::vector<std::string>>(bad),
                  "control characters are not allowed at position " + std::to_string(bad.size() - 1 - c.size()));
    }
}

// A tab in the white space around a JSON object or array is white space;
// every other tab reads as it always has.
TEST(LibyamlInput, TabsAroundAJsonText) {
    for (const char* input : {"\t{\"a\": \"b\"}", " \t{\"a\": \"b\"}", "\r\n\t {\"a\": \"b\"}\t",
                                     "{\"a\": \"b\"}\n\t\n", "\t{\"a\":\t\"b\"}\t\n \t\n"}) {
        Texts v = read_ok<Texts>(input);
        ASSERT_NE(v.find("a"), nullptr) << input;
        EXPECT_EQ(*v.find("a"), "b") << input;
    }
    EXPECT_EQ(read_ok<std::vector<std::string>>("\t[\"a\"]\n\t"), std::vector<std::string>{"a"});
    const std::pair<const char*, const char*> others[] = {
        {"\ta: b", "found character that cannot start any token, while scanning for the next token"},
        {"a: b\n\t", "found a tab character that violates indentation at line 2 column 1, while scanning a plain "
                     "scalar at line 1 column 4"},
        {"\t{a: b}\n# c\n\t", "found character that cannot start any token at line 3 column 1, while scanning for "
                              "the next token"},
        {"{\"a\": \"b\"}\n\tc: d",
         "found character that cannot start any token at line 2 column 1, while scanning for the next token"},
    };
    for (const auto& [input, error] : others) EXPECT_EQ(read_error<Texts>(input), error) << input;
}

}  // namespace
