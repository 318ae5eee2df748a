#include "link/WireTrace.h"

#include <fcntl.h>
#include <unistd.h>

#include <cctype>
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
