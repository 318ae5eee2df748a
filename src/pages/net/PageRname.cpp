#include "pages/net/PageRname.h"

#include <vector>

#include "pages/framework/FieldBuilders.h"
#include "pages/framework/Printf.h"
#include "pages/framework/Ucs2Hex.h"
#include "pages/net/RegisterReports.h"

namespace rtu {
namespace {

using P = CPageRname;

// The list's column widths.
constexpr int kNumberWidth = 60, kNameWidth = 140, kLimitWidth = 100;
constexpr int kBatchWaitMs = 4000;  // the framing lines of the defaults

void TakeName(CPageBase& page, const RouteHit& hit) { static_cast<P&>(page).TakeName(hit.text); }
void TakeLimit(CPageBase& page, const RouteHit& hit) { static_cast<P&>(page).TakeLimit(hit.text); }
void LoadDefaults(CPageBase& page) { static_cast<P&>(page).LoadDefaults(); }

// clang-format off
const std::vector<FieldDecl> kFields = [] {
    std::vector<FieldDecl> f = {
        {.id = 1268, .kind = K::Label, .caption = Own("TITLE")},
        {.id = P::kList, .kind = K::List,
         .columns = {{Own("LISTC0"), kNumberWidth, false, ColumnKind::Label}, {Own("LISTC1"), kNameWidth},
                     {Own("LISTC2"), kLimitWidth}, {Own("LISTC3"), kLimitWidth}},
         .rows = kModbusRegisters},
        MakeButton(P::kEdit, Shared("Buttons", "Edit"), "", ctl::kEditRow),
        MakeButton(P::kDefaults, Shared("Buttons", "LoadF")),
    };
    f[2].visible = false;
    f[3].visible = false;
    f[3].onClick = LoadDefaults;
    return f;
}();

const std::vector<RowEditorDecl> kEditors = {
    {P::kList, Own("EDITTITLE"),
     {{.id = P::kEdName, .kind = K::Text, .caption = Own("REGNAME"),
       .write = {.format = "%%N%2.2d%s\r", .order = 3}, .encoded = true, .column = P::kColName},
      {.id = P::kEdHigh, .kind = K::Text, .caption = Own("REGHIGH"),
       .write = {.format = "%%R%2.2d%s\r", .order = 1}, .column = P::kColHigh},
      {.id = P::kEdLow, .kind = K::Text, .caption = Own("REGLOW"),
       .write = {.format = "%%R%2.2d%s\r", .order = 2, .rowAdd = kModbusRegisters}, .column = P::kColLow}},
     ",", 0, false, P::kRowWaitMs, "%DUMPM\r"},  // the unit reports a limit after a comma
};
// clang-format on

const HandlerDecl kHandlers[] = {
    {.number = 1, .keys = {"$RNAME#"}, .fn = TakeName},
    {.number = 2, .keys = {"$REG#"}, .fn = TakeLimit},
};

}  // namespace

CPageRname::CPageRname(PageContext& context, const PageInfo& info)
    : CPageBase(context, info, PageDecl{.fields = kFields, .editors = kEditors, .handlers = kHandlers})
{
    Value(kList);
}

void CPageRname::TakeName(std::string_view text)
{
    const auto indexed = SplitIndex(text);
    if (!indexed || indexed->index >= kModbusRegisters) return;
    SetCell(kList, indexed->index, kColName, DecodeUcs2Hex(indexed->value));
}

void CPageRname::TakeLimit(std::string_view text)
{
    if (const auto limit = SplitLimit(text))
        SetCell(kList, limit->reg, limit->high ? kColHigh : kColLow, std::string(limit->value));
}

void CPageRname::LoadDefaults()
{
    if (ctx_.postToMain) ctx_.postToMain(cmd::kPageBusy);
    const std::string suffix = Tr("SYSCHAR", "REGISTER");
    EmitCommand(false, "%STARTCMD\r", nullptr, kBatchWaitMs);
    for (int i = 0; i < kModbusRegisters; ++i) {
        EmitCommand(false, Printf("%%R%2.2d%d\r", i + kModbusRegisters, kDefaultLow), nullptr, kDefaultsWaitMs);
        EmitCommand(false, Printf("%%R%2.2d%d\r", i, kDefaultHigh), nullptr, kDefaultsWaitMs);
        const std::string name = Printf("MOD%2.2d%s", i, suffix.c_str());
        EmitCommand(false, Printf("%%N%2.2d%s\r", i, EncodeUcs2Hex(name).c_str()), nullptr, kDefaultsWaitMs);
    }
    EmitCommand(false, "%COMMITCMD\r", nullptr, kBatchWaitMs);
    if (ctx_.postToMain) ctx_.postToMain(cmd::kReload);
}

}  // namespace rtu
