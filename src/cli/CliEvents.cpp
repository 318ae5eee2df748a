// rtuctl events: prints the unit's alarm and restore events as the event list takes them.
#include <cstdio>

#include <nlohmann/json.hpp>

#include "cli/CliCommands.h"
#include "cli/StdoutStatus.h"
#include "cli/StopSignals.h"
#include "pages/events/PageEvents.h"

namespace rtu::cli {
namespace {

// Keys of the JSON lines, one per list column.
constexpr const char* kJsonKeys[kEventColumns] = {"event", "number", "source", "value", "state", "time"};

}  // namespace

int CmdEvents(CCliLoop& loop, bool json)
{
    auto* page = dynamic_cast<CPageEvents*>(loop.Session().Page(PageId::Events));
    if (!page) return kExitUsage;
    std::size_t printed = page->Log().Size();
    bool printFailed = false;
    const int listener = page->AddListener([&](int id) {
        if (id != CPageEvents::kList && id != CPageBase::kChangedAll) return;
        const CEventLog& log = page->Log();
        if (log.Size() < printed) printed = 0;  // the list was emptied
        for (; printed < log.Size(); ++printed) {
            if (json) {
                nlohmann::json line = nlohmann::json::object();
                for (int c = 0; c < kEventColumns; ++c) line[kJsonKeys[c]] = std::string(log.Cell(printed, c));
                std::printf("%s\n", line.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace).c_str());
            } else {
                for (int c = 0; c < kEventColumns; ++c)
                    std::printf("%s%.*s", c ? "\t" : "", static_cast<int>(log.Cell(printed, c).size()),
                                log.Cell(printed, c).data());
                std::printf("\n");
            }
        }
        printFailed = !FlushStdout() || printFailed;
    });

    ArmStopSignals();
    // A lost output (stdout, the trace) ends the run: main names it.
    auto outputLost = [&] { return printFailed || loop.TraceFailed(); };
    loop.RunUntil([&] { return StopRequested() || outputLost(); }, NowMs() + kConsoleForeverMs);
    page->RemoveListener(listener);
    if (outputLost()) return kExitOutput;
    return loop.PortLost() ? kExitPort : kExitOk;
}

}  // namespace rtu::cli
