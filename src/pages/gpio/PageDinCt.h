// The counter message settings of the digital inputs: the message title, the station name,
// and per counter its pulse equivalent and maximum (edited row by row). The page has no
// profile section and no navigation item of its own.
#pragma once

#include <memory>

#include "pages/framework/PageBase.h"

namespace rtu {

class CPageDinCt : public CPageBase {
public:
    static constexpr int kTitle = 1590;
    static constexpr int kStation = 1592;
    static constexpr int kList = 1378;
    static constexpr int kRows = 4;
    static constexpr int kGroup = 1589;      // the group box around the page
    static constexpr int kEditPulse = 1592;  // editor: pulse equivalent
    static constexpr int kEditMax = 1594;    // editor: pulse maximum
    static constexpr int kEditorOk = 1;
    static constexpr int kEditorCancel = 2;
    static constexpr int kWaitMs = 2000;
    static constexpr int kTextMax = 64;        // longest title or station name typed
    static constexpr std::size_t kRowAt = 10;  // "$DINCTUNTV<row> <value>": the row digit
    static constexpr std::size_t kValueAt = 12;

    CPageDinCt(PageContext& context, const PageInfo& info);

    // Title and station name, unframed, then the page's own reload.
    void SaveParams(bool toProfile, CProfileWriter* file) override;
    // "$DINCTUNTV" (column 1), "$DINCTMAXV" (column 2).
    void TakeRowReport(const RouteHit& hit);
};

}  // namespace rtu
