// A log file the tool appends to as things happen: opened once, every line written through
// at once, so a crash loses at most the line being written. The file is opened under the
// output rules of link/OutputPath.h (no planted link is followed, only a regular file is
// appended to); its folder is created when missing.
#pragma once

#include <string>
#include <string_view>

#include "link/SafeFileWriter.h"

namespace rtu {

class CAppendLog {
public:
    CAppendLog() = default;
    ~CAppendLog() { Close(); }
    CAppendLog(const CAppendLog&) = delete;
    CAppendLog& operator=(const CAppendLog&) = delete;

    // Opens (or creates, with the given access) the file for appending, creating its folder;
    // false (Error() says why) when it can't.
    bool Open(const std::string& path, FileAccess access = FileAccess::Shared);
    void Close();
    bool IsOpen() const { return fd_ >= 0; }
    const std::string& Path() const { return path_; }
    // Appends the bytes; false when the log is closed or the write failed.
    bool Append(std::string_view text);
    // Whether a write failed since the log was opened (Error() says why).
    bool WriteFailed() const { return writeFailed_; }
    // Why the last Open or the first failed write failed.
    const std::string& Error() const { return error_; }
    // Closes the file, deletes it and opens a new empty one; false when the new one can't be opened.
    bool Recreate();

private:
    int fd_ = -1;
    std::string path_;
    FileAccess access_ = FileAccess::Shared;
    bool writeFailed_ = false;
    std::string error_;
};

}  // namespace rtu
