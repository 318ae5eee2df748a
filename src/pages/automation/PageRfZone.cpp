#include "pages/automation/PageRfZone.h"

#include <string>
#include <vector>

#include "pages/framework/FieldBuilders.h"
#include "pages/framework/FieldCheck.h"
#include "pages/framework/Printf.h"
#include "pages/framework/Ucs2Hex.h"

namespace rtu {
namespace {

using P = CPageRfZone;

constexpr int kNarrow = 60;  // width of most columns
constexpr int kMessageWidth = 120;
constexpr int kHidden = 0;   // the video call column is not shown
constexpr int kOutputs = 4;  // outputs 0-3 a zone may drive
constexpr const char* kStart = "%STARTCMD\r";
constexpr const char* kCommit = "%COMMITCMD\r";

// Fallbacks when the catalog lacks the shared words: a zone must never read as enabled
// because both words are empty.
constexpr const char* kYes = "Yes";
constexpr const char* kNo = "No";
constexpr const char* kNone = "NC";

// The zone reports in the order they are tested: the first key found decides.
struct ZoneKey {
    const char* key;
    int column;
    bool flag;  // a '1' / other flag rather than a number
};
constexpr ZoneKey kZoneKeys[] = {
    {"$WINURG", P::kUrgent, true},     {"$WINSND", P::kSound, true}, {"$WINEND", P::kEnabled, true},
    {"$WINCOD", P::kCode, false},      {"$WINLDO", P::kLink, false}, {"$WINZS", P::kInterval, false},
    {"$WINVPC", P::kVideoCall, false},
};


// Leading digits (at most `max`) and the rest after one separating character.
struct Numbered {
    std::optional<long long> number{};
    std::string_view rest{};
};
Numbered SplitNumber(std::string_view text, int max)
{
    std::size_t n = 0;
    long long value = 0;
    while (n < text.size() && n < static_cast<std::size_t>(max) && IsDigit(text[n]))
        value = value * 10 + (text[n++] - '0');
    Numbered out;
    if (n == 0 || (n < text.size() && IsDigit(text[n]))) return out;  // no number, or one too long to be a row
    out.number = value;
    out.rest = n + 1 < text.size() ? text.substr(n + 1) : std::string_view{};
    return out;
}

std::vector<TextRef> LinkItems()
{
    std::vector<TextRef> out;
    for (int k = 0; k < kOutputs; ++k) out.push_back(TextRef{"SYSCHAR", "LINKDO", "Dout", "", std::to_string(k)});
    out.push_back(TextRef{"SYSCHAR", "NC", kNone});
    return out;
}

TextRef Dlg(const char* key) { return Shared("DlgRf", key); }

// The zone list's columns; a reload leaves the last three as they are, the unit reports them again.
std::vector<ColumnDecl> ZoneColumns()
{
    std::vector<ColumnDecl> cols;
    for (int c = 0; c <= P::kVideoCall; ++c) {
        const int width = c == P::kMessage ? kMessageWidth : c == P::kVideoCall ? kHidden : kNarrow;
        const ColumnKind kind = c == 0 ? ColumnKind::Label : c >= P::kInterval ? ColumnKind::Number : ColumnKind::Text;
        const bool cleared = c >= P::kEnabled && c <= P::kMessage;
        cols.push_back({Own(("LIST0C" + std::to_string(c)).c_str()), width, cleared, kind});
    }
    return cols;
}

const std::vector<FieldDecl>& PageFields()
{
    // clang-format off
    static const std::vector<FieldDecl> fields = {
        {.id = P::kTitle, .kind = K::Label, .caption = Own("Title")},
        {.id = P::kListId, .kind = K::List, .columns = ZoneColumns(), .rows = P::kZones, .rowLabelFormat = "%2.2d"},
        {.id = P::kRemoteNotify, .kind = K::Check, .caption = Own("RPLARM"), .report = {"$RPLARM", 0, Decode::Switch},
         .write = {.format = "%%RPLARMBTN%d\r", .onClick = true, .waitMs = P::kZoneWaitMs}, .dump = dump::kGpio},
        MakeButton(ctl::kReload, {}, "Reload"),
    };
    // clang-format on
    return fields;
}

const std::vector<RowEditorDecl>& PageEditors()
{
    // clang-format off
    static const std::vector<RowEditorDecl> editors = {{
        .listId = P::kListId,
        .title = Shared("TABS", "PAGE_RFZONE"),
        .fields = {{.id = P::kEditorEnable, .kind = K::Check, .caption = Dlg("ENABLE")},
                   {.id = P::kEditorSound, .kind = K::Check, .caption = Dlg("SOUND")},
                   {.id = P::kEditorUrgent, .kind = K::Check, .caption = Dlg("24HOURS")},
                   {.id = P::kEditorVideoCall, .kind = K::Check, .caption = Dlg("VPC"), .visible = false},
                   {.id = P::kEditorLink, .kind = K::Combo, .caption = Dlg("LINKAGE"), .items = LinkItems()},
                   {.id = P::kEditorInterval, .kind = K::Number, .caption = Dlg("WINAS"), .chars = CharRule::Digits,
                    .minValue = 0, .maxValue = P::kIntervalMax},
                   {.id = P::kEditorMessage, .kind = K::MultiLine, .maxLength = static_cast<int>(kUcs2DecodedChars),
                    .encoded = true},
                   MakeButton(P::kEditorOk, Shared("Buttons", "OK")),
                   MakeButton(P::kEditorCancel, Shared("Buttons", "CANCEL"))},
    }};
    // clang-format on
    return editors;
}

void Take(CPageBase& page, const RouteHit& hit) { static_cast<CPageRfZone&>(page).TakeReport(hit); }

const HandlerDecl kHandlers[] = {
    {.number = 1, .keys = {"$WINURG", "$WINSND", "$WINEND", "$WINCOD", "$WINLDO", "$WINZS", "$WINVPC", "$SMS#"}, .fn = Take},
};

const FieldValue* EditValue(const RowEdit& edit, int id)
{
    auto it = edit.values.find(id);
    return it == edit.values.end() ? nullptr : &it->second;
}

}  // namespace

CPageRfZone::CPageRfZone(PageContext& context, const PageInfo& info) : CPageBase(context, info)
{
    SetDecl(
        {.fields = PageFields(), .editors = PageEditors(), .handlers = kHandlers, .waitMs = kWaitMs, .framed = false});
    Value(kListId);  // the fixed rows with their labels exist from the start
}


std::string CPageRfZone::YesText() const
{
    const std::string t = Tr("SysChar", "YES");
    return t.empty() ? kYes : t;
}

std::string CPageRfZone::NoText() const
{
    const std::string t = Tr("SysChar", "NO");
    return t.empty() ? kNo : t;
}

std::string CPageRfZone::NoneText() const
{
    const std::string t = Tr("SYSCHAR", "NC");
    return t.empty() ? kNone : t;
}

void CPageRfZone::TakeReport(const RouteHit& hit)
{
    if (hit.target.key && std::string_view(hit.target.key) == "$WIN") TakeZone(hit.line);
    else TakeMessage(hit.text);
}

void CPageRfZone::TakeZone(std::string_view line)
{
    for (const ZoneKey& z : kZoneKeys) {
        const std::size_t at = line.find(z.key);
        if (at == std::string_view::npos) continue;
        const Numbered zone = SplitNumber(line.substr(at + std::string_view(z.key).size()), kMaxZoneDigits);
        if (!zone.number || *zone.number >= kZones) return;
        const int row = static_cast<int>(*zone.number);
        std::string cell;
        if (z.flag) {
            cell = !zone.rest.empty() && zone.rest.front() == '1' ? YesText() : NoText();
        } else {
            if (zone.rest.empty() || !IsDigit(zone.rest.front())) return;  // not a number: nothing changes
            const int n = LeadingNumber(zone.rest);
            if (z.column == kCode) cell = Printf("%2.2x", static_cast<unsigned>(n));
            else if (z.column == kLink && n >= kOutputs) cell = NoneText();
            else cell = std::to_string(n);
        }
        SetCell(kListId, row, z.column, std::move(cell));
        return;
    }
}

void CPageRfZone::TakeMessage(std::string_view text)
{
    const Numbered n = SplitNumber(text, kMaxSmsDigits);
    if (!n.number || *n.number < 1 || *n.number > kZones) return;  // messages 1-12 are the zones'
    SetCell(kListId, static_cast<int>(*n.number - 1), kMessage, DecodeUcs2Hex(n.rest));
}

bool CPageRfZone::BeginEditRow(int listId, int row, RowEdit& edit)
{
    if (listId != kListId || row < 0 || row >= kZones) return false;
    edit.listId = listId;
    edit.row = row;
    const std::string yes = YesText();
    edit.values[kEditorEnable].check = CellText(kListId, row, kEnabled) == yes;
    edit.values[kEditorSound].check = CellText(kListId, row, kSound) == yes;
    edit.values[kEditorUrgent].check = CellText(kListId, row, kUrgent) == yes;
    edit.values[kEditorVideoCall].check = 0;
    edit.values[kEditorMessage].text = CellText(kListId, row, kMessage);
    const std::string link = CellText(kListId, row, kLink);
    const bool digits = !link.empty() && link.find_first_not_of("0123456789") == std::string::npos;
    const int index = digits ? LeadingNumber(link) : kLinkNone;
    edit.values[kEditorLink].sel = index >= 0 && index <= kLinkNone ? index : kLinkNone;
    edit.values[kEditorInterval].text = std::to_string(LeadingNumber(CellText(kListId, row, kInterval)));
    return true;
}

std::optional<FieldProblem> CPageRfZone::CheckEditRow(const RowEdit& edit) const
{
    if (auto problem = CPageBase::CheckEditRow(edit)) return problem;
    // The interval goes on its line as a whole number.
    if (const FieldValue* interval = EditValue(edit, kEditorInterval); interval && !interval->text.empty() && !IsInteger(interval->text))
        return FieldProblem{kEditorInterval, {}, "Enter a whole number such as 10."};
    const FieldValue* link = EditValue(edit, kEditorLink);
    if (link && (link->sel < 0 || link->sel > kLinkNone))
        return FieldProblem{kEditorLink, {}, "Choose the linked output or \"" + NoneText() + "\"."};
    return std::nullopt;
}

void CPageRfZone::CommitEditRow(const RowEdit& edit)
{
    if (edit.listId != kListId || edit.row < 0 || edit.row >= kZones || CheckEditRow(edit)) return;
    auto check = [&edit](int id) {
        const FieldValue* v = EditValue(edit, id);
        return v && v->check ? 1 : 0;
    };
    const FieldValue* link = EditValue(edit, kEditorLink);
    const FieldValue* interval = EditValue(edit, kEditorInterval);
    const FieldValue* message = EditValue(edit, kEditorMessage);
    const int z = edit.row;
    if (ctx_.postToMain) ctx_.postToMain(cmd::kPageBusy);
    const std::string lines[] = {
        kStart,
        Printf(check(kEditorEnable) ? "%%WSON%x\r" : "%%WSOFF%x\r", static_cast<unsigned>(z)),
        Printf(check(kEditorSound) ? "%%WSSNDON%x\r" : "%%WSSNDOFF%x\r", static_cast<unsigned>(z)),
        Printf("%%WINURG%d,%d\r", z, check(kEditorUrgent)),
        Printf("%%WINVPC%d,%d\r", z, check(kEditorVideoCall)),
        Printf("%%S%2.2d%s\r", z + 1, EncodeUcs2Hex(message ? message->text : std::string{}).c_str()),
        Printf("%%WINZS%d,%d\r", z, interval ? LeadingNumber(interval->text) : 0),
        Printf("%%WSLDO%d,%d\r", z, link ? link->sel : kLinkNone),
    };
    for (const std::string& line : lines) EmitCommand(false, line, nullptr, kZoneWaitMs);
    EmitCommand(false, kCommit, nullptr);
    ReloadGroup();
}

}  // namespace rtu
