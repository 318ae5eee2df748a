// Ctrl-C (SIGINT), SIGTERM and SIGHUP (the terminal went away) end the commands that run until
// interrupted: the command then winds down as after any other end (its files closed, the port
// drained, the terminal put back) and exits normally.
#pragma once

namespace rtu::cli {

// From now until the program ends, SIGINT, SIGTERM and SIGHUP ask the running command to stop. A
// second signal while it winds down (`timeout` signals the program and then its whole
// group) changes nothing. Blocking waits are woken up (no SA_RESTART).
void ArmStopSignals();
// Whether a stop signal has arrived since ArmStopSignals.
bool StopRequested();

}  // namespace rtu::cli
