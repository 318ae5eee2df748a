// The timing of each digital input's alarm messages: the alarm SMS interval, the repeat
// reminder while the input stays in alarm, and the confirmation lag. A row is edited in its
// own dialog and written at once; the page has no Save button.
#pragma once

#include <memory>

#include "pages/framework/PageBase.h"

namespace rtu {

class CPageDinParams : public CPageBase {
public:
    static constexpr int kList = 1408;
    static constexpr int kRows = 4;             // digital inputs 0-3
    static constexpr int kEditInterval = 1410;  // editor: alarm SMS interval (minutes)
    static constexpr int kEditRepeat = 1411;    // editor: repeat reminder (minutes)
    static constexpr int kEditLag = 1412;       // editor: confirmation lag (seconds)
    static constexpr int kEditorOk = 1;
    static constexpr int kEditorCancel = 2;
    static constexpr int kRowWaitMs = 1000;             // wait of each value line of a row edit
    static constexpr int kValueMax = 65535;             // the unit keeps each time as a 16-bit number
    static constexpr std::size_t kValueDigits = 5;      // digits of kValueMax
    static constexpr std::size_t kMaxFields = 4;        // fields of a report that are read
    static constexpr std::size_t kMaxFieldLength = 31;  // characters of a field that are read

    CPageDinParams(PageContext& context, const PageInfo& info);

    // The reports overwrite the cells; nothing empties the list first.
    void ClearFields() override {}
    // Only a profile takes the rows (twelve lines, three per input).
    void SaveParams(bool toProfile, CProfileWriter* file) override;
    // "$DINAS" (column 1), "$DINLS" (2), "$DINDLY" (3): "<row><sep><value>".
    void TakeReport(const RouteHit& hit, int column);
};

}  // namespace rtu
