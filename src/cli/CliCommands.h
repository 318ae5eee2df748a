// The subcommands of rtuctl. Each returns the process exit code.
#pragma once

#include <string>
#include <vector>

#include "cli/CliLoop.h"

namespace rtu::cli {

inline constexpr int kQuietAfterDumprMs = 300;     // a reload is complete this long after its last report
inline constexpr int kReloadGraceMaxMs = 2000;     // ... and at the latest this long after "DUMPR"
inline constexpr int kSendWaitMs = 3000;        // bound of each `send` line
inline constexpr int kConsoleQuietMs = 500;     // console with piped input: quiet time before exit
inline constexpr int kConsoleFlushMs = 2000;    // console: what the unit said gets this long to be printed at exit
inline constexpr Millis kConsoleForeverMs = 365LL * 24 * 3600 * 1000;  // an interactive console has no time limit

// Waits for the line holding "DUMPR", then for kQuietAfterDumprMs without a parameter report
// (streamed records and events neither extend nor break that grace, which ends at the latest
// kReloadGraceMaxMs after "DUMPR"). A unit that asks for the console password is answered on
// the way (and the reload repeated after login).
int AwaitReload(CCliLoop& loop);

int CmdRead(CCliLoop& loop, const std::string& profilePath, const std::string& jsonPath,
            Secrets secrets = Secrets::Kept);
// What `exec` adds around the run.
struct ExecExtras {
    std::string reportPath;  // write each line's outcome as JSON here; empty: no report
    std::string backupDir;   // back the unit up here first; empty: the default backup folder
    bool noBackup = false;   // no backup before the run
};

int CmdExec(CCliLoop& loop, const std::string& profilePath, const ExecExtras& extras = {});
int CmdSetup(CCliLoop& loop);
int CmdRestart(CCliLoop& loop);
int CmdDefaults(CCliLoop& loop, const ExecExtras& extras = {});
int CmdSend(CCliLoop& loop, const std::vector<std::string>& lines);
int CmdConsole(CCliLoop& loop);
int CmdPorts();
// Writes the support archive `out`; reads the unit through `options.port` when given.
int CmdDiagnose(Options options, const std::string& out, const std::string& version);
int CmdPicture(CCliLoop& loop, const std::string& outPath);
int CmdEvents(CCliLoop& loop, bool json);

}  // namespace rtu::cli
