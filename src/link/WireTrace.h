// A trace of the wire for support: every block sent and every chunk received, with the
// wall-clock time and the direction, as text a person can read ("\r", "\n", "\x1b" for the
// bytes that are not printable). One line per block or chunk:
//   2026-12-08 03:40:01.123 > %DUMP_SYS\r
//   2026-12-08 03:40:01.180 < $IAT 15\r\n
#pragma once

#include <chrono>
#include <mutex>
#include <string>
#include <string_view>

namespace rtu {

class CWireTrace {
public:
    using Clock = std::chrono::system_clock;
    enum class Direction : char { Sent = '>', Received = '<', Note = '#' };

    CWireTrace() = default;
    ~CWireTrace();
    CWireTrace(const CWireTrace&) = delete;
    CWireTrace& operator=(const CWireTrace&) = delete;

    // Starts a trace into `path` (appended, under the output rules of link/OutputPath.h).
    // Returns false, with `error` set to "<path>: <reason>", when it cannot be opened.
    bool Open(const std::string& path, std::string& error);
    void Close();
    bool IsOpen() const;
    const std::string& Path() const { return path_; }
    // Whether a line could not be written since Open; the trace stops at the first such line.
    bool Failed() const;
    // "<path>: <reason>" of that failure.
    std::string Error() const;

    // Safe from any thread: the port's worker and the caller's thread both write.
    void Record(Direction direction, std::string_view bytes);
    // One line of the trace, as Record writes it (the time in local time).
    static std::string FormatLine(Clock::time_point when, Direction direction, std::string_view bytes);
    // The bytes of a block or chunk as a trace line shows them, and back.
    static std::string Escape(std::string_view bytes);
    static std::string Unescape(std::string_view text);

private:
    mutable std::mutex mutex_;
    int fd_ = -1;
    std::string path_;
    std::string error_;  // empty until a write failed
};

}  // namespace rtu
