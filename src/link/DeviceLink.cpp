#include "link/DeviceLink.h"

#include <cstdio>
#include <utility>

#include "link/ConsoleTable.h"

namespace rtu {
namespace {

bool Has(std::string_view line, std::string_view text) { return line.find(text) != std::string_view::npos; }

constexpr std::string_view kPictureStart = "$IMAGE_START";  // a line holding it starts a picture

// Event lines reach the event list outside the routing chains, before them.
const RouteRow kEventRow{"EV", "$:", {}, -1, {{{PageId::Events, RouteEffect::Handler, 0, "$:", 0, -1}}}, 1};

// The strongest answer wins when one line carries several.
AckKind Stronger(AckKind a, AckKind b) { return static_cast<int>(a) >= static_cast<int>(b) ? a : b; }

}  // namespace

CDeviceLink::CDeviceLink(WriteFn write, ClockFn clock, ILinkObserver* observer)
    : clock_(clock), observer_(observer), sequencer_(std::move(write), std::move(clock))
{
    sequencer_.ackFlag = &console_.AckReceived;
    sequencer_.onSent = [this](std::string_view bytes) {
        if (observer_) observer_->OnCommandSent(bytes);
    };
    sequencer_.onDone = [this](std::string_view bytes, AckKind ack) {
        if (observer_) observer_->OnCommandDone(bytes, ack);
    };
}

void CDeviceLink::Status(const std::string& text)
{
    if (observer_) observer_->OnStatusText(text);
}

void CDeviceLink::Post(int id)
{
    if (observer_) observer_->OnPostCommand(id);
}

int CDeviceLink::HandleReceive(std::string_view chunk)
{
    int started = 0;
    std::string after;  // what followed a picture's trailer: back to the lines
    while (!chunk.empty()) {
        if (picture_.Active()) FeedPicture(chunk);
        else started |= ReceiveLines(chunk);
        if (picture_.Active() || !picture_.HasLeftover()) break;
        after = picture_.TakeLeftover();
        chunk = after;
    }
    return started;
}

std::size_t CDeviceLink::ConsoleShare(std::string_view chunk) const
{
    // The start line may have begun in an earlier chunk: look for it in what the framer holds
    // of the unfinished line and this chunk together.
    const std::string_view held = framer_.Rest();
    std::string text;
    text.reserve(held.size() + chunk.size());
    text.append(held).append(chunk);
    const std::size_t marker = text.find(kPictureStart);
    if (marker == std::string::npos) return chunk.size();
    std::size_t end = text.find_first_of("\r\n", marker + kPictureStart.size());
    if (end == std::string::npos) return chunk.size();  // the start line is not finished yet
    if (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ++end;
    return end + 1 - held.size();
}

int CDeviceLink::ReceiveLines(std::string_view chunk)
{
    // The picture bytes behind a start line are counted when the picture ends, not shown.
    if (observer_) observer_->OnConsoleChunk(chunk.substr(0, ConsoleShare(chunk)));
    framer_.Append(chunk);
    AckKind ack = AckKind::None;
    int result = 0;
    while (framer_.NextLine(line_)) {
        if (Has(line_, kPictureStart)) {
            StartPicture();
            result = 1;
            break;
        }
        // Records and events the unit sends by itself are no answer: they never keep the
        // sender waiting.
        const bool stream = isStreamLine_ && isStreamLine_(line_);
        if (!stream) sequencer_.OnLineReceived();
        ProcessLine(line_, ack, stream);
    }
    if (ack != AckKind::None) sequencer_.OnAck(ack);
    return result;
}

void CDeviceLink::HandleTime()
{
    if (pictureQuietAt_ && clock_() >= *pictureQuietAt_) {
        // The unit stopped sending in the middle of a picture: without this the tool would take
        // every later answer for picture bytes.
        if (picture_.Active()) PictureFailed(CImageCollector::kStoppedText);
        pictureQuietAt_.reset();
    }
    if (pictureEndsBy_ && clock_() >= *pictureEndsBy_) {
        // The unit keeps sending but the trailer never comes: no picture is that long.
        if (picture_.Active()) PictureFailed(CImageCollector::kOverdueText);
        pictureEndsBy_.reset();
    }
    sequencer_.OnTime();
}

std::optional<Millis> CDeviceLink::NextDeadline() const
{
    std::optional<Millis> next = sequencer_.NextDeadline();
    if (pictureQuietAt_ && (!next || *pictureQuietAt_ < *next)) next = pictureQuietAt_;
    if (pictureEndsBy_ && (!next || *pictureEndsBy_ < *next)) next = pictureEndsBy_;
    return next;
}

void CDeviceLink::Reset()
{
    // A command ended here may queue the next one (a profile runs on), so end them in rounds;
    // the running profile sees the link closing and stops.
    closingDown = true;
    for (int round = 0; round < kMaxResetRounds && !sequencer_.Idle(); ++round) sequencer_.Clear();
    framer_.Clear();
    line_.clear();
    ResetPicture();
    console_ = CConsoleState{};
    auto onChanged = std::move(progress_.onChanged);
    auto onPageButtons = std::move(progress_.onPageButtons);
    progress_ = CSysProgress{};
    progress_.onChanged = std::move(onChanged);
    progress_.onPageButtons = std::move(onPageButtons);
    password = kDefaultPassword;
    closingDown = false;
    profileBusy = false;
}

// The checks every line goes through, in order: progress, transfer flags, picture error,
// line log, console table, event list, routing, setup-mode answer. (Picture start is found by the caller.)
// A stream line (a real-time record, an event) is no step of an operation: it leaves the
// progress window alone, so a reload's window closes when the reload ends however much streams.
void CDeviceLink::ProcessLine(const std::string& line, AckKind& ack, bool stream)
{
    const MarkedLine marked(line);  // rules out most of the texts looked for below without a search
    auto holds = [&marked](std::string_view text) { return marked.Contains(text); };
    if (!stream && (line[0] == '$' || line[0] == '%')) progress_.ShowLine(kLineTicks, line);
    else if (!stream && line[0] == '*') progress_.ShowOperating(kLineTicks);

    if (holds("+RECV:")) console_.RecvSeen = true;
    else if (holds("CMD ERR")) console_.CmdErrSeen = true;
    else if (holds("FILEUPL OK")) console_.FileUploadOk = true;
    else if (holds("$CONNECTED")) console_.ConnectedSeen = true;

    if (holds("$IMAGE_ERR")) PictureFailed("image get error!");

    if (observer_) observer_->OnLine(line);

    for (const ConsoleRow& row : ConsoleTable()) {
        if (!holds(row.contains)) continue;
        if (row.operatingTicks >= 0) progress_.ShowOperating(row.operatingTicks);
        if (row.finished) progress_.ShowFinished();
        if (row.status) Status(row.status);
        if (row.mode && observer_) observer_->OnModeText(row.mode);
        if (row.beep && observer_) observer_->OnBeep();
        switch (row.action) {
        case ConsoleAction::None: break;
        case ConsoleAction::AckPleaseWait:
        case ConsoleAction::AckOk:
        case ConsoleAction::AckErr: {
            const AckKind kind = row.action == ConsoleAction::AckOk    ? AckKind::Ok
                                 : row.action == ConsoleAction::AckErr ? AckKind::Err
                                                                       : AckKind::PleaseWait;
            console_.AckReceived = true;
            console_.LastAck = kind;
            ack = Stronger(ack, kind);
            break;
        }
        case ConsoleAction::PostLoginRetry: Post(cmd::kLoginRetry); break;
        case ConsoleAction::SendPassword:
            sequencer_.OnLoginPrompt();
            SendPassword();
            break;
        case ConsoleAction::LoginSuccess:
            console_.LoginAttempts = 0;
            // The line the prompt swallowed goes again instead of a reload: the dump replies
            // would otherwise be taken for the answers of that line and of those after it.
            // An answer earlier in this chunk belongs to what was in flight before.
            if (ack != AckKind::None) sequencer_.OnAck(std::exchange(ack, AckKind::None));
            if (!sequencer_.ResendAfterLogin()) Post(cmd::kReload);
            break;
        case ConsoleAction::LoginFailed: console_.LoggedIn = false; break;
        case ConsoleAction::Dumpr: console_.LoggedIn = true; break;
        }
    }

    if (pages_ && holds("$:"))
        if (IRouteTarget* events = pages_->FindPage(PageId::Events))
            events->OnRoute(RouteHit{kEventRow, kEventRow.targets[0], line, line, -1});

    if (pages_) RouteLine(marked, *pages_);

    if (console_.AwaitingPressPrompt && holds("Press ")) {
        progress_.ShowOperating(kPressPromptTicks);
        console_.AwaitingPressPrompt = false;
        Post(cmd::kSetupBurstAgain);
    }
}

void CDeviceLink::StartPicture()
{
    Status("start reading image!");
    // The line feed of the start line's CR LF is not picture data, whether it came in this
    // chunk or comes first in the next.
    const bool afterCr = framer_.LastTerminator() == '\r';
    const bool lineFeedDue = afterCr && !framer_.SkipLineFeed() && framer_.Held() == 0;
    const std::string_view rest = framer_.Rest();
    if (!rest.empty()) {
        char text[64];
        std::snprintf(text, sizeof text, "copy %zu byte data!", rest.size());
        Status(text);
        if (observer_) observer_->OnLine(line_);
    }
    const std::size_t first = rest.size();
    pictureBytes_ = first;
    const CImageCollector::Result result = picture_.Start(rest, lineFeedDue);
    framer_.Clear();
    pictureQuietAt_ = clock_() + CImageCollector::kQuietMs;
    pictureEndsBy_ = clock_() + CImageCollector::TransferBoundMs(baud_);
    if (first > 0 || result != CImageCollector::Result::Collecting) PictureOutcome(result, first);
}

void CDeviceLink::FeedPicture(std::string_view chunk)
{
    pictureQuietAt_ = clock_() + CImageCollector::kQuietMs;
    if (pictureBytes_) *pictureBytes_ += chunk.size();
    PictureOutcome(picture_.Feed(chunk), chunk.size());
}

void CDeviceLink::ResetPicture()
{
    if (pictureBytes_ && observer_) {
        // A picture cut short: the console says how much of it came, as it does for a whole one.
        char note[64];
        std::snprintf(note, sizeof note, "[picture failed after %zu bytes] ", *pictureBytes_);
        observer_->OnConsoleChunk(note);
    }
    pictureBytes_.reset();
    picture_.Abort();
    pictureQuietAt_.reset();
    pictureEndsBy_.reset();
}

void CDeviceLink::PictureFailed(const char* status)
{
    Status(status);
    ResetPicture();
    Post(cmd::kPictureFailed);
}

void CDeviceLink::PictureOutcome(CImageCollector::Result result, std::size_t chunkBytes)
{
    switch (result) {
    case CImageCollector::Result::Overflow: PictureFailed("jpeg data overload!!"); return;
    case CImageCollector::Result::Collecting:
    case CImageCollector::Result::Finished: {
        char text[96];
        std::snprintf(text, sizeof text, "copy %zu byte data, totle=%zu", chunkBytes,
                      picture_.Image().size() + (picture_.Active() ? 0 : CImageCollector::kTrailer.size()));
        Status(text);
        progress_.ShowLine(kPictureTicks, text);
        if (!picture_.Active()) {
            pictureBytes_.reset();
            pictureQuietAt_.reset();
            pictureEndsBy_.reset();
            if (observer_) {
                char count[64];
                std::snprintf(count, sizeof count, "[picture: %zu bytes] ", picture_.Image().size());
                observer_->OnConsoleChunk(count);
                observer_->OnConsoleChunk("\xE5\xAE\x8C\xE6\xAF\x95");  // "finished", shown on the console
                observer_->OnLine("$IMAGE_END");
            }
            Post(cmd::kSavePicture);
        }
        return;
    }
    }
}

bool CDeviceLink::HandleCommand(int id)
{
    switch (id) {
    case cmd::kSetup: EnterSetupMode(); return true;
    case cmd::kReload: Reload(); return true;
    case cmd::kDefaults: Defaults(); return true;
    case cmd::kRestart: Restart(); return true;
    case cmd::kLogin: Login(); return true;
    case cmd::kSetupBurstAgain: SendSetupBurst(); return true;
    case cmd::kLoginRetry: LoginRetry(); return true;
    case cmd::kPageBusy: progress_.EnablePageButtons(false); return true;
    default: return false;
    }
}

void CDeviceLink::EnterSetupMode()
{
    console_.AwaitingPressPrompt = true;
    sequencer_.WriteNow(kSetupBurst);
}

void CDeviceLink::SendSetupBurst()
{
    sequencer_.WriteNow(kSetupBurst);
    console_.AwaitingPressPrompt = false;
}

void CDeviceLink::Reload()
{
    SeqJob dumps;
    dumps.bytes = "%DUMPS\r";
    dumps.onStart = [this] {
        if (clearForReload_) clearForReload_();
    };
    sequencer_.Enqueue(std::move(dumps));
    sequencer_.EnqueueBlock("%DUMPR\r");
}

void CDeviceLink::Defaults()
{
    sequencer_.EnqueueBlock("%ATF\r");
    Post(cmd::kReload);
}

void CDeviceLink::Restart()
{
    sequencer_.EnqueueBlock("%RST\r");
    console_.AwaitingPressPrompt = false;
}

void CDeviceLink::SendPassword()
{
    if (!password.empty()) sequencer_.WriteNow(password);
    sequencer_.WriteNow("\r");
}

void CDeviceLink::Login()
{
    console_.LoginAttempts = 0;
    if (console_.LoggedIn) {
        if (observer_) observer_->OnMessage(MessageIcon::Information, "You have logined!");
        return;
    }
    SendPassword();
}

void CDeviceLink::LoginRetry()
{
    ++console_.LoginAttempts;
    if (console_.LoginAttempts > kMaxLoginRetries) {
        console_.LoginAttempts = 0;
        if (observer_) observer_->OnMessage(MessageIcon::Information, kLoginRefused);
        if (onLoginRefused) onLoginRefused();
        return;
    }
    SendPassword();
}

}  // namespace rtu
