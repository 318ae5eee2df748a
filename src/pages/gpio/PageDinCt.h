// The counter message settings of the digital inputs: the message title, the station name,
// and per counter its pulse equivalent and maximum (edited row by row). The page has no
// profile section and no navigation item of its own.
#pragma once

#include <memory>

#include "pages/framework/PageBase.h"

namespace rtu {

class CPageDinCt : public CPageBase {
public:
    static constexpr int kGroup = 1589, kTitle = 1590, kStation = 1592;  // the page: box, title, station
    static constexpr int kList = 1378, kRows = 4;
    // The row editor: pulse equivalent, pulse maximum, its buttons.
    static constexpr int kEditPulse = 1592, kEditMax = 1594, kEditorOk = 1, kEditorCancel = 2;
    static constexpr int kWaitMs = 2000;
    static constexpr int kTextMax = 64;  // longest title or station name typed
    // "$DINCTUNTV<row> <value>": where the row digit and the value stand.
    static constexpr std::size_t kRowAt = 10, kValueAt = 12;

    CPageDinCt(PageContext& context, const PageInfo& info);

    // Title and station name, unframed, then the page's own reload.
    void SaveParams(bool toProfile, CProfileWriter* file) override;
    // "$DINCTUNTV" (column 1), "$DINCTMAXV" (column 2).
    void TakeRowReport(const RouteHit& hit);
};

}  // namespace rtu
