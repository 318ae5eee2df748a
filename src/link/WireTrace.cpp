#include "link/WireTrace.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

namespace rtu {
namespace {
constexpr mode_t kTraceMode = 0600;  // a trace holds what the unit said, passwords included
}  // namespace

CWireTrace::~CWireTrace() { Close(); }

bool CWireTrace::Open(const std::string& path, std::string& error)
{
    Close();
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC | O_NOFOLLOW, kTraceMode);
    if (fd < 0) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    std::FILE* f = ::fdopen(fd, "a");
    if (!f) {
        error = path + ": " + std::strerror(errno);
        ::close(fd);
        return false;
    }
    std::lock_guard lock(mutex_);
    file_ = f;
    path_ = path;
    return true;
}

void CWireTrace::Close()
{
    std::lock_guard lock(mutex_);
    if (file_) std::fclose(file_);
    file_ = nullptr;
}

bool CWireTrace::IsOpen() const
{
    std::lock_guard lock(mutex_);
    return file_ != nullptr;
}

void CWireTrace::Record(Direction direction, std::string_view bytes)
{
    std::lock_guard lock(mutex_);
    if (!file_) return;
    const std::string line = FormatLine(Clock::now(), direction, bytes);
    std::fwrite(line.data(), 1, line.size(), file_);
    std::fflush(file_);  // a trace is read after something went wrong: keep it on disk
}

std::string CWireTrace::FormatLine(Clock::time_point when, Direction direction, std::string_view bytes)
{
    const std::time_t seconds = Clock::to_time_t(when);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(when.time_since_epoch()).count() % 1000;
    std::tm local{};
    ::localtime_r(&seconds, &local);
    char stamp[40];
    const std::size_t n = std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
    std::string line(stamp, n);
    char frac[8];
    std::snprintf(frac, sizeof frac, ".%03d ", static_cast<int>(ms));
    line += frac;
    line += static_cast<char>(direction);
    line += ' ';
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '\r') line += "\\r";
        else if (c == '\n') line += "\\n";
        else if (c == '\t') line += "\\t";
        else if (c == '\\') line += "\\\\";
        else if (u < 0x20 || u >= 0x7f) {  // control bytes and everything beyond ASCII, exactly
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x", u);
            line += hex;
        } else line += c;
    }
    line += '\n';
    return line;
}

}  // namespace rtu
