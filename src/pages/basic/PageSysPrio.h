// System event priorities: which control phones the sixteen system events notify.
#pragma once

#include "pages/basic/PriorityGrid.h"

namespace rtu {

class CPageSysPrio : public CPriorityGridPage {
public:
    static constexpr int kResetButton = 1038;
    static constexpr int kEvents = 16;         // system events, one column each
    static constexpr int kEventWidth = 60;
    explicit CPageSysPrio(PageContext& context);
    const char* ClassName() const override { return "CPageSysPrio"; }

protected:
    std::string RowCommand(int row, const Masks& masks) const override;
};

}  // namespace rtu
