// The real-time temperature records page: records as the unit measures them, logged to
// "ex temp.csv", with a chart of one sensor's newest values.
#pragma once

#include <memory>

#include "pages/sensor/TempRecordPage.h"

namespace rtu {

struct CPageExTmpRcd {
    static constexpr std::size_t kRowLimit = 200;  // rows before the list is emptied
    static constexpr int kRecordLimit = 1000;      // records before the list is emptied
    static std::unique_ptr<CPageBase> Make(PageContext& context, const PageInfo& info);
};

// The record list's columns: the time, then status and value of each sensor.
std::vector<ColumnDecl> TempRecordColumns();

}  // namespace rtu
