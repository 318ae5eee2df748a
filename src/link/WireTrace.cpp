#include "link/WireTrace.h"

#include <fcntl.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "link/OutputPath.h"

namespace rtu {
namespace {
constexpr mode_t kTraceMode = 0600;  // a trace holds what the unit said, passwords included
}  // namespace

CWireTrace::~CWireTrace() { Close(); }

bool CWireTrace::Open(const std::string& path, std::string& error)
{
    Close();
    std::string reason;
    const int fd = OpenAppendFile(path, kTraceMode, reason);
    if (fd < 0) {
        error = path + ": " + reason;
        return false;
    }
    std::lock_guard lock(mutex_);
    fd_ = fd;
    path_ = path;
    error_.clear();
    return true;
}

void CWireTrace::Close()
{
    std::lock_guard lock(mutex_);
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

bool CWireTrace::IsOpen() const
{
    std::lock_guard lock(mutex_);
    return fd_ >= 0;
}

bool CWireTrace::Failed() const
{
    std::lock_guard lock(mutex_);
    return !error_.empty();
}

std::string CWireTrace::Error() const
{
    std::lock_guard lock(mutex_);
    return error_;
}

void CWireTrace::Record(Direction direction, std::string_view bytes)
{
    std::lock_guard lock(mutex_);
    if (fd_ < 0 || !error_.empty()) return;
    // Written straight through: a trace is read after something went wrong.
    const std::string line = FormatLine(Clock::now(), direction, bytes);
    std::string_view rest = line;
    while (!rest.empty()) {
        const ssize_t n = ::write(fd_, rest.data(), rest.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            error_ = path_ + ": " + (n < 0 ? std::strerror(errno) : "nothing was written");
            return;
        }
        rest.remove_prefix(static_cast<std::size_t>(n));
    }
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
    line += Escape(bytes);
    line += '\n';
    return line;
}

std::string CWireTrace::Escape(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '\r') out += "\\r";
        else if (c == '\n') out += "\\n";
        else if (c == '\t') out += "\\t";
        else if (c == '\\') out += "\\\\";
        else if (u < 0x20 || u >= 0x7f) {  // control bytes and everything beyond ASCII, exactly
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x", u);
            out += hex;
        } else out += c;
    }
    return out;
}

std::string CWireTrace::Unescape(std::string_view text)
{
    constexpr int kHexBase = 16;
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 >= text.size()) {
            out += text[i];
            continue;
        }
        const char kind = text[++i];
        if (kind == 'r') out += '\r';
        else if (kind == 'n') out += '\n';
        else if (kind == 't') out += '\t';
        else if (kind == 'x' && i + 2 < text.size() && std::isxdigit(static_cast<unsigned char>(text[i + 1])) &&
                 std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
            out += static_cast<char>(std::stoi(std::string(text.substr(i + 1, 2)), nullptr, kHexBase));
            i += 2;
        } else out += kind;  // "\\" and anything unknown: the character itself
    }
    return out;
}

}  // namespace rtu
