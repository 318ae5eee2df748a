#include "cli/CliCommands.h"

#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>

#include "cli/CliSafety.h"
#include "cli/OutputBacklog.h"
#include "cli/StdoutStatus.h"
#include "cli/StopSignals.h"
#include "link/PortDiagnosis.h"
#include "link/SafeFileWriter.h"
#include "link/SerialPortList.h"
#include "session/StreamLines.h"

namespace rtu::cli {
namespace {

bool Contains(const std::string& line, const char* text) { return line.find(text) != std::string::npos; }

// Writes one output file; a failure is reported with the path and reason.
bool WriteOutput(const std::string& path, const std::string& text, const char* what)
{
    std::string error;
    if (WriteFileSafely(path, text, error, FileAccess::Private)) return true;
    std::fprintf(stderr, "rtuctl: cannot write the %s: %s\n", what, error.c_str());
    return false;
}

}  // namespace

int AwaitReload(CCliLoop& loop)
{
    bool dumpr = false;
    bool loginRefused = false;
    bool dumpRefused = false;
    bool heard = false;   // any line at all came back
    Millis dumprAt = 0;   // when "DUMPR" came
    Millis reportAt = 0;  // when the last parameter report came
    loop.onLine = [&](const ev::Line& line) {
        heard = true;
        if (!dumpr && Contains(line.text, "DUMPR")) {
            dumpr = true;
            dumprAt = reportAt = NowMs();
        } else if (dumpr && !line.streamed && IsParameterReport(line.text)) {
            reportAt = NowMs();
        }
        // A refusal before the report ends is the dump's own answer (a late answer of an
        // earlier line arrives while the sender is still settling and is not counted).
        else if (!dumpr && Contains(line.text, "CMD ERR") && !line.settling) dumpRefused = true;
    };
    auto graceEnd = [&] { return std::min(reportAt + kQuietAfterDumprMs, dumprAt + kReloadGraceMaxMs); };
    const Millis deadline = loop.Deadline();
    const bool ok = loop.RunUntil(
        [&] {
            for (const auto& [icon, text] : loop.messages)
                if (text == CSession::kLoginRefused) loginRefused = true;
            if (loginRefused || dumpRefused) return true;
            return dumpr && NowMs() >= graceEnd() && loop.Session().SenderIdle();
        },
        deadline,
        [&]() -> std::optional<Millis> {
            if (!dumpr) return std::nullopt;
            return graceEnd();
        });
    loop.onLine = nullptr;
    if (loop.PortLost()) return kExitNoAnswer;
    if (loginRefused) {
        std::fprintf(stderr, "rtuctl: The login password is incorrect! (give the unit's password with --password)\n");
        return kExitNoAnswer;
    }
    if (dumpRefused) {
        std::fprintf(stderr, "rtuctl: the unit refused the dump (it answered \"CMD ERR\")\n");
        return kExitNoAnswer;
    }
    if (!ok || !dumpr) {
        std::fprintf(stderr, "rtuctl: the unit did not finish its report (no \"DUMPR\") in time\n");
        if (!heard) std::fprintf(stderr, "rtuctl: %s\n", DiagnoseSilentUnit(loop.PortPath()).c_str());
        return kExitNoAnswer;
    }
    return kExitOk;
}

int CmdRead(CCliLoop& loop, const std::string& profilePath, const std::string& jsonPath, Secrets secrets)
{
    loop.Session().Reload();
    if (const int rc = AwaitReload(loop); rc != kExitOk) return rc;
    const std::string profile = loop.Session().ProfileText(true, secrets);
    // Each file is attempted even when the other failed.
    bool written = true;
    if (!profilePath.empty()) written = WriteOutput(profilePath, profile, "profile") && written;
    if (!jsonPath.empty()) written = WriteOutput(jsonPath, loop.Session().ExportJsonText(secrets), "JSON file") && written;
    if (profilePath.empty() && jsonPath.empty()) std::fwrite(profile.data(), 1, profile.size(), stdout);
    return written ? kExitOk : kExitOutput;
}

int CmdExec(CCliLoop& loop, const std::string& profilePath, const ExecExtras& extras)
{
    // The whole file is checked before anything is sent.
    CProfileReader reader;
    reader.KeepHeaders(true);  // the report names each line's page
    if (!reader.ReadFile(profilePath)) {
        if (reader.GetError() == CProfileReader::Error::CannotOpen)
            std::fprintf(stderr, "rtuctl: Open the profile failed! (%s: %s)\n", profilePath.c_str(),
                         reader.ErrorText().c_str());
        else std::fprintf(stderr, "rtuctl: %s: %s\n", profilePath.c_str(), reader.ErrorText().c_str());
        return kExitUsage;
    }
    for (const std::uint32_t at : reader.RefusedLineNumbers())
        std::fprintf(stderr, "rtuctl: %s: line %u is longer than %zu bytes: it is not sent\n", profilePath.c_str(), at,
                     CProfileReader::kMaxCommandBytes);
    CProfileLines lines = reader.TakeLines();
    if (lines.CountOf(ProfileLineKind::Command) == 0) {
        std::fprintf(stderr,
                     "rtuctl: %s: no command lines (lines beginning with \"%%\") to send: nothing was sent\n",
                     profilePath.c_str());
        return kExitUsage;
    }
    // A profile shared with its secrets masked would write the mask into the unit.
    if (const std::vector<std::string> masked = CSession::MaskedLines(lines); !masked.empty()) {
        std::fprintf(stderr, "rtuctl: %s: %s\n", profilePath.c_str(), CSession::MaskedLinesRefusal(masked).c_str());
        return kExitUsage;
    }
    if (const int rc = BackUpUnit(loop, extras, "executing the profile " + profilePath); rc != kExitOk) return rc;
    // Each line waits at most its bound and a settling spell, so the run is bounded by its
    // lines, not by --timeout.
    const Millis perLine = CProfileRunner::kLineWaitMs + CSequencer::kSettleMaxMs;
    const Millis runBound = NowMs() + static_cast<Millis>(lines.Count() + 2) * perLine +
                            static_cast<Millis>(CSerialPort::kRingSlots) * CSerialPort::kFullRingWaitMs;
    const std::string startedText = WallClockText();
    const Millis startedAt = NowMs();
    std::optional<ExecSummary> summary;
    loop.onQuestion = [&loop](const ev::Question&) { loop.Session().StopProfile(); };  // a script has nobody to ask
    loop.onProfileEnded = [&](const ExecSummary& s) { summary = s; };
    // A unit that answers nothing at all is given --timeout, as a reload is.
    const Millis silentBound = loop.Deadline();
    bool answered = false;  // a line that is no streamed record or event came back
    bool timedOut = false;
    loop.onLine = [&answered](const ev::Line& line) { answered = answered || !line.streamed; };
    loop.Session().ExecProfileLines(std::move(lines));
    loop.RunUntil(
        [&] {
            if (!summary && !answered && !timedOut && NowMs() >= silentBound) {
                timedOut = true;
                loop.Session().AbortProfile();
            }
            return summary.has_value();
        },
        runBound, [&]() -> std::optional<Millis> { return answered ? std::nullopt : std::optional(silentBound); });
    loop.onLine = nullptr;
    loop.onQuestion = nullptr;
    loop.onProfileEnded = nullptr;
    if (!summary) {
        std::fprintf(stderr, "rtuctl: the profile was not executed to its end\n");
        return kExitNoAnswer;
    }
    std::printf("lines sent: %d\nanswered \"CMD OK\": %d\nanswered \"CMD ERR\": %d\nunanswered: %d\n", summary->sent,
                summary->ok, summary->err, summary->unanswered);
    std::printf("refused: %d\n", summary->refused);
    if (summary->late > 0) std::printf("answered late: %d\n", summary->late);
    std::fflush(stdout);
    const bool reported = extras.reportPath.empty() || WriteExecReport(loop, *summary, startedText, extras.reportPath);
    if (summary->stop == ExecStop::LoginRefused) {
        std::fprintf(stderr,
                     "rtuctl: %s The profile was stopped: %d line(s) were not sent and nothing was committed "
                     "(give the unit's password with --password)\n",
                     CSession::kLoginRefused, summary->notSent);
        return kExitNoAnswer;
    }
    if (summary->stop == ExecStop::PortLost) {
        std::fprintf(stderr,
                     "rtuctl: the port went away during the run. The profile was stopped: %d line(s) were not sent "
                     "and nothing was committed\n",
                     summary->notSent);
        return kExitNoAnswer;
    }
    if (summary->stop == ExecStop::UnitSilent && timedOut) {
        std::fprintf(stderr,
                     "rtuctl: the unit answered nothing within --timeout (%g s). The profile was stopped: %d line(s) "
                     "were not sent and nothing was committed\n",
                     loop.TimeoutSeconds(), summary->notSent);
        if (loop.LastReceive() <= startedAt)
            std::fprintf(stderr, "rtuctl: %s\n", DiagnoseSilentUnit(loop.PortPath()).c_str());
        return kExitNoAnswer;
    }
    if (summary->stop == ExecStop::UnitSilent) {
        std::fprintf(stderr,
                     "rtuctl: the unit stopped answering (%d lines in a row unanswered). The profile was stopped: "
                     "%d line(s) were not sent and nothing was committed\n",
                     CProfileRunner::kSilentLinesToAsk, summary->notSent);
        return kExitNoAnswer;
    }
    if (summary->framingFailed > 0)
        std::fprintf(stderr, "rtuctl: the unit did not answer \"CMD OK\" to %%STARTCMD or %%COMMITCMD: the run failed\n");
    // A reload that fails says more about the unit than the lines' answers do.
    const int reload = AwaitReload(loop);
    if (reload != kExitOk) return reload;
    if (!summary->Clean()) return kExitCommandFailed;
    return reported ? kExitOk : kExitOutput;
}

int CmdSetup(CCliLoop& loop)
{
    std::printf("Power-off then power-on the device now: it enters setup mode while it starts.\n");
    std::fflush(stdout);
    bool entered = false;
    loop.onLine = [&](const ev::Line& line) {
        if (Contains(line.text, "come in setup mode")) entered = true;
    };
    loop.Session().Setup();
    const bool ok = loop.RunUntil([&] { return entered; }, loop.Deadline());
    loop.onLine = nullptr;
    if (!ok) {
        std::fprintf(stderr, "rtuctl: the unit did not report \"come in setup mode\" in time\n");
        return kExitNoAnswer;
    }
    std::printf("Come into setup mode success\n");
    return kExitOk;
}

int CmdRestart(CCliLoop& loop)
{
    loop.Session().Restart();
    const bool sent = loop.Drain();  // the unit hears nothing of what is still in the port
    if (loop.PortLost()) return kExitPort;
    if (!sent) {
        std::fprintf(stderr, "rtuctl: the port did not send the restart command in time\n");
        return kExitPort;
    }
    return kExitOk;
}

int CmdDefaults(CCliLoop& loop, const ExecExtras& extras)
{
    if (const int rc = BackUpUnit(loop, extras, "restoring the factory defaults"); rc != kExitOk) return rc;
    loop.Session().Defaults();  // posts the full reload
    return AwaitReload(loop);
}

int CmdSend(CCliLoop& loop, const std::vector<std::string>& lines)
{
    int rc = kExitOk;
    loop.onLine = [](const ev::Line& line) { std::printf("%s\n", line.text.c_str()); };
    for (const std::string& text : lines) {
        std::optional<ev::CommandAnswered> result;
        loop.onAnswered = [&result, bytes = text + "\r"](const ev::CommandAnswered& answer) {
            if (!result && answer.bytes == bytes) result = answer;
        };
        loop.Session().SendLine(text, kSendWaitMs);
        loop.RunUntil([&] { return result.has_value(); }, NowMs() + kSendWaitMs * 2);
        loop.onAnswered = nullptr;
        FlushStdout();  // a lost answer is reported at the end
        if (!result || !result->written || result->ack == AckKind::None) {
            std::fprintf(stderr, "rtuctl: no acknowledgement for \"%s\" within %d ms\n", text.c_str(), kSendWaitMs);
            rc = kExitCommandFailed;
        } else if (result->ack == AckKind::Err) {
            std::fprintf(stderr, "rtuctl: the unit answered \"CMD ERR\" to \"%s\"\n", text.c_str());
            rc = kExitCommandFailed;
        }
        if (loop.PortLost()) return kExitNoAnswer;
    }
    loop.onLine = nullptr;
    return rc;
}

int CmdConsole(CCliLoop& loop)
{
    // From here a stop signal (SIGINT, SIGTERM, SIGHUP) ends the console like Ctrl-]: the
    // terminal is put back before the program ends.
    ArmStopSignals();
    const bool tty = ::isatty(STDIN_FILENO);
    termios saved{};
    if (tty) {
        ::tcgetattr(STDIN_FILENO, &saved);
        termios raw = saved;
        ::cfmakeraw(&raw);
        ::tcsetattr(STDIN_FILENO, TCSANOW, &raw);
        std::fprintf(stderr, "rtuctl console: type to the unit; Ctrl-] ends.\r\n");
    }
    constexpr char kQuitKey = 0x1d;  // Ctrl-]
    bool quit = false;
    bool eof = false;
    bool closing = false;
    Millis eofAt = 0;
    Millis progressAt = NowMs();  // last byte typed, printed or taken by the port
    COutputBacklog out(STDOUT_FILENO);
    // While stdout lags, the port stops reading: the unit waits instead of the backlog growing.
    auto holdBack = [&] {
        if (out.Size() > COutputBacklog::kHighMark) loop.Port().PauseReceive(true);
        else if (out.Size() < COutputBacklog::kLowMark) loop.Port().PauseReceive(false);
    };
    loop.onChunk = [&](std::string_view chunk) {
        out.Append(chunk);
        out.Flush();
        holdBack();
    };
    loop.WatchStdout(
        [&] {
            out.Flush();
            holdBack();
            progressAt = NowMs();
        },
        [&] { return !out.Empty(); });
    // One read fills one send block, and stdin is read only while a block is free: typed
    // bytes wait in the pipe, never in a queue of our own, and none is dropped.
    loop.WatchStdin(
        [&] {
            char buffer[CSerialPort::kSlotSize];
            const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
            if (n < 0 && (errno == EINTR || errno == EAGAIN)) return;
            progressAt = NowMs();
            if (n <= 0) {
                eof = true;
                eofAt = progressAt;
                return;
            }
            std::string_view typed(buffer, static_cast<std::size_t>(n));
            if (tty) {
                const auto q = typed.find(kQuitKey);
                if (q != std::string_view::npos) {
                    typed = typed.substr(0, q);
                    quit = true;
                }
            }
            if (!typed.empty()) loop.Session().SendRaw(typed);
        },
        [&] { return !eof && !quit && !closing && loop.Port().FreeSlots() > 0; });

    // Piped input ends once all of it has left the port and the unit has been quiet for a while.
    auto quietSince = [&] { return std::max({eofAt, loop.LastReceive(), loop.LastSendProgress()}); };
    auto done = [&] {
        if (quit || StopRequested() || loop.TraceFailed()) return true;
        return eof && loop.Port().AllSent() && out.Empty() && NowMs() - quietSince() >= kConsoleQuietMs;
    };
    auto wakeAt = [&]() -> std::optional<Millis> {
        if (!eof) return std::nullopt;
        return quietSince() + kConsoleQuietMs;
    };
    if (tty) {
        loop.RunUntil(done, NowMs() + kConsoleForeverMs, wakeAt);
    } else {
        // --timeout bounds a stall, not the whole run: long input at a slow line takes its time.
        const Millis timeoutMs = loop.Deadline() - NowMs();
        for (;;) {
            auto lastProgress = [&] { return std::max({progressAt, loop.LastReceive(), loop.LastSendProgress()}); };
            if (loop.RunUntil(done, lastProgress() + timeoutMs, wakeAt) || loop.PortLost()) break;
            if (NowMs() >= lastProgress() + timeoutMs) break;
        }
    }
    if (tty) ::tcsetattr(STDIN_FILENO, TCSANOW, &saved);
    closing = true;
    // Every typed byte reaches the port before the program ends; what the unit said is printed.
    const bool sent = loop.Drain();
    loop.RunUntil([&] { return out.Empty(); }, NowMs() + kConsoleFlushMs);
    loop.WatchStdin(nullptr);
    loop.WatchStdout(nullptr, nullptr);
    loop.onChunk = nullptr;
    if (loop.PortLost()) return kExitPort;
    if (!sent) {
        std::fprintf(stderr, "rtuctl: the port did not send everything typed in time\n");
        return kExitPort;
    }
    return kExitOk;
}

int CmdPorts()
{
    // One port a line: the path first, then the adapter, the stable name and the access.
    for (const std::string& path : ListSerialPorts()) {
        const PortDetails port = DescribePort(path);
        const std::string access = port.mayOpen ? "you may open it"
                                                : "no access for you (group " + port.group + ")";
        std::printf("%s  [%s]\n", PortSummary(port).c_str(), access.c_str());
    }
    return kExitOk;
}

}  // namespace rtu::cli
