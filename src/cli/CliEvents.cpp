// rtuctl events: prints the unit's alarm and restore events as the event list takes them.
#include <cstdio>

#include "cli/CliCommands.h"
#include "cli/EventPrinter.h"
#include "cli/StopSignals.h"

namespace rtu::cli {

int CmdEvents(CCliLoop& loop, bool json)
{
    auto* page = dynamic_cast<CPageEvents*>(loop.Session().Page(PageId::Events));
    if (!page) return kExitUsage;
    CEventPrinter printer(*page, json, stdout);
    ArmStopSignals();
    // A lost output (stdout, the trace) ends the run: main names it.
    auto outputLost = [&] { return printer.Failed() || loop.TraceFailed(); };
    loop.RunUntil([&] { return StopRequested() || outputLost(); }, NowMs() + kConsoleForeverMs);
    if (outputLost()) return kExitOutput;
    return loop.PortLost() ? kExitPort : kExitOk;
}

}  // namespace rtu::cli
