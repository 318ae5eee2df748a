#include "link/LineFramer.h"

#include <cstring>

namespace rtu {

void CLineFramer::Append(std::string_view chunk)
{
    if (cursor_ > 0) {
        buffer_.erase(0, cursor_);
        cursor_ = 0;
    }
    if (buffer_.size() + chunk.size() >= kAccumulationSize) {
        // Overflow: the unfinished line held so far cannot be completed within the bound.
        buffer_.clear();
        scanned_ = 0;
    }
    buffer_.append(chunk);
}

bool CLineFramer::NextLine(std::string& line)
{
    const char* data = buffer_.data();
    const std::size_t end = buffer_.size();
    for (;;) {
        while (cursor_ < end && (data[cursor_] == '\r' || data[cursor_] == '\n')) {
            ++cursor_;
            scanned_ = 0;
        }
        std::size_t pos = cursor_ + scanned_;
        while (pos < end && data[pos] != '\r' && data[pos] != '\n') ++pos;
        if (pos >= end) {
            scanned_ = end - cursor_;
            return false;
        }
        const std::size_t length = pos - cursor_;
        const std::size_t start = cursor_;
        cursor_ = pos + 1;
        scanned_ = 0;
        if (length < kLineCapacity - 2) {
            line.assign(data + start, length);
            return true;
        }
        // An over-long line is dropped; the lines after it are still delivered.
    }
}

}  // namespace rtu
