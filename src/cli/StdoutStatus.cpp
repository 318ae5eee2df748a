#include "cli/StdoutStatus.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace rtu::cli {
namespace {
int gStdoutErrno = 0;  // the first failure's errno (0: none seen yet)
}  // namespace

bool FlushStdout()
{
    errno = 0;
    const bool flushed = std::fflush(stdout) == 0;
    if (!flushed && gStdoutErrno == 0) gStdoutErrno = errno;
    return flushed && !std::ferror(stdout);
}

bool StdoutFailed() { return !FlushStdout(); }

std::string StdoutError()
{
    // A write that failed inside printf leaves no reason behind.
    return gStdoutErrno != 0 ? std::strerror(gStdoutErrno) : "what was printed there is incomplete";
}

}  // namespace rtu::cli
