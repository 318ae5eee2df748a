#include "link/ImageCollector.h"

#include <algorithm>

namespace rtu {

namespace {
constexpr std::int64_t kMsPerSecond = 1000;
}

std::int64_t CImageCollector::TransferBoundMs(int baud)
{
    const std::int64_t rate = baud > 0 ? baud : kDefaultBaud;
    const auto bits = static_cast<std::int64_t>(kImageBufferSize) * kBitsPerByte;
    return (bits * kMsPerSecond + rate - 1) / rate + kTransferMarginMs;
}

CImageCollector::Result CImageCollector::Start(std::string_view first, bool lineFeedDue)
{
    active_ = true;
    image_.clear();
    leftover_.clear();
    lineFeedDue_ = lineFeedDue;
    if (first.empty()) return Result::Collecting;
    return Feed(first);
}

CImageCollector::Result CImageCollector::Fail()
{
    active_ = false;
    image_.clear();
    lineFeedDue_ = false;
    return Result::Overflow;
}

CImageCollector::Result CImageCollector::Feed(std::string_view chunk)
{
    if (lineFeedDue_ && !chunk.empty()) {
        lineFeedDue_ = false;
        if (chunk.front() == '\n') chunk.remove_prefix(1);
    }
    // Look for the trailer in the held tail (a trailer split across reads) and the chunk.
    const std::size_t kept = std::min(image_.size(), kTrailer.size() - 1);
    const std::size_t base = image_.size() - kept;  // picture offset of the window's first byte
    std::string window = image_.substr(base);
    window.append(chunk);
    std::size_t at = window.find(kTrailer);
    // A trailer that would leave the data at 30 bytes or fewer is taken for picture bytes.
    while (at != std::string::npos && base + at + kTrailer.size() <= kMinLengthForTrailer)
        at = window.find(kTrailer, at + 1);
    if (at == std::string::npos) {
        if (image_.size() + chunk.size() >= kImageBufferSize + 1) return Fail();
        image_.append(chunk);
        return Result::Collecting;
    }
    const std::size_t pictureSize = base + at;
    leftover_.assign(window, at + kTrailer.size());
    if (pictureSize + kTrailer.size() > kImageBufferSize) return Fail();
    image_.resize(base);
    image_.append(window, 0, at);
    active_ = false;
    return Result::Finished;
}

}  // namespace rtu
