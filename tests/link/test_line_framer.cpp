#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/LineFramer.h"

using rtu::CLineFramer;

namespace {

std::vector<std::string> Feed(CLineFramer& f, const std::vector<std::string>& chunks)
{
    std::vector<std::string> lines;
    std::string line;
    for (const auto& c : chunks) {
        f.Append(c);
        while (f.NextLine(line)) lines.push_back(line);
    }
    return lines;
}

struct Case {
    const char* name;
    std::vector<std::string> chunks;
    std::vector<std::string> lines;
};

}  // namespace

TEST(LineFramer, CutsLinesAcrossChunks)
{
    const Case cases[] = {
        {"split inside a word", {"$BPS 96", "00\r\n"}, {"$BPS 9600"}},
        {"empty lines skipped", {"\r\n\r\n$CS1 +49\r\n"}, {"$CS1 +49"}},
        {"CR LF split over chunks", {"CMD OK\r", "\n$A 1\r\n"}, {"CMD OK", "$A 1"}},
        {"LF alone and CR alone", {"a\nb\rc\r\n"}, {"a", "b", "c"}},
        {"unfinished line held", {"$X 1\r\n$Y"}, {"$X 1"}},
        {"unfinished line completed later", {"$Y", " 2", "\n"}, {"$Y 2"}},
        {"binary bytes kept", {std::string("a\0b\r\n", 5)}, {std::string("a\0b", 3)}},
    };
    for (const Case& c : cases) {
        CLineFramer f;
        EXPECT_EQ(Feed(f, c.chunks), c.lines) << c.name;
    }
}

TEST(LineFramer, OverlongLineIsDroppedAndLaterLinesStillArrive)
{
    CLineFramer f;
    const std::string longLine(CLineFramer::kLineCapacity - 2, 'x');
    EXPECT_EQ(Feed(f, {longLine + "\r\nCMD OK\r\n"}), std::vector<std::string>{"CMD OK"});
    CLineFramer g;
    const std::string fits(CLineFramer::kLineCapacity - 3, 'y');
    EXPECT_EQ(Feed(g, {fits + "\n"}), std::vector<std::string>{fits});
}

TEST(LineFramer, ConsumedBytesDoNotCountAgainstTheBound)
{
    // A long reload arrives in many chunks; a line split at a chunk edge must survive even
    // after far more than the accumulation size has passed through.
    CLineFramer f;
    std::vector<std::string> chunks;
    std::vector<std::string> expected;
    for (int i = 0; i < 2000; ++i) {
        const std::string line = "$KEY" + std::to_string(i) + " value";
        expected.push_back(line);
        const std::string bytes = line + "\r\n";
        chunks.push_back(bytes.substr(0, 5));
        chunks.push_back(bytes.substr(5));
    }
    EXPECT_EQ(Feed(f, chunks), expected);
}

TEST(LineFramer, UnfinishedTextReachingTheBoundIsDropped)
{
    CLineFramer f;
    const std::string partial(6000, 'p');
    EXPECT_TRUE(Feed(f, {partial}).empty());
    // A chunk that brings the held bytes to exactly the bound empties the held text first.
    const std::string q(CLineFramer::kAccumulationSize - partial.size() - 6, 'q');
    EXPECT_EQ(Feed(f, {q + "\r\nOK\r\n"}), (std::vector<std::string>{q, "OK"}));
    EXPECT_EQ(Feed(f, {"next\r\n"}), std::vector<std::string>{"next"});
}
