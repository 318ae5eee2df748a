// Writes a profile: a text file of command lines, every line ended by exactly one CR LF.
// The text goes to a temporary file beside the target that replaces the target only when
// everything was written, so a failure never leaves a half-written profile behind.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace rtu {

class CProfileWriter {
public:
    CProfileWriter() = default;
    ~CProfileWriter();  // an uncommitted file is removed
    CProfileWriter(const CProfileWriter&) = delete;
    CProfileWriter& operator=(const CProfileWriter&) = delete;

    // Opens the temporary file; false when it cannot be created (Error() says why).
    bool Open(const std::string& path);
    // Appends text: a line feed not preceded by a carriage return, and a carriage return not
    // followed by a line feed, both become CR LF.
    void WriteText(std::string_view text);
    // Flushes, closes and renames over the target; false (and the target untouched) on failure.
    bool Commit();
    bool Failed() const { return failed_; }
    const std::string& Error() const { return error_; }
    // For tests and callers that build the profile in memory.
    const std::string& Written() const { return written_; }

private:
    void Fail(const std::string& what);
    std::FILE* file_ = nullptr;
    std::string path_;
    std::string tempPath_;
    std::string written_;
    bool pendingCr_ = false;
    bool failed_ = false;
    std::string error_;
};

}  // namespace rtu
