// Ctrl-C (SIGINT) and SIGTERM end the commands that run until interrupted: the command then
// winds down as after any other end (its files closed, the port drained) and exits normally.
#pragma once

namespace rtu::cli {

// From now until the program ends, SIGINT and SIGTERM ask the running command to stop. A
// second signal while it winds down (`timeout` signals the program and then its whole
// group) changes nothing. Blocking waits are woken up (no SA_RESTART).
void ArmStopSignals();
// Whether a stop signal has arrived since ArmStopSignals.
bool StopRequested();

}  // namespace rtu::cli
