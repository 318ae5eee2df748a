#include "pages/basic/PageAinprio.h"

#include "pages/framework/Printf.h"

namespace rtu {

namespace {

PriorityGridShape MakeShape()
{
    PriorityGridShape s;
    s.tables = {ctl::kList};
    s.sources = CPageAinprio::kInputs;
    s.firstColumn = {"", "", "No."};
    s.maxMaskChars = CPageAinprio::kMaxMaskChars;
    s.title = prio::TitleLabel(CPageAinprio::kTitleFrame, {"TABS", "PAGE_AINPRIO", ""});
    s.saveId = ctl::kSave;
    s.resetId = CPageAinprio::kResetButton;
    s.hasReload = false;
    return s;
}

}  // namespace

CPageAinprio::CPageAinprio(PageContext& context) : CPriorityGridPage(context, MakeShape()) {}

// The unit keeps an SMS and a ring mask per row; analog alarms use the same mask for both.
std::string CPageAinprio::RowCommand(int row, const Masks& masks) const
{
    return Printf("%%AINPRIO=%d,%4.4x,%4.4x\r", row, masks[0], masks[0]);
}

}  // namespace rtu
