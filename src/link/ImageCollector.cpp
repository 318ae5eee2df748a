#include "link/ImageCollector.h"

namespace rtu {

void CImageCollector::Start(std::string_view first)
{
    active_ = true;
    image_.clear();
    if (first.size() > 1) image_.assign(first);
}

CImageCollector::Result CImageCollector::Feed(std::string_view chunk)
{
    if (image_.size() + chunk.size() >= kImageBufferSize + 1) {
        active_ = false;
        image_.clear();
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
