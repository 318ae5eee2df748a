#include "sim/core/SimTransmitter.h"

#include <algorithm>

namespace rtu {

CSimTransmitter::CSimTransmitter(int baud)
{
    const std::int64_t rate = std::max(baud, 1);
    // Rounded up: the unit may be a little slower than the line, never faster.
    byteUs_ = (kBitsPerByte * kMicrosPerSecond + rate - 1) / rate;
}

std::int64_t CSimTransmitter::Queue(std::string bytes, std::int64_t earliestMs)
{
    const std::int64_t start = std::max(earliestMs * kMicrosPerMs, freeUs_);
    if (bytes.empty()) return start / kMicrosPerMs;
    freeUs_ = start + static_cast<std::int64_t>(bytes.size()) * byteUs_;
    backlog_ += bytes.size();
    chunks_.push_back({std::move(bytes), 0, start});
    return start / kMicrosPerMs;
}

std::string CSimTransmitter::Poll(std::int64_t nowMs)
{
    const std::int64_t nowUs = nowMs * kMicrosPerMs;
    std::string out;
    while (!chunks_.empty()) {
        SChunk& chunk = chunks_.front();
        if (nowUs < chunk.startUs) break;
        // Bytes 0 .. k of the chunk have left when startUs + k * byteUs <= now.
        const auto due = static_cast<std::size_t>((nowUs - chunk.startUs) / byteUs_) + 1;
        const std::size_t until = std::min(due, chunk.bytes.size());
        if (until <= chunk.sent) break;
        out.append(chunk.bytes, chunk.sent, until - chunk.sent);
        backlog_ -= until - chunk.sent;
        chunk.sent = until;
        if (chunk.sent < chunk.bytes.size()) break;
        chunks_.pop_front();
    }
    return out;
}

std::optional<std::int64_t> CSimTransmitter::NextDeadline() const
{
    if (chunks_.empty()) return std::nullopt;
    const SChunk& chunk = chunks_.front();
    const std::int64_t nextUs = chunk.startUs + static_cast<std::int64_t>(chunk.sent) * byteUs_;
    return (nextUs + kMicrosPerMs - 1) / kMicrosPerMs;
}

}  // namespace rtu
