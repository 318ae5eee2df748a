#include "pages/basic/TextTablePage.h"

#include "pages/framework/FieldBuilders.h"
#include "pages/framework/Printf.h"
#include "pages/framework/Ucs2Hex.h"

namespace rtu {

namespace {

constexpr char kRowSeparator = ':';     // "<row>: <text>" in a sensor name line
constexpr std::size_t kColonToText = 2; // the text starts this far after the ':'

// Row command formats come from the page's table; the arguments always match them.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
std::string FormatRow(const char* format, int entry, const std::string& hexText)
{
    return Printf(format, entry, hexText.c_str());
}
std::string FormatRow(const char* format, int entry, const std::string& hexText, const std::string& hexUnit)
{
    return Printf(format, entry, hexText.c_str(), hexUnit.c_str());
}
std::string FormatLabel(const char* format, int number) { return Printf(format, number); }
#pragma GCC diagnostic pop

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

IndexedText SplitIndexedText(std::string_view text)
{
    std::size_t digits = 0;
    long long value = 0;
    while (digits < text.size() && digits < CTextTablePage::kMaxIndexDigits && IsDigit(text[digits]))
        value = value * 10 + (text[digits++] - '0');
    IndexedText out;
    if (digits > 0) out.index = value;
    const std::size_t start = digits + 1;  // skip the separating blank
    out.text = start < text.size() ? text.substr(start) : std::string_view{};
    return out;
}

CTextTablePage::CTextTablePage(PageContext& context, const TextTableShape& shape) : CPageBase(context), shape_(shape)
{
    FieldDecl frame;
    frame.id = shape_.frameId;
    frame.kind = FieldKind::Label;
    frame.caption = shape_.title;
    fields_.push_back(frame);

    FieldDecl list;
    list.id = shape_.listId;
    list.kind = FieldKind::List;
    list.columns = {ColumnDecl{{"", shape_.labelKey, ""}, shape_.labelWidth, false},
                    ColumnDecl{{"", shape_.textKey, ""}, shape_.textWidth, true}};
    list.rows = shape_.rows;
    list.rowLabelFormat = shape_.rowLabelFormat;
    fields_.push_back(list);

    if (shape_.reloadButton != 0) fields_.push_back(MakeButton(shape_.reloadButton, {}, "Reload"));

    FieldDecl text;
    text.id = kEditorText;
    text.kind = FieldKind::Text;
    FieldDecl unitLabel;
    unitLabel.id = kEditorUnitLabel;
    unitLabel.kind = FieldKind::Label;
    unitLabel.caption = {"", "", "Unit"};
    unitLabel.visible = shape_.unitRow;
    FieldDecl unit;
    unit.id = kEditorUnit;
    unit.kind = FieldKind::Text;
    unit.visible = shape_.unitRow;
    const FieldDecl ok = MakeButton(kEditorOk, {"Buttons", "OK", ""});
    const FieldDecl cancel = MakeButton(kEditorCancel, {"Buttons", "CANCEL", ""});
    editors_.push_back(RowEditorDecl{shape_.listId, {"", "", "Inputs"}, {text, unitLabel, unit, ok, cancel}});

    Value(shape_.listId);  // the fixed rows with their labels exist from the start
    // Tables whose rows stand for two groups of entries number each group from 0.
    if (shape_.labelCycle > 0) {
        for (int row = 0; row < shape_.rows; ++row)
            Cell(shape_.listId, row, 0) = FormatLabel(shape_.rowLabelFormat, row % shape_.labelCycle);
    }
}

void CTextTablePage::ClearFields()
{
    for (int row = 0; row < shape_.clearRows && row < shape_.rows; ++row) Cell(shape_.listId, row, kTextColumn).clear();
    NotifyChanged(kChangedAll);
}

void CTextTablePage::SaveParams(bool toProfile, CProfileWriter* file)
{
    if (!toProfile || !file) return;
    for (int row = 0; row < shape_.rows; ++row) file->WriteText(RowLine(row, RowText(row), {}));
}

bool CTextTablePage::OnCommand(int id)
{
    if (shape_.reloadButton != 0 && id == shape_.reloadButton) {
        ReloadGroup();
        return true;
    }
    return false;
}

bool CTextTablePage::BeginEditRow(int listId, int row, RowEdit& edit)
{
    if (listId != shape_.listId || !ValidRow(row)) return false;
    edit.listId = listId;
    edit.row = row;
    edit.values[kEditorText].text = RowText(row);
    edit.values[kEditorUnit].text.clear();
    return true;
}

void CTextTablePage::CommitEditRow(const RowEdit& edit)
{
    if (edit.listId != shape_.listId || !ValidRow(edit.row)) return;
    auto value = [&edit](int id) {
        auto it = edit.values.find(id);
        return it == edit.values.end() ? std::string{} : it->second.text;
    };
    WriteBlock(RowLine(edit.row, value(kEditorText), shape_.unitRow ? value(kEditorUnit) : std::string{}));
    ReloadGroup();
}

std::string CTextTablePage::RowLine(int row, const std::string& text, const std::string& unit) const
{
    const int entry = row + shape_.entryBase;
    if (shape_.unitRow)
        return FormatRow(shape_.rowCommand, entry, EncodeUcs2Hex(text), unit.empty() ? std::string{} : EncodeUcs2Hex(kUnitMark + unit));
    return FormatRow(shape_.rowCommand, entry, EncodeUcs2Hex(text));
}

void CTextTablePage::SetEntry(long long entry, std::string_view hex)
{
    const long long row = entry - shape_.entryBase;
    if (row < 0 || row >= shape_.rows) return;  // rows the table does not have are not created
    SetCell(shape_.listId, static_cast<int>(row), kTextColumn, DecodeUcs2Hex(hex));
}

void CTextTablePage::OnReport(const RouteHit& hit)
{
    switch (shape_.reportForm) {
    case TextReportForm::Entry: {
        const IndexedText it = SplitIndexedText(hit.text);
        if (it.index) SetEntry(*it.index, it.text);
        break;
    }
    case TextReportForm::IndexedName: {
        const IndexedText it = SplitIndexedText(hit.text);
        SetEntry(it.index.value_or(0), it.text);
        break;
    }
    case TextReportForm::ColonRows: {
        const std::string_view line = hit.line;
        for (std::size_t p = 1; p < line.size(); ++p) {
            if (line[p] != kRowSeparator || static_cast<unsigned char>(line[p - 1]) < '0') continue;
            const std::size_t start = p + kColonToText;
            SetEntry(static_cast<unsigned char>(line[p - 1]) - '0', start < line.size() ? line.substr(start) : std::string_view{});
        }
        break;
    }
    }
}

}  // namespace rtu
