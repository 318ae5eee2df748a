#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

using namespace std::string_literals;
#include <fstream>
#include <string>
#include <vector>

#include "link/ProfileReader.h"

using namespace rtu;
using Error = CProfileReader::Error;

namespace {

// The kept lines as "C:text" / "N:text" / "R:text".
std::vector<std::string> Kept(const CProfileLines& lines)
{
    std::vector<std::string> out;
    std::size_t offset = 0;
    ProfileLine line{};
    while (lines.Next(offset, line))
        out.push_back(std::string(1, static_cast<char>(line.kind)) + ":" + std::string(line.text));
    return out;
}

struct Parsed {
    Error error;
    std::vector<std::string> kept;
};

Parsed Parse(std::string_view bytes, std::size_t chunk)
{
    CProfileReader reader;
    bool ok = true;
    for (std::size_t at = 0; ok && at < bytes.size(); at += chunk) ok = reader.Feed(bytes.substr(at, chunk));
    if (ok) reader.Finish();
    return {reader.GetError(), Kept(reader.Lines())};
}

std::string Utf16(std::u16string_view text, bool littleEndian)
{
    std::string out = littleEndian ? "\xFF\xFE" : "\xFE\xFF";
    for (char16_t u : text) {
        const char lo = static_cast<char>(u & 0xFF), hi = static_cast<char>(u >> 8);
        out += littleEndian ? lo : hi;
        out += littleEndian ? hi : lo;
    }
    return out;
}

struct Case {
    const char* name;
    std::string bytes;
    Error error;
    std::vector<std::string> kept;
};

}  // namespace

TEST(ProfileReader, TextRulesWholeAndInAnyChunking)
{
    const std::string longCmd = "%CS1+" + std::string(CProfileReader::kMaxCommandBytes - 5, '7');
    const Case cases[] = {
        {"lone CR ends a line", "%A\r%B\r%C", Error::None, {"C:%A", "C:%B", "C:%C"}},
        {"lone LF ends a line", "%A\n%B\n", Error::None, {"C:%A", "C:%B"}},
        {"CR LF is one end", "%A\r\n\r\n%B\r\n", Error::None, {"C:%A", "C:%B"}},
        {"mixed ends", "%A\n\r%B\r\r\n%C", Error::None, {"C:%A", "C:%B", "C:%C"}},
        {"kinds", "//Page A\r\n\\\\ note\r\nplain\r\n%X", Error::None, {"N:\\\\ note", "C:%X"}},
        {"direct repeat marked unsent, repeat after other text kept",
         "%A\r\n%A\r\n\r\n%A\r\n//h\r\n%A\r\n\\\\n\r\n\\\\n\r\n",
         Error::None,
         {"C:%A", "D:%A", "D:%A", "C:%A", "N:\\\\n"}},
        {"UTF-8 mark dropped", "\xEF\xBB\xBF%A\r\n", Error::None, {"C:%A"}},
        {"UTF-8 text kept",
         "%ISNAME0:\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80\r\n",
         Error::None,
         {"C:%ISNAME0:\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80"}},
        {"UTF-16 LE converted",
         Utf16(u"%A\r\n%\u00e4\U0001F600\r\n", true),
         Error::None,
         {"C:%A", "C:%\xC3\xA4\xF0\x9F\x98\x80"}},
        {"UTF-16 BE converted", Utf16(u"%A\r%B", false), Error::None, {"C:%A", "C:%B"}},
        {"UTF-16 mark only", "\xFF\xFE", Error::None, {}},
        {"empty file", "", Error::None, {}},
        {"longest command kept", longCmd + "\r\n%B", Error::None, {"C:" + longCmd, "C:%B"}},
        {"one byte more is refused, the next line goes alone",
         longCmd + "8\r\n%B",
         Error::None,
         {"R:" + longCmd.substr(0, CProfileReader::kRefusedPreview), "C:%B"}},
        {"NUL byte", "%A\r\n%B\0C\r\n"s, Error::NulByte, {}},
        {"NUL in UTF-16", Utf16(u"%A\0"s, true), Error::NulByte, {}},
        {"UTF-16 without its mark is not text", "%\0A\0"s, Error::NulByte, {}},
        {"stray continuation byte", "%A\x80\r\n", Error::NotText, {}},
        {"overlong form", "%\xC0\xAF", Error::NotText, {}},
        {"surrogate in UTF-8", "%\xED\xA0\x80", Error::NotText, {}},
        {"above U+10FFFF", "%\xF4\x90\x80\x80", Error::NotText, {}},
        {"cut character at the end", "%A\xE2\x82", Error::NotText, {}},
        {"Latin-1 text", "%SMS\xE4\r\n", Error::NotText, {}},
        {"unpaired UTF-16 surrogate", Utf16(u"%A\xDC00", true), Error::NotText, {}},
        {"odd UTF-16 length", Utf16(u"%A", true) + "x", Error::NotText, {}},
    };
    for (const Case& c : cases) {
        for (std::size_t chunk : {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{64 * 1024}}) {
            SCOPED_TRACE(std::string(c.name) + ", chunks of " + std::to_string(chunk));
            const Parsed p = Parse(c.bytes, chunk);
            EXPECT_EQ(p.error, c.error);
            if (c.error == Error::None) {
                EXPECT_EQ(p.kept, c.kept);
            }
        }
    }
}

TEST(ProfileReader, RefusedLinesAreNamedByNumber)
{
    CProfileReader reader;
    const std::string tooLong = "%" + std::string(2000, 'x');
    ASSERT_TRUE(reader.Feed("//h\r\n%A\r" + tooLong + "\n\n%B\r\n" + tooLong + "\r\n"));
    ASSERT_TRUE(reader.Finish());
    EXPECT_EQ(reader.RefusedLineNumbers(), (std::vector<std::uint32_t>{3, 6}));
    EXPECT_EQ(reader.Lines().CountOf(ProfileLineKind::Refused), 2u);
    EXPECT_EQ(reader.Lines().CountOf(ProfileLineKind::Command), 2u);
}

TEST(ProfileReader, SizeIsBoundedWhileReading)
{
    // Ten megabytes of empty lines are fine; one byte more is not, whatever the chunking.
    CProfileReader reader;
    const std::string chunk(CProfileReader::kReadChunk, '\n');
    std::size_t fed = 0;
    while (fed + chunk.size() <= CProfileReader::kMaxFileBytes) {
        ASSERT_TRUE(reader.Feed(chunk));
        fed += chunk.size();
    }
    ASSERT_TRUE(reader.Feed(std::string(CProfileReader::kMaxFileBytes - fed, '\n')));
    EXPECT_FALSE(reader.Feed("\n"));
    EXPECT_EQ(reader.GetError(), Error::TooLarge);
    EXPECT_FALSE(reader.Finish());
    EXPECT_TRUE(reader.Lines().Empty());
}

TEST(ProfileReader, Files)
{
    const auto dir = std::filesystem::temp_directory_path() / ("rtu_reader_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "ok.txt", std::ios::binary) << "%A\r%B\r";
    {
        std::ofstream big(dir / "big.txt", std::ios::binary);
        big.seekp(static_cast<std::streamoff>(CProfileReader::kMaxFileBytes));  // sparse: nothing is read
        big << "\n";
    }
    const struct {
        std::filesystem::path path;
        Error error;
    } cases[] = {
        {dir / "ok.txt", Error::None}, {dir / "big.txt", Error::TooLarge}, {dir / "missing.txt", Error::CannotOpen},
        {dir, Error::ReadFailed},      {"/dev/zero", Error::NulByte},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.string());
        CProfileReader reader;
        EXPECT_EQ(reader.ReadFile(c.path.string()), c.error == Error::None);
        EXPECT_EQ(reader.GetError(), c.error);
        EXPECT_EQ(reader.ErrorText().empty(), c.error == Error::None);
    }
    std::filesystem::remove_all(dir);
}
