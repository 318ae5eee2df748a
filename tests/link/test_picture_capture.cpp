// Picture transfers as the unit's chunks cut them: where the start line, the picture and the
// trailer fall, and what ends a transfer that goes wrong.
#include <gtest/gtest.h>

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
        if (c.posted == cmd::kSavePicture) EXPECT_EQ(rig.link.Picture().Image().size(), c.body);
        else EXPECT_EQ(rig.status.back(), "jpeg data overload!!");
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
    rig.Rx("CMD OK\r\n");
    EXPECT_TRUE(rig.link.Console().AckReceived);
}

}  // namespace
