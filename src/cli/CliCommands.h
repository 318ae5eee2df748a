// The subcommands of rtuctl. Each returns the process exit code.
#pragma once

#include <string>
#include <vector>

#include "cli/CliLoop.h"

namespace rtu::cli {

inline constexpr int kQuietAfterDumprMs = 300;  // a reload is complete after this much silence
inline constexpr int kSendWaitMs = 3000;        // bound of each `send` line
inline constexpr int kConsoleQuietMs = 500;     // console with piped input: quiet time before exit
inline constexpr int kConsoleFlushMs = 2000;    // console: what the unit said gets this long to be printed at exit
inline constexpr Millis kConsoleForeverMs = 365LL * 24 * 3600 * 1000;  // an interactive console has no time limit

// Waits for the line holding "DUMPR" and then for the unit to fall quiet. A unit that asks
// for the console password is answered on the way (and the reload repeated after login).
int AwaitReload(CCliLoop& loop);

int CmdRead(CCliLoop& loop, const std::string& profilePath, const std::string& jsonPath);
int CmdExec(CCliLoop& loop, const std::string& profilePath);
int CmdSetup(CCliLoop& loop);
int CmdRestart(CCliLoop& loop);
int CmdDefaults(CCliLoop& loop);
int CmdSend(CCliLoop& loop, const std::vector<std::string>& lines);
int CmdConsole(CCliLoop& loop);
int CmdPorts();

}  // namespace rtu::cli
