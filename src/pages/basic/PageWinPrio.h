// Wireless zone priorities: which control phones the twelve wireless zones notify, by SMS and by ring.
#pragma once

#include "pages/basic/PriorityGrid.h"

namespace rtu {

class CPageWinPrio : public CPriorityGridPage {
public:
    static constexpr int kTitleLabel = 1268;   // label carrying the page title
    static constexpr int kSmsList = ctl::kList;
    static constexpr int kRingList = prio::kRingList;
    static constexpr int kResetButton = 1029;
    static constexpr int kZones = 12;          // wireless zones, one column each
    explicit CPageWinPrio(PageContext& context);
    const char* ClassName() const override { return "CPageWinPrio"; }

protected:
    std::string RowCommand(int row, const Masks& masks) const override;
};

}  // namespace rtu
