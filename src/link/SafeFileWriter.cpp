#include "link/SafeFileWriter.h"

#include "link/OutputPath.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace rtu {
namespace {

constexpr int kMaxTempAttempts = 16;          // fresh random names tried when one is taken
constexpr std::size_t kTempRandomChars = 12;  // random characters in a temporary file's name
constexpr std::size_t kMaxTempStem = 200;     // target name characters kept in the temporary name (NAME_MAX is 255)
constexpr mode_t kNewFileMode = 0666;         // before the umask, as for any newly created file
constexpr mode_t kPrivateFileMode = 0600;     // a new file that may hold secrets: its owner only
constexpr mode_t kPermissionBits = 07777;     // the part of st_mode a replacement keeps
constexpr const char* kNameChars = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
constexpr std::size_t kNameCharCount = 62;  // characters in kNameChars

std::string DirectoryOf(const std::string& path)
{
    const std::string dir = std::filesystem::path(path).parent_path().string();
    return dir.empty() ? "." : dir;
}

bool RandomName(std::string& out)
{
    unsigned char bytes[kTempRandomChars];
    if (::getrandom(bytes, sizeof bytes, 0) != static_cast<ssize_t>(sizeof bytes)) return false;
    out.clear();
    for (unsigned char b : bytes) out += kNameChars[b % kNameCharCount];
    return true;
}

}  // namespace

CSafeFileWriter::~CSafeFileWriter() { Discard(); }

void CSafeFileWriter::Discard()
{
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!tempPath_.empty()) ::unlink(tempPath_.c_str());
    tempPath_.clear();
}

void CSafeFileWriter::Fail(const std::string& reason)
{
    if (!failed_) error_ = path_ + ": " + reason;
    failed_ = true;
}

void CSafeFileWriter::FailErrno() { Fail(std::strerror(errno)); }

bool CSafeFileWriter::Open(const std::string& path, FileAccess access)
{
    Discard();
    path_ = path;
    failed_ = false;
    error_.clear();
    OutputTarget target;
    std::string reason;
    if (!ResolveOutputPath(path, target, reason)) {
        Fail(reason);
        return false;
    }
    realPath_ = target.path;
    const bool exists = target.exists;
    const struct stat& st = target.st;
    if (exists && !S_ISREG(st.st_mode)) {
        Fail(std::string("is ") + FileKind(st.st_mode) + "; only a regular file is replaced");
        return false;
    }
    const std::string dir = DirectoryOf(realPath_);
    const std::string stem = std::filesystem::path(realPath_).filename().string().substr(0, kMaxTempStem);
    for (int attempt = 0; attempt < kMaxTempAttempts && fd_ < 0; ++attempt) {
        std::string random;
        if (!RandomName(random)) {
            FailErrno();
            return false;
        }
        const std::string candidate = dir + "/" + stem + ".tmp" + random;
        fd_ = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                     access == FileAccess::Private ? kPrivateFileMode : kNewFileMode);
        if (fd_ >= 0) tempPath_ = candidate;
        else if (errno != EEXIST) break;
    }
    if (fd_ < 0) {
        FailErrno();
        return false;
    }
    if (exists) {
        // The replacement takes over the old file's owner (where allowed) and permission bits.
        if (st.st_uid != ::geteuid() || st.st_gid != ::getegid()) {
            [[maybe_unused]] const int ignored = ::fchown(fd_, st.st_uid, st.st_gid);  // only root may give it away
        }
        if (::fchmod(fd_, st.st_mode & kPermissionBits) != 0) {
            FailErrno();
            Discard();
            return false;
        }
    }
    return true;
}

bool CSafeFileWriter::Write(std::string_view data)
{
    if (fd_ < 0 || failed_) return false;
    while (!data.empty()) {
        const ssize_t n = ::write(fd_, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            FailErrno();
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool CSafeFileWriter::Commit()
{
    if (fd_ < 0 || failed_) {
        Discard();
        return false;
    }
    if (::fsync(fd_) != 0) FailErrno();
    if (::close(fd_) != 0) FailErrno();
    fd_ = -1;
    if (failed_ || std::rename(tempPath_.c_str(), realPath_.c_str()) != 0) {
        FailErrno();
        Discard();
        return false;
    }
    tempPath_.clear();
    // Make the rename itself durable; a failure here leaves the data written, so it is not reported.
    const int dir = ::open(DirectoryOf(realPath_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        (void)::fsync(dir);
        ::close(dir);
    }
    return true;
}

bool WriteFileSafely(const std::string& path, std::string_view data, std::string& error, FileAccess access)
{
    CSafeFileWriter writer;
    if (writer.Open(path, access) && writer.Write(data) && writer.Commit()) return true;
    error = writer.Error();
    return false;
}

}  // namespace rtu
