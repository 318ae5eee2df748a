#include "link/AppendLog.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "link/OutputPath.h"

namespace rtu {

namespace {
constexpr mode_t kSharedMode = 0666;   // before the umask, as for any new file
constexpr mode_t kPrivateMode = 0600;  // a log that may hold the unit's secrets
}  // namespace

bool CAppendLog::Open(const std::string& path, FileAccess access)
{
    Close();
    path_ = path;
    access_ = access;
    writeFailed_ = false;
    error_.clear();
    if (path.empty()) {
        error_ = "no file name";
        return false;
    }
    std::error_code ec;
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    if (!parent.empty()) std::filesystem::create_directories(parent, ec);
    fd_ = OpenAppendFile(path, access == FileAccess::Private ? kPrivateMode : kSharedMode, error_);
    return fd_ >= 0;
}

void CAppendLog::Close()
{
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

bool CAppendLog::Append(std::string_view text)
{
    if (fd_ < 0) return false;
    while (!text.empty()) {
        const ssize_t n = ::write(fd_, text.data(), text.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (!writeFailed_) error_ = n < 0 ? std::strerror(errno) : "nothing was written";
            writeFailed_ = true;
            return false;
        }
        text.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool CAppendLog::Recreate()
{
    Close();
    std::error_code ec;
    std::filesystem::remove(path_, ec);
    return Open(path_, access_);
}

}  // namespace rtu
