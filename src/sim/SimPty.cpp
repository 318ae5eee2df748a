#include "sim/SimPty.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace rtu {

namespace {

constexpr std::size_t kPathCapacity = 256;  // room for the slave's path

bool MakeRaw(int fd)
{
    termios tio{};
    if (tcgetattr(fd, &tio) != 0) return false;
    cfmakeraw(&tio);
    return tcsetattr(fd, TCSANOW, &tio) == 0;
}

}  // namespace

CSimPty::~CSimPty() { Close(); }

void CSimPty::Close()
{
    if (heldSlave_ >= 0) ::close(heldSlave_);
    if (master_ >= 0) ::close(master_);
    heldSlave_ = master_ = -1;
}

bool CSimPty::Open(std::string& error)
{
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0) {
        error = std::string("posix_openpt: ") + std::strerror(errno);
        return false;
    }
    char path[kPathCapacity] = {};
    if (grantpt(master_) != 0 || unlockpt(master_) != 0 || ptsname_r(master_, path, sizeof path) != 0) {
        error = std::string("cannot prepare the pseudo-terminal: ") + std::strerror(errno);
        Close();
        return false;
    }
    slavePath_ = path;
    const int flags = fcntl(master_, F_GETFL);
    fcntl(master_, F_SETFL, flags | O_NONBLOCK);
    fcntl(master_, F_SETFD, FD_CLOEXEC);
    heldSlave_ = ::open(path, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (heldSlave_ < 0) {
        error = "cannot open " + slavePath_ + ": " + std::strerror(errno);
        Close();
        return false;
    }
    if (!MakeRaw(heldSlave_) || !MakeRaw(master_)) {
        error = std::string("cannot set raw mode: ") + std::strerror(errno);
        Close();
        return false;
    }
    return true;
}

}  // namespace rtu
