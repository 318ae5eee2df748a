#include "pages/basic/PhoneListPage.h"

#include <algorithm>

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

// A carriage return or line feed inside a number would end the command line early and send
// the rest as a command of its own; a phone number never holds one.
std::string WithoutLineBreaks(std::string text)
{
    text.erase(std::remove_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }), text.end());
    return text;
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
    for (const PhoneListDecl& l : kLists)
        if (l.page == info.Id()) return std::make_unique<CPhoneListPage>(context, info, l);
    return nullptr;
}

CPhoneListPage::CPhoneListPage(PageContext& context, const PageInfo& info, const PhoneListDecl& shape)
    : CPageBase(context, info), shape_(shape)
{
    if (shape_.hasFrame) fields_.push_back({.id = ctl::kFrame, .kind = FieldKind::Label, .caption = Own("Title")});
    fields_.push_back({.id = kListId,
                       .kind = FieldKind::List,
                       .columns = {{Own("LISTC0"), kNumberWidth, false, ColumnKind::Label},
                                   {Own("LISTC1"), kPhoneWidth, true, ColumnKind::Text}},
                       .rows = shape_.rows,
                       .rowLabelFormat = "No.%d"});
    if (shape_.reloadButton != 0) fields_.push_back(MakeButton(shape_.reloadButton, {}, "Reload", ctl::kReload));
    editors_.push_back(RowEditorDecl{kListId,
                                     Fixed("Inputs"),
                                     {{.id = kEditorNumber, .kind = FieldKind::Text},
                                      MakeButton(kEditorOk, Shared("Buttons", "Ok")),
                                      MakeButton(kEditorCancel, Shared("Buttons", "CANCEL"))}});
    handlers_.push_back({.number = 1, .key = shape_.reportKey, .fn = Take});
    SetDecl({.fields = fields_, .editors = editors_, .handlers = handlers_, .waitMs = kPageWaitMs, .framed = false});
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

bool CPhoneListPage::BeginEditRow(int listId, int row, RowEdit& edit)
{
    if (listId != kListId || !ValidRow(row)) return false;
    edit.listId = listId;
    edit.row = row;
    edit.values[kEditorNumber].text = CellText(kListId, row, kNumberColumn);
    return true;
}

std::string CPhoneListPage::PhoneNumberProblem(std::string_view number)
{
    if (number.empty() || IsPhoneNumber(number)) return {};
    return "A phone number holds digits only, with one optional \"+\" in front (no spaces or other signs).";
}

std::optional<FieldProblem> CPhoneListPage::CheckEditRow(const RowEdit& edit) const
{
    if (auto problem = CPageBase::CheckEditRow(edit)) return problem;
    auto it = edit.values.find(kEditorNumber);
    if (it == edit.values.end()) return std::nullopt;
    std::string reason = PhoneNumberProblem(it->second.text);
    if (reason.empty()) return std::nullopt;
    return FieldProblem{kEditorNumber, {}, std::move(reason)};
}

void CPhoneListPage::CommitEditRow(const RowEdit& edit)
{
    if (edit.listId != kListId || !ValidRow(edit.row)) return;
    if (CheckEditRow(edit)) return;  // never sent: the editor says why
    auto it = edit.values.find(kEditorNumber);
    const std::string number = it == edit.values.end() ? std::string{} : WithoutLineBreaks(it->second.text);
    EmitCommand(false, FormatRow(shape_.rowCommand, edit.row, number), nullptr, kEditWaitMs);
    ReloadGroup();
}

void CPhoneListPage::TakeReport(const RouteHit& hit)
{
    if (!ValidRow(hit.digit) || !LooksLikeNumber(hit.text)) return;
    SetCell(kListId, hit.digit, kNumberColumn, std::string(hit.text));
}

}  // namespace rtu
