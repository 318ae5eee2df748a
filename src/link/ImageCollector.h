// Collects the bytes of a camera picture between the "$IMAGE_START" line and the
// "$IMAGE_END" CR LF trailer. While collecting, nothing is cut into lines.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace rtu {

class CImageCollector {
public:
    static constexpr std::size_t kImageBufferSize = 55295;  // a picture and its trailer fit in this
    static constexpr std::string_view kTrailer = "$IMAGE_END\r\n";
    static constexpr std::size_t kMinLengthForTrailer = 30;  // shorter data is never a finished picture

    enum class Result { Collecting, Finished, Overflow };

    bool Active() const { return active_; }
    // Starts a picture with the bytes that followed the start line in the same chunk.
    void Start(std::string_view first);
    Result Feed(std::string_view chunk);
    void Abort()
    {
        active_ = false;
        image_.clear();
    }
    const std::string& Image() const { return image_; }
    void TakeImage(std::string& out)
    {
        out.swap(image_);
        image_.clear();
    }

private:
    bool active_ = false;
    std::string image_;
};

}  // namespace rtu
