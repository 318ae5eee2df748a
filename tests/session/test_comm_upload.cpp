// The sound file download against a scripted unit: flags set by hand, time on a counter.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "session/SoundUpload.h"

using namespace rtu;

namespace {

struct Sink : ISoundUploadSink {
    bool Write(std::string_view bytes) override
    {
        writes.emplace_back(bytes);
        return true;
    }
    void ConsoleText(std::string_view text) override { console += text; }
    void StatusText(const std::string& text) override { status.push_back(text); }
    void Progress(std::int64_t s, std::int64_t t) override
    {
        sent = s;
        total = t;
    }
    void Finished(MessageIcon i, const std::string& m) override
    {
        icon = i;
        message = m;
        ++finished;
    }

    std::vector<std::string> writes;
    std::string console;
    std::vector<std::string> status;
    std::int64_t sent = -1, total = -1;
    MessageIcon icon = MessageIcon::Information;
    std::string message;
    int finished = 0;
};

std::string FileOf(std::size_t n)
{
    std::string data(n, '\0');
    for (std::size_t i = 0; i < n; ++i) data[i] = static_cast<char>(i * 7 + 3);
    return data;
}

// The download and its scripted unit.
struct Rig {
    // Starts a download of `file` into input slot 1.
    bool Start(const std::string& file, std::int64_t announced = -1)
    {
        data = file;
        at = 0;
        return upload.Start(1, "", announced < 0 ? static_cast<std::int64_t>(file.size()) : announced,
                            [this](char* buf, std::size_t cap) {
                                const std::size_t n = std::min(cap, data.size() - at);
                                data.copy(buf, n, at);
                                at += n;
                                return n;
                            },
                            now);
    }
    // The file bytes written after the start command.
    std::string Payload() const
    {
        std::string all;
        for (std::size_t i = 1; i < sink.writes.size(); ++i) all += sink.writes[i];
        return all;
    }
    void Connected()
    {
        console.ConnectedSeen = true;
        upload.Advance(now);
    }
    void Received()
    {
        console.RecvSeen = true;
        upload.Advance(now);
    }

    CConsoleState console;
    Sink sink;
    CSoundUpload upload{console, sink};
    Millis now = 1000;
    std::string data;
    std::size_t at = 0;
};

class UploadTest : public ::testing::Test, protected Rig {};

}  // namespace

TEST(SoundUploadCommand, StartCommandBySlot)
{
    EXPECT_EQ(CSoundUpload::StartCommand(0, "ignored", 1000), "%mdfile=din0_alarm.wav,1000,5\r");
    EXPECT_EQ(CSoundUpload::StartCommand(3, "", 7), "%mdfile=din3_alarm.wav,7,5\r");
    EXPECT_EQ(CSoundUpload::StartCommand(-1, "", 7), "%mdfile=din-1_alarm.wav,7,5\r");
    EXPECT_EQ(CSoundUpload::StartCommand(4, "bell.wav", 512), "%mdfile=bell.wav,512,5\r");
}

TEST_F(UploadTest, WholeFileInChunksThenSuccess)
{
    const std::string file = FileOf(600);
    ASSERT_TRUE(Start(file));
    ASSERT_EQ(sink.writes.size(), 1u);
    EXPECT_EQ(sink.writes[0], "%mdfile=din1_alarm.wav,600,5\r");

    upload.Advance(now + 500);  // not connected yet: nothing more goes
    EXPECT_EQ(sink.writes.size(), 1u);

    Connected();
    EXPECT_EQ(sink.status.front(), "SYNC Connected 0");
    ASSERT_EQ(sink.writes.size(), 2u);
    EXPECT_EQ(sink.writes[1].size(), 256u);
    upload.Advance(now);  // no answer yet
    EXPECT_EQ(sink.writes.size(), 2u);

    Received();
    Received();
    console.FileUploadOk = true;  // the unit stored the file with the last chunk's answer
    Received();

    ASSERT_EQ(sink.writes.size(), 4u);
    EXPECT_EQ(sink.writes[3].size(), 88u);
    EXPECT_EQ(Payload(), file);
    EXPECT_EQ(sink.console, "Write 256Bytes\r\nWrite 256Bytes\r\nWrite 88Bytes\r\n");
    EXPECT_EQ(sink.status, (std::vector<std::string>{"SYNC Connected 0", "Sent 256", "Sent 512", "Sent 600",
                                                     "File upload Ok"}));
    EXPECT_EQ(sink.sent, 600);
    EXPECT_EQ(sink.total, 600);
    EXPECT_EQ(sink.finished, 1);
    EXPECT_EQ(sink.icon, MessageIcon::Information);
    EXPECT_EQ(sink.message, CSoundUpload::kDownloadOk);
    EXPECT_FALSE(upload.Busy());
}

TEST_F(UploadTest, LengthMultipleOfChunkHasNoEmptyWrite)
{
    ASSERT_TRUE(Start(FileOf(512)));
    Connected();
    Received();
    console.FileUploadOk = true;
    Received();
    EXPECT_EQ(sink.writes.size(), 3u);  // start + two full chunks
    for (std::size_t i = 1; i < sink.writes.size(); ++i) EXPECT_FALSE(sink.writes[i].empty());
    EXPECT_EQ(sink.message, CSoundUpload::kDownloadOk);
}

// Each way the transfer ends early: which message, and how many chunks went.
TEST(SoundUpload, FailuresStopTheTransfer)
{
    struct Case {
        const char* name;
        std::function<void(Rig&)> script;
        std::string message;
        std::size_t writes;  // start command included
        std::string lastStatus;
    };
    const Case cases[] = {
        {"no start response",
         [](Rig& t) {
             t.upload.Advance(t.now + CSoundUpload::kStartWaitMs - 1);
             EXPECT_TRUE(t.upload.Busy());
             t.upload.Advance(t.now + CSoundUpload::kStartWaitMs);
         },
         CSoundUpload::kNoStartResponse, 1, ""},
        {"CMD ERR after the first chunk",
         [](Rig& t) {
             t.Connected();
             t.console.CmdErrSeen = true;
             t.console.AckReceived = true;
             t.upload.Advance(t.now);
         },
         CSoundUpload::kDownloadError, 2, "Sent 256"},
        {"chunk without an answer",
         [](Rig& t) {
             t.Connected();
             t.upload.Advance(t.now + CSoundUpload::kChunkWaitMs - 1);
             EXPECT_TRUE(t.upload.Busy());
             t.upload.Advance(t.now + CSoundUpload::kChunkWaitMs);
         },
         CSoundUpload::kDownloadError, 2, "timeouts"},
        {"no FILEUPL OK after the last chunk",
         [](Rig& t) {
             t.Connected();
             t.Received();
             t.Received();
             t.Received();
             EXPECT_TRUE(t.upload.Busy());  // still waiting for the unit to report the file
             t.upload.Advance(t.now + CSoundUpload::kFinalWaitMs);
         },
         CSoundUpload::kDownloadError, 4, "Sent 600"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rig t;
        ASSERT_TRUE(t.Start(FileOf(600)));
        c.script(t);
        EXPECT_FALSE(t.upload.Busy());
        EXPECT_EQ(t.sink.finished, 1);
        EXPECT_EQ(t.sink.icon, MessageIcon::Error);
        EXPECT_EQ(t.sink.message, c.message);
        EXPECT_EQ(t.sink.writes.size(), c.writes);
        EXPECT_EQ(t.sink.status.empty() ? "" : t.sink.status.back(), c.lastStatus);
        t.upload.Advance(t.now + 10 * CSoundUpload::kStartWaitMs);  // ended: nothing more happens
        EXPECT_EQ(t.sink.writes.size(), c.writes);
        EXPECT_EQ(t.sink.finished, 1);
    }
}

// "FILEUPL OK" may come in a later chunk than the last "+RECV:".
TEST_F(UploadTest, LateUploadOkStillSucceeds)
{
    ASSERT_TRUE(Start(FileOf(100)));
    Connected();
    Received();
    EXPECT_TRUE(upload.Busy());
    ASSERT_TRUE(upload.NextDeadline());
    EXPECT_EQ(*upload.NextDeadline(), now + CSoundUpload::kFinalWaitMs);
    console.FileUploadOk = true;
    upload.Advance(now + 200);
    EXPECT_EQ(sink.message, CSoundUpload::kDownloadOk);
}

// Flags left over from before (a connection of an earlier download, an acknowledgement of an
// earlier command) do not pass for this download's answers.
TEST_F(UploadTest, StaleFlagsDoNotCount)
{
    console.ConnectedSeen = true;
    console.FileUploadOk = true;
    console.AckReceived = true;
    ASSERT_TRUE(Start(FileOf(600)));
    upload.Advance(now);
    EXPECT_EQ(sink.writes.size(), 1u);  // still waiting for "$CONNECTED"
    EXPECT_FALSE(console.FileUploadOk);

    console.AckReceived = true;  // e.g. the start command's own "CMD OK"
    Connected();
    ASSERT_EQ(sink.writes.size(), 2u);
    upload.Advance(now);
    EXPECT_EQ(sink.writes.size(), 2u) << "the first chunk went on without its answer";
}

TEST_F(UploadTest, OneDownloadAtATime)
{
    ASSERT_TRUE(Start(FileOf(300)));
    EXPECT_FALSE(upload.Start(0, "", 10, [](char*, std::size_t) { return std::size_t{0}; }, now));
    EXPECT_EQ(sink.writes.size(), 1u);
    EXPECT_EQ(sink.finished, 0);
}

// The unit is told the length at the start; a file that grows meanwhile is sent only that far.
TEST_F(UploadTest, NeverMoreThanTheAnnouncedLength)
{
    const std::string file = FileOf(700);
    ASSERT_TRUE(Start(file, 300));
    Connected();
    Received();
    console.FileUploadOk = true;
    Received();
    EXPECT_EQ(Payload(), file.substr(0, 300));
    EXPECT_EQ(sink.message, CSoundUpload::kDownloadOk);
}

TEST_F(UploadTest, LengthTheStartCommandCannotCarryIsRefused)
{
    EXPECT_FALSE(Start("", CSoundUpload::kMaxFileBytes + 1));
    EXPECT_TRUE(sink.writes.empty());
    EXPECT_EQ(sink.message, CSoundUpload::kOpenError);
}
