#include "pages/basic/PageSysPrio.h"

#include "pages/framework/Printf.h"

namespace rtu {

namespace {

PriorityGridShape MakeShape()
{
    PriorityGridShape s;
    s.tables = {ctl::kList};
    s.sources = CPageSysPrio::kEvents;
    s.sourceWidth = CPageSysPrio::kEventWidth;
    s.sourceTitlePrefix = "LISTC";
    s.firstColumn = {"", "LISTC0", ""};
    s.saveId = ctl::kSave;
    s.saveCaption = {"Buttons", "SAVE", ""};
    s.resetId = CPageSysPrio::kResetButton;
    s.resetCaption = {"Buttons", "RESET", ""};
    return s;
}

}  // namespace

CPageSysPrio::CPageSysPrio(PageContext& context) : CPriorityGridPage(context, MakeShape()) {}

std::string CPageSysPrio::RowCommand(int row, const Masks& masks) const
{
    return Printf("%%BASEPRIO=%d,%4.4x\r", row, masks[0]);
}

}  // namespace rtu
