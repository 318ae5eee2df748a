#include "pages/basic/PhoneListPage.h"

#include "pages/framework/CommandFormat.h"
#include "pages/framework/FieldBuilders.h"

namespace rtu {

namespace {

constexpr int kNumberWidth = 120;    // width of the row label column
constexpr int kPhoneWidth = 160;     // width of the phone number column
constexpr int kControlPhones = 10;   // control phones 0-9
constexpr int kServerReload = 1419;  // the control phones page's own Reload button

// clang-format off
const PhoneListDecl kLists[] = {
    {.page = PageId::Server, .rows = kControlPhones, .reloadButton = kServerReload, .hasFrame = true,
     .reportKey = "$CS", .rowCommand = "%%CS%d%s\r", .profileRow = "%%CS%d%s\r\n"},
    {.page = PageId::Sos, .rows = 1, .reportKey = "$SOS", .rowCommand = "%%SOS%d%s\r"},
};
// clang-format on

std::string FormatRow(const char* format, int row, const std::string& number)
{
    const CommandArg args[] = {static_cast<long long>(row), number};
    return FormatCommand(format, args).value_or(std::string{});
}

// The unit reports a stored number; anything else after the key is not a number.
bool LooksLikeNumber(std::string_view text)
{
    return !text.empty() && ((text[0] >= '0' && text[0] <= '9') || text[0] == '+');
}

void Take(CPageBase& page, const RouteHit& hit) { static_cast<CPhoneListPage&>(page).TakeReport(hit); }

}  // namespace

std::span<const PhoneListDecl> PhoneLists() { return kLists; }

std::unique_ptr<CPageBase> MakePhoneList(PageContext& context, const PageInfo& info)
{
    return MakeFamilyPage<CPhoneListPage, PhoneListDecl>(kLists, context, info);
}

CPhoneListPage::CPhoneListPage(PageContext& context, const PageInfo& info, const PhoneListDecl& shape)
    : CPageBase(context, info), shape_(shape)
{
    if (shape_.hasFrame) own_.fields.push_back({.id = ctl::kFrame, .kind = FieldKind::Label, .caption = Own("Title")});
    own_.fields.push_back({.id = kListId,
                           .kind = FieldKind::List,
                           .columns = {{Own("LISTC0"), kNumberWidth, false, ColumnKind::Label},
                                       {Own("LISTC1"), kPhoneWidth, true, ColumnKind::Text}},
                           .rows = shape_.rows,
                           .rowLabelFormat = "No.%d"});
    if (shape_.reloadButton != 0) own_.fields.push_back(MakeButton(shape_.reloadButton, {}, "Reload", ctl::kReload));
    own_.editors.push_back(RowEditorDecl{kListId,
                                         Fixed("Inputs"),
                                         {{.id = kEditorNumber,
                                           .kind = FieldKind::Text,
                                           .write = {.format = shape_.rowCommand, .waitMs = kEditWaitMs},
                                           .chars = CharRule::Phone,
                                           .column = kNumberColumn,
                                           .strict = true},
                                          MakeButton(kEditorOk, Shared("Buttons", "Ok")),
                                          MakeButton(kEditorCancel, Shared("Buttons", "CANCEL"))}});
    own_.handlers.push_back({.number = 1, .keys = {std::string(shape_.reportKey) + "#"}, .fn = Take});
    SetDecl(own_.Over({.waitMs = kPageWaitMs, .framed = false}));
    Value(kListId);  // the fixed rows with their labels exist from the start
}

void CPhoneListPage::SaveParams(bool toProfile, CProfileWriter* file)
{
    if (!toProfile || !file || !shape_.profileRow) return;
    for (int row = 0; row < shape_.rows; ++row)
        file->WriteText(FormatRow(shape_.profileRow, row, CellText(kListId, row, kNumberColumn)));
}

void CPhoneListPage::WriteProfileSection(CProfileWriter& file)
{
    if (!Info()->header) return;
    file.WriteText(Info()->header);
    SaveParams(true, &file);
}

void CPhoneListPage::TakeReport(const RouteHit& hit)
{
    if (!ValidRow(hit.digit) || !LooksLikeNumber(hit.text)) return;
    SetCell(kListId, hit.digit, kNumberColumn, std::string(hit.text));
}

}  // namespace rtu
