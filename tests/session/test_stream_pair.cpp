// What the unit sends on its own around a camera picture, through the session and the
// simulated unit on one fake clock: the picture arrives whole and every event around it,
// also the one in the same read as the picture's end, reaches the event list.
#include <gtest/gtest.h>

#include "../sim/SimHarness.h"
#include "pages/events/PageEvents.h"
#include "session/Session.h"

using namespace rtu;

namespace {

// Complete event lines among the bytes sent.
std::size_t EventLines(const std::string& bytes)
{
    std::size_t n = 0;
    for (std::size_t at = bytes.find("$:"); at != std::string::npos; at = bytes.find("$:", at + 2))
        if (bytes.find("\r\n", at) != std::string::npos) ++n;
    return n;
}

TEST(StreamPair, PictureWhileEventsArriveKeepsBoth)
{
    struct Case {
        const char* name;
        int eventEveryMs;
        bool eventAfterPicture;
    };
    const Case cases[] = {
        {"events every 100 ms", 100, false},
        {"an event in the trailer's write", 100, true},
        {"events faster than the chunks", 20, true},
    };
    std::string picture = "\xFF\xD8";
    for (int i = 0; picture.size() < 6000; ++i) picture += static_cast<char>(i * 37 % 256);
    picture += "\r\nCMD OK\r\n$: not an event\r\n\xFF\xD9";  // picture bytes that look like lines
    for (const Case& c : cases) {
        SSimOptions options = test::FastOptions();
        options.eventEveryMs = c.eventEveryMs;
        options.eventAfterPicture = c.eventAfterPicture;
        options.picture = picture;
        Millis now = 0;
        std::string toUnit, sent;
        CSimUnit unit(options, test::DefaultImage(), test::DefaultImage());
        CSession session(
            [&](std::string_view b) {
                toUnit += b;
                return true;
            },
            [&] { return now; }, nullptr);
        auto& events = dynamic_cast<CPageEvents&>(*session.Page(PageId::Events));
        std::optional<bool> ended;
        session.FetchPicture();
        constexpr Millis kRunMs = 5000;  // the picture takes well under a second at this speed
        while (now < kRunMs) {
            session.DrainEvents([&](const SessionEvent& e) {
                if (const auto* t = std::get_if<ev::TransferEnded>(&e))
                    if (t->job == CSession::kPictureJob) ended = t->ok;
            });
            if (!toUnit.empty()) unit.HandleReceived(std::exchange(toUnit, {}), now);
            Millis next = kRunMs;
            if (auto d = unit.NextDeadline()) next = std::min(next, *d);
            if (auto d = session.NextDeadline()) next = std::min(next, *d);
            now = std::max(now + 1, next);
            const std::string bytes = unit.PollTransmit(now);
            sent += bytes;
            if (!bytes.empty()) session.HandleReceive(bytes);
            session.HandleTime();
        }
        ASSERT_TRUE(ended.has_value()) << c.name;
        EXPECT_TRUE(*ended) << c.name;
        EXPECT_EQ(session.TakePicture(), picture) << c.name;
        const std::size_t before = sent.find("$IMAGE_START");
        ASSERT_NE(before, std::string::npos) << c.name;
        // Every event line the unit finished sending is listed (none inside the picture).
        EXPECT_EQ(events.Log().Size(), EventLines(sent) - 1) << c.name;  // less the picture's own "$:"
        EXPECT_GT(events.Log().Size(), static_cast<std::size_t>(kRunMs / c.eventEveryMs / 2)) << c.name;
    }
}

TEST(StreamPair, JsonHoldsTheRecordListsRows)
{
    Millis now = 0;
    CSession session([](std::string_view) { return true; }, [&] { return now; }, nullptr);
    // Two stored records in one line, then a real-time one.
    session.HandleReceive("$TREC0001ET8320261201000000020023.50,141.25,$TREC0002ET8320261201001000012-4.25,\r\n");
    session.HandleReceive("$TREC0003ET3320261201002000010019.00,\r\n");
    const nlohmann::json json = session.ExportJson();
    const nlohmann::json expected = nlohmann::json::parse(R"([
        ["20261201001000", "2", "-4.25", "", "", "", "", "", ""],
        ["20261201000000", "0", "23.50", "1", "41.25", "", "", "", ""]])");
    EXPECT_EQ(json["CPageExtTmpLog"]["4001"], expected);
    ASSERT_EQ(json["CPageExTmpRcd"]["4001"].size(), 1u);
    EXPECT_EQ(json["CPageExTmpRcd"]["4001"][0][2], "19.00");
    EXPECT_EQ(json["CPageExtTmpLog"]["records"], "2");
}

}  // namespace
