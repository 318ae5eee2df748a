// Collects the bytes of a camera picture between the "$IMAGE_START" line and the
// "$IMAGE_END" CR LF trailer. While collecting, nothing is cut into lines; the bytes that
// follow the trailer in the same read are handed back for the lines.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace rtu {

class CImageCollector {
public:
    static constexpr std::size_t kImageBufferSize = 55295;  // a picture and its trailer fit in this
    static constexpr std::string_view kTrailer = "$IMAGE_END\r\n";
    static constexpr std::size_t kMinLengthForTrailer = 30;  // shorter data is never a finished picture
    static constexpr int kQuietMs = 5000;                    // a transfer with no byte for this long has failed
    // The whole transfer is bounded by the time the largest picture takes on the line, with
    // the slowest framing (start bit, 8 data bits, parity, stop bit), plus a margin for the
    // unit's pauses between chunks.
    static constexpr int kBitsPerByte = 11;
    static constexpr std::int64_t kTransferMarginMs = 15000;
    static constexpr int kDefaultBaud = 9600;  // the line speed assumed until one is given
    // The status of a transfer that fell quiet before "$IMAGE_END" (the unit's own "$IMAGE_ERR"
    // says "image get error!").
    static constexpr const char* kStoppedText = "the picture stopped before its end marker ($IMAGE_END): no byte for 5 s";
    // The status of a transfer that kept sending without "$IMAGE_END" for longer than the
    // largest picture takes.
    static constexpr const char* kOverdueText =
        "the picture did not end ($IMAGE_END) in the time the largest picture takes at this line speed";

    enum class Result { Collecting, Finished, Overflow };

    // The longest a whole transfer may take at `baud`.
    static std::int64_t TransferBoundMs(int baud);

    bool Active() const { return active_; }
    // Starts a picture with the bytes that followed the start line in the same chunk; a
    // whole small picture with its trailer may already be among them. `lineFeedDue`: the
    // start line ended with a carriage return whose line feed has not arrived yet, so a
    // line feed that opens the next chunk belongs to the line, not to the picture.
    Result Start(std::string_view first, bool lineFeedDue = false);
    // The trailer is found wherever it lies in the chunk, also split across chunks; what
    // follows it waits in Leftover.
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
    // The bytes after the trailer of the transfer that just ended or overflowed (they are no
    // picture); an abort leaves them, so a failure does not lose them.
    bool HasLeftover() const { return !leftover_.empty(); }
    std::string TakeLeftover()
    {
        std::string out;
        out.swap(leftover_);
        return out;
    }

private:
    Result Fail();

    bool active_ = false;
    bool lineFeedDue_ = false;
    std::string image_;
    std::string leftover_;
};

}  // namespace rtu
