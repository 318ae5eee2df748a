#include "link/ImageCollector.h"

namespace rtu {

CImageCollector::Result CImageCollector::Start(std::string_view first, bool lineFeedDue)
{
    active_ = true;
    image_.clear();
    lineFeedDue_ = lineFeedDue;
    if (first.empty()) return Result::Collecting;
    return Feed(first);
}

CImageCollector::Result CImageCollector::Feed(std::string_view chunk)
{
    if (lineFeedDue_ && !chunk.empty()) {
        lineFeedDue_ = false;
        if (chunk.front() == '\n') chunk.remove_prefix(1);
    }
    if (image_.size() + chunk.size() >= kImageBufferSize + 1) {
        active_ = false;
        image_.clear();
        lineFeedDue_ = false;
        return Result::Overflow;
    }
    image_.append(chunk);
    if (image_.size() > kMinLengthForTrailer && image_.ends_with(kTrailer)) {
        image_.resize(image_.size() - kTrailer.size());
        active_ = false;
        return Result::Finished;
    }
    return Result::Collecting;
}

}  // namespace rtu
