// Two alarm ranges per analog input, each with a high and a low limit, a lag and an
// interlocked output for its high and its low alarm. Edited row by row and sent at once; the
// values arrive with the analog dump of the full reload (no Reload button, no profile).
#pragma once

#include <memory>
#include <string>

#include "pages/framework/PageBase.h"

namespace rtu {

class CPageAdcExt : public CPageBase {
public:
    static constexpr int kList = 1462, kRows = 4;
    // Columns 1-10: "$AINEXT" carries columns 1-6, "$AINOOC" the four interlocks from column 7.
    static constexpr int kValues = 10, kRangeValues = 6, kInterlocks = 4, kFirstInterlock = 7;
    // Interlocked outputs 0-3; 255 is none, the "Not Used" item of the editor's combos.
    static constexpr int kOutputs = 4, kNotUsed = 255, kNotUsedItem = 4;
    static constexpr int kWaitMs = 2000;
    static constexpr int kEditorOk = 1, kEditorCancel = 2;
    // Editor controls by column 1-10.
    static constexpr int kEditorIds[kValues] = {1466, 1465, 1471, 1468, 1467, 1472, 1481, 1482, 1483, 1484};

    CPageAdcExt(PageContext& context, const PageInfo& info);

    void SaveParams(bool, CProfileWriter*) override {}
    bool BeginEditRow(int listId, int row, RowEdit& edit) override;
    // Limits and lags are numbers (or empty); an interlock is an output 0-3 or "Not Used".
    std::optional<FieldProblem> CheckEditRow(const RowEdit& edit) const override;
    void CommitEditRow(const RowEdit& edit) override;
    // "$AINEXT" (first column 1) and "$AINOOC" (first column 7): "<row>?v,v,…".
    void TakeReport(const RouteHit& hit, int firstColumn, int count);

    // The output an interlock text names ("OC 2" -> 2, "Not Used" -> 255); nullopt for an
    // output the unit does not have.
    static std::optional<int> InterlockOf(const std::string& text);
    // The editor's item for a cell's value.
    static std::string InterlockItem(const std::string& cell);
};

}  // namespace rtu
