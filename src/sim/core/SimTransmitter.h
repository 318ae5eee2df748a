// The unit's transmit side: queued bytes leave no earlier than their answer time and
// never faster than the line speed allows (start bit, eight data bits, stop bit).
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>

namespace rtu {

class CSimTransmitter {
public:
    static constexpr int kBitsPerByte = 10;  // start + 8 data + stop bit
    static constexpr std::int64_t kMicrosPerSecond = 1000000;
    static constexpr std::int64_t kMicrosPerMs = 1000;

    explicit CSimTransmitter(int baud);

    // Queues bytes that may not leave before earliestMs; returns the time (ms) at which
    // the first of them leaves.
    std::int64_t Queue(std::string bytes, std::int64_t earliestMs);
    // The bytes whose time has come by nowMs.
    std::string Poll(std::int64_t nowMs);
    // When the next queued byte leaves (ms, rounded up); nothing when the queue is empty.
    std::optional<std::int64_t> NextDeadline() const;
    std::size_t Backlog() const { return backlog_; }
    // Time (µs) one byte occupies the line.
    std::int64_t ByteMicros() const { return byteUs_; }

private:
    struct SChunk {
        std::string bytes;
        std::size_t sent = 0;
        std::int64_t startUs = 0;  // when bytes[0] leaves; byte k leaves at startUs + k * byteUs_
    };
    std::deque<SChunk> chunks_;
    std::int64_t byteUs_;
    std::int64_t freeUs_ = 0;  // when the line is free after the last queued byte
    std::size_t backlog_ = 0;
};

}  // namespace rtu
