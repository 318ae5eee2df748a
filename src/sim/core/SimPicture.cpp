// What the unit reports on its own: the camera's side of a picture transfer (the start line,
// the picture in chunks some time apart so the tool sees several reads, and the trailer; or
// one of the failures), and alarm and restore events.
#include <algorithm>

#include "sim/core/SimUnit.h"

namespace rtu {
namespace {

constexpr std::string_view kStartLine = "$IMAGE_START\r\n";
constexpr std::string_view kTrailer = "$IMAGE_END\r\n";
constexpr std::string_view kErrorLine = "$IMAGE_ERR\r\n";
constexpr std::size_t kChunkBytes = 512;            // picture bytes per chunk
constexpr std::int64_t kChunkGapMs = 60;            // pause between chunks
constexpr std::size_t kOversizedBytes = 56 * 1024;  // beyond what the tool's picture buffer holds
constexpr char kFillByte = '\x55';                  // padding of an oversized picture

// The events the unit reports in turn: source, value, state.
struct SimEvent {
    const char* source;
    const char* name;
    const char* value;
    const char* state;
};
constexpr SimEvent kEvents[] = {
    {"DIN 1 ALARM SMS", "Door", "1", "OPEN"},
    {"DIN 1 RECOVER SMS", "Door", "0", "CLOSED"},
    {"AIN 2 ALARM", "Tank level", "17.9mA", "HIGH"},
    {"POWER RECOVER", "DC", "12.6V", "OK"},
};

}  // namespace

std::string CSimUnit::NextEventLine()
{
    const SimEvent& e = kEvents[static_cast<std::size_t>(events_) % std::size(kEvents)];
    ++events_;
    return "$:\"" + std::to_string(events_) + "\",\"" + e.source + "\",\"" + std::to_string(events_ % 4 + 1) + "\",\"" +
           e.name + "\",\"" + e.value + "\",\"" + e.state + "\",\"2026-12-08 12:00:" + (events_ % 60 < 10 ? "0" : "") +
           std::to_string(events_ % 60) + "\"";
}

void CSimUnit::SendPicture(std::int64_t nowMs)
{
    if (options_.failMode == ESimFailMode::Silent) return;
    std::int64_t at = nowMs + options_.latencyMs;
    if (options_.pictureMode == ESimPictureMode::Err) {
        tx_.Queue(std::string(kErrorLine), at);
        Trace(at, '>', "$IMAGE_ERR");
        return;
    }
    std::string body = options_.picture;
    if (options_.pictureMode == ESimPictureMode::Oversized && body.size() < kOversizedBytes)
        body.append(kOversizedBytes - body.size(), kFillByte);
    Trace(at, '>', "$IMAGE_START (" + std::to_string(body.size()) + " picture bytes)");
    at = tx_.Queue(std::string(kStartLine), at);
    for (std::size_t off = 0; off < body.size(); off += kChunkBytes) {
        // Each chunk leaves a pause after the one before it has left the line.
        at = tx_.Queue(body.substr(off, kChunkBytes), at) + kChunkGapMs;
        at += static_cast<std::int64_t>(std::min(kChunkBytes, body.size() - off)) * tx_.ByteMicros() /
              CSimTransmitter::kMicrosPerMs;
    }
    if (options_.pictureMode == ESimPictureMode::NoTrailer) return;
    std::string last(kTrailer);
    if (options_.eventAfterPicture) last += NextEventLine() + "\r\n";
    tx_.Queue(std::move(last), at);
}

}  // namespace rtu
