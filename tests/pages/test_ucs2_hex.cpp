#include <gtest/gtest.h>

#include <random>
#include <string>

#include "pages/framework/Ucs2Hex.h"

namespace rtu {
namespace {

struct CodecCase {
    const char* name;
    std::string input;
    std::string expected;
};

std::string Repeat(const std::string& piece, std::size_t times)
{
    std::string s;
    for (std::size_t i = 0; i < times; ++i) s += piece;
    return s;
}

// Code points in well-formed UTF-8.
std::size_t CountChars(const std::string& s)
{
    std::size_t n = 0;
    for (char c : s) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return n;
}

bool IsUpperHex(const std::string& s)
{
    for (char c : s)
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) return false;
    return true;
}

TEST(Ucs2Hex, Decode)
{
    const CodecCase cases[] = {
        {"ascii", "004100420043", "ABC"},
        {"empty", "", ""},
        {"incomplete group ignored", "00410", "A"},
        {"lower-case digit counts as 15", "004a", "O"},
        {"other character counts as 15", "00 1", "\xC3\xB1"},  // 0x00F1
        {"cyrillic", "041F04400438", "\xD0\x9F\xD1\x80\xD0\xB8"},
        {"cjk", "4E2D6587", "\xE4\xB8\xAD\xE6\x96\x87"},
        {"surrogate pair joined", "D83DDE00", "\xF0\x9F\x98\x80"},
        {"unpaired high surrogate", "D83D0041",
         "\xEF\xBF\xBD"
         "A"},
        {"unpaired low surrogate", "DC000041",
         "\xEF\xBF\xBD"
         "A"},
        {"ends at the first NUL", "0041000000420043", "A"},
        {"cut at 150 characters", Repeat("0041", 151), Repeat("A", 150)},
        {"100 cyrillic characters kept whole", Repeat("0439", 100), Repeat("\xD0\xB9", 100)},
        {"cyrillic cut at 150 characters", Repeat("0439", 151), Repeat("\xD0\xB9", 150)},
        {"cjk cut at 150 characters", "0041" + Repeat("4E2D", 150), "A" + Repeat("\xE4\xB8\xAD", 149)},
        {"a pair is one character", Repeat("0041", 149) + "D83DDE00", Repeat("A", 149) + "\xF0\x9F\x98\x80"},
        {"cut never splits a pair", Repeat("0041", 150) + "D83DDE00", Repeat("A", 150)},
        {"150 pairs", Repeat("D83DDE00", 151), Repeat("\xF0\x9F\x98\x80", 150)},
        {"unpaired surrogate at the bound", Repeat("0041", 149) + "D83D0042", Repeat("A", 149) + "\xEF\xBF\xBD"},
    };
    for (const auto& c : cases) EXPECT_EQ(DecodeUcs2Hex(c.input), c.expected) << c.name;
}

TEST(Ucs2Hex, EncodeAndRoundTrip)
{
    const CodecCase cases[] = {
        {"ascii", "AB", "00410042"},
        {"empty", "", ""},
        {"latin-1 pads to four digits", "\xC3\xA9", "00E9"},
        {"cyrillic", "\xD0\x9F\xD1\x80\xD0\xB8", "041F04400438"},
        {"cjk", "\xE4\xB8\xAD\xE6\x96\x87", "4E2D6587"},
        {"emoji as a surrogate pair", "\xF0\x9F\x98\x80", "D83DDE00"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EncodeUcs2Hex(c.input), c.expected) << c.name;
        EXPECT_EQ(DecodeUcs2Hex(c.expected), c.input) << c.name;
    }
}

TEST(Ucs2Hex, EncodeReplacesInvalidUtf8)
{
    const CodecCase cases[] = {
        {"invalid byte", "\xFF", "FFFD"},
        {"truncated two-byte sequence", "A\xC3", "0041FFFD"},
        {"truncated three-byte sequence", "\xE4\xB8", "FFFD"},
        {"stray continuation byte",
         "\x80"
         "A",
         "FFFD0041"},
        {"overlong slash", "\xC0\xAF", "FFFDFFFD"},
        {"encoded surrogate", "\xED\xA0\x80", "FFFDFFFDFFFD"},
        {"above U+10FFFF", "\xF4\x90\x80\x80", "FFFDFFFDFFFDFFFD"},
    };
    for (const auto& c : cases) EXPECT_EQ(EncodeUcs2Hex(c.input), c.expected) << c.name;
}

TEST(Ucs2Hex, EncodeStopsAtTheUnitBound)
{
    EXPECT_EQ(EncodeUcs2Hex(Repeat("A", kUcs2MaxUnits + 1)), Repeat("0041", kUcs2MaxUnits));
    // A pair that would straddle the bound is left out whole.
    EXPECT_EQ(EncodeUcs2Hex(Repeat("A", kUcs2MaxUnits - 1) + "\xF0\x9F\x98\x80"), Repeat("0041", kUcs2MaxUnits - 1));
    EXPECT_EQ(EncodeUcs2Hex(Repeat("A", kUcs2MaxUnits - 2) + "\xF0\x9F\x98\x80"),
              Repeat("0041", kUcs2MaxUnits - 2) + "D83DDE00");
}

// Whatever the unit sends, decoding gives text that encodes to well-formed hex and decodes
// back to itself; encoding arbitrary bytes gives well-formed hex within the bound.
TEST(Ucs2Hex, ArbitraryInputStaysWellFormed)
{
    std::mt19937 rng(20240611);
    using namespace std::string_literals;
    const std::string hexish = "0123456789ABCDEFabcdef D8DC00\x00\xFF"s;
    for (int round = 0; round < 2000; ++round) {
        const std::size_t len = rng() % 700;
        std::string input;
        for (std::size_t i = 0; i < len; ++i)
            input += round % 2 ? static_cast<char>(rng() & 0xFF) : hexish[rng() % hexish.size()];

        const std::string text = DecodeUcs2Hex(input);
        ASSERT_LE(CountChars(text), kUcs2DecodedChars);
        const std::string hex = EncodeUcs2Hex(text);
        ASSERT_EQ(hex.size() % 4, 0u);
        ASSERT_TRUE(IsUpperHex(hex));
        ASSERT_EQ(DecodeUcs2Hex(hex), text);

        const std::string raw = EncodeUcs2Hex(input);
        ASSERT_EQ(raw.size() % 4, 0u);
        ASSERT_LE(raw.size(), kUcs2MaxUnits * 4);
        ASSERT_TRUE(IsUpperHex(raw));
    }
}

}  // namespace
}  // namespace rtu
