#include "pages/gpio/PageAd.h"

#include <string>
#include <vector>

#include "link/LinkTypes.h"
#include "pages/framework/ComposedLines.h"
#include "pages/framework/FieldBuilders.h"
#include "pages/framework/FieldCheck.h"
#include "pages/framework/Printf.h"
#include "pages/gpio/Calibration.h"
#include "link/TextFields.h"

namespace rtu {
namespace {

using P = CPageAd;

constexpr std::size_t kChannelAt = 0;       // handler texts: the channel digit
constexpr std::size_t kValueAt = 2;         // ... and the value after it
constexpr std::size_t kLimitChannelAt = 1;  // "$ADIN" text "H2 7.5": the channel after the letter
constexpr std::size_t kLimitValueAt = 3;
constexpr std::size_t kEnableChannelAt = 1;  // "*ADC_EN" text ":2 1"
constexpr std::size_t kEnableValueAt = 3;

// The urgent and sound boxes of the four channels, one line each.
constexpr char kUrgentLine[] = "%AINURG";
constexpr char kSoundLine[] = "%AINSND";
constexpr ComposeFn WriteUrgent = WriteChecks<kUrgentLine, P::kUrgent>;
constexpr ComposeFn WriteSound = WriteChecks<kSoundLine, P::kSound>;

// "%AINTP": the four types; a channel without a type goes as -1, which the unit refuses.
bool WriteTypes(const CPageBase& page, std::string& line)
{
    auto sel = [&](int n) { return page.ValueOf(P::kType[n]).sel; };
    line = Printf("%%AINTP%d%d%d%d\r", sel(0), sel(1), sel(2), sel(3));
    return true;
}

// Every channel is switched on first; the ones whose box is clear are then switched off.
template <int N> bool WriteOff(const CPageBase& page, std::string& line)
{
    if (page.CheckOf(P::kEnable[N])) return false;
    line = Printf("%%AINOFF%d\r", N);
    return true;
}
constexpr ComposeFn kWriteOff[P::kChannels] = {WriteOff<0>, WriteOff<1>, WriteOff<2>, WriteOff<3>};

void Take(CPageBase& page, const RouteHit& hit) { static_cast<P&>(page).TakeReport(hit); }
void Reset(CPageBase& page) { static_cast<P&>(page).ResetLimits(); }

// The per-channel command lines and report keys.
const char* const kLowFormats[] = {"%%AIN0L%s\r", "%%AIN1L%s\r", "%%AIN2L%s\r", "%%AIN3L%s\r"};
const char* const kHighFormats[] = {"%%AIN0H%s\r", "%%AIN1H%s\r", "%%AIN2H%s\r", "%%AIN3H%s\r"};
const char* const kOffsetFormats[] = {"%%AIN0OS%s\r", "%%AIN1OS%s\r", "%%AIN2OS%s\r", "%%AIN3OS%s\r"};
const char* const kScaleFormats[] = {"%%AIN0SC%s\r", "%%AIN1SC%s\r", "%%AIN2SC%s\r", "%%AIN3SC%s\r"};
const char* const kZeroFormats[] = {"%%AIN0ZE%s\r", "%%AIN1ZE%s\r", "%%AIN2ZE%s\r", "%%AIN3ZE%s\r"};
const char* const kStepFormats[] = {"%%AIN0ST%s\r", "%%AIN1ST%s\r", "%%AIN2ST%s\r", "%%AIN3ST%s\r"};
const char* const kScaleKeys[] = {"$ASCALE0", "$ASCALE1", "$ASCALE2", "$ASCALE3"};
const char* const kZeroKeys[] = {"$ADZERO0", "$ADZERO1", "$ADZERO2", "$ADZERO3"};

// The alarm message and upload settings below the channels: 16-bit numbers the unit reports
// as "<key> <number>".
struct Param {
    int id;
    TextRef caption;
    int captionId;
    ReportDecl report;
    const char* format;
    int order;
};

std::vector<FieldDecl> MakeFields()
{
    std::vector<FieldDecl> f;
    // clang-format off
    f.push_back({.id = P::kGroup, .kind = K::Group, .caption = Own("TITLE"), .write = {.format = "%%AINON0123\r", .order = 26}});
    for (int n = 0; n < P::kChannels; ++n) {
        const std::string c = std::to_string(n);
        const int box = P::kChannelGroup[n];
        // A limit, offset, gain, base or report step: a decimal number the unit takes as one.
        auto decimal = [&](int id, const char* caption, const char* format, int order, ReportDecl report = {}) {
            f.push_back(TextBox({.id = id, .caption = Own(caption), .group = box, .report = report,
                                 .write = {.format = format, .order = order}, .dump = dump::kAds,
                                 .chars = CharRule::Decimal, .strict = true}));
        };
        // The four channels' flags and types go on one line each, written by channel 0's row.
        auto joint = [&](const int (&ids)[P::kChannels], ComposeFn write, int order) {
            return n == 0 ? WriteDecl{.order = order, .compose = write} : WriteDecl{.partOf = ids[0]};
        };
        f.push_back({.id = box, .kind = K::Group, .caption = {"", "CHANNEL" + c, ""}});
        f.push_back(CheckBox({.id = P::kEnable[n], .caption = {"", "AIN" + c, ""}, .group = box, .write = {.order = 27 + n, .compose = kWriteOff[n]}, .dump = dump::kAds}));
        f.push_back(MakeButton(P::kCalibrate[n], Own("CALIBRATE")));
        f.back().group = box;
        decimal(P::kLow[n], "ADC_LOW", kLowFormats[n], 2 + 2 * n);
        decimal(P::kHigh[n], "ADC_HIGH", kHighFormats[n], 1 + 2 * n);
        decimal(P::kOffset[n], "ADC_OFFSET", kOffsetFormats[n], 34 - n);
        f.push_back(Shown({.id = P::kReading[n], .caption = Own("ADC_CURRENT"), .group = box, .dump = dump::kAds}));
        decimal(P::kScale[n], "ADC_GAIN", kScaleFormats[n], 9 + n, {kScaleKeys[n], 9, D::Text});
        decimal(P::kZero[n], "ADC_BASE", kZeroFormats[n], 13 + n, {kZeroKeys[n], 9, D::Text});
        f.push_back(CheckBox({.id = P::kUrgent[n], .caption = Own("ADC_URG"), .group = box, .write = joint(P::kUrgent, WriteUrgent, 24), .dump = dump::kAds}));
        f.push_back(CheckBox({.id = P::kSound[n], .caption = Own("ADC_SOUND"), .group = box, .write = joint(P::kSound, WriteSound, 25), .dump = dump::kAds}));
        decimal(P::kStep[n], "ADC_GPRSSTEP", kStepFormats[n], 20 + n);
        f.push_back(DropDown({.id = P::kType[n], .caption = Own("ADC_TYPE"), .group = box, .write = joint(P::kType, WriteTypes, 35), .dump = dump::kAds,
                              .items = {Shared("SYSCHAR", "AINVOL"), Shared("SYSCHAR", "AINCUR")}}));
    }
    const Param params[] = {
        {P::kSmsInterval, Own("ADC_SMSAS"), 1277, {"$AINAS", 7, D::Text}, "%%AINAS%s\r", 17},
        {P::kSmsRepeat, Own("ADC_SMSLS"), 1278, {"$AINLS", 7, D::Text}, "%%AINLS%s\r", 18},
        {P::kConfirm, Own("ADC_ENSURING"), 1281, {"$AINDLY", 8, D::Text}, "%%AINDLY%s\r", 19},
        {P::kUploadTimer, Own("ADC_GPRS_TIMER"), 1283, {"$AINUPT", 8, D::Text}, "%%AINUPT%s\r", 36},
        {P::kUploadStart, Own("ADC_GPRS_TIMER_RANGE"), 1285, {"$AINUPS", 8, D::Text}, "%%AINUPS%s\r", 37},
        {P::kUploadEnd, Fixed("<->"), 0, {"$AINUPE", 8, D::Text}, "%%AINUPE%s\r", 38},
    };
    for (const Param& p : params)
        f.push_back(NumberBox({.id = p.id, .caption = p.caption, .captionId = p.captionId, .group = P::kGroup,
                               .report = p.report, .write = {.format = p.format, .order = p.order},
                               .dump = dump::kAds, .maxValue = P::kParamMax}));
    // clang-format on
    f.push_back(MakeButton(ctl::kSave, Shared("Buttons", "Save")));
    f.push_back(MakeButton(P::kReset, Shared("Buttons", "Reset")));
    f.back().onClick = Reset;
    f.back().confirm = {"Confirm", "ADC_RESET",
                        "Reset the alarm limits of all four analog inputs on the unit now? Each high and low limit is "
                        "set to 0 at once (ten command lines), then the pages are read again."};
    f.push_back(MakeButton(ctl::kReload, {}, "Reload"));
    return f;
}

const std::vector<FieldDecl>& PageFields()
{
    static const std::vector<FieldDecl> fields = MakeFields();
    return fields;
}

RowEditorDecl CalibrationEditor(int button)
{
    return {button,
            Fixed("ADC"),
            {{.id = P::kCalSignalLow, .kind = K::Text, .caption = {"", "CAL_SIGNAL_LOW", "Current/voltage low"}},
             {.id = P::kCalSignalHigh, .kind = K::Text, .caption = {"", "CAL_SIGNAL_HIGH", "Current/voltage high"}},
             {.id = P::kCalUnit, .kind = K::Combo, .caption = Fixed("Unit"), .items = {Fixed("mA"), Fixed("V")}},
             {.id = P::kCalActualLow, .kind = K::Text, .caption = Fixed("Actual Range low")},
             {.id = P::kCalActualHigh, .kind = K::Text, .caption = Fixed("Actual Range high")},
             {.id = P::kCalConstant, .kind = K::Text, .visible = false, .initial = "62"},
             {.id = P::kCalVersion, .kind = K::Value, .readOnly = true},
             MakeButton(P::kEditorOk, Shared("Buttons", "Ok"), "", P::kEditorOk),
             MakeButton(P::kEditorCancel, Shared("Buttons", "Cancel"), "", P::kEditorCancel)}};
}

const std::vector<RowEditorDecl> kEditors = {CalibrationEditor(P::kCalibrate[0]), CalibrationEditor(P::kCalibrate[1]),
                                             CalibrationEditor(P::kCalibrate[2]), CalibrationEditor(P::kCalibrate[3])};

// Every handler row of the page names handler 1; the key tells the reports apart.
const HandlerDecl kHandlers[] = {{.number = 1, .keys = {"$ADINH#", "$ADINL#", "*AINC#", "$ADINRH#", "$ADINRL#", "$ADINST#", "$ADINOT#", "$AINURG#", "$AINSND#", "$AINTPE#", "$AINVER", "*ADC_EN"}, .fn = Take}};

int ChannelOfButton(int id)
{
    for (int n = 0; n < P::kChannels; ++n)
        if (P::kCalibrate[n] == id) return n;
    return -1;
}

std::string Text(const RowEdit& edit, int id)
{
    auto it = edit.values.find(id);
    return it == edit.values.end() ? std::string{} : it->second.text;
}

CalibrationInput InputOf(const RowEdit& edit, int version)
{
    auto unit = edit.values.find(P::kCalUnit);
    return {.signalLow = Text(edit, P::kCalSignalLow),
            .signalHigh = Text(edit, P::kCalSignalHigh),
            .actualLow = Text(edit, P::kCalActualLow),
            .actualHigh = Text(edit, P::kCalActualHigh),
            .constant = Text(edit, P::kCalConstant),
            .volts = unit != edit.values.end() && unit->second.sel == P::kUnitVolts,
            .version = version};
}

int FieldId(CalibrationField f)
{
    switch (f) {
    case CalibrationField::SignalLow: return P::kCalSignalLow;
    case CalibrationField::SignalHigh: return P::kCalSignalHigh;
    case CalibrationField::ActualLow: return P::kCalActualLow;
    case CalibrationField::ActualHigh: return P::kCalActualHigh;
    case CalibrationField::Constant: break;
    }
    return P::kCalConstant;
}

}  // namespace

// What a reload leaves as it is: the enables, the readings and the upload window.
const int kKept[] = {P::kEnable[0],  P::kEnable[1],  P::kEnable[2],  P::kEnable[3],   P::kReading[0],
                     P::kReading[1], P::kReading[2], P::kReading[3], P::kUploadTimer, P::kUploadStart,
                     P::kUploadEnd};

CPageAd::CPageAd(PageContext& context, const PageInfo& info)
    : CPageBase(context, info,
                PageDecl{.fields = PageFields(), .editors = kEditors, .handlers = kHandlers, .kept = kKept})
{}


void CPageAd::ResetLimits()
{
    EmitCommand(false, "%STARTCMD\r", nullptr);
    for (int n = 0; n < kChannels; ++n) {
        WriteBlock(Printf("%%AIN%dH0\r", n));
        WriteBlock(Printf("%%AIN%dL0\r", n));
    }
    EmitCommand(false, "%COMMITCMD\r", nullptr);
    if (ctx_.postToMain) ctx_.postToMain(cmd::kReload);
}

bool CPageAd::BeginEditRow(int listId, int, RowEdit& edit)
{
    const int n = ChannelOfButton(listId);
    if (n < 0) return false;
    edit.listId = listId;
    edit.row = 0;
    edit.values[kCalSignalLow].text = "";
    edit.values[kCalSignalHigh].text = "";
    edit.values[kCalUnit].sel = 0;
    edit.values[kCalActualLow].text = Printf("%.2f", static_cast<double>(RangeLow(n)));
    edit.values[kCalActualHigh].text = Printf("%.2f", static_cast<double>(RangeHigh(n)));
    edit.values[kCalConstant].text = "62";
    edit.values[kCalVersion].text = Printf("Version %d", version_);
    return true;
}

std::optional<FieldProblem> CPageAd::CheckEditRow(const RowEdit& edit) const
{
    if (auto problem = CPageBase::CheckEditRow(edit)) return problem;
    if (ChannelOfButton(edit.listId) < 0) return std::nullopt;
    const Calibration c = Calibrate(InputOf(edit, version_));
    if (!c.problem) return std::nullopt;
    const int id = FieldId(c.problem->field);
    const FieldDecl* f = nullptr;
    for (const RowEditorDecl& e : RowEditors())
        for (const FieldDecl& field : e.fields)
            if (e.listId == edit.listId && field.id == id) f = &field;
    const std::string caption = f && !f->caption.text.empty() ? f->caption.text : "Constant";
    return FieldProblem{id, caption, caption + ": " + c.problem->reason};
}

void CPageAd::CommitEditRow(const RowEdit& edit)
{
    const int n = ChannelOfButton(edit.listId);
    if (n < 0) return;
    const CalibrationInput in = InputOf(edit, version_);
    const Calibration c = Calibrate(in);
    if (!c.result) return;  // never sent: the dialog says why
    SetText(kScale[n], c.result->scale);
    SetText(kZero[n], c.result->zero);
    EmitCommand(false, Printf("%%AIN%dSC%s\r", n, c.result->scale.c_str()), nullptr);
    EmitCommand(false, Printf("%%AIN%dZE%s\r", n, c.result->zero.c_str()), nullptr);
    EmitCommand(false, Printf("%%AINTP%d,%d\r", n, in.volts ? 0 : 1), nullptr);
    EmitCommand(false, Printf("%%AIN%dRH%s\r", n, in.actualHigh.c_str()), nullptr);
    EmitCommand(false, Printf("%%AIN%dRL%s\r", n, in.actualLow.c_str()), nullptr);
    ReloadGroup();
}

std::vector<std::pair<std::string, std::string>> CPageAd::ExtraValues() const
{
    std::vector<std::pair<std::string, std::string>> out;
    for (int n = 0; n < kChannels; ++n) {
        out.emplace_back("rangeHigh" + std::to_string(n), Printf("%.2f", static_cast<double>(RangeHigh(n))));
        out.emplace_back("rangeLow" + std::to_string(n), Printf("%.2f", static_cast<double>(RangeLow(n))));
    }
    out.emplace_back("version", std::to_string(version_));
    return out;
}

void CPageAd::TakeReport(const RouteHit& hit)
{
    const std::string_view key = hit.target.key ? hit.target.key : "";
    const std::string_view text = hit.text;
    auto rest = [&](std::size_t at) { return std::string(at < text.size() ? text.substr(at) : std::string_view{}); };
    if (key == "$ADIN") {
        // "H<channel> <number>" or "L…"; the range, step and offset lines ("R", "S", "O")
        // are taken by their own rows.
        const char letter = At(text, 0);
        const auto n = ChannelAt(text, kLimitChannelAt, kChannels);
        if ((letter != 'H' && letter != 'L') || !n || rest(kLimitValueAt).empty()) return;
        SetText(letter == 'H' ? kHigh[*n] : kLow[*n], Printf("%.2f", LeadingDouble(rest(kLimitValueAt))));
        return;
    }
    if (key == "$AINVER") {
        version_ = LeadingNumber(text);
        return;
    }
    const bool enable = key == "*ADC_EN";
    const auto n = ChannelAt(text, enable ? kEnableChannelAt : kChannelAt, kChannels);
    if (!n) return;
    const std::size_t at = enable ? kEnableValueAt : kValueAt;
    if (key == "*AINC") SetText(kReading[*n], rest(at));
    else if (key == "$ADINRH")
        rangeHigh_[static_cast<std::size_t>(*n)] = static_cast<float>(LeadingDouble(rest(at)));
    else if (key == "$ADINRL")
        rangeLow_[static_cast<std::size_t>(*n)] = static_cast<float>(LeadingDouble(rest(at)));
    else if (key == "$ADINST") SetText(kStep[*n], rest(at));
    else if (key == "$ADINOT") SetText(kOffset[*n], rest(at));
    else if (key == "$AINURG") SetCheck(kUrgent[*n], At(text, at) == '1');
    else if (key == "$AINSND") SetCheck(kSound[*n], At(text, at) == '1');
    else if (key == "$AINTPE") {
        const char digit = At(text, at);
        if (digit < '0' || digit > '9') return;
        ApplyReport(*FindField(kType[*n]), Decode::Number, text.substr(at, 1));
    } else if (enable) {
        SetCheck(kEnable[*n], At(text, at) == '1');
    }
}

}  // namespace rtu
