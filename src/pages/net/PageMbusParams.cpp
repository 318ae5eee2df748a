#include "pages/net/PageMbusParams.h"

#include <array>
#include <vector>

#include "pages/framework/FieldBuilders.h"
#include "pages/framework/FieldCheck.h"
#include "pages/framework/Printf.h"
#include "pages/framework/Ucs2Hex.h"
#include "pages/net/RegisterReports.h"

namespace rtu {
namespace {

using P = CPageMbusParams;

constexpr const char* kModbus = "%DUMP_MODBUS\r";
constexpr std::size_t kRowFieldChars = 63;  // "$MDMAS" fields keep at most this many characters
constexpr std::size_t kFieldChars = 31;     // the other register reports' fields
constexpr int kNarrow = 60;                 // width of columns 0-2
constexpr int kWide = 100;                  // width of columns 3-19
constexpr int kNarrowColumns = 3;
constexpr int kLastClearedColumn = 7;  // a clear empties columns 1-7
constexpr int kTypes = 4;
constexpr int kOutputs = 4;  // interlock outputs 0-3

constexpr std::array<const char*, kTypes> kTypeNames = {"Coils", "Keep Registers", "Input Registers", "Discrete State"};
constexpr const char* kInvalidType = "Invalid";

// The reports whose field 1 goes into one column.
struct ColumnReport {
    const char* key;
    int column;
};
constexpr ColumnReport kColumnReports[] = {
    {"$MDMSC", P::kColGain},      {"$MDMCG", P::kColStep}, {"$MDBAS", P::kColAdjust}, {"$MDMSK", P::kColMask},
    {"$MDLKO", P::kColInterlock}, {"$MDLAG", P::kColLag},  {"$MDMTX", P::kColMatrix},
};

bool IsSwitchType(int type) { return type == 0 || type == 3; }  // coils and discrete inputs

void TakeRegister(CPageBase& page, const RouteHit& hit)
{
    static_cast<P&>(page).TakeRegisterReport(hit.target.key ? hit.target.key : "", hit.text);
}
void TakeLimit(CPageBase& page, const RouteHit& hit) { static_cast<P&>(page).TakeLimit(hit.text); }

std::vector<ColumnDecl> Columns()
{
    std::vector<ColumnDecl> cols;
    for (int c = 0; c < P::kColumns; ++c) {
        static const std::array<std::string, P::kColumns> keys = [] {
            std::array<std::string, P::kColumns> k;
            for (int i = 0; i < P::kColumns; ++i) k[static_cast<std::size_t>(i)] = "LISTC" + std::to_string(i);
            return k;
        }();
        cols.push_back({TextRef{"", keys[static_cast<std::size_t>(c)], ""}, c < kNarrowColumns ? kNarrow : kWide,
                        c >= 1 && c <= kLastClearedColumn, c == 0 ? ColumnKind::Label : ColumnKind::Text});
    }
    return cols;
}

constexpr int kFrame0 = 1400, kFrame1 = 1401;  // the general settings, the register table

// The general settings: each a number the unit reports as "$MDxxxx <n>" (the value 8 characters
// in) and takes as "%<command><n>"; the slave address is hidden.
struct Setting {
    int id, captionId, order;  // the control, its label, its place in the save
    const char* caption;
    const char* key;
    const char* format;
    bool visible = true;
};
constexpr Setting kSettings[] = {
    {P::kSlaveAddress, 1384, 2, "SLA_ADDR", "$MDADDR", "%%MDADDR%s\r", false},
    {P::kRepeat, 1386, 3, "MDLS", "$MDRSDT", "%%MDLS%s\r"},
    {P::kAlarmSpan, 1398, 1, "MDAS", "$MDRAST", "%%MDAS%s\r"},
    {P::kReadTimeout, 1397, 4, "MDRTO", "$MDRDTO", "%%MDRTO%s\r"},
    {P::kPollSpan, 1399, 5, "MDLTO", "$MDLPTO", "%%MDLTO%s\r"},
};
constexpr int kSettingAt = 8;

// clang-format off
const std::vector<FieldDecl> kFields = [] {
    std::vector<FieldDecl> f = {{.id = kFrame0, .kind = K::Group, .caption = Own("FRAME0")},
                                {.id = kFrame1, .kind = K::Group, .caption = Own("FRAME1")}};
    for (const Setting& s : kSettings)
        f.push_back(TextBox({.id = s.id, .caption = Own(s.caption), .captionId = s.captionId, .group = kFrame0,
                             .visible = s.visible, .report = {s.key, kSettingAt, D::Text},
                             .write = {.format = s.format, .order = s.order}, .dump = kModbus,
                             .chars = CharRule::Digits}));
    f.push_back({.id = P::kTable, .kind = K::List, .group = kFrame1, .columns = Columns(), .rows = kModbusRegisters});
    f.push_back(MakeButton(P::kSave, Shared("Buttons", "Save"), "", ctl::kSave));
    f.push_back(MakeButton(ctl::kReload, {}, "Reload"));
    return f;
}();

// A register input's text goes on the line as typed, as one of the comma-separated values the
// unit reports back with at most kFieldChars characters.
constexpr int kRegisterChars = static_cast<int>(kFieldChars);

std::vector<FieldDecl> EditorFields(const std::string& output, const std::string& none)
{
    std::vector<TextRef> outputs;
    for (int i = 0; i < kOutputs; ++i) outputs.push_back(Fixed((output + std::to_string(i)).c_str()));
    outputs.push_back(Fixed(none.c_str()));
    std::vector<FieldDecl> f = {
        {.id = P::kEdName, .kind = K::Text, .caption = Own("LAB_NAME"), .captionId = 1407, .encoded = true},
        TextBox({.id = P::kEdSlave, .caption = Own("LAB_SID"), .captionId = 1392, .maxLength = kRegisterChars,
                 .chars = CharRule::Digits}),
        TextBox({.id = P::kEdAddress, .caption = Own("LAB_REGID"), .captionId = 1393, .maxLength = kRegisterChars,
                 .chars = CharRule::Digits}),
        {.id = P::kEdType, .kind = K::Combo, .caption = Own("LAB_REGTYPE"), .captionId = 1394,
         .items = {Fixed("Coil"), Fixed("Keep(Holding)"), Fixed("Input"), Fixed("Discrete State")}},
        {.id = P::kEdState, .kind = K::Combo, .caption = Own("LAB_REGNS"), .captionId = 1395,
         .items = {Fixed("OFF"), Fixed("ON")}},
        TextBox({.id = P::kEdLow, .caption = Own("LAB_REGNR"), .captionId = 1402, .maxLength = kRegisterChars}),
        {.id = P::kEdHigh, .kind = K::Text},
        TextBox({.id = P::kEdGain, .caption = Own("LAB_REGGAIN"), .captionId = 1405, .maxLength = kRegisterChars}),
        TextBox({.id = P::kEdStep, .caption = Own("LAB_REGUP"), .captionId = 1408, .maxLength = kRegisterChars}),
        TextBox({.id = P::kEdAdjust, .caption = Own("LAB_REGADJ"), .captionId = 1410, .maxLength = kRegisterChars}),
        TextBox({.id = P::kEdMask, .caption = Own("LAB_REGMASK"), .captionId = 1412, .maxLength = kRegisterChars}),
        {.id = P::kEdInterlock, .kind = K::Combo, .caption = Own("LAB_REGINTERLOCK"), .captionId = 1414,
         .items = outputs},
        CheckBox({.id = P::kEdFlag32, .caption = Own("LAB_32BIT")}),
        CheckBox({.id = P::kEdWordInverse, .caption = Own("LAB_LITEND")}),
        CheckBox({.id = P::kEdFloat, .caption = Own("LAB_FLOAT")}),
        CheckBox({.id = P::kEdUnsigned, .caption = Own("LAB_UNSIGNED")}),
        CheckBox({.id = P::kEdByteInverse, .caption = Own("LAB_BYTEINVERSE")}),
        TextBox({.id = P::kEdLag, .caption = Own("LAB_LAG"), .maxLength = kRegisterChars, .chars = CharRule::Digits}),
        {.id = 4001, .kind = K::Label, .caption = Own("LAB_MATRIX")},
    };
    // Coils and discrete inputs have a normal state; registers (and no type) the register settings.
    for (FieldDecl& d : f) {
        if (d.id == P::kEdState) {
            d.shownBy = P::kEdType;
            d.shownFor = {0, 3};
        } else if (d.id != P::kEdName && d.id != P::kEdSlave && d.id != P::kEdAddress && d.id != P::kEdType) {
            d.shownBy = P::kEdType;
            d.shownFor = {-1, 1, 2};
        }
    }
    for (int i = 0; i < P::kMatrixBits; ++i) {
        static const std::array<std::string, P::kMatrixBits> names = [] {
            std::array<std::string, P::kMatrixBits> n;
            for (int b = 0; b < P::kMatrixBits; ++b) n[static_cast<std::size_t>(b)] = "Cs" + std::to_string(b);
            return n;
        }();
        f.push_back({.id = P::kEdMatrix0 + i, .kind = K::Check,
                     .caption = TextRef{"", "", names[static_cast<std::size_t>(i)]}, .shownBy = P::kEdType,
                     .shownFor = {-1, 1, 2}});
    }
    f.push_back(MakeButton(1, Shared("Buttons", "Ok"), "", 1));
    f.push_back(MakeButton(2, Shared("Buttons", "Cancel"), "", 2));
    return f;
}

// clang-format on

const HandlerDecl kHandlers[] = {
    {.number = 1, .keys = {"$MDMAS#", "$MDMSC#", "$MDMCG#", "$MDFLG#", "$MDMSK#", "$MDLKO#", "$MDBAS#", "$MDLAG#", "$MDMTX#", "$RNAME#"}, .fn = TakeRegister},
    {.number = 2, .keys = {"$REG#"}, .fn = TakeLimit},
};

// The flag columns in the order of the editor's boxes and of the "%MDMSF" line.
constexpr std::array<int, P::kFlags> kFlagBoxes = {P::kEdFlag32, P::kEdWordInverse, P::kEdFloat, P::kEdUnsigned,
                                                   P::kEdByteInverse};

std::string EditText(const RowEdit& edit, int id)
{
    auto it = edit.values.find(id);
    return it == edit.values.end() ? std::string{} : SingleLine(it->second.text);
}

const FieldValue* EditValue(const RowEdit& edit, int id)
{
    auto it = edit.values.find(id);
    return it == edit.values.end() ? nullptr : &it->second;
}

// The matrix text: two groups of four hex digits; bits beyond a valid digit read as 0.
unsigned MatrixBits(std::string_view text)
{
    unsigned bits = 0;
    for (char c : text.substr(0, 8)) {
        int digit = -1;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        if (digit < 0) break;
        bits = (bits << 4) | static_cast<unsigned>(digit);
    }
    return bits;
}

}  // namespace

CPageMbusParams::CPageMbusParams(PageContext& context, const PageInfo& info) : CPageBase(context, info)
{
    // The interlock items are the catalog's output caption with the output number.
    const std::string output = Tr("SYSCHAR", "LINKDO");
    const std::string none = Tr("SYSCHAR", "NC");
    editors_ = {
        {kTable, Fixed("Mod Master"), EditorFields(output.empty() ? "Dout" : output, none.empty() ? "None" : none)}};
    SetDecl({.fields = kFields, .editors = editors_, .handlers = kHandlers});
    Value(kTable);
}

const char* CPageMbusParams::TypeName(int type)
{
    return type >= 0 && type < kTypes ? kTypeNames[static_cast<std::size_t>(type)] : kInvalidType;
}

void CPageMbusParams::TakeRegisterReport(std::string_view key, std::string_view text)
{
    if (key == "$RNAME") {
        const auto indexed = SplitIndex(text);
        if (!indexed || indexed->index >= kModbusRegisters) return;
        SetCell(kTable, indexed->index, kColName, DecodeUcs2Hex(indexed->value));
        return;
    }
    const bool row = key == "$MDMAS";
    const auto fields = SplitRegisterFields(text, row ? kRowFieldChars : kFieldChars);
    const int r = LeadingNumber(fields[0]);
    if (r < 0 || r >= kModbusRegisters) return;  // the table has 32 rows; no report makes more
    auto field = [&](std::size_t i) { return i < fields.size() ? fields[i] : std::string{}; };
    if (row) {
        SetCell(kTable, r, kColSlave, field(1));
        SetCell(kTable, r, kColAddress, field(2));
        const int type = LeadingNumber(field(3));
        SetCell(kTable, r, kColType, TypeName(type));
        if (IsSwitchType(type)) SetCell(kTable, r, kColState, LeadingNumber(field(4)) != 0 ? "ON" : "OFF");
        return;
    }
    if (key == "$MDFLG") {
        for (int i = 0; i < kFlags; ++i) SetCell(kTable, r, kColFlag0 + i, field(static_cast<std::size_t>(i) + 1));
        return;
    }
    for (const ColumnReport& c : kColumnReports)
        if (key == c.key) return SetCell(kTable, r, c.column, field(1));
}

void CPageMbusParams::TakeLimit(std::string_view text)
{
    if (const auto limit = SplitLimit(text))
        SetCell(kTable, limit->reg, limit->high ? kColHigh : kColLow, std::string(limit->value));
}

bool CPageMbusParams::BeginEditRow(int listId, int row, RowEdit& edit)
{
    if (listId != kTable || row < 0 || row >= kModbusRegisters) return false;
    edit.listId = listId;
    edit.row = row;
    auto cell = [&](int col) { return CellText(kTable, row, col); };
    edit.values[kEdName].text = cell(kColName);
    edit.values[kEdSlave].text = cell(kColSlave);
    edit.values[kEdAddress].text = cell(kColAddress);
    const std::string type = cell(kColType);
    int sel = -1;
    if (type.find("Input") != std::string::npos) sel = 2;
    else if (type.find("Keep") != std::string::npos) sel = 1;
    else if (type.find("Coil") != std::string::npos) sel = 0;
    else if (type.find("Discrete") != std::string::npos) sel = 3;
    edit.values[kEdType].sel = sel;
    edit.values[kEdState].sel = cell(kColState).find("OFF") != std::string::npos ? 0 : 1;
    edit.values[kEdLow].text = cell(kColLow);
    edit.values[kEdHigh].text = cell(kColHigh);
    edit.values[kEdGain].text = cell(kColGain);
    edit.values[kEdAdjust].text = cell(kColAdjust);
    edit.values[kEdStep].text = cell(kColStep);
    edit.values[kEdMask].text = cell(kColMask);
    const std::string interlock = cell(kColInterlock);
    const int output = IsWhole(interlock) ? LeadingNumber(interlock) : kNoInterlockItem;
    edit.values[kEdInterlock].sel = output >= 0 && output < kOutputs ? output : kNoInterlockItem;
    for (int i = 0; i < kFlags; ++i)
        edit.values[kFlagBoxes[static_cast<std::size_t>(i)]].check = LeadingNumber(cell(kColFlag0 + i)) > 0;
    edit.values[kEdLag].text = cell(kColLag);
    const unsigned bits = MatrixBits(cell(kColMatrix));
    for (int i = 0; i < kMatrixBits; ++i) edit.values[kEdMatrix0 + i].check = (bits >> i) & 1U;
    return true;
}

void CPageMbusParams::CommitEditRow(const RowEdit& edit)
{
    if (edit.listId != kTable || edit.row < 0 || edit.row >= kModbusRegisters) return;
    const int r = edit.row;
    auto text = [&](int id) { return EditText(edit, id); };
    auto sel = [&](int id) {
        const FieldValue* v = EditValue(edit, id);
        return v ? v->sel : -1;
    };
    auto check = [&](int id) {
        const FieldValue* v = EditValue(edit, id);
        return v && v->check ? 1 : 0;
    };
    const int type = sel(kEdType);
    const int state = sel(kEdState);
    int interlock = sel(kEdInterlock);
    if (interlock < 0 || interlock >= kOutputs) interlock = kNoInterlock;
    unsigned bits = 0;
    for (int i = 0; i < kMatrixBits; ++i)
        if (check(kEdMatrix0 + i)) bits |= 1U << i;
    const std::string name = text(kEdName);
    EmitCommand(false, "%STARTCMD\r", nullptr);
    EmitCommand(false,
                Printf("%%mdmas%2.2d=%s,%s,%d,%d,%s,%s,%s,%s,%d,%s,%8.8x\r", r, text(kEdSlave).c_str(),
                       text(kEdAddress).c_str(), type, state, text(kEdGain).c_str(), text(kEdStep).c_str(),
                       text(kEdAdjust).c_str(), text(kEdMask).c_str(), interlock, text(kEdLag).c_str(), bits),
                nullptr);
    EmitCommand(false, Printf("%%R%2.2d%s,%s\r", r, text(kEdLow).c_str(), text(kEdHigh).c_str()), nullptr);
    EmitCommand(false,
                Printf("%%MDMSF%2.2d=%d,%d,%d,%d,%d\r", r, check(kEdFlag32), check(kEdWordInverse), check(kEdFloat),
                       check(kEdUnsigned), check(kEdByteInverse)),
                nullptr);
    EmitCommand(false, Printf("%%N%2.2d%s\r", r, EncodeUcs2Hex(name).c_str()), nullptr);
    EmitCommand(false, "%COMMITCMD\r", nullptr);
    // The row shows what was sent at once; the unit's report of it follows.
    TakeRegisterReport("$MDMAS",
                       Printf("%2.2d,%s,%s,%d,%d", r, text(kEdSlave).c_str(), text(kEdAddress).c_str(), type, state));
    SetCell(kTable, r, kColLow, text(kEdLow));
    SetCell(kTable, r, kColHigh, text(kEdHigh));
    SetCell(kTable, r, kColName, name);
    WriteBlock(Printf("%%DUMP_MODBUS_MASTER%d\r", r));
}

}  // namespace rtu
