// Image files: loading, the canonical saved form, and the trace line format.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

#include "SimHarness.h"
#include "sim/core/SimImage.h"
#include "sim/core/SimTrace.h"

namespace rtu::test {
namespace {

CSimImage ParseOk(const std::string& text)
{
    std::string error;
    auto image = CSimImage::Parse(text, error);
    EXPECT_TRUE(image) << error;
    return image ? *image : CSimImage{};
}

TEST(SimImage, SameContentSavesAsTheSameText)
{
    const std::string a = "# a unit\n[DUMP_SYS]\n$DID X\n$CC 49\n\n[DUMP_PHONE]\n$CS1 +2\n$CS0 +1\n";
    const std::string b =
        "[DUMP_PHONE]\r\n$CS0 +1\r\n# comment\r\n$CS1 +2\r\n[DUMP_SYS]\r\n$CC 49\r\n\r\n$DID X\r\n[EMPTY]\n";
    EXPECT_EQ(ParseOk(a).Serialize(), ParseOk(b).Serialize());
    EXPECT_EQ(ParseOk(a).Serialize(), "[DUMP_PHONE]\n$CS0 +1\n$CS1 +2\n\n[DUMP_SYS]\n$CC 49\n$DID X\n");
}

TEST(SimImage, DefaultImageRoundTripsThroughItsText)
{
    const CSimImage image = DefaultImage();
    ASSERT_GT(image.Size(), 150u);
    const CSimImage again = ParseOk(image.Serialize());
    EXPECT_EQ(again, image);
    EXPECT_EQ(again.Serialize(), image.Serialize());
}

TEST(SimImage, KeepsValuesExactlyIncludingEmptyOnes)
{
    const CSimImage image = ParseOk("[DUMP_PHONE]\n$CS4 \n$CS5 +49 30  1\n[E99?]\n$ISNAME0: 0041\n");
    EXPECT_EQ(image.Value("$CS4"), std::string(""));
    EXPECT_EQ(image.Line("$CS4"), std::string("$CS4 "));
    EXPECT_EQ(image.Value("$CS5"), std::string("+49 30  1"));
    EXPECT_EQ(image.GroupLines("E99?"), std::vector<std::string>{"$ISNAME0: 0041"});
}

TEST(SimImage, RefusesMalformedFiles)
{
    for (const char* text : {"$CS0 +1\n", "[DUMP_SYS\n$DID X\n", "[]\n"}) {
        std::string error;
        EXPECT_FALSE(CSimImage::Parse(text, error)) << text;
        EXPECT_FALSE(error.empty()) << text;
    }
    std::string error;
    std::string huge = "[G]\n$K " + std::string(CSimImage::kMaxLineBytes, 'v') + "\n";
    EXPECT_FALSE(CSimImage::Parse(huge, error));
}

TEST(SimImage, EmptyFileIsAnEmptyUnitThatFillsAsItIsWritten)
{
    CSimHarness sim(FastOptions(), ParseOk(""));
    EXPECT_EQ(sim.Exchange("%DUMPS\r"), std::vector<std::string>{"CMD OK"});
    sim.Exchange("%DINPRIO=3,0005,0000\r");
    sim.Exchange("%CS3+4912345\r");
    sim.Exchange("%E000041\r\n");
    EXPECT_EQ(sim.unit.Image().Serialize(), "[DUMP_PHONE]\n$CS3 +4912345\n\n"
                                            "[DUMP_PRIOTB]\n$PRIODINRING11 0000\n$PRIODINSMS11 0005\n\n"
                                            "[E99?]\n$ISNAME0: 0041\n");
}

TEST(SimImage, SaveAndLoadThroughAFile)
{
    const auto path = std::filesystem::temp_directory_path() / ("rtusim-image-test-" + std::to_string(::getpid()));
    const CSimImage image = DefaultImage();
    std::string error;
    ASSERT_TRUE(image.Save(path.string(), error)) << error;
    auto loaded = CSimImage::Load(path.string(), error);
    ASSERT_TRUE(loaded) << error;
    EXPECT_EQ(*loaded, image);
    std::filesystem::remove(path);
    EXPECT_FALSE(CSimImage::Load(path.string(), error));
}

TEST(SimTrace, RecordsLinesBothWaysWithTimesAndEscapes)
{
    SSimOptions options;  // 9600 baud, 5 ms latency
    options.trace = true;
    CSimHarness sim(options);
    sim.now = 100;
    sim.Feed(std::string("bad\x01\\\0x\r%DUMPR\r", 15));
    sim.AdvanceTo(110);
    sim.Feed("%STARTCMD\r");  // heard while the first answer is still on the line
    sim.Settle();
    std::vector<std::string> lines;
    for (const auto& entry : sim.unit.TakeTrace()) lines.push_back(entry.Format());
    // 1042 us per byte: "$DUMPR END\r\n" (12 bytes) from 105 ms, its "CMD OK\r\n" (8 bytes)
    // from 117.5 ms, the second "CMD OK" from 125.8 ms. Lines are traced in the order they
    // crossed the line.
    EXPECT_EQ(lines, (std::vector<std::string>{"100 < bad\\x01\\\\\\x00x", "100 < %DUMPR", "105 > $DUMPR END",
                                               "110 < %STARTCMD", "117 > CMD OK", "125 > CMD OK"}));
    EXPECT_TRUE(sim.unit.TakeTrace().empty());
}

}  // namespace
}  // namespace rtu::test
