// The unit's automation commands: output links and interlocks, the event table, the timers,
// the wireless zones and the user commands.
#include <array>

#include "sim/core/SimCommandTable.h"

namespace rtu {
namespace {

using namespace simgroups;
using namespace simrules;


constexpr int kOutputMax = 7;            // interlocks: outputs 0-7 have an alarm source
constexpr int kAlarmSourceMax = 19;      // twenty alarm sources
constexpr std::uint8_t kLinkCodes = 8;   // "%IOOC": alarm and clear actions of outputs 0-3
constexpr int kLinkTypeMax = 6;          // link types 0-6
constexpr int kRuleMax = 23;             // event table rows
constexpr std::uint8_t kRuleDigits = 5;  // "%ILOCK<row>,<event>,<action>": at most five digits each
constexpr int kEventMax = 39;
constexpr int kRuleActionMax = 28;
constexpr int kClockMax = 5;      // clock timers
constexpr int kSpanTimerMax = 3;  // interval timers
constexpr int kWeeklyMax = 6;     // weekly timers
constexpr int kWeekdayMax = 6;
constexpr int kHourMax = 23;
constexpr int kMinuteMax = 59;
constexpr int kTimerActionMax = 44;  // machine timer actions
constexpr int kWeeklyActionMax = 34;
constexpr int kSpanMax = 65535;
constexpr int kZoneMax = 11;                // wireless zones
constexpr std::uint8_t kZoneDigits = 5;     // "%WINURG<zone>,…": the zone in decimal
constexpr int kZoneLinkMax = 4;             // outputs 0-3, 4: none
constexpr int kUserCmdMax = 5;              // user command pairs
constexpr std::uint8_t kUserCmdDigits = 2;  // "%U05…", "%Y05…"

using K = ESimValueKind;
using R = ESimRowForm;

constexpr SSimRow kZoneRow{.form = R::UpTo, .digits = kZoneDigits, .max = kZoneMax};

// "<keyword><timer digit><v1>,<v2>…": each value stored as written.
constexpr SSimRule Timer(std::string_view keyword, int timerMax, std::initializer_list<SSimField> values)
{
    return {.keyword = keyword, .group = kTimer, .row = {.form = R::Fixed, .max = timerMax}, .fields = Fields(values)};
}

// "<keyword><zone>,<value>" with the zone in decimal.
constexpr SSimRule Zone(std::string_view keyword, std::string_view key, int max)
{
    return Indexed(keyword, kGpio, kZoneRow, key, K::Digits, max, ",");
}

// "<keyword><zone in hex>": a switch of one zone.
constexpr SSimRule ZoneSwitch(std::string_view keyword, std::string_view key, int on)
{
    return {.keyword = keyword,
            .group = kGpio,
            .row = {.form = R::Hex, .max = kZoneMax},
            .fields = Fields({{.key = key, .kind = K::Constant, .max = on}})};
}

// clang-format off
constexpr std::array kRules{
    // Output links and interlocks
    SSimRule{.keyword = "IOOC", .group = kGpio,
             .fields = Fields({{.key = "$IOOC", .kind = K::Codes, .max = kLinkTypeMax, .length = kLinkCodes}})},
    Indexed("IOOA", kGpio, {.max = kOutputMax}, "$OAS#", K::Number, kAlarmSourceMax),
    Value("IOPO", kGpio, "$IOPO"),
    Value("INTERLOCKDISARM", kSys, "$INTERLOCKDISARM", K::Flag),
    Value("INTERLOCKURG", kSys, "$INTERLOCKURG", K::Flag),
    Value("RPLARMBTN", kGpio, "$RPLARM", K::Flag),
    // Event table: "%ILOCK<row>,<event>,<action>", reported as "$ILOCK<row> <event>,<action>"
    SSimRule{.keyword = "ILOCK", .group = kTimer, .row = {.form = R::UpTo, .digits = kRuleDigits, .max = kRuleMax},
             .after = ",",
             .fields = Fields({{.key = "$ILOCK#", .kind = K::Number, .max = kEventMax, .length = kRuleDigits},
                               {.kind = K::Number, .max = kRuleActionMax, .length = kRuleDigits, .join = true}})},
    // Timers
    Timer("MTIMER", kClockMax, {{.key = "$TIMERH#", .kind = K::Digits, .max = kHourMax},
                                {.key = "$TIMERM#", .kind = K::Digits, .max = kMinuteMax},
                                {.key = "$TIMERT#", .kind = K::Digits, .max = kTimerActionMax}}),
    Timer("MSPAN", kSpanTimerMax, {{.key = "$TSPANM#", .kind = K::Digits, .max = kSpanMax},
                                   {.key = "$TSPANT#", .kind = K::Digits, .max = kTimerActionMax}}),
    Timer("SSPAN", kSpanTimerMax, {{.key = "$TSSPANM#", .kind = K::Digits, .max = kSpanMax},
                                   {.key = "$TSSPANT#", .kind = K::Digits, .max = kTimerActionMax}}),
    Timer("MDATE", kWeeklyMax, {{.key = "$TDATEW#", .kind = K::Digits, .max = kWeekdayMax},
                                {.key = "$TDATEH#", .kind = K::Digits, .max = kHourMax},
                                {.key = "$TDATEM#", .kind = K::Digits, .max = kMinuteMax},
                                {.key = "$TDATET#", .kind = K::Digits, .max = kWeeklyActionMax}}),
    // Wireless zones
    ZoneSwitch("WSSNDOFF", "$WINSND#", 0),
    ZoneSwitch("WSSNDON", "$WINSND#", 1),
    ZoneSwitch("WSOFF", "$WINEND#", 0),
    ZoneSwitch("WSON", "$WINEND#", 1),
    Zone("WINURG", "$WINURG#", 1),
    Zone("WINVPC", "$WINVPC#", 1),
    Zone("WINZS", "$WINZS#", kSpanMax),
    Zone("WSLDO", "$WINLDO#", kZoneLinkMax),
    // User commands: "<two row digits><text>", one half of a pair each
    Indexed("U", kUserCmd, {.digits = kUserCmdDigits, .max = kUserCmdMax}, "$USERCMD#"),
    Indexed("Y", kUserCmd, {.digits = kUserCmdDigits, .max = kUserCmdMax}, "$SYSCMD#"),
};
// clang-format on

}  // namespace

std::span<const SSimRule> AutomationRules() { return kRules; }

}  // namespace rtu
