// Digital alarm priorities: which control phones the four digital inputs notify, by SMS and by ring.
#pragma once

#include "pages/basic/PriorityGrid.h"

namespace rtu {

class CPagePriotab : public CPriorityGridPage {
public:
    static constexpr int kTitleFrame = 1309;   // frame carrying the page title
    static constexpr int kSmsList = ctl::kList;
    static constexpr int kRingList = prio::kRingList;
    static constexpr int kResetButton = 1029;
    static constexpr int kInputs = 4;          // digital inputs, one column each
    explicit CPagePriotab(PageContext& context);
    const char* ClassName() const override { return "CPagePriotab"; }

protected:
    std::string RowCommand(int row, const Masks& masks) const override;
};

}  // namespace rtu
