#include "pages/basic/PhoneListPage.h"

#include <algorithm>

#include "pages/framework/FieldBuilders.h"
#include "pages/framework/Printf.h"

namespace rtu {

namespace {

constexpr int kNumberWidth = 120;  // width of the row label column
constexpr int kPhoneWidth = 160;   // width of the phone number column

// Command formats come from the page's table; the arguments always match them.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
std::string FormatRow(const char* format, int row, const std::string& number)
{
    return Printf(format, row, number.c_str());
}
#pragma GCC diagnostic pop

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

}  // namespace

CPhoneListPage::CPhoneListPage(PageContext& context, const PhoneListShape& shape) : CPageBase(context), shape_(shape)
{
    if (shape_.hasFrame) {
        FieldDecl frame;
        frame.id = ctl::kFrame;
        frame.kind = FieldKind::Label;
        frame.caption = {"", "Title", ""};
        fields_.push_back(frame);
    }

    FieldDecl list;
    list.id = kListId;
    list.kind = FieldKind::List;
    list.columns = {ColumnDecl{{"", "LISTC0", ""}, kNumberWidth, false}, ColumnDecl{{"", "LISTC1", ""}, kPhoneWidth, true}};
    list.rows = shape_.rows;
    list.rowLabelFormat = "No.%d";
    fields_.push_back(list);

    if (shape_.reloadButton != 0) fields_.push_back(MakeButton(shape_.reloadButton, {}, "Reload"));

    FieldDecl number;
    number.id = kEditorNumber;
    number.kind = FieldKind::Text;
    const FieldDecl ok = MakeButton(kEditorOk, {"Buttons", "Ok", ""});
    const FieldDecl cancel = MakeButton(kEditorCancel, {"Buttons", "CANCEL", ""});
    editors_.push_back(RowEditorDecl{kListId, {"", "", "Inputs"}, {number, ok, cancel}});
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
    const PageInfo* info = Info();
    if (!info || !info->header) return;
    file.WriteText(info->header);
    SaveParams(true, &file);
}

bool CPhoneListPage::OnCommand(int id)
{
    if (shape_.reloadButton != 0 && id == shape_.reloadButton) {
        ReloadGroup();
        return true;
    }
    return false;  // no Save button, and the shared Reload id belongs to no control here
}

bool CPhoneListPage::BeginEditRow(int listId, int row, RowEdit& edit)
{
    if (listId != kListId || !ValidRow(row)) return false;
    edit.listId = listId;
    edit.row = row;
    edit.values[kEditorNumber].text = CellText(kListId, row, kNumberColumn);
    return true;
}

void CPhoneListPage::CommitEditRow(const RowEdit& edit)
{
    if (edit.listId != kListId || !ValidRow(edit.row)) return;
    auto it = edit.values.find(kEditorNumber);
    const std::string number = it == edit.values.end() ? std::string{} : WithoutLineBreaks(it->second.text);
    EmitCommand(false, FormatRow(shape_.rowCommand, edit.row, number), nullptr, kEditWaitSteps);
    ReloadGroup();
}

void CPhoneListPage::OnReport(const RouteHit& hit)
{
    if (hit.target.effect != RouteEffect::ListRow || !ValidRow(hit.digit)) return;
    if (!LooksLikeNumber(hit.text)) return;
    SetCell(kListId, hit.digit, kNumberColumn, std::string(hit.text));
}

}  // namespace rtu
