#include "pages/gpio/PageAdcExt.h"

#include <vector>

#include "pages/framework/FieldBuilders.h"
#include "pages/framework/Printf.h"
#include "link/TextFields.h"

namespace rtu {
namespace {

using P = CPageAdcExt;

constexpr int kColumnWidth = 60;
constexpr std::size_t kRowAt = 0;            // handler text: the row digit
constexpr std::size_t kValuesAt = 2;         // ... and the values after it
constexpr std::size_t kMaxValueLength = 31;  // characters of a reported value that are kept

const char* const kRowFormats[P::kValues] = {"%%AIN%dH%s\r",    "%%AIN%dL%s\r",    "%%AIN%dOS%s\r",   "%%AIN%dHS%s\r",
                                             "%%AIN%dLS%s\r",   "%%AIN%dLAGS%s\r", "%%AIN%dHOC1%s\r", "%%AIN%dLOC1%s\r",
                                             "%%AIN%dHOC2%s\r", "%%AIN%dLOC2%s\r"};
// Column titles (catalog "AdcExt" COL0..COL10), English where the catalog has none.
const char* const kTitles[P::kValues + 1] = {
    "Index",          "High 1",         "Low 1",          "Hysteresis 1",  "High 2",        "Low 2",
    "Hysteresis 2",   "High 1 output",  "Low 1 output",   "High 2 output", "Low 2 output"};
constexpr const char* kSection = "AdcExt";

std::vector<TextRef> InterlockItems()
{
    return {Fixed("OC 0"), Fixed("OC 1"), Fixed("OC 2"), Fixed("OC 3"), Fixed("Not Used")};
}

std::vector<FieldDecl> MakeFields()
{
    std::vector<ColumnDecl> columns;
    for (int c = 0; c <= P::kValues; ++c)
        columns.push_back({TextRef{kSection, "COL" + std::to_string(c), kTitles[c]}, kColumnWidth, c != 0,
                           c == 0 ? ColumnKind::Label : ColumnKind::Text});
    return {{.id = P::kList, .kind = K::List, .columns = columns, .rows = P::kRows, .rowLabelFormat = "AD.%d"}};
}

const std::vector<FieldDecl>& PageFields()
{
    static const std::vector<FieldDecl> fields = MakeFields();
    return fields;
}

std::vector<RowEditorDecl> MakeEditors()
{
    const char* const captions[P::kValues] = {
        "Normal range 1, high",         "Normal range 1, low",         "Range 1 hysteresis",
        "Normal range 2, high",         "Normal range 2, low",         "Range 2 hysteresis",
        "Range 1 high alarm interlock", "Range 1 low alarm interlock", "Range 2 high alarm interlock",
        "Range 2 low alarm interlock"};
    RowEditorDecl e{P::kList, TextRef{kSection, "EDITTITLE", "Extended analog input"}, {}};
    for (int c = 0; c < P::kValues; ++c) {
        const bool interlock = c + 1 >= P::kFirstInterlock;
        e.fields.push_back({.id = P::kEditorIds[c],
                            .kind = interlock ? K::EditableCombo : K::Text,
                            .caption = TextRef{kSection, "EDIT" + std::to_string(c), captions[c]},
                            .items = interlock ? InterlockItems() : std::vector<TextRef>{}});
    }
    e.fields.push_back(MakeButton(P::kEditorOk, Shared("Buttons", "Ok"), "", P::kEditorOk));
    e.fields.push_back(MakeButton(P::kEditorCancel, Shared("Buttons", "Cancel"), "", P::kEditorCancel));
    return {e};
}

const std::vector<RowEditorDecl>& Editors()
{
    static const std::vector<RowEditorDecl> editors = MakeEditors();
    return editors;
}

void TakeRanges(CPageBase& page, const RouteHit& hit) { static_cast<P&>(page).TakeReport(hit, 1, P::kRangeValues); }
void TakeInterlocks(CPageBase& page, const RouteHit& hit)
{
    static_cast<P&>(page).TakeReport(hit, P::kFirstInterlock, P::kInterlocks);
}

const HandlerDecl kHandlers[] = {
    {.number = 1, .keys = {"$AINEXT#"}, .fn = TakeRanges},
    {.number = 2, .keys = {"$AINOOC#"}, .fn = TakeInterlocks},
};

std::string EditText(const RowEdit& edit, int id)
{
    auto it = edit.values.find(id);
    return it == edit.values.end() ? std::string{} : it->second.text;
}

}  // namespace

CPageAdcExt::CPageAdcExt(PageContext& context, const PageInfo& info)
    : CPageBase(
          context, info,
          PageDecl{
              .fields = PageFields(), .editors = Editors(), .handlers = kHandlers, .waitMs = kWaitMs, .framed = false})
{
    Value(kList);
}


std::optional<int> CPageAdcExt::InterlockOf(const std::string& text)
{
    // A plain number as typed, else the number in an item's text ("OC 2"); none: not used.
    if (IsWhole(text)) {
        const int n = text.size() > 3 ? kNotUsed + 1 : std::stoi(text);
        if (n < kOutputs || n == kNotUsed) return n;
        return std::nullopt;
    }
    const std::size_t digit = text.find_first_of("0123456789", 1);
    if (digit == std::string::npos) {
        // Only the "Not Used" item (or nothing) means no output; another text names none.
        if (text.empty() || text == InterlockItem({})) return kNotUsed;
        return std::nullopt;
    }
    const int n = LeadingNumber(std::string_view(text).substr(digit));
    if (n < kOutputs) return n;
    return std::nullopt;
}

std::string CPageAdcExt::InterlockItem(const std::string& cell)
{
    // A cell without an output number (not reported) shows "Not Used", not output 0.
    if (!IsWhole(cell)) return "Not Used";
    const int n = cell.size() > 3 ? kNotUsed : std::stoi(cell);
    return n < kNotUsedItem ? Printf("OC %d", n) : "Not Used";
}

bool CPageAdcExt::BeginEditRow(int listId, int row, RowEdit& edit)
{
    if (listId != kList || row < 0 || row >= kRows) return false;
    edit.listId = listId;
    edit.row = row;
    for (int c = 0; c < kValues; ++c) {
        const std::string cell = CellText(kList, row, c + 1);
        edit.values[kEditorIds[c]].text = c + 1 >= kFirstInterlock ? InterlockItem(cell) : cell;
    }
    return true;
}

std::optional<FieldProblem> CPageAdcExt::CheckEditRow(const RowEdit& edit) const
{
    if (auto problem = CPageBase::CheckEditRow(edit)) return problem;
    for (int c = 0; c < kValues; ++c) {
        const int id = kEditorIds[c];
        const std::string text = EditText(edit, id);
        if (c + 1 >= kFirstInterlock) {
            if (!InterlockOf(text)) return FieldProblem{id, {}, "Choose an output OC 0 to OC 3, or Not Used."};
        } else if (!text.empty() && !IsDecimal(text)) {
            return FieldProblem{id, {}, "Enter a number such as 50 or 2.5, or leave it empty."};
        }
    }
    return std::nullopt;
}

void CPageAdcExt::CommitEditRow(const RowEdit& edit)
{
    if (edit.listId != kList || edit.row < 0 || edit.row >= kRows || CheckEditRow(edit)) return;
    std::string values[kValues];
    for (int c = 0; c < kValues; ++c) {
        const std::string text = EditText(edit, kEditorIds[c]);
        values[c] = c + 1 >= kFirstInterlock ? std::to_string(*InterlockOf(text)) : text;
        SetCell(kList, edit.row, c + 1, values[c]);
    }
    EmitCommand(false, "%STARTCMD\r", nullptr);
    for (int c = 0; c < kValues; ++c) EmitCommand(false, Printf(kRowFormats[c], edit.row, values[c].c_str()), nullptr);
    EmitCommand(false, "%COMMITCMD\r", nullptr);
    EmitCommand(false, "%DUMP_ADS\r", nullptr);
}

void CPageAdcExt::TakeReport(const RouteHit& hit, int firstColumn, int count)
{
    const auto row = ChannelAt(hit.text, kRowAt, kRows);
    if (!row || hit.text.size() < kValuesAt) return;
    std::string_view values = hit.text.substr(kValuesAt);
    values = values.substr(0, values.find_first_of("\r\n"));
    // The values fill their own columns only; more than the report carries are dropped.
    const auto fields = SplitFields(values, ",", static_cast<std::size_t>(count), kMaxValueLength);
    for (std::size_t i = 0; i < fields.size(); ++i) Cell(kList, *row, firstColumn + static_cast<int>(i)) = fields[i];
    NotifyChanged(kList);
}

}  // namespace rtu
