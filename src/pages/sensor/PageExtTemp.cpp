#include "pages/sensor/PageExtTemp.h"

#include "pages/framework/FieldBuilders.h"
#include "pages/framework/FieldCheck.h"
#include "pages/framework/Printf.h"

namespace rtu {

namespace {

using P = CPageExtTemp;

constexpr std::size_t kSensorDigitAt = 0;  // "$ETEMP" text: the sensor number
constexpr std::size_t kFieldsAt = 2;       // … one separator, then the fields
constexpr std::size_t kMinSensorText = 3;  // shorter texts are not a sensor report
constexpr std::size_t kCodeLength = 2;     // "$EXTEMP" text: the box code …
constexpr std::size_t kCommonValueAt = 3;  // … one separator, then the value
constexpr const char* kFlagOn = "1";
constexpr const char* kFlagOff = "0";

// The wire keys of columns 2-11, in their command order.
constexpr const char* kSensorKeys[] = {"ETEMPH",  "ETEMPL",   "ETEMPB",   "ETEMPOS",  "ETEMPAS",
                                       "ETEMPRS", "ETEMPDLY", "ETEMPURG", "ETEMPSND", "ETEMPEN"};

// The "$EXTEMP" codes and the boxes they fill.
struct CommonCode {
    const char* code;
    int id;
};
constexpr CommonCode kCommonCodes[] = {{"UT", P::kUartPeriod}, {"GT", P::kGprsPeriod},  {"ST", P::kEventStep},
                                       {"SS", P::kSavePeriod}, {"US", P::kUploadStart}, {"UE", P::kUploadEnd}};

void TakeSensorReport(CPageBase& page, const RouteHit& hit) { static_cast<P&>(page).TakeSensor(hit.text); }
void TakeCommonReport(CPageBase& page, const RouteHit& hit) { static_cast<P&>(page).TakeCommon(hit.text); }

std::vector<ColumnDecl> Columns()
{
    std::vector<ColumnDecl> columns;
    for (int c = 0; c < P::kColumns; ++c) {
        ColumnDecl col{.title = Own(""), .width = P::kColumnWidth};
        col.title.key = Printf("LISTC%d", c);
        col.deviceValue = c != 0 && c != P::kEnableColumn;
        col.kind = c == 0 ? ColumnKind::Label : ColumnKind::Text;
        columns.push_back(col);
    }
    return columns;
}

// The settings below the list in their save order: a caption label and its box (the upload
// time span has two boxes under one caption).
struct Setting {
    int captionId;
    const char* key;
    int id;
    const char* format;
};
// clang-format off
constexpr Setting kSettings[] = {
    {1011, "UARTTIMER", P::kUartPeriod, "%%ETEMPUT%s\r"},     {1012, "GPRSTIMER", P::kGprsPeriod, "%%ETEMPGT%s\r"},
    {1013, "EVENTST", P::kEventStep, "%%ETEMPSTEP%s\r"},      {1014, "SAVETIMER", P::kSavePeriod, "%%ETEMPSS%s\r"},
    {1015, "GPRSTIMESPAN", P::kUploadStart, "%%ETEMPUPS%s\r"}, {1015, "GPRSTIMESPAN", P::kUploadEnd, "%%ETEMPUPE%s\r"},
};

std::vector<FieldDecl> MakeFields()
{
    std::vector<FieldDecl> f = {
        {.id = ctl::kFrame, .kind = K::Label, .caption = Own("TITLE")},
        {.id = P::kList, .kind = K::List, .write = {.reportOnly = true}, .dump = P::kDump, .columns = Columns(), .rows = P::kSensors},
    };
    int order = 0;
    for (const Setting& s : kSettings) {
        if (f.back().captionId != s.captionId) f.push_back(CaptionLabel({.id = s.captionId, .caption = Own(s.key)}));
        f.push_back(TextBox({.id = s.id, .caption = Own(s.key), .captionId = s.captionId, .write = {.format = s.format, .order = ++order}, .dump = P::kDump}));
    }
    f.push_back(MakeButton(ctl::kSave, Shared("Buttons", "Save")));
    f.push_back(MakeButton(ctl::kReload, {}, "Reload"));
    return f;
}
// clang-format on
const std::vector<FieldDecl> kFields = MakeFields();

const std::vector<RowEditorDecl> kEditors = {[] {
    RowEditorDecl d{.listId = P::kList, .title = Own("Title")};
    d.fields.push_back({.id = P::kSetupReading, .kind = K::Value, .readOnly = true});
    for (int i = 0; i < P::kEdits; ++i) {
        FieldDecl f{.id = P::kSetupEdit0 + i,
                    .kind = K::Text,
                    .maxLength = static_cast<int>(P::kMaxField),
                    .chars = CharRule::Digits};
        f.caption = Own("");
        f.caption.key = Printf("LISTC%d", P::kFirstSetting + i);
        d.fields.push_back(f);
    }
    for (int i = 0; i < P::kFlags; ++i) {
        FieldDecl f{.id = P::kSetupCheck0 + i, .kind = K::Check};
        f.caption = Own("");
        f.caption.key = Printf("LISTC%d", P::kFirstFlag + i);
        d.fields.push_back(f);
    }
    d.fields.push_back(MakeButton(P::kSetupOk, Shared("Buttons", "OK"), "", P::kSetupOk));
    return d;
}()};

const HandlerDecl kHandlers[] = {
    {.number = 1, .keys = {"$ETEMP#"}, .fn = TakeSensorReport},
    {.number = 2, .keys = {"$EXTEMPUT", "$EXTEMPGT", "$EXTEMPST", "$EXTEMPSS", "$EXTEMPUS", "$EXTEMPUE"}, .fn = TakeCommonReport},
};

}  // namespace

CPageExtTemp::CPageExtTemp(PageContext& context, const PageInfo& info)
    : CPageBase(context, info, PageDecl{.fields = kFields, .editors = kEditors, .handlers = kHandlers})
{
    Value(kList);  // the four rows with their numbers exist from the start
}

void CPageExtTemp::ClearFields()
{
    for (int r = 0; r < kSensors; ++r)
        for (int c = kReadingColumn; c < kEnableColumn; ++c) Cell(kList, r, c).clear();
    for (int id : {kUartPeriod, kGprsPeriod, kEventStep}) Text(id).clear();
    NotifyChanged(kChangedAll);
}

std::vector<std::string> CPageExtTemp::SensorLines(int sensor) const
{
    std::vector<std::string> lines;
    for (int i = 0; i < kColumns - kFirstSetting; ++i)
        lines.push_back(Printf("%%%s%d=%s\r", kSensorKeys[i], sensor,
                               SingleLine(CellText(kList, sensor, kFirstSetting + i)).c_str()));
    return lines;
}

void CPageExtTemp::SaveParams(bool toProfile, CProfileWriter* file)
{
    if (!toProfile) {
        CPageBase::SaveParams(false, file);
        return;
    }
    for (int s = 0; s < kSensors; ++s)
        for (const std::string& line : SensorLines(s)) EmitCommand(true, line, file);
    // The upload window is not part of a profile.
    for (int id : {kUartPeriod, kGprsPeriod, kEventStep, kSavePeriod})
        if (auto line = WriteLine(*FindField(id))) EmitCommand(true, *line, file);
}

bool CPageExtTemp::BeginEditRow(int listId, int row, RowEdit& edit)
{
    if (listId != kList || row < 0 || row >= kSensors) return false;
    edit.listId = listId;
    edit.row = row;
    edit.title = Printf("%d# %s", row, Tr("Title").c_str());
    edit.values[kSetupReading].text = CellText(kList, row, kReadingColumn);
    for (int i = 0; i < kEdits; ++i) edit.values[kSetupEdit0 + i].text = CellText(kList, row, kFirstSetting + i);
    for (int i = 0; i < kFlags; ++i)
        edit.values[kSetupCheck0 + i].check = CellText(kList, row, kFirstFlag + i) == kFlagOn ? 1 : 0;
    return true;
}

std::optional<FieldProblem> CPageExtTemp::CheckEditRow(const RowEdit& edit) const
{
    // Calibrations go out as typed (the unit reports decimals too); its answer judges them.
    return CPageBase::CheckEditRow(edit);
}

void CPageExtTemp::CommitEditRow(const RowEdit& edit)
{
    if (edit.listId != kList || edit.row < 0 || edit.row >= kSensors || CheckEditRow(edit)) return;
    auto value = [&edit](int id) {
        const auto it = edit.values.find(id);
        return it == edit.values.end() ? FieldValue{} : it->second;
    };
    for (int i = 0; i < kEdits; ++i) Cell(kList, edit.row, kFirstSetting + i) = value(kSetupEdit0 + i).text;
    for (int i = 0; i < kFlags; ++i)
        Cell(kList, edit.row, kFirstFlag + i) = value(kSetupCheck0 + i).check ? kFlagOn : kFlagOff;
    NotifyChanged(kList);
    EmitCommand(false, "%STARTCMD\r", nullptr);
    for (const std::string& line : SensorLines(edit.row)) EmitCommand(false, line, nullptr);
    EmitCommand(false, "%COMMITCMD\r", nullptr);
    ReloadGroup();
}

void CPageExtTemp::TakeSensor(std::string_view text)
{
    if (text.size() < kMinSensorText) return;
    const int sensor = text[kSensorDigitAt] - '0';
    if (sensor < 0 || sensor >= kSensors) return;
    std::string_view rest = text.substr(kFieldsAt);
    for (int col = kReadingColumn; col < kColumns; ++col) {
        const std::size_t comma = rest.find(',');
        const std::string_view field = rest.substr(0, comma);
        // The last field (no comma after it) counts only when it holds something.
        if (comma != std::string_view::npos || !field.empty())
            Cell(kList, sensor, col) = std::string(field.substr(0, kMaxField));
        if (comma == std::string_view::npos) break;
        rest.remove_prefix(comma + 1);
    }
    NotifyChanged(kList);
}

void CPageExtTemp::TakeCommon(std::string_view text)
{
    // The code opens the text; the value follows one separator after it.
    const std::string_view value = text.size() > kCommonValueAt ? text.substr(kCommonValueAt) : std::string_view{};
    for (const CommonCode& c : kCommonCodes)
        if (text.substr(0, kCodeLength) == c.code) SetText(c.id, std::string(value));
}

}  // namespace rtu
