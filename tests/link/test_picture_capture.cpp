// Picture transfers as the unit's chunks cut them: where the start line, the picture and the
// trailer fall, and what ends a transfer that goes wrong.
#include <gtest/gtest.h>

#include <algorithm>

#include "LinkRig.h"

using namespace rtu;
using rtu::test::LinkRig;

namespace {

const std::string kJpeg = std::string("\xFF\xD8\xFF\xE0", 4) + std::string(60, 'p') + "\r\nCMD OK\r\n" + "\xFF\xD9";
const std::string kTrailer(CImageCollector::kTrailer);

TEST(PictureCapture, EveryCutOfTheChunksGivesThePicture)
{
    struct Case {
        const char* name;
        std::vector<std::string> chunks;
    };
    const std::string all = "$IMAGE_START\r\n" + kJpeg + kTrailer;
    const Case cases[] = {
        {"all in the start line's chunk", {all}},
        {"start line alone", {"$IMAGE_START\r\n", kJpeg + kTrailer}},
        {"line feed of the start line in the next chunk", {"$IMAGE_START\r", "\n" + kJpeg + kTrailer}},
        {"line feed alone", {"$IMAGE_START\r", "\n", kJpeg, kTrailer}},
        {"one picture byte with the start line", {"$IMAGE_START\r\n" + kJpeg.substr(0, 1), kJpeg.substr(1) + kTrailer}},
        {"trailer split", {"$IMAGE_START\r\n" + kJpeg + "$IMAGE_", "END\r", "\n"}},
        {"byte by byte", {}},
    };
    for (const Case& c : cases) {
        LinkRig rig;
        std::vector<std::string> chunks = c.chunks;
        if (chunks.empty())
            for (char ch : all) chunks.emplace_back(1, ch);
        for (const std::string& chunk : chunks) rig.Rx(chunk);
        EXPECT_EQ(rig.posted, std::vector<int>{cmd::kSavePicture}) << c.name;
        EXPECT_EQ(rig.link.Picture().Image(), kJpeg) << c.name;
        EXPECT_FALSE(rig.link.Picture().Active()) << c.name;
        EXPECT_FALSE(rig.link.NextDeadline().has_value()) << c.name;
        // The console shows the start line and the picture's size, never its bytes.
        std::string console;
        for (const std::string& shown : rig.console) console += shown;
        std::erase(console, '\n');  // a start line's line feed in the next chunk goes with the picture
        EXPECT_EQ(console.rfind("$IMAGE_START\r[picture: 76 bytes] ", 0), 0u) << c.name << ": " << console;
        EXPECT_EQ(console.find("\xFF\xD8"), std::string::npos) << c.name;
        EXPECT_EQ(console.find("pppp"), std::string::npos) << c.name;
        rig.Rx("CMD OK\r\n");  // line mode again: the answer is not picture data
        EXPECT_TRUE(rig.link.Console().AckReceived) << c.name;
    }
}

TEST(PictureCapture, SizeBound)
{
    const std::size_t room = CImageCollector::kImageBufferSize - kTrailer.size();
    struct Case {
        std::size_t body;
        bool firstChunk;  // the body comes with the start line
        int posted;
    };
    const Case cases[] = {
        {room, false, cmd::kSavePicture},
        {room, true, cmd::kSavePicture},
        {room + 1, false, cmd::kPictureFailed},
        {room + 1, true, cmd::kPictureFailed},
    };
    for (const Case& c : cases) {
        LinkRig rig;
        const std::string body(c.body, 'b');
        if (c.firstChunk) rig.Rx("$IMAGE_START\r\n" + body);
        else {
            rig.Rx("$IMAGE_START\r\n");
            rig.Rx(body);
        }
        rig.Rx(kTrailer);
        EXPECT_EQ(rig.posted, std::vector<int>{c.posted}) << c.body << " " << c.firstChunk;
        std::string console;
        for (const std::string& shown : rig.console) console += shown;
        if (c.posted == cmd::kSavePicture) {
            EXPECT_EQ(rig.link.Picture().Image().size(), c.body);
            EXPECT_EQ(console.find("failed"), std::string::npos);
        } else {
            EXPECT_EQ(rig.status.back(), "jpeg data overload!!");
            // The console says the picture failed and how much of it came (the trailer too:
            // that is what no longer fit).
            EXPECT_NE(console.find("[picture failed after " + std::to_string(c.body + kTrailer.size()) + " bytes]"), std::string::npos)
                << console.substr(0, 200);
        }
        EXPECT_FALSE(rig.link.Picture().Active());
    }
}

TEST(PictureCapture, QuietUnitEndsTheTransfer)
{
    LinkRig rig;
    rig.Rx("$IMAGE_START\r\n" + kJpeg.substr(0, 20));
    ASSERT_TRUE(rig.link.NextDeadline().has_value());
    rig.now = *rig.link.NextDeadline() - 1;
    rig.Rx(kJpeg.substr(20, 10));  // a byte moves the bound on
    rig.now = *rig.link.NextDeadline() - 1;
    rig.link.HandleTime();
    EXPECT_TRUE(rig.link.Picture().Active());
    rig.now = *rig.link.NextDeadline();
    rig.link.HandleTime();
    EXPECT_FALSE(rig.link.Picture().Active());
    EXPECT_EQ(rig.status.back(), CImageCollector::kStoppedText);  // not the unit's own "$IMAGE_ERR" text
    EXPECT_EQ(rig.posted, std::vector<int>{cmd::kPictureFailed});
    EXPECT_FALSE(rig.link.NextDeadline().has_value());
    EXPECT_EQ(rig.console.back(), "[picture failed after 30 bytes] ");
    rig.Rx("CMD OK\r\n");
    EXPECT_TRUE(rig.link.Console().AckReceived);
}

TEST(PictureCapture, BytesAfterTheTrailerAreLines)
{
    const std::string event = "$:\"7\",\"DIN 1 ALARM\",\"1\",\"Door\",\"1\",\"OPEN\",\"t\"\r\n";
    const std::string start = "$IMAGE_START\r\n";
    struct Case {
        const char* name;
        std::vector<std::string> chunks;
    };
    const Case cases[] = {
        {"event in the trailer's chunk", {start, kJpeg + kTrailer + event + "CMD OK\r\n"}},
        {"all in one chunk", {start + kJpeg + kTrailer + event + "CMD OK\r\n"}},
        {"trailer split, event after its end", {start + kJpeg + "$IMAGE_E", "ND\r\n" + event + "CMD OK\r\n"}},
        {"event line split after the trailer",
         {start + kJpeg + kTrailer + event.substr(0, 9), event.substr(9) + "CMD OK\r\n"}},
    };
    for (const Case& c : cases) {
        LinkRig rig;
        for (const std::string& chunk : c.chunks) rig.Rx(chunk);
        EXPECT_EQ(rig.posted, std::vector<int>{cmd::kSavePicture}) << c.name;
        EXPECT_EQ(rig.link.Picture().Image(), kJpeg) << c.name;
        EXPECT_FALSE(rig.link.Picture().Active()) << c.name;
        EXPECT_NE(std::find(rig.lines.begin(), rig.lines.end(), event.substr(0, event.size() - 2)), rig.lines.end())
            << c.name;
        EXPECT_TRUE(rig.link.Console().AckReceived) << c.name;
        EXPECT_FALSE(rig.link.NextDeadline().has_value()) << c.name;
    }
}

TEST(PictureCapture, TrailerTooEarlyIsPictureData)
{
    // A trailer that would leave 30 bytes or fewer is taken for picture bytes, wherever it lies.
    LinkRig rig;
    const std::string early = "ab" + kTrailer + "cd";
    rig.Rx("$IMAGE_START\r\n" + early + kJpeg + kTrailer + "CMD OK\r\n");
    EXPECT_EQ(rig.link.Picture().Image(), early + kJpeg);
    EXPECT_TRUE(rig.link.Console().AckReceived);
}

TEST(PictureCapture, OverflowKeepsWhatFollowsTheTrailer)
{
    LinkRig rig;
    rig.Rx("$IMAGE_START\r\n");
    rig.Rx(std::string(CImageCollector::kImageBufferSize, 'b') + kTrailer + "CMD OK\r\n");
    EXPECT_EQ(rig.posted, std::vector<int>{cmd::kPictureFailed});
    EXPECT_EQ(rig.status.back(), "jpeg data overload!!");
    EXPECT_TRUE(rig.link.Console().AckReceived);
}

TEST(PictureCapture, TalkingUnitWithoutTrailerEndsAtTheTransferBound)
{
    struct Case {
        int baud;
    };
    for (const Case c : {Case{9600}, Case{115200}}) {
        LinkRig rig;
        rig.link.SetLineSpeed(c.baud);
        const Millis bound = CImageCollector::TransferBoundMs(c.baud);
        // The largest picture's own time on the line fits in the bound.
        EXPECT_GT(bound, static_cast<Millis>(CImageCollector::kImageBufferSize) * 10 * 1000 / c.baud) << c.baud;
        rig.Rx("$IMAGE_START\r\n");
        // A byte every second keeps the quiet bound away; the picture never grows too large.
        for (rig.now = 1000; rig.now < bound; rig.now += 1000) {
            rig.Rx("x");
            rig.link.HandleTime();
        }
        EXPECT_TRUE(rig.link.Picture().Active()) << c.baud;
        rig.now = bound;
        ASSERT_TRUE(rig.link.NextDeadline().has_value());
        EXPECT_LE(*rig.link.NextDeadline(), bound) << c.baud;
        rig.link.HandleTime();
        EXPECT_FALSE(rig.link.Picture().Active()) << c.baud;
        EXPECT_EQ(rig.status.back(), CImageCollector::kOverdueText) << c.baud;
        EXPECT_EQ(rig.posted, std::vector<int>{cmd::kPictureFailed}) << c.baud;
        rig.Rx("CMD OK\r\n");
        EXPECT_TRUE(rig.link.Console().AckReceived) << c.baud;
    }
}

}  // namespace
