// The sound file download against a scripted unit: flags set by hand, time on a counter.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "session/SoundUpload.h"

using namespace rtu;

namespace {

struct Rig : IJobSink {
    bool Write(std::string_view bytes) override
    {
        writes.emplace_back(bytes);
        return true;
    }
    void ConsoleText(std::string_view text) override { pane += text; }
    void StatusText(const std::string& text) override { status.push_back(text); }
    void Progress(std::int64_t, std::int64_t) override {}
    void Finished(MessageIcon, const std::string& m) override { messages.push_back(m); }

    // Starts a download of an n-byte file, announced as `announced` bytes (n when negative).
    void Start(std::size_t n, std::int64_t announced)
    {
        file.resize(n);
        for (std::size_t i = 0; i < n; ++i) file[i] = static_cast<char>(i * 7 + 3);
        upload = std::make_unique<CSoundUpload>(1, "", announced < 0 ? static_cast<std::int64_t>(n) : announced,
                                                [this](char* buf, std::size_t cap) {
                                                    const std::size_t k = std::min(cap, file.size() - at);
                                                    file.copy(buf, k, at);
                                                    at += k;
                                                    return k;
                                                });
        ASSERT_TRUE(upload->Start(JobContext{console, *this}, now));
    }
    std::string Payload() const
    {
        std::string all;
        for (std::size_t i = 1; i < writes.size(); ++i) all += writes[i];
        return all;
    }
    // A line from the unit set this flag; the owner looks.
    void Unit(bool CConsoleState::*flag)
    {
        console.*flag = true;
        upload->Advance(now);
    }
    void Wait(Millis ms) { upload->Advance(now += ms); }

    CConsoleState console;
    std::unique_ptr<CSoundUpload> upload;
    Millis now = 1000;
    std::string file, pane;
    std::size_t at = 0;
    std::vector<std::string> writes, status, messages;
};

constexpr auto kConnected = &CConsoleState::ConnectedSeen;
constexpr auto kRecv = &CConsoleState::RecvSeen;
constexpr auto kUploadOk = &CConsoleState::FileUploadOk;
constexpr auto kCmdErr = &CConsoleState::CmdErrSeen;

}  // namespace

TEST(SoundUpload, StartCommandBySlot)
{
    EXPECT_EQ(CSoundUpload::StartCommand(0, "ignored", 1000), "%mdfile=din0_alarm.wav,1000,5\r");
    EXPECT_EQ(CSoundUpload::StartCommand(-1, "", 7), "%mdfile=din-1_alarm.wav,7,5\r");
    EXPECT_EQ(CSoundUpload::StartCommand(4, "bell.wav", 512), "%mdfile=bell.wav,512,5\r");
}

// Scripted units: what the unit answers, and how the download ends.
TEST(SoundUpload, Scenarios)
{
    struct Case {
        const char* name;
        std::size_t size;
        std::int64_t announced;  // < 0: the file's size
        std::function<void(Rig&)> unit;
        std::size_t payload;  // file bytes written
        std::string status;   // last status text
        std::string message;
    };
    auto answerAll = [](Rig& t) {
        t.Unit(kConnected);
        for (int i = 0; i < 10 && t.upload->state() == CSoundUpload::State::AwaitChunkAnswer; ++i) t.Unit(kRecv);
    };
    const Case cases[] = {
        {"whole file", 600, -1,
         [&](Rig& t) {
             answerAll(t);
             t.Unit(kUploadOk);
         },
         600, "File upload Ok", CSoundUpload::kDownloadOk},
        {"multiple of the chunk: no empty write", 512, -1,
         [&](Rig& t) {
             answerAll(t);
             t.Unit(kUploadOk);
         },
         512, "File upload Ok", CSoundUpload::kDownloadOk},
        {"FILEUPL OK a while after the last answer", 100, -1,
         [&](Rig& t) {
             answerAll(t);
             t.Wait(CSoundUpload::kFinalWaitMs - 1);
             t.Unit(kUploadOk);
         },
         100, "File upload Ok", CSoundUpload::kDownloadOk},
        {"a file that grew is sent only as far as announced", 700, 300,
         [&](Rig& t) {
             answerAll(t);
             t.Unit(kUploadOk);
         },
         300, "File upload Ok", CSoundUpload::kDownloadOk},
        {"no start response", 600, -1,
         [](Rig& t) {
             t.Wait(CSoundUpload::kStartWaitMs - 1);
             t.Unit(kRecv);
             t.Wait(1);
         },
         0, "", CSoundUpload::kNoStartResponse},
        {"CMD ERR after the first chunk", 600, -1,
         [](Rig& t) {
             t.Unit(kConnected);
             t.Unit(kCmdErr);
         },
         256, "Sent 256", CSoundUpload::kDownloadError},
        {"chunk without an answer", 600, -1,
         [](Rig& t) {
             t.Unit(kConnected);
             t.Wait(CSoundUpload::kChunkWaitMs - 1);
             t.Wait(1);
         },
         256, "timeouts", CSoundUpload::kDownloadError},
        {"no FILEUPL OK at all", 600, -1,
         [&](Rig& t) {
             answerAll(t);
             t.Wait(CSoundUpload::kFinalWaitMs);
         },
         600, "Sent 600", CSoundUpload::kDownloadError},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rig t;
        t.Start(c.size, c.announced);
        c.unit(t);
        EXPECT_FALSE(t.upload->Busy());
        EXPECT_EQ(t.Payload(), t.file.substr(0, c.payload));
        for (std::size_t i = 1; i < t.writes.size(); ++i)
            EXPECT_TRUE(!t.writes[i].empty() && t.writes[i].size() <= CSoundUpload::kChunkBytes);
        EXPECT_EQ(t.status.empty() ? "" : t.status.back(), c.status);
        EXPECT_EQ(t.messages, std::vector<std::string>{c.message});
        t.Wait(10 * CSoundUpload::kStartWaitMs);  // ended: nothing more happens
        t.Unit(kRecv);
        EXPECT_EQ(t.Payload().size(), c.payload);
        EXPECT_EQ(t.messages.size(), 1u);
    }

    Rig t;  // what the pane and the status line show on the way
    t.Start(600, -1);
    answerAll(t);
    EXPECT_EQ(t.writes.front(), "%mdfile=din1_alarm.wav,600,5\r");
    EXPECT_EQ(t.pane, "Write 256Bytes\r\nWrite 256Bytes\r\nWrite 88Bytes\r\n");
    EXPECT_EQ(t.status, (std::vector<std::string>{"SYNC Connected 0", "Sent 256", "Sent 512", "Sent 600"}));
}

// Flags left over from before (an earlier download's connection, an earlier command's
// acknowledgement) do not pass for this download's answers.
TEST(SoundUpload, StaleFlagsDoNotCount)
{
    Rig t;
    t.console.ConnectedSeen = t.console.FileUploadOk = t.console.AckReceived = true;
    t.Start(600, -1);
    t.Wait(1);
    EXPECT_EQ(t.writes.size(), 1u);  // still waiting for "$CONNECTED"
    EXPECT_FALSE(t.console.FileUploadOk);

    t.console.AckReceived = true;  // e.g. the start command's own "CMD OK"
    t.Unit(kConnected);
    t.Wait(1);
    EXPECT_EQ(t.writes.size(), 2u) << "the first chunk went on without its answer";
}
