#include "session/SoundUpload.h"

#include <algorithm>
#include <vector>

#include "pages/framework/Printf.h"

namespace rtu {

CSoundUpload::CSoundUpload(int slot, std::string slotText, std::int64_t length, Reader read)
    : slot_(slot), slotText_(std::move(slotText)), read_(std::move(read)), length_(length)
{}

std::string CSoundUpload::StartCommand(int slot, std::string_view slotText, std::int64_t length)
{
    const int n = static_cast<int>(length);
    if (slot >= kInputSlots) return Printf("%%mdfile=%s,%d,5\r", std::string(slotText).c_str(), n);
    return Printf("%%mdfile=din%d_alarm.wav,%d,5\r", slot, n);
}

bool CSoundUpload::Start(JobContext context, Millis now)
{
    if (Busy()) return false;  // one download at a time: two would interleave their bytes
    console_ = &context.console;
    sink_ = &context.sink;
    if (length_ < 0 || length_ > kMaxFileBytes || !read_) {
        sink_->Finished(MessageIcon::Error, kOpenError);
        return false;
    }
    sent_ = 0;
    state_ = State::AwaitConnected;
    deadline_ = now + kStartWaitMs;
    sink_->Progress(0, length_);
    console_->ConnectedSeen = false;
    sink_->Write(StartCommand(slot_, slotText_, length_));
    console_->AckReceived = false;
    console_->FileUploadOk = false;
    return true;
}

void CSoundUpload::Advance(Millis now)
{
    switch (state_) {
    case State::Idle: return;
    case State::AwaitConnected:
        if (console_->ConnectedSeen) {
            sink_->StatusText(Printf("SYNC Connected %d", 0));
            SendNextChunk(now);
        } else if (now >= deadline_) {
            state_ = State::Idle;
            read_ = nullptr;
            sink_->Finished(MessageIcon::Error, kNoStartResponse);
        }
        return;
    case State::AwaitChunkAnswer:
        if (console_->RecvSeen || console_->AckReceived || console_->CmdErrSeen) {
            sink_->StatusText(Printf("Sent %d", static_cast<int>(sent_)));
            if (console_->CmdErrSeen) Finish();  // the unit refused: stop here
            else SendNextChunk(now);
        } else if (now >= deadline_) {
            sink_->StatusText(kTimeouts);
            Finish();
        }
        return;
    case State::AwaitUploadOk:
        if (console_->FileUploadOk || console_->CmdErrSeen || now >= deadline_) Finish();
        return;
    }
}

void CSoundUpload::Cancel()
{
    state_ = State::Idle;
    read_ = nullptr;
}

std::optional<Millis> CSoundUpload::NextDeadline() const
{
    if (state_ == State::Idle) return std::nullopt;
    return deadline_;
}

void CSoundUpload::SendNextChunk(Millis now)
{
    // Every answer flag is cleared, the acknowledgement too: an answer left over from an
    // earlier line must not pass for this chunk's.
    console_->CmdErrSeen = false;
    console_->RecvSeen = false;
    console_->AckReceived = false;

    // Never more than the length announced in the start command, even if the file grew.
    const auto want = static_cast<std::size_t>(std::min<std::int64_t>(kChunkBytes, length_ - sent_));
    std::vector<char> buffer(kChunkBytes);
    const std::size_t n = want > 0 ? std::min(read_(buffer.data(), want), want) : 0;
    sent_ += static_cast<std::int64_t>(n);
    sink_->Progress(sent_, length_);
    if (n == 0) {
        AfterLastChunk(now);
        return;
    }
    state_ = State::AwaitChunkAnswer;
    deadline_ = now + kChunkWaitMs;
    sink_->Write(std::string_view(buffer.data(), n));
    sink_->ConsoleText(Printf("Write %dBytes\r\n", static_cast<int>(n)));
}

// The file is out. The unit reports the stored file with "FILEUPL OK", which may come a little
// after the last chunk's answer: wait for it (bounded) rather than call the download failed.
void CSoundUpload::AfterLastChunk(Millis now)
{
    if (console_->FileUploadOk) {
        Finish();
        return;
    }
    state_ = State::AwaitUploadOk;
    deadline_ = now + kFinalWaitMs;
}

void CSoundUpload::Finish()
{
    state_ = State::Idle;
    read_ = nullptr;
    if (console_->FileUploadOk) {
        sink_->StatusText(kUploadOkStatus);
        sink_->Finished(MessageIcon::Information, kDownloadOk);
    } else {
        sink_->Finished(MessageIcon::Error, kDownloadError);
    }
}

}  // namespace rtu
