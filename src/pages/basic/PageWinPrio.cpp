#include "pages/basic/PageWinPrio.h"

#include "pages/framework/Printf.h"

namespace rtu {

namespace {

PriorityGridShape MakeShape()
{
    PriorityGridShape s;
    s.tables = {CPageWinPrio::kSmsList, CPageWinPrio::kRingList};
    s.sources = CPageWinPrio::kZones;
    s.firstColumn = {"", "LIST0C0", ""};
    s.lastColumn = TextRef{"", "LIST0C1", ""};
    s.title = prio::TitleLabel(CPageWinPrio::kTitleLabel, {"", "Title", ""});
    s.saveId = ctl::kSave1;
    s.resetId = CPageWinPrio::kResetButton;
    return s;
}

}  // namespace

CPageWinPrio::CPageWinPrio(PageContext& context) : CPriorityGridPage(context, MakeShape()) {}

std::string CPageWinPrio::RowCommand(int row, const Masks& masks) const
{
    return Printf("%%WINPRIO=%d,%4.4x,%4.4x\r", row, masks[0], masks[1]);
}

}  // namespace rtu
