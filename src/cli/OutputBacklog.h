// What the console still has to print. It is written to the descriptor without blocking,
// whenever the poll loop finds that the descriptor takes more; the owner holds the unit
// back while the backlog is above its high mark, so a slow reader never makes it grow
// without bound.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace rtu::cli {

class COutputBacklog {
public:
    static constexpr std::size_t kHighMark = 1u << 20;      // above this the unit is held back
    static constexpr std::size_t kLowMark = kHighMark / 4;  // ... until the backlog is below this
    static constexpr std::size_t kWriteChunk = 64u * 1024;  // bytes handed to one write()

    // Makes fd non-blocking for the object's lifetime; the destructor restores its flags.
    explicit COutputBacklog(int fd);
    ~COutputBacklog();
    COutputBacklog(const COutputBacklog&) = delete;
    COutputBacklog& operator=(const COutputBacklog&) = delete;

    void Append(std::string_view bytes);
    // Writes what the descriptor takes now. A descriptor that fails (not just full) drops
    // the backlog and everything appended later.
    void Flush();
    std::size_t Size() const { return data_.size() - head_; }
    bool Empty() const { return Size() == 0; }

private:
    int fd_;
    int savedFlags_ = -1;  // -1: the flags were not changed
    bool failed_ = false;
    std::string data_;
    std::size_t head_ = 0;  // data_ before head_ is written
};

}  // namespace rtu::cli
