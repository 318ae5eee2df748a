#include "sim/core/SimUnit.h"

#include <algorithm>
#include <array>

#include "sim/core/SimCommandTable.h"
#include "sim/core/SimRulesNet.h"
#include "sim/core/SimSensors.h"
#include "sim/core/SimServiceTests.h"

namespace rtu {

namespace {

using namespace simrules;

// What the unit prints.
constexpr std::string_view kCmdOk = "CMD OK";
constexpr std::string_view kCmdErr = "CMD ERR";
constexpr std::string_view kModelLine = "GPRS RTU 4Din/4Dout/4AD/4TI V3.40";
constexpr std::array<std::string_view, 2> kPowerUpLines{"Waiting module...", "System init Done..."};
constexpr std::string_view kPressLine = "Press '%%%%' to enter setup mode";
constexpr std::string_view kSetupLine = "come in setup mode";
constexpr std::string_view kWorkingLine = "Working mode now";
constexpr std::string_view kPasswordPrompt = "please input password";
constexpr std::string_view kLoginFirst = "Console started, please login";
constexpr std::string_view kLoginSuccess = "Login Success";
constexpr std::string_view kLoginFailed = "Login Failed";
constexpr std::string_view kDumpEndLine = "$DUMPR END";

constexpr char kCommandMark = '%';
constexpr std::string_view kDumpPrefix = "DUMP";
constexpr int kPresetSmsEntries = 8;  // "%PREVSMS1" restores the digital input messages 0-7
constexpr int kSmsEntryDigits = 2;
constexpr std::string_view kMmsPrefix = "$MMS_";  // "$MMS_" + three code letters + value
constexpr std::size_t kMmsCodeEnd = 8;

// Report lines as the unit prints them: the MMS settings carry their value right after the
// three code letters (the image keeps a blank there, like every other report).
std::vector<std::string> Printed(std::vector<std::string> lines)
{
    for (std::string& report : lines)
        if (report.starts_with(kMmsPrefix) && report.size() > kMmsCodeEnd && report[kMmsCodeEnd] == ' ')
            report.erase(kMmsCodeEnd, 1);
    return lines;
}

// The unit's own commands; every other keyword is a rule of one of its areas.
constexpr std::array kUnitRules{
    Action("DUMPS", ESimAction::DumpAll),
    Action("DUMPR", ESimAction::DumpEnd),
    Action(kDumpPrefix, ESimAction::DumpGroup, false),  // "%DUMP_SYS", "%DUMPM" ... name a report group
    Action(simgroups::kSensorNames, ESimAction::DumpGroup),
    Action("STARTCMD", ESimAction::Frame),
    Action("COMMITCMD", ESimAction::Frame),
    Action("SDSC", ESimAction::Frame),  // the camera takes a picture: only acknowledged
    Action("ATF", ESimAction::Defaults),
    Action("RST", ESimAction::Restart),
    Action("PREVSMS1", ESimAction::PresetSms),
    Action(CSimSensors::kLogRequest, ESimAction::Log),
    Action("memr0", ESimAction::Picture),  // sends the camera's last picture
};

// Noise between answers.
constexpr int kNoiseChoices = 4;  // 0-1 nothing, 2 a garbage line, 3 binary bytes
constexpr int kNoiseGarbageChoice = 2;
constexpr int kNoiseBinaryChoice = 3;
constexpr int kNoiseMinLength = 4;   // shortest noise line
constexpr int kNoiseMaxLength = 40;  // longest noise line
constexpr std::string_view kNoiseAlphabet = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 .,:;-_!?#&";

bool IsPictureRequest(std::string_view command)
{
    const SSimRule* rule = CSimCommandTable::Find(command);
    return rule && rule->action == ESimAction::Picture;
}

bool IsNoiseSafeByte(unsigned char byte)
{
    // No terminators (the noise stays one line) and no report or command marks.
    return byte != '\r' && byte != '\n' && byte != '$' && byte != '*' && byte != '%';
}

}  // namespace

std::span<const SSimRule> UnitRules() { return kUnitRules; }

CSimUnit::CSimUnit(SSimOptions options, CSimImage image, CSimImage factory)
    : options_(std::move(options)), image_(std::move(image)), factory_(std::move(factory)), tx_(options_.baud),
      noiseRng_(options_.noiseSeed)
{
    options_.latencyMs = std::max(options_.latencyMs, 0);
    locked_ = PasswordRequired();
}

void CSimUnit::Trace(std::int64_t ms, char direction, std::string text)
{
    if (!options_.trace) return;
    if (direction == '>') {
        if (sentTrace_.size() < kMaxTraceEntries) sentTrace_.push_back({ms, direction, std::move(text)});
        return;
    }
    FlushSentTrace(ms);
    if (trace_.size() < kMaxTraceEntries) trace_.push_back({ms, direction, std::move(text)});
}

void CSimUnit::FlushSentTrace(std::int64_t nowMs)
{
    while (!sentTrace_.empty() && sentTrace_.front().ms <= nowMs) {
        if (trace_.size() < kMaxTraceEntries) trace_.push_back(std::move(sentTrace_.front()));
        sentTrace_.pop_front();
    }
}

std::vector<SSimTraceEntry> CSimUnit::TakeTrace()
{
    std::vector<SSimTraceEntry> taken;
    taken.swap(trace_);
    return taken;
}

std::int64_t CSimUnit::Emit(const std::string& line, std::int64_t earliestMs)
{
    if (options_.failMode == ESimFailMode::Silent) return earliestMs;
    const std::int64_t at = tx_.Queue(line + "\r\n", earliestMs);
    Trace(at, '>', line);
    return at;
}

void CSimUnit::EmitNoise(std::int64_t earliestMs)
{
    std::uniform_int_distribution<int> choice(0, kNoiseChoices - 1);
    std::uniform_int_distribution<int> length(kNoiseMinLength, kNoiseMaxLength);
    const int kind = choice(noiseRng_);
    std::string noise;
    if (kind == kNoiseGarbageChoice) {
        std::uniform_int_distribution<std::size_t> pick(0, kNoiseAlphabet.size() - 1);
        for (int i = length(noiseRng_); i > 0; --i) noise += kNoiseAlphabet[pick(noiseRng_)];
    } else if (kind == kNoiseBinaryChoice) {
        std::uniform_int_distribution<int> byte(0, 255);
        for (int i = length(noiseRng_); i > 0;) {
            auto b = static_cast<unsigned char>(byte(noiseRng_));
            if (!IsNoiseSafeByte(b)) continue;
            noise += static_cast<char>(b);
            --i;
        }
    } else {
        return;
    }
    Emit(noise, earliestMs);
}

void CSimUnit::Send(const std::vector<std::string>& lines, std::int64_t nowMs)
{
    if (options_.failMode == ESimFailMode::Silent || lines.empty()) return;
    const std::int64_t earliest = nowMs + options_.latencyMs;
    if (options_.noise) EmitNoise(earliest);
    for (const auto& line : lines) Emit(line, earliest);
}

void CSimUnit::PowerUp(std::int64_t nowMs)
{
    Send({std::string(kModelLine)}, nowMs);
    PowerCycle(nowMs);
}

void CSimUnit::PowerCycle(std::int64_t nowMs)
{
    locked_ = PasswordRequired();
    state_ = EState::PoweringUp;
    std::vector<std::string> lines(kPowerUpLines.begin(), kPowerUpLines.end());
    Send(lines, nowMs);
    // The prompt window opens when the prompt leaves the unit.
    const std::int64_t pressAt = Emit(std::string(kPressLine), nowMs + options_.latencyMs);
    windowEndMs_ = pressAt + options_.setupWindowMs;
}

void CSimUnit::HandleReceived(std::string_view bytes, std::int64_t nowMs)
{
    if (exiting_) return;
    const std::size_t room = kMaxPendingInput - pending_.size();
    if (bytes.size() > room) {
        droppedInput_ += bytes.size() - room;
        bytes = bytes.substr(0, room);
    }
    pending_.append(bytes);
    ProcessPending(nowMs);
}

void CSimUnit::ProcessPending(std::int64_t nowMs)
{
    std::size_t used = 0;
    while (used < pending_.size() && !exiting_ && tx_.Backlog() < kMaxBacklogBytes) {
        auto event = framer_.Feed(pending_[used++]);
        if (event) HandleEvent(*event, nowMs);
    }
    pending_.erase(0, used);
    if (exiting_) pending_.clear();
}

void CSimUnit::HandleEvent(const CSimLineFramer::SEvent& event, std::int64_t nowMs)
{
    switch (event.kind) {
    case CSimLineFramer::EKind::Burst:
        Trace(nowMs, '<', event.text);
        HandleBurst(nowMs);
        break;
    case CSimLineFramer::EKind::Line:
        Trace(nowMs, '<', event.text);
        if (event.text.front() == kCommandMark) HandleCommand(event.text, false, nowMs);
        else HandleText(event.text, nowMs);
        break;
    case CSimLineFramer::EKind::Overlong:
        Trace(nowMs, '<', event.text + "[+" + std::to_string(event.discarded) + " bytes discarded]");
        if (event.text.front() == kCommandMark) HandleCommand(event.text, true, nowMs);
        else HandleText({}, nowMs);
        break;
    }
}

void CSimUnit::HandleBurst(std::int64_t nowMs)
{
    if (state_ != EState::PoweringUp || nowMs >= windowEndMs_) {
        // Nobody power-cycles a simulated unit: the first burst does it.
        PowerCycle(nowMs);
        return;
    }
    state_ = EState::Setup;
    std::vector<std::string> lines{std::string(kSetupLine)};
    if (locked_) lines.emplace_back(kPasswordPrompt);
    Send(lines, nowMs);
}

void CSimUnit::HandleTime(std::int64_t nowMs)
{
    if (options_.eventEveryMs) {
        if (!nextEventMs_) nextEventMs_ = nowMs + *options_.eventEveryMs;
        if (nowMs >= *nextEventMs_) {
            Send({NextEventLine()}, nowMs);
            *nextEventMs_ += *options_.eventEveryMs;
        }
    }
    if (state_ != EState::PoweringUp || nowMs < windowEndMs_) return;
    state_ = EState::Working;
    std::vector<std::string> lines{std::string(kWorkingLine)};
    if (locked_) lines.emplace_back(kPasswordPrompt);
    Send(lines, nowMs);
}

void CSimUnit::HandleText(std::string_view line, std::int64_t nowMs)
{
    if (!locked_) return;  // free text outside a login is not for the unit
    if (!line.empty() && line == *options_.password) {
        locked_ = false;
        Send({std::string(kLoginSuccess)}, nowMs);
    } else {
        Send({std::string(kLoginFailed)}, nowMs);
    }
}

void CSimUnit::HandleCommand(std::string_view line, bool refused, std::int64_t nowMs)
{
    ++commands_;
    if (locked_) {
        Send({std::string(kLoginFirst)}, nowMs);
    } else if (options_.failMode == ESimFailMode::Err) {
        Send({std::string(kCmdErr)}, nowMs);
    } else if (!refused && IsPictureRequest(line.substr(1)) && !options_.picture.empty()) {
        SendPicture(nowMs);
    } else {
        SResult result = refused ? SResult{{std::string(kCmdErr)}} : Execute(line.substr(1));
        if (options_.failMode == ESimFailMode::NoAck) result.lines.pop_back();
        Send(result.lines, nowMs);
        if (result.restart) PowerCycle(nowMs);
    }
    if (options_.exitAfter && commands_ >= *options_.exitAfter) exiting_ = true;
}

CSimUnit::SResult CSimUnit::Execute(std::string_view command)
{
    SResult result;
    const SSimRule* rule = CSimCommandTable::Find(command);
    switch (rule ? rule->action : ESimAction::Store) {
    case ESimAction::Store: {
        const auto assignments =
            rule ? CSimCommandTable::Apply(*rule, command.substr(rule->keyword.size())) : std::nullopt;
        const bool stored = assignments && CSimCommandTable::Store(image_, *assignments);
        result.lines.emplace_back(stored ? kCmdOk : kCmdErr);
        return result;
    }
    case ESimAction::DumpAll: result.lines = Printed(CSimSensors::Present(image_.AllLines())); break;
    case ESimAction::DumpGroup:
        // A group the unit does not have is an empty dump.
        if (auto row = NetRowDump(image_, command)) result.lines = std::move(*row);
        else result.lines = Printed(CSimSensors::Present(image_.GroupLines(command)));
        for (std::string_view also : NetDumpAlsoReports(command))
            for (std::string& line : Printed(image_.GroupLines(also))) result.lines.push_back(std::move(line));
        break;
    case ESimAction::DumpEnd: result.lines.emplace_back(kDumpEndLine); break;
    case ESimAction::Frame: break;
    case ESimAction::Defaults: image_ = factory_; break;
    case ESimAction::Restart: result.restart = true; break;
    case ESimAction::PresetSms:
        for (int entry = 0; entry < kPresetSmsEntries; ++entry) {
            const std::string key = CSimCommandTable::ExpandKey("$SMS#", entry, kSmsEntryDigits);
            if (auto value = factory_.Value(key)) image_.Set(key, *value, simgroups::kRomSms);
        }
        break;
    case ESimAction::Log:
        if (options_.logAckFirst) result.lines.emplace_back(kCmdOk);
        for (std::string& line : records_.StoredLog(options_.storedRecords)) result.lines.push_back(std::move(line));
        if (!options_.logAckFirst) result.lines.emplace_back(kCmdOk);
        return result;
    case ESimAction::Test:
        result.lines = CSimServiceTests::Answer(command).value_or(std::vector<std::string>{std::string(kCmdErr)});
        return result;
    case ESimAction::Picture:  // only here when the camera has no picture
        result.lines.emplace_back(kCmdErr);
        return result;
    }
    result.lines.emplace_back(kCmdOk);
    return result;
}

void CSimUnit::SendRecords(std::int64_t nowMs)
{
    const int every = options_.recordIntervalMs;
    if (every <= 0 || state_ != EState::Working || exiting_) return;
    if (nextRecordMs_ == 0) nextRecordMs_ = nowMs + every;
    // A unit that fell behind (a stalled line) skips the records it could not send.
    if (nowMs - nextRecordMs_ > kMaxLateRecords * static_cast<std::int64_t>(every)) nextRecordMs_ = nowMs;
    while (nextRecordMs_ <= nowMs && tx_.Backlog() < kMaxBacklogBytes) {
        Emit(records_.RealTimeLine(), nextRecordMs_);
        nextRecordMs_ += every;
    }
}

std::string CSimUnit::PollTransmit(std::int64_t nowMs)
{
    std::string out = tx_.Poll(nowMs);
    HandleTime(nowMs);
    SendRecords(nowMs);
    if (!pending_.empty()) ProcessPending(nowMs);
    out += tx_.Poll(nowMs);
    FlushSentTrace(nowMs);
    return out;
}

std::optional<std::int64_t> CSimUnit::NextDeadline() const
{
    std::optional<std::int64_t> deadline = tx_.NextDeadline();
    if (state_ == EState::PoweringUp) deadline = deadline ? std::min(*deadline, windowEndMs_) : windowEndMs_;
    if (options_.recordIntervalMs > 0 && state_ == EState::Working && nextRecordMs_ > 0)
        deadline = deadline ? std::min(*deadline, nextRecordMs_) : nextRecordMs_;
    if (nextEventMs_) deadline = deadline ? std::min(*deadline, *nextEventMs_) : *nextEventMs_;
    return deadline;
}

bool CSimUnit::WantsInput() const { return !exiting_ && pending_.empty() && tx_.Backlog() < kMaxBacklogBytes; }

bool CSimUnit::WantsExit() const { return exiting_ && tx_.Backlog() == 0; }

}  // namespace rtu
