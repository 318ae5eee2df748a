// Data over SMS: the serial port's data packed into messages to up to eight numbers, the
// packet type and the idle time that ends a packet, and the SMS export switches.
#pragma once

#include <memory>
#include <optional>
#include <string_view>

#include "pages/framework/PageBase.h"

namespace rtu {

class CDataParams : public CPageBase {
public:
    static constexpr int kEnabled = 1237;
    static constexpr int kPacketType = 1052;      // items 0-6, none at start
    static constexpr int kIdleSpan = 1053;        // ms
    static constexpr int kExport = 1461;          // hidden
    static constexpr int kExportPassword = 1462;  // hidden
    static constexpr int kList = ctl::kList;
    static constexpr int kColNumber = 1;
    static constexpr int kRows = 8;
    static constexpr int kWaitMs = 2000;

    CDataParams(PageContext& context, const PageInfo& info);

    // "$SR<row> <number>": taken when empty or starting with a digit or "+".
    void TakeRow(int row, std::string_view text);
};

}  // namespace rtu
