// Writes a profile: a text file of command lines, every line ended by exactly one CR LF.
// The file is replaced as a whole (CSafeFileWriter), so a failure never leaves a half-written
// profile behind.
#pragma once

#include <string>
#include <string_view>

#include "link/SafeFileWriter.h"

namespace rtu {

class CProfileWriter {
public:
    CProfileWriter() = default;
    ~CProfileWriter() = default;  // an uncommitted file is removed
    CProfileWriter(const CProfileWriter&) = delete;
    CProfileWriter& operator=(const CProfileWriter&) = delete;

    // Opens the temporary file; false when it cannot be created or the target is not a
    // regular file (Error() says why).
    bool Open(const std::string& path);
    // Appends text: a line feed not preceded by a carriage return, and a carriage return not
    // followed by a line feed, both become CR LF.
    void WriteText(std::string_view text);
    // WriteText of the text and a line feed.
    void WriteLine(std::string_view text);
    // Flushes, closes and renames over the target; false (and the target untouched) on failure.
    bool Commit();
    bool Failed() const { return file_.Failed(); }
    const std::string& Error() const { return file_.Error(); }
    // For tests and callers that build the profile in memory.
    const std::string& Written() const { return written_; }

private:
    void Convert(std::string_view text);  // appends the text to written_, line ends made CR LF
    void WriteFrom(std::size_t start);    // hands what was written from `start` on to the file

    CSafeFileWriter file_;
    bool open_ = false;
    std::string written_;
    bool pendingCr_ = false;
};

}  // namespace rtu
