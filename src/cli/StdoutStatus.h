// Standard output is an output like any file: what rtuctl prints there is checked, and a
// command whose output was lost does not end as if it had been delivered.
#pragma once

#include <string>

namespace rtu::cli {

// Hands what is buffered to standard output; false once anything written there was lost.
bool FlushStdout();
// Whether anything written to standard output so far was lost (flushes first).
bool StdoutFailed();
// Why it was lost ("No space left on device" where the system said so), once StdoutFailed.
std::string StdoutError();

}  // namespace rtu::cli
