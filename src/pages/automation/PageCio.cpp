#include "pages/automation/PageCio.h"

#include <string>
#include <utility>
#include <vector>

#include "pages/framework/FieldBuilders.h"
#include "pages/framework/GenericPage.h"
#include "pages/framework/Printf.h"

namespace rtu {
namespace {

using P = CPageCio;

constexpr char kNoAction = 'N';  // "$IOOC": 'N' or 'n' stands for the last link type

std::vector<TextRef> LinkTypes()
{
    std::vector<TextRef> out;
    for (const char* key : {"LTYPE0", "LTYPE1", "LTYPE2", "LTYPE3", "LTYPE4", "LTYPE5", "LTYPEN"})
        out.push_back(Own(key));
    return out;
}

// The alarm sources; inputs and sensors are numbered in front of their text ("0 ", "1 " …).
std::vector<TextRef> AlarmSources()
{
    std::vector<TextRef> out{Own("ASOURCEN")};
    auto numbered = [&out](const char* key, int count) {
        for (int n = 0; n < count; ++n) out.push_back(TextRef{"", key, "", std::to_string(n) + " "});
    };
    numbered("ASOURCE_DIN", 4);
    numbered("ASOURCE_AIN", 4);
    for (const char* key : {"ASOURCE_ITEMP", "ASOURCE_POW", "ASOURCE_CALL", "ASOURCE_HUMI"}) out.push_back(Own(key));
    numbered("ASOURCE_ETEMP", 6);
    out.push_back(Own("ASOURCE_ARM"));
    return out;
}

// "%IOOC" and eight numbers: the alarm actions of outputs 0-3, then their clear actions.
bool WriteActions(const CPageBase& page, std::string& line)
{
    line = "%IOOC";
    for (int base : {P::kAlarmAction0, P::kClearAction0})
        for (int k = 0; k < P::kShownOutputs; ++k) line += std::to_string(page.ValueOf(base + k).sel);
    line += '\r';
    return true;
}

// "%IOOA<k><source>": no selection gives -1.
template <int Output> bool WriteSource(const CPageBase& page, std::string& line)
{
    line = Printf("%%IOOA%d%d\r", Output, page.ValueOf(P::kSource0 + Output).sel);
    return true;
}

constexpr ComposeFn kSourceWriters[P::kOutputs] = {WriteSource<0>, WriteSource<1>, WriteSource<2>, WriteSource<3>,
                                                   WriteSource<4>, WriteSource<5>, WriteSource<6>, WriteSource<7>};

// Save order: the actions, the eight sources, the pulse time, the two switches.
constexpr int kActionsOrder = 1;
constexpr int kSourceOrder = 2;
constexpr int kPulseOrder = kSourceOrder + P::kOutputs;

std::vector<FieldDecl> Fields()
{
    std::vector<FieldDecl> f;
    f.push_back({.id = P::kTitle, .kind = K::Label, .caption = Own("TITLE")});
    for (int c = 0; c < 4; ++c)
        f.push_back({.id = P::kHeader0 + c,
                     .kind = K::Label,
                     .caption = Own(("T" + std::to_string(c + 1)).c_str()),
                     .visible = false});  // column titles: each row names its output, each box its column
    const std::vector<TextRef> links = LinkTypes();
    const std::vector<TextRef> sources = AlarmSources();
    for (int k = 0; k < P::kOutputs; ++k) {
        const bool shown = k < P::kShownOutputs;
        const TextRef label = Own(("LAB" + std::to_string(k + 1)).c_str());
        f.push_back({.id = P::kRowLabel0 + k, .kind = K::Label, .caption = label, .visible = shown});
        // The actions when the alarm starts and when it clears; all eight go out in one line.
        constexpr std::pair<int, const char*> kActions[] = {{P::kAlarmAction0, "T2"}, {P::kClearAction0, "T3"}};
        for (const auto& [base, caption] : kActions) {
            if (!shown) break;
            const WriteDecl write = base == P::kAlarmAction0 && k == 0
                                        ? WriteDecl{.order = kActionsOrder, .compose = WriteActions}
                                        : WriteDecl{.partOf = P::kAlarmAction0};
            f.push_back({.id = base + k,
                         .kind = K::Combo,
                         .caption = Own(caption),
                         .captionId = P::kRowLabel0 + k,
                         .write = write,
                         .dump = dump::kGpio,
                         .items = links});
        }
        f.push_back({.id = P::kSource0 + k,
                     .kind = K::Combo,
                     .caption = Own("T4"),
                     .captionId = P::kRowLabel0 + k,
                     .visible = shown,
                     .write = {.order = kSourceOrder + k, .compose = kSourceWriters[k]},
                     .dump = dump::kGpio,
                     .items = sources});
    }
    // clang-format off
    f.push_back({.id = P::kPulse, .kind = K::Number, .caption = Own("PULSET"), .report = {"$IOPO", 6, D::Text},
                 .write = {.format = "%%IOPO%s\r", .order = kPulseOrder}, .dump = dump::kGpio,
                 .chars = CharRule::Digits, .minValue = 0, .maxValue = P::kPulseMax});
    // The switches that keep the interlocks (all, or those of 24-hour zones) working while disarmed.
    f.push_back({.id = P::kDisarm, .kind = K::Check, .caption = Own("DISARM"),
                 .report = {"$INTERLOCKDISARM", 17, D::Flag},
                 .write = {.format = "%%INTERLOCKDISARM%d\r", .order = kPulseOrder + 1}, .dump = dump::kSys});
    f.push_back({.id = P::kUrgentDisarm, .kind = K::Check, .caption = Own("URGDISARM"),
                 .report = {"$INTERLOCKURG", 14, D::Flag},
                 .write = {.format = "%%INTERLOCKURG%d\r", .order = kPulseOrder + 2}, .dump = dump::kSys});
    // clang-format on
    f.push_back(MakeButton(ctl::kReload, {}, "Reload"));
    f.push_back(MakeButton(ctl::kSave, Shared("Buttons", "Save")));
    return f;
}

// "$OAS<k> <source>": the output digit at the key's end, the source from two places on.
void TakeSource(CPageBase& page, const RouteHit& hit)
{
    const std::string_view text = hit.text;
    if (text.empty() || text[0] < '0' || text[0] >= '0' + P::kOutputs) return;
    const int n = text.size() > 2 ? LeadingNumber(text.substr(2)) : 0;
    page.SetSel(P::kSource0 + (text[0] - '0'), n >= 0 && n < P::kAlarmSources ? n : -1);
}

// "$IOOC <eight characters>": one per action box; '0'-'6' or 'N'/'n', anything else keeps the box.
void TakeActions(CPageBase& page, const RouteHit& hit)
{
    const std::string_view text = hit.text;
    for (int i = 0; i < 2 * P::kShownOutputs && static_cast<std::size_t>(i) < text.size(); ++i) {
        const char c = text[static_cast<std::size_t>(i)];
        int sel = -1;
        if (c >= '0' && c < '0' + P::kLinkTypes) sel = c - '0';
        else if (c == kNoAction || c == 'n') sel = P::kLinkTypes - 1;
        else continue;
        const int base = i < P::kShownOutputs ? P::kAlarmAction0 : P::kClearAction0;
        page.SetSel(base + i % P::kShownOutputs, sel);
    }
}

const HandlerDecl kHandlers[] = {
    {.number = 1, .keys = {"$OAS#"}, .fn = TakeSource},
    {.number = 2, .keys = {"$IOOC"}, .fn = TakeActions},
};

}  // namespace

std::unique_ptr<CPageBase> CPageCio::Make(PageContext& context, const PageInfo& info)
{
    return MakeGenericPage<Fields>(context, info, kHandlers, kWaitMs);
}

}  // namespace rtu
