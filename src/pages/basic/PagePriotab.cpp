#include "pages/basic/PagePriotab.h"

#include "pages/framework/Printf.h"

namespace rtu {

namespace {

PriorityGridShape MakeShape()
{
    PriorityGridShape s;
    s.tables = {CPagePriotab::kSmsList, CPagePriotab::kRingList};
    s.sources = CPagePriotab::kInputs;
    s.firstColumn = {"", "LIST0C0", ""};
    s.title = prio::TitleLabel(CPagePriotab::kTitleFrame, {"", "Title", ""});
    s.saveId = ctl::kSave1;
    s.resetId = CPagePriotab::kResetButton;
    return s;
}

}  // namespace

CPagePriotab::CPagePriotab(PageContext& context) : CPriorityGridPage(context, MakeShape()) {}

std::string CPagePriotab::RowCommand(int row, const Masks& masks) const
{
    return Printf("%%DINPRIO=%d,%4.4x,%4.4x\r", row, masks[0], masks[1]);
}

}  // namespace rtu
