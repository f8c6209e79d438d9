// The UTF-8 check of file reads, made on the bytes as they arrive: how much of
// a run of bytes is whole characters, and whether the rest can still become one.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "python/file_text.hpp"

using brindle::python::utf8_whole_prefix;

namespace {

void expect_scan(std::string_view bytes, std::size_t whole, bool bad) {
    auto scan = utf8_whole_prefix(bytes);
    EXPECT_EQ(scan.whole, whole) << testing::PrintToString(std::string(bytes));
    EXPECT_EQ(scan.bad, bad) << testing::PrintToString(std::string(bytes));
}

TEST(Utf8WholePrefix, WholeCharactersAndEachCutOfThem) {
    // The smallest and largest character of each length, and those beside the
    // surrogates.
    const char* characters[] = {
        "a",    "\x7f",             "\xc2\x80",         "\xdf\xbf",         "\xe0\xa0\x80",
        "\xed\x9f\xbf",             "\xee\x80\x80",     "\xef\xbf\xbf",     "\xf0\x90\x80\x80",
        "\xf0\x9d\x84\x9e",         "\xf4\x8f\xbf\xbf",
    };
    for (std::string_view c : characters) {
        std::string before = "x\xc3\xa9";  // whole characters before it
        expect_scan(before + std::string(c), before.size() + c.size(), false);
        expect_scan(before + std::string(c) + "y", before.size() + c.size() + 1, false);
        // Cut after each of its bytes but the last: the whole characters
        // before it, and the cut-off start left for the bytes to come.
        for (std::size_t cut = 1; cut < c.size(); ++cut)
            expect_scan(before + std::string(c.substr(0, cut)), before.size(), false);
    }
    expect_scan("", 0, false);
}

TEST(Utf8WholePrefix, BadBytesStopAtTheCharacterTheyAreIn) {
    struct Case {
        std::string_view bytes;  // after "ab"
        const char* what;
        std::size_t whole = 0;   // of its bytes, those of whole characters
    };
    const Case cases[] = {
        {"\x80", "a continuation byte first"},
        {"\xbf", "a continuation byte first"},
        {"\xc0\x80", "overlong, 2 bytes"},
        {"\xc1\xbf", "overlong, 2 bytes"},
        {"\xe0\x80\x80", "overlong, 3 bytes"},
        {"\xe0\x9f\xbf", "overlong, 3 bytes"},
        {"\xf0\x80\x80\x80", "overlong, 4 bytes"},
        {"\xf0\x8f\xbf\xbf", "overlong, 4 bytes"},
        {"\xed\xa0\x80", "surrogate U+D800"},
        {"\xed\xbf\xbf", "surrogate U+DFFF"},
        {"\xf4\x90\x80\x80", "above U+10FFFF"},
        {"\xf5\x80\x80\x80", "above U+10FFFF"},
        {"\xf8\x88\x80\x80\x80", "5-byte form"},
        {"\xfe", "never in UTF-8"},
        {"\xff", "never in UTF-8"},
        {"\xc3(", "no continuation, 2 bytes"},
        {"\xe2\x82(", "no continuation, 3 bytes"},
        {"\xe2(\xac", "no continuation, 3 bytes"},
        {"\xf0\x9d\x84(", "no continuation, 4 bytes"},
        {"\xf0\x9d(\x9e", "no continuation, 4 bytes"},
        {"\xc3\xa9\xa9", "one continuation too many", 2},
        // Bad before the character is whole: no byte to come can mend them.
        {"\xe0\x80", "overlong, cut off"},
        {"\xf0\x8f", "overlong, cut off"},
        {"\xed\xa0", "surrogate, cut off"},
        {"\xf4\x90", "above U+10FFFF, cut off"},
        {"\xe2(", "no continuation, cut off"},
        {"\xf0\x9d(", "no continuation, cut off"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::string bytes = "ab" + std::string(c.bytes);
        std::size_t whole = 2 + c.whole;
        expect_scan(bytes, whole, true);
        expect_scan(bytes + "more text", whole, true);
    }
}

}  // namespace
