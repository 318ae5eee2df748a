#include "link/OutputPath.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <filesystem>

namespace rtu {
namespace {

constexpr int kMaxLinkHops = 40;  // symbolic links followed before giving up (as the kernel does)

std::string DirectoryOf(const std::string& path)
{
    const std::string dir = std::filesystem::path(path).parent_path().string();
    return dir.empty() ? "." : dir;
}

// A link another user left in a shared sticky folder: the kernel would not follow it either.
bool PlantedLink(const std::string& link, const struct stat& linkStat, std::string& reason)
{
    const std::string dir = DirectoryOf(link);
    struct stat dirStat {};
    if (::stat(dir.c_str(), &dirStat) != 0) return false;  // the read of the link fails on its own then
    const bool shared = (dirStat.st_mode & S_ISVTX) && (dirStat.st_mode & S_IWOTH);
    if (!shared || linkStat.st_uid == ::geteuid() || linkStat.st_uid == dirStat.st_uid) return false;
    reason = "is a symbolic link that another user (uid " + std::to_string(linkStat.st_uid) +
             ") put in the shared folder " + dir + "; it is not followed";
    return true;
}

}  // namespace

const char* FileKind(mode_t mode)
{
    if (S_ISDIR(mode)) return "a directory";
    if (S_ISFIFO(mode)) return "a FIFO";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
    if (S_ISSOCK(mode)) return "a socket";
    return "not a regular file";
}

bool ResolveOutputPath(const std::string& path, OutputTarget& target, std::string& reason)
{
    target = OutputTarget{};
    target.path = path;
    for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
        if (::lstat(target.path.c_str(), &target.st) != 0) {
            if (errno != ENOENT) break;
            target.exists = false;
            return true;
        }
        if (!S_ISLNK(target.st.st_mode)) {
            target.exists = true;
            return true;
        }
        if (PlantedLink(target.path, target.st, reason)) return false;
        char buffer[PATH_MAX];
        const ssize_t n = ::readlink(target.path.c_str(), buffer, sizeof buffer);
        if (n < 0) break;
        if (static_cast<std::size_t>(n) >= sizeof buffer) {
            errno = ENAMETOOLONG;
            break;
        }
        const std::string link(buffer, static_cast<std::size_t>(n));
        target.path = !link.empty() && link.front() == '/' ? link : DirectoryOf(target.path) + "/" + link;
        if (hop == kMaxLinkHops) errno = ELOOP;
    }
    reason = std::strerror(errno);
    return false;
}

int OpenAppendFile(const std::string& path, mode_t mode, std::string& reason)
{
    OutputTarget target;
    if (!ResolveOutputPath(path, target, reason)) return -1;
    if (target.exists && !S_ISREG(target.st.st_mode)) {
        reason = std::string("is ") + FileKind(target.st.st_mode) + "; only a regular file is appended to";
        return -1;
    }
    // O_NOFOLLOW: a link put in place since the check is not followed; O_NONBLOCK: a FIFO
    // put in place since the check does not hold the open up.
    const int fd = ::open(target.path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, mode);
    if (fd < 0) {
        reason = std::strerror(errno);
        return -1;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        reason = std::string("is ") + FileKind(st.st_mode) + "; only a regular file is appended to";
        ::close(fd);
        return -1;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    return fd;
}

}  // namespace rtu
