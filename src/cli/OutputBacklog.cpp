#include "cli/OutputBacklog.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace rtu::cli {

COutputBacklog::COutputBacklog(int fd) : fd_(fd)
{
    const int flags = ::fcntl(fd_, F_GETFL);
    if (flags >= 0 && !(flags & O_NONBLOCK) && ::fcntl(fd_, F_SETFL, flags | O_NONBLOCK) == 0) savedFlags_ = flags;
}

COutputBacklog::~COutputBacklog()
{
    if (savedFlags_ >= 0) ::fcntl(fd_, F_SETFL, savedFlags_);
}

void COutputBacklog::Append(std::string_view bytes)
{
    if (failed_) return;
    if (head_ > 0 && head_ >= data_.size() / 2) {  // keep the written part from piling up
        data_.erase(0, head_);
        head_ = 0;
    }
    data_.append(bytes);
}

void COutputBacklog::Flush()
{
    while (!failed_ && !Empty()) {
        const ssize_t n = ::write(fd_, data_.data() + head_, std::min(Size(), kWriteChunk));
        if (n > 0) {
            head_ += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) break;  // the poll loop comes back
        failed_ = true;
    }
    if (failed_ || Empty()) {
        data_.clear();
        head_ = 0;
    }
}

}  // namespace rtu::cli
