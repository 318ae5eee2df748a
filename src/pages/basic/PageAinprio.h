// Analog alarm priorities: which control phones the four analog inputs notify.
#pragma once

#include "pages/basic/PriorityGrid.h"

namespace rtu {

class CPageAinprio : public CPriorityGridPage {
public:
    static constexpr int kTitleFrame = 1310;   // frame carrying the page title
    static constexpr int kResetButton = 1038;
    static constexpr int kInputs = 4;          // analog inputs, one column each
    static constexpr std::size_t kMaxMaskChars = 4;  // the unit reports this mask with four digits at most
    explicit CPageAinprio(PageContext& context);
    const char* ClassName() const override { return "CPageAinprio"; }

protected:
    std::string RowCommand(int row, const Masks& masks) const override;
};

}  // namespace rtu
