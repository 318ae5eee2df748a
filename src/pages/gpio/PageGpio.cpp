#include "pages/gpio/PageGpio.h"

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "pages/framework/ComposedLines.h"
#include "pages/framework/FieldBuilders.h"
#include "pages/framework/Printf.h"
#include "link/TextFields.h"

namespace rtu {
namespace {

using P = CPageGpio;

constexpr std::size_t kFlagChannelAt = 0;   // "$DINURG"/"$DINSND"/"$DINCNT" text: the input digit
constexpr std::size_t kFlagValueAt = 2;     // ... and its '1' / '0'
constexpr std::size_t kOutputAt = 0;        // "$OTP" text: the output digit
constexpr std::size_t kFunctionAt = 2;      // ... and its function code
constexpr std::size_t kStatusDigitsAt = 2;  // "*IO" text: the channel digits after the kind
constexpr int kStatusWidth = 240;           // the status list's column

const char* const kTypeKeys[P::kTypes] = {"NC", "T0", "T1", "T2", "T3"};

std::vector<TextRef> TypeItems(const char* section)
{
    std::vector<TextRef> items;
    for (const char* key : kTypeKeys) items.push_back(Shared(section, key));
    return items;
}

// The boxes of the unit's inputs 0-3: their ids run on from input 0's.
constexpr std::array<int, P::kUnitChannels> UnitBoxes(int first)
{
    std::array<int, P::kUnitChannels> ids{};
    for (int n = 0; n < P::kUnitChannels; ++n) ids[static_cast<std::size_t>(n)] = first + n;
    return ids;
}
constexpr auto kUrgentBoxes = UnitBoxes(P::kUrgent0);
constexpr auto kSoundBoxes = UnitBoxes(P::kSound0);

// "%DINURG<0|1>x4", "%DINSND<0|1>x4": the boxes of inputs 0-3 in one line.
constexpr char kUrgentLine[] = "%DINURG";
constexpr char kSoundLine[] = "%DINSND";
constexpr ComposeFn WriteUrgent = WriteChecks<kUrgentLine, kUrgentBoxes>;
constexpr ComposeFn WriteSound = WriteChecks<kSoundLine, kSoundBoxes>;

// "%IOTP": the types of inputs 0-3 and the functions of outputs 0-3; a combo without a
// selection goes as -1, which the unit refuses.
bool WriteTypes(const CPageBase& page, std::string& line)
{
    auto sel = [&](int id) { return page.ValueOf(id).sel; };
    line = Printf("%%IOTP%d%d%d%d%d%d%d%d\r", sel(P::kInputType[0]), sel(P::kInputType[1]), sel(P::kInputType[2]),
                  sel(P::kInputType[3]), sel(P::kOutputType[0]), sel(P::kOutputType[1]), sel(P::kOutputType[2]),
                  sel(P::kOutputType[3]));
    return true;
}

// A catalog text, or the built-in English one where the catalog has none (rtuctl runs
// without a catalog).
std::string TextOr(const CPageBase& page, const char* section, const char* key, const char* fallback)
{
    std::string text = page.Tr(section, key);
    return text.empty() ? fallback : text;
}

void Take(CPageBase& page, const RouteHit& hit) { static_cast<CPageGpio&>(page).TakeReport(hit); }

std::vector<FieldDecl> MakeFields()
{
    std::vector<FieldDecl> f;
    // clang-format off
    f.push_back({.id = P::kInputGroup, .kind = K::Group, .caption = Own("TITLE_INPUT")});
    // Column titles of a grid; here each check box carries its own caption.
    const std::pair<int, const char*> titles[] = {{P::kUrgentTitle, "URGENT"}, {P::kSoundTitle, "SOUND"}, {P::kCounterTitle, "TITLECNT"}};
    for (const auto& [id, key] : titles)
        f.push_back(CaptionLabel({.id = id, .caption = Own(key), .group = P::kInputGroup, .visible = false}));
    for (int n = 0; n < P::kInputs; ++n) {
        const bool unit = n < P::kUnitChannels;
        // The save writes the unit's inputs, input 0's row carrying the line; the others are only shown.
        auto joint = [&](int first, ComposeFn write, int order) {
            if (n == 0) return WriteDecl{.order = order, .compose = write};
            return unit ? WriteDecl{.partOf = first} : WriteDecl{.reportOnly = true};
        };
        auto flag = [&](int id, const char* caption, bool visible, WriteDecl write) {
            f.push_back(CheckBox({.id = id, .caption = Own(caption), .group = P::kInputGroup, .visible = visible, .write = write, .dump = dump::kGpio}));
        };
        f.push_back(DropDown({.id = P::kInputType[n], .caption = {"", "INPUT" + std::to_string(n), ""}, .captionId = P::kInputLabel[n], .group = P::kInputGroup,
                              .visible = unit, .write = joint(P::kInputType[0], WriteTypes, 3), .dump = dump::kGpio, .items = TypeItems("DINTYPES")}));
        flag(P::kUrgent0 + n, "URGENT", unit, joint(P::kUrgent0, WriteUrgent, 1));
        flag(P::kSound0 + n, "SOUND", unit, joint(P::kSound0, WriteSound, 2));
        flag(P::kCounter0 + n, "TITLECNT", false, {.reportOnly = true});
    }
    f.push_back({.id = P::kOutputGroup, .kind = K::Group, .caption = Own("TITLE_OUTPUT")});
    for (int n = 0; n < P::kOutputs; ++n) {
        const bool unit = n < P::kUnitChannels;
        f.push_back(DropDown({.id = P::kOutputType[n], .caption = {"", "OUTPUT" + std::to_string(n), ""}, .captionId = P::kOutputLabel[n], .group = P::kOutputGroup,
                              .visible = unit, .write = unit ? WriteDecl{.partOf = P::kInputType[0]} : WriteDecl{.reportOnly = true}, .dump = dump::kGpio, .items = TypeItems("DOUTTYPES")}));
    }
    f.push_back({.id = P::kOthersGroup, .kind = K::Group, .caption = Own("OTHERS")});
    f.push_back(CheckBox({.id = P::kKeepOutputs, .caption = Own("SAVEOUT"), .group = P::kOthersGroup, .report = {"$IOOR", 6, D::Flag}, .write = {.format = "%%IOOR%d\r", .order = 4}, .dump = dump::kGpio}));
    f.push_back(CheckBox({.id = P::kInput1Button, .caption = Own("INPUT1BTN"), .group = P::kOthersGroup, .report = {"$L1DEF", 0, D::Switch}, .write = {.format = "%%L1DEF%d\r", .order = 5}, .dump = dump::kGpio}));
    f.push_back(NumberBox({.id = P::kSirenTime, .caption = Own("SIREN"), .captionId = P::kSirenLabel, .group = P::kOthersGroup, .report = {"$IOHT", 6, D::Text},
                           .write = {.format = "%%IOHT%s\r", .order = 6}, .dump = dump::kGpio, .minValue = 0, .maxValue = P::kSirenMax}));
    f.push_back(CheckBox({.id = P::kCounterAuto, .caption = Own("COUNTERAUTO"), .group = P::kOthersGroup, .visible = false, .report = {"$DINCTA", 8, D::Flag}, .write = {.reportOnly = true}, .dump = dump::kGpio}));
    f.push_back(TextBox({.id = P::kCounterTime, .caption = Own("COUNTERSEC"), .captionId = P::kCounterTimeLabel, .group = P::kOthersGroup, .visible = false, .report = {"$DINDUT", 8, D::Text}, .write = {.reportOnly = true}, .dump = dump::kGpio}));
    f.push_back({.id = P::kStatusGroup, .kind = K::Group, .caption = Own("STATUS")});
    f.push_back({.id = P::kStatus, .kind = K::List, .group = P::kStatusGroup, .columns = {{Own("STATUS"), kStatusWidth, true, ColumnKind::Text}}, .rows = 0, .growRows = true});
    // clang-format on
    f.push_back(MakeButton(ctl::kSave, Shared("Buttons", "Save")));
    f.push_back(MakeButton(ctl::kReload, {}, "Reload"));
    return f;
}

const std::vector<FieldDecl>& PageFields()
{
    static const std::vector<FieldDecl> fields = MakeFields();
    return fields;
}

// Every handler row of the page names handler 1; the key tells the reports apart.
const HandlerDecl kHandlers[] = {{.number = 1, .keys = {"$ITP#", "$OTP#", "*IO", "$DINURG#", "$DINSND#", "$DINCNT#"}, .fn = Take}};

}  // namespace

// The counters shown are the tool's display: a reload leaves them.
constexpr int kKept[] = {P::kCounter0,     P::kCounter0 + 1, P::kCounter0 + 2, P::kCounter0 + 3, P::kCounter0 + 4,
                         P::kCounter0 + 5, P::kCounter0 + 6, P::kCounter0 + 7, P::kCounter0 + 8, P::kCounter0 + 9,
                         P::kCounter0 + 10, P::kCounter0 + 11, P::kCounterAuto};
static_assert(P::kInputs == 12);

CPageGpio::CPageGpio(PageContext& context, const PageInfo& info)
    : CPageBase(context, info, PageDecl{.fields = PageFields(), .handlers = kHandlers, .kept = kKept})
{}


void CPageGpio::TakeReport(const RouteHit& hit)
{
    const std::string_view key = hit.target.key ? hit.target.key : "";
    const std::string_view text = hit.text;
    if (key == "$ITP") {
        // "$ITP<n> <type>": input n of the form, its type one character after the digits.
        const auto run = DigitsAt(text, 0, kMaxChannelDigits);
        if (!run || run->value >= kInputs || run->end + 1 > text.size()) return;
        const int id = kInputType[run->value];
        ApplyReport(*FindField(id), Decode::Number, text.substr(run->end + 1));
    } else if (key == "$OTP") {
        const auto n = ChannelAt(text, kOutputAt, kOutputs);
        if (!n || text.size() <= kFunctionAt) return;
        ApplyReport(*FindField(kOutputType[*n]), Decode::Number, text.substr(kFunctionAt));
    } else if (key == "*IO") {
        TakeStatusLine(text);
    } else {
        const int first = key == "$DINURG" ? kUrgent0 : key == "$DINSND" ? kSound0 : key == "$DINCNT" ? kCounter0 : 0;
        const auto n = ChannelAt(text, kFlagChannelAt, kFlagInputs);
        if (first == 0 || !n || text.size() <= kFlagValueAt) return;
        SetCheck(first + *n, text[kFlagValueAt] == '1');
    }
}

void CPageGpio::TakeStatusLine(std::string_view text)
{
    // "<kind>?<digits>?<state>": kind "I" or "O"; the state follows the digits' end by one.
    const char kind = At(text, 0);
    if (kind != 'I' && kind != 'O') return;
    const auto run = DigitsAt(text, kStatusDigitsAt, kMaxChannelDigits);
    if (!run || run->end + 1 >= text.size()) return;  // no channel, or no state after it
    const bool input = kind == 'I';
    if (run->value >= (input ? kInputs : kOutputs)) return;
    const int channel = static_cast<int>(run->value);
    const char state = text[run->end + 1];
    std::string line;
    if (input) {
        line = Printf("%d %s: %s", channel, TextOr(*this, "DINTYPES", "DIN_CHANNEL", "Input").c_str(),
                      state == '0' ? TextOr(*this, "DINTYPES", "DIN_CLOSE", "closed").c_str()
                                   : TextOr(*this, "DINTYPES", "DIN_OPEN", "open").c_str());
    } else {
        if (channel == 0) Value(kStatus).cells.push_back({std::string{}});  // a gap before the outputs
        line = Printf("%d %s: %s", channel, TextOr(*this, "DOUTTYPES", "DOUT_CHANNEL", "Output").c_str(),
                      state == '0' ? TextOr(*this, "DOUTTYPES", "DOUT_OPEN", "off").c_str()
                                   : TextOr(*this, "DOUTTYPES", "DOUT_CLOSE", "on").c_str());
    }
    auto& lines = Value(kStatus).cells;
    lines.push_back({line});
    if (lines.size() > kMaxStatusLines)
        lines.erase(lines.begin(), lines.end() - static_cast<std::ptrdiff_t>(kMaxStatusLines));
    NotifyChanged(kStatus);
}

}  // namespace rtu
