// Replaces an output file as a whole: the new contents go to a freshly created temporary file
// in the same directory, which is flushed to disk and then renamed over the target, so a
// reader sees either the old file or the complete new one.
//
// - The temporary file is created exclusively under a random name and never through a
//   symbolic link, so nothing planted beside the target can redirect the write.
// - A target that is a symbolic link is followed: the file it points to is replaced and the
//   link stays a link; a link another user planted in a shared sticky folder (/tmp) is
//   refused (link/OutputPath.h).
// - A target that exists but is not a regular file (directory, device, FIFO, socket) is
//   refused and left alone.
// - An existing target keeps its permission bits (and, where allowed, its owner); a new
//   file gets the usual 0666 less the umask, or 0600 when it holds secrets (FileAccess::Private).
#pragma once

#include <string>
#include <string_view>

namespace rtu {

// Who may read a file the tool creates (an existing file keeps its own mode).
enum class FileAccess {
    Shared,   // 0666 less the umask: pictures, CSV logs
    Private,  // 0600: anything that may hold the unit's secrets (profiles, JSON, backups, archives)
};

class CSafeFileWriter {
public:
    CSafeFileWriter() = default;
    ~CSafeFileWriter();  // an uncommitted temporary file is removed
    CSafeFileWriter(const CSafeFileWriter&) = delete;
    CSafeFileWriter& operator=(const CSafeFileWriter&) = delete;

    // Checks the target and creates the temporary file; false (Error() says why) on failure.
    bool Open(const std::string& path, FileAccess access = FileAccess::Shared);
    // Appends bytes to the temporary file; false once anything failed.
    bool Write(std::string_view data);
    // Syncs, closes and renames over the target; false (and the target untouched) on failure.
    bool Commit();

    bool Failed() const { return failed_; }
    // "<path>: <reason>", the path as the caller gave it.
    const std::string& Error() const { return error_; }

private:
    void Fail(const std::string& reason);
    void FailErrno();
    void Discard();

    int fd_ = -1;
    std::string path_;      // as given
    std::string realPath_;  // after following symbolic links
    std::string tempPath_;
    bool failed_ = false;
    std::string error_;
};

// Open + Write + Commit in one go; on failure `error` holds "<path>: <reason>".
bool WriteFileSafely(const std::string& path, std::string_view data, std::string& error,
                     FileAccess access = FileAccess::Shared);

}  // namespace rtu
