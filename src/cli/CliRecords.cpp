#include "cli/CliRecords.h"

#include <cstdio>

#include "cli/StdoutStatus.h"
#include "cli/StopSignals.h"
#include "pages/sensor/TempRecordPage.h"

namespace rtu::cli {

namespace {

constexpr Millis kForeverMs = 365LL * 24 * 3600 * 1000;  // records without a limit run until interrupted
constexpr double kMsPerSecond = 1000.0;
constexpr std::string_view kCmdOk = "CMD OK";
constexpr std::string_view kCmdErr = "CMD ERR";

CTempRecordPage* RecordPage(CCliLoop& loop, PageId id)
{
    return dynamic_cast<CTempRecordPage*>(loop.Session().Page(id));
}

}  // namespace

int CmdRecords(CCliLoop& loop, const std::string& csvPath, int count, double seconds)
{
    CTempRecordPage* page = RecordPage(loop, PageId::ExTmpRcd);
    if (!page) return kExitUsage;
    CTempCsvLog log;
    if (!csvPath.empty()) {
        if (!log.Open(csvPath)) {
            std::fprintf(stderr, "rtuctl: cannot open %s for appending: %s\n", csvPath.c_str(), log.Error().c_str());
            return kExitOutput;
        }
        page->SetLog(&log);
    }
    int seen = 0;
    bool printFailed = false;
    page->SetRowListener([&](const TempRow& row) {
        if (count > 0 && seen >= count) {
            // One line may carry several records: those beyond the count are neither printed
            // nor appended (the page appends after this call, so the log goes first).
            page->SetLog(nullptr);
            return;
        }
        const std::string line = TempCsvLine(row);
        std::fwrite(line.data(), 1, line.size(), stdout);
        printFailed = !FlushStdout() || printFailed;
        ++seen;
    });
    const Millis deadline = NowMs() + (seconds > 0 ? static_cast<Millis>(seconds * kMsPerSecond) : kForeverMs);
    ArmStopSignals();
    // A lost output (stdout, the CSV file, the trace) ends the run; what arrived so far is kept.
    auto outputLost = [&] { return printFailed || log.WriteFailed() || loop.TraceFailed(); };
    loop.RunUntil(
        [&] { return (count > 0 && seen >= count) || loop.PortLost() || StopRequested() || outputLost(); }, deadline);
    page->SetRowListener({});
    page->SetLog(nullptr);
    if (log.WriteFailed()) {
        std::fprintf(stderr, "rtuctl: cannot append to %s: %s\n", csvPath.c_str(), log.Error().c_str());
        return kExitOutput;
    }
    if (outputLost()) return kExitOutput;  // main names the lost standard output or trace
    if (loop.PortLost()) return kExitNoAnswer;
    if (StopRequested()) return kExitOk;  // the user ended it: what arrived is printed and appended
    if (count > 0 && seen < count) {
        std::fprintf(stderr, "rtuctl: %d of %d records arrived in time\n", seen, count);
        return kExitNoAnswer;
    }
    return kExitOk;
}

int CmdLogSync(CCliLoop& loop, const std::string& csvPath, int quietMs)
{
    CTempRecordPage* page = RecordPage(loop, PageId::ExtTmpLog);
    if (!page) return kExitUsage;
    // The unit may acknowledge before, among or after its records: the sync has ended once it
    // has acknowledged (or sent records without an acknowledgement) and then been quiet. Only
    // the sync's own lines count: real-time records and events do not keep it open.
    bool acked = false, refused = false;
    std::optional<Millis> lastSyncLine;
    int recordsSeen = 0;
    loop.onLine = [&](const ev::Line& line) {
        const bool ack = line.text.find(kCmdOk) != std::string::npos;
        const bool err = line.text.find(kCmdErr) != std::string::npos;
        if (ack || err || page->Records() != recordsSeen) lastSyncLine = NowMs();
        acked = acked || ack;
        refused = refused || err;
        recordsSeen = page->Records();
    };
    loop.Session().PageCommand(page->ClassName(), temppage::kSync);
    const Millis firstAnswerBy = loop.Deadline();  // --timeout bounds the wait for the first line
    auto quietEnough = [&] { return lastSyncLine && NowMs() - *lastSyncLine >= quietMs; };
    loop.RunUntil(
        [&] {
            return loop.PortLost() || ((acked || refused || page->Records() > 0) && quietEnough()) ||
                   (!lastSyncLine && NowMs() >= firstAnswerBy);
        },
        NowMs() + kForeverMs,
        [&]() -> std::optional<Millis> { return lastSyncLine ? *lastSyncLine + quietMs : firstAnswerBy; });
    loop.onLine = nullptr;
    if (loop.PortLost()) return kExitNoAnswer;
    if (refused && page->Records() == 0) {
        std::fprintf(stderr, "rtuctl: the unit refused the sync (CMD ERR); %s is left as it was\n", csvPath.c_str());
        return kExitCommandFailed;
    }
    if (page->Records() == 0) {
        std::fprintf(stderr, "rtuctl: the unit sent no stored records%s; %s is left as it was\n",
                     acked ? "" : " in time", csvPath.c_str());
        return kExitNoAnswer;
    }
    std::string error;
    const std::vector<TempRow> rows(page->Rows().begin(), page->Rows().end());
    if (!WriteTempCsv(csvPath, rows, error)) {
        std::fprintf(stderr, "rtuctl: %s\n", error.c_str());
        return kExitOutput;
    }
    std::printf("records: %d\nalarms: %d\nrows written: %zu\n", page->Records(), page->Alarms(), rows.size());
    if (page->Unlisted() > 0) {
        std::fprintf(stderr, "rtuctl: %d records beyond the first %zu were not written\n", page->Unlisted(),
                     rows.size());
        return kExitOutput;
    }
    return kExitOk;
}

}  // namespace rtu::cli
