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

int CmdLogSync(CCliLoop& loop, const std::string& csvPath)
{
    CTempRecordPage* page = RecordPage(loop, PageId::ExtTmpLog);
    if (!page) return kExitUsage;
    bool ended = false;
    loop.onLine = [&ended](const ev::Line& line) { ended = ended || line.text.find(kCmdOk) != std::string::npos; };
    loop.Session().PageCommand(page->ClassName(), temppage::kSync);
    // The log ends with the unit's acknowledgement; a unit that sends none is done once quiet.
    const bool done = loop.RunUntil(
        [&] {
            return ended || loop.PortLost() || (page->Records() > 0 && NowMs() - loop.LastReceive() >= kLogQuietMs);
        },
        loop.Deadline(), [&]() -> std::optional<Millis> { return loop.LastReceive() + kLogQuietMs; });
    loop.onLine = nullptr;
    if (!done || loop.PortLost() || (!ended && page->Records() == 0)) {
        std::fprintf(stderr, "rtuctl: the unit sent no stored records in time\n");
        return kExitNoAnswer;
    }
    std::string error;
    const std::vector<TempRow> rows(page->Rows().begin(), page->Rows().end());
    if (!WriteTempCsv(csvPath, rows, error)) {
        std::fprintf(stderr, "rtuctl: %s\n", error.c_str());
        return kExitOutput;
    }
    std::printf("records: %d\nalarms: %d\nrows written: %zu\n", page->Records(), page->Alarms(), rows.size());
    return kExitOk;
}

}  // namespace rtu::cli
