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
    static constexpr int kQuietMs = 5000;                    // a transfer with no byte for this long has failed
    // The status of a transfer that fell quiet before "$IMAGE_END" (the unit's own "$IMAGE_ERR"
    // says "image get error!").
    static constexpr const char* kStoppedText = "the picture stopped before its end marker ($IMAGE_END): no byte for 5 s";

    enum class Result { Collecting, Finished, Overflow };

    bool Active() const { return active_; }
    // Starts a picture with the bytes that followed the start line in the same chunk; a
    // whole small picture with its trailer may already be among them. `lineFeedDue`: the
    // start line ended with a carriage return whose line feed has not arrived yet, so a
    // line feed that opens the next chunk belongs to the line, not to the picture.
    Result Start(std::string_view first, bool lineFeedDue = false);
    Result Feed(std::string_view chunk);
    void Abort()
    {
        active_ = false;
        lineFeedDue_ = false;
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
    bool lineFeedDue_ = false;
    std::string image_;
};

}  // namespace rtu
