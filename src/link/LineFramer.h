// Cuts the unit's byte stream into lines. A line ends at a carriage return or a line
// feed; empty lines are never delivered, so CR LF ends one line. Bytes of an unfinished
// line stay held until the rest arrives.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace rtu {

class CLineFramer {
public:
    static constexpr std::size_t kAccumulationSize = 10240;  // bytes held at most
    static constexpr std::size_t kLineCapacity = 10240;      // a line of capacity - 2 bytes or more is dropped

    // Appends a chunk. Bytes already consumed are discarded first; when the unfinished
    // rest and the chunk would still reach kAccumulationSize, the rest is dropped.
    void Append(std::string_view chunk);
    // Cuts the next complete line; false when no complete line is held.
    bool NextLine(std::string& line);
    // The bytes held after the read cursor (used when a picture starts).
    std::string_view Rest() const { return std::string_view(buffer_).substr(cursor_); }
    // The terminator that ended the last line cut (0 before any).
    char LastTerminator() const { return cursor_ > 0 ? buffer_[cursor_ - 1] : '\0'; }
    // Skips the line feed of a CR LF pair when it is held; true when it was.
    bool SkipLineFeed()
    {
        if (cursor_ < buffer_.size() && buffer_[cursor_] == '\n') {
            ++cursor_;
            return true;
        }
        return false;
    }
    void Clear()
    {
        buffer_.clear();
        cursor_ = 0;
        scanned_ = 0;
    }
    std::size_t Held() const { return buffer_.size() - cursor_; }

private:
    std::string buffer_;
    std::size_t cursor_ = 0;   // first byte not yet consumed
    std::size_t scanned_ = 0;  // bytes after the cursor known to hold no terminator
};

}  // namespace rtu
