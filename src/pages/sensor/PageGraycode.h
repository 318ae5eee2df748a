// The gray-code (absolute encoder) input: range, step, timing, accuracy and uploads.
#pragma once

#include <memory>

#include "pages/framework/PageBase.h"

namespace rtu {

class CPageGraycode : public CPageBase {
public:
    // Range, change step, detect interval (seconds), adjustment, gray-code bits and accuracy.
    static constexpr int kRangeLow = 1001, kRangeHigh = 1002, kStep = 1003, kDetect = 1004;
    static constexpr int kAdjust = 1005, kBits = 1006, kAccuracy = 1007;
    static constexpr int kValueV = 1008, kValueG = 1009, kValueB = 1010;  // the current value's three parts
    // Uploads: the GPRS period in seconds, the time span's hours (shown only), and on change
    // a count and a minutes interval.
    static constexpr int kTimer = 1011, kSpanStart = 1012, kSpanEnd = 1013;
    static constexpr int kEventCount = 1014, kEventMinutes = 1015;

    CPageGraycode(PageContext& context, const PageInfo& info);
    // Empties the inputs; the current value keeps its three parts.
    void ClearFields() override;
};

}  // namespace rtu
