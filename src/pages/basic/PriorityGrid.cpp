#include "pages/basic/PriorityGrid.h"

#include <iterator>
#include <utility>

#include "pages/framework/FieldBuilders.h"
#include "pages/framework/Printf.h"

namespace rtu {

namespace prio {

std::optional<std::uint32_t> ParseMask(std::string_view text, std::size_t maxChars)
{
    if (text.size() > maxChars) return std::nullopt;
    std::uint32_t value = 0;
    for (char c : text) {
        std::uint32_t digit = 0;
        if (c >= '0' && c <= '9') digit = static_cast<std::uint32_t>(c - '0');
        else if (c >= 'A' && c <= 'F') digit = static_cast<std::uint32_t>(c - 'A' + 10);
        else if (c >= 'a' && c <= 'f') digit = static_cast<std::uint32_t>(c - 'a' + 10);
        value = (value << 4) | digit;
    }
    return value;
}

}  // namespace prio

CPriorityGridPage::CPriorityGridPage(PageContext& context, const PageInfo& info, const PriorityGridShape& shape)
    : CPageBase(context, info), shape_(shape)
{
    if (shape_.title) fields_.push_back(*shape_.title);

    std::vector<ColumnDecl> columns;
    columns.push_back({shape_.firstColumn, prio::kLabelColumnWidth, false, ColumnKind::Label});
    for (int i = 0; i < shape_.sources; ++i) {
        TextRef title;
        if (shape_.sourceTitlePrefix) title.key = shape_.sourceTitlePrefix + std::to_string(i + 1);
        else title.text = std::to_string(i);
        columns.push_back({title, shape_.sourceWidth, true, ColumnKind::Mark});
    }
    if (shape_.lastColumn) columns.push_back({*shape_.lastColumn, prio::kLabelColumnWidth, false});

    // Where a page has two tables, each says whether it is for messages or for calls.
    static const TextRef kTableCaptions[prio::kMaxTables] = {
        {prio::kSection, "SMS_TABLE", "Alarm messages (SMS): the phones marked O get them"},
        {prio::kSection, "RING_TABLE", "Alarm calls (ring): the phones marked O are called"},
    };
    for (std::size_t t = 0; t < shape_.tables.size(); ++t) {
        if (shape_.tables.size() > 1 && t < std::size(kTableCaptions))
            fields_.push_back(
                CaptionLabel({.id = prio::kTableCaption + static_cast<int>(t), .caption = kTableCaptions[t]}));
        FieldDecl list;
        list.id = shape_.tables[t];
        list.kind = FieldKind::List;
        list.columns = columns;
        list.rows = prio::kRows;
        list.rowLabelFormat = "CS%d";
        list.readOnly = true;  // edited by clicking cells, not by typing
        fields_.push_back(std::move(list));
    }

    fields_.push_back(
        CaptionLabel({.id = prio::kLegendLabel,
                      .caption = {prio::kSection, "LEGEND",
                                  "O: the phone of this row is told of alarms from this column. X: it is not. "
                                  "Click a cell to switch it, then save."},
                      .note = true}));
    fields_.push_back(MakeButton(shape_.saveId, shape_.saveCaption));
    if (shape_.resetId) {
        fields_.push_back(MakeButton(shape_.resetId, shape_.resetCaption));
        fields_.back().onClick = [](CPageBase& page) { static_cast<CPriorityGridPage&>(page).ResetTables(); };
    }
    if (shape_.hasReload) fields_.push_back(MakeButton(ctl::kReload, {}, "Reload"));
    handlers_.push_back({.number = 1, .keys = shape_.reportKeys, .fn = [](CPageBase& page, const RouteHit& hit) {
                             static_cast<CPriorityGridPage&>(page).ParsePriorityReport(
                                 hit.text, hit.target.arg < 0 ? 0 : hit.target.arg);
                         }});
    SetDecl({.fields = fields_, .handlers = handlers_, .waitMs = prio::kPageWaitMs});
}

int CPriorityGridPage::TableIndex(int listId) const
{
    for (std::size_t t = 0; t < shape_.tables.size(); ++t)
        if (shape_.tables[t] == listId) return static_cast<int>(t);
    return -1;
}

bool CPriorityGridPage::OnCellClicked(int listId, int row, int col)
{
    if (TableIndex(listId) < 0 || row < 0 || row >= prio::kRows || col < 1 || col > shape_.sources) return false;
    const std::string cell = CellText(listId, row, col);
    if (cell == prio::kNotify) SetCell(listId, row, col, prio::kSilent);
    else if (cell == prio::kSilent) SetCell(listId, row, col, prio::kNotify);
    else return false;  // nothing known about this cell yet
    return true;
}

void CPriorityGridPage::ParsePriorityReport(std::string_view text, int table)
{
    if (table < 0 || static_cast<std::size_t>(table) >= shape_.tables.size()) return;
    const int entry = LeadingNumber(text.substr(0, prio::kEntryDigits));
    const int row = entry - prio::kFirstEntry;
    if (row < 0 || row >= prio::kRows) return;

    const std::string_view maskText =
        text.size() > prio::kMaskOffset ? text.substr(prio::kMaskOffset) : std::string_view{};
    const std::optional<std::uint32_t> mask = prio::ParseMask(maskText, shape_.maxMaskChars);
    if (!mask) return;

    const int listId = shape_.tables[static_cast<std::size_t>(table)];
    for (int i = 0; i < shape_.sources; ++i)
        Cell(listId, row, i + 1) = (*mask >> i) & 1u ? prio::kNotify : prio::kSilent;
    NotifyChanged(listId);
}

void CPriorityGridPage::ResetTables()
{
    for (int listId : shape_.tables)
        for (int r = 0; r < prio::kRows; ++r)
            for (int i = 0; i < shape_.sources; ++i) Cell(listId, r, i + 1) = prio::kSilent;
    NotifyChanged(kChangedAll);
}

CPriorityGridPage::Masks CPriorityGridPage::RowMasks(int row) const
{
    Masks masks{};
    for (std::size_t t = 0; t < shape_.tables.size() && t < masks.size(); ++t)
        for (int i = 0; i < shape_.sources; ++i)
            if (CellText(shape_.tables[t], row, i + 1) == prio::kNotify) masks[t] |= 1u << i;
    return masks;
}

void CPriorityGridPage::SaveParams(bool toProfile, CProfileWriter* file)
{
    if (!toProfile) EmitCommand(false, Printf("%%STARTCMD\r"), nullptr);
    // Every row goes out, reported or not: a cell the unit never filled counts as "X", so an
    // edit in a row whose other table never came is still stored.
    for (int r = 0; r < prio::kRows; ++r) EmitCommand(toProfile, RowCommand(r, RowMasks(r)), file, prio::kRowWaitMs);
    if (!toProfile) EmitCommand(false, Printf("%%COMMITCMD\r"), nullptr);
}

}  // namespace rtu
