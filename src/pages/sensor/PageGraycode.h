// The gray-code (absolute encoder) input: range, step, timing, accuracy and uploads.
#pragma once

#include <memory>

#include "pages/framework/PageBase.h"

namespace rtu {

class CPageGraycode : public CPageBase {
public:
    static constexpr int kRangeLow = 1001;
    static constexpr int kRangeHigh = 1002;
    static constexpr int kStep = 1003;      // change step
    static constexpr int kDetect = 1004;    // detect interval, seconds
    static constexpr int kAdjust = 1005;    // adjustment
    static constexpr int kBits = 1006;      // gray-code bits
    static constexpr int kAccuracy = 1007;  // gray-code accuracy
    static constexpr int kValueV = 1008;    // 1008-1010: the current value's three parts (V, G, B)
    static constexpr int kValueG = 1009;
    static constexpr int kValueB = 1010;
    static constexpr int kTimer = 1011;         // GPRS upload period, seconds
    static constexpr int kSpanStart = 1012;     // upload time span, start hour (shown only)
    static constexpr int kSpanEnd = 1013;       // … end hour (shown only)
    static constexpr int kEventCount = 1014;    // upload on change: count
    static constexpr int kEventMinutes = 1015;  // … minutes interval

    CPageGraycode(PageContext& context, const PageInfo& info);
    // Empties the inputs; the current value keeps its three parts.
    void ClearFields() override;
};

}  // namespace rtu
