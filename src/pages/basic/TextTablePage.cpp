#include "pages/basic/TextTablePage.h"

#include "pages/framework/CommandFormat.h"
#include "pages/framework/FieldBuilders.h"
#include "pages/framework/Printf.h"
#include "pages/framework/Ucs2Hex.h"

namespace rtu {

namespace {

constexpr char kRowSeparator = ':';      // "<row>: <text>" in a sensor name line
constexpr std::size_t kColonToText = 2;  // the text starts this far after the ':'

std::string FormatLabel(const char* format, int number)
{
    const CommandArg arg = static_cast<long long>(number);
    return FormatCommand(format, std::span<const CommandArg>(&arg, 1)).value_or(std::string{});
}

void Take(CPageBase& page, const RouteHit& hit) { static_cast<CTextTablePage&>(page).TakeReport(hit); }


}  // namespace

CTextTablePage::CTextTablePage(PageContext& context, const PageInfo& info, const TextTableDecl& shape)
    : CPageBase(context, info), shape_(shape)
{
    own_.fields.push_back({.id = shape_.frameId, .kind = FieldKind::Label, .caption = shape_.title});
    own_.fields.push_back({.id = shape_.listId,
                           .kind = FieldKind::List,
                           .columns = {{{"", shape_.labelKey, ""}, shape_.labelWidth, false, ColumnKind::Label},
                                       {{"", shape_.textKey, ""}, shape_.textWidth, true, ColumnKind::Text}},
                           .rows = shape_.rows,
                           .rowLabelFormat = shape_.rowLabelFormat});
    if (shape_.reloadButton != 0) own_.fields.push_back(MakeButton(shape_.reloadButton, {}, "Reload", ctl::kReload));
    own_.fields.insert(own_.fields.end(), shape_.extra.begin(), shape_.extra.end());

    own_.editors.push_back(RowEditorDecl{
        shape_.listId,
        Fixed("Inputs"),
        {{.id = kEditorText, .kind = FieldKind::Text, .encoded = true, .column = kTextColumn},  // one line, hex-encoded
         {.id = kEditorUnitLabel, .kind = FieldKind::Label, .caption = Fixed("Unit"), .visible = shape_.unitRow},
         {.id = kEditorUnit, .kind = FieldKind::Text, .visible = shape_.unitRow, .encoded = true},
         MakeButton(kEditorOk, Shared("Buttons", "OK")),
         MakeButton(kEditorCancel, Shared("Buttons", "CANCEL"))}});
    own_.handlers.push_back({.number = 1, .keys = {std::string(shape_.reportKey) + "#"}, .fn = Take});
    SetDecl(own_.Over({.waitMs = shape_.waitMs, .framed = false}));

    Value(shape_.listId);  // the fixed rows with their labels exist from the start
    // Tables whose rows stand for two groups of entries number each group from 0.
    if (shape_.labelCycle > 0) {
        for (int row = 0; row < shape_.rows; ++row)
            Cell(shape_.listId, row, 0) = FormatLabel(shape_.rowLabelFormat, row % shape_.labelCycle);
    }
}

void CTextTablePage::ClearFields()
{
    const int rows = shape_.clearRows > 0 ? shape_.clearRows : shape_.rows;
    for (int row = 0; row < rows && row < shape_.rows; ++row) Cell(shape_.listId, row, kTextColumn).clear();
    NotifyChanged(kChangedAll);
}

void CTextTablePage::SaveParams(bool toProfile, CProfileWriter* file)
{
    if (!toProfile || !file) return;
    for (int row = 0; row < shape_.rows; ++row) file->WriteText(RowLine(row, RowText(row), {}));
}

void CTextTablePage::CommitEditRow(const RowEdit& edit)
{
    if (edit.listId != shape_.listId || !ValidRow(edit.row)) return;
    WriteBlock(RowLine(edit.row, EditTextOf(edit, kEditorText), shape_.unitRow ? EditTextOf(edit, kEditorUnit) : std::string{}));
    ReloadGroup();
}

std::string CTextTablePage::RowLine(int row, const std::string& text, const std::string& unit) const
{
    std::vector<CommandArg> args{static_cast<long long>(row + shape_.entryBase), EncodeUcs2Hex(text)};
    if (shape_.unitRow) args.emplace_back(unit.empty() ? std::string{} : EncodeUcs2Hex(kUnitMark + unit));
    return FormatCommand(shape_.rowCommand, args).value_or(std::string{});
}

void CTextTablePage::SetEntry(long long entry, std::string_view hex)
{
    const long long row = entry - shape_.entryBase;
    if (row < 0 || row >= shape_.rows) return;  // rows the table does not have are not created
    SetCell(shape_.listId, static_cast<int>(row), kTextColumn, DecodeUcs2Hex(hex));
}

void CTextTablePage::TakeReport(const RouteHit& hit)
{
    switch (shape_.reportForm) {
    case TextReportForm::Entry: {
        const IndexedText it = SplitIndexed(hit.text, kMaxIndexDigits);
        if (it.index) SetEntry(*it.index, it.text);
        break;
    }
    case TextReportForm::IndexedName: {
        const IndexedText it = SplitIndexed(hit.text, kMaxIndexDigits);
        SetEntry(it.index.value_or(0), it.text);
        break;
    }
    case TextReportForm::ColonRows: {
        const std::string_view line = hit.line;
        for (std::size_t p = 1; p < line.size(); ++p) {
            if (line[p] != kRowSeparator || static_cast<unsigned char>(line[p - 1]) < '0') continue;
            const std::size_t start = p + kColonToText;
            SetEntry(static_cast<unsigned char>(line[p - 1]) - '0',
                     start < line.size() ? line.substr(start) : std::string_view{});
        }
        break;
    }
    }
}

}  // namespace rtu
