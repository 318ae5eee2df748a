#include "sim/core/SimRulesAutomation.h"

#include <string>

#include "sim/core/SimText.h"

namespace rtu {
namespace {

constexpr std::string_view kGpio = "DUMP_GPIO";
constexpr std::string_view kTimer = "DUMP_TIMER";
constexpr std::string_view kUserCmd = "DUMP_UCMD";

constexpr int kLinkCodes = 8;       // "%IOOC": alarm and clear actions of outputs 0-3
constexpr char kLinkTypeMax = '6';  // link types 0-6
constexpr int kRuleMax = 23;        // event table rows
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
constexpr int kZoneMax = 11;     // wireless zones
constexpr int kZoneLinkMax = 4;  // outputs 0-3, 4: none
constexpr int kUserCmdMax = 5;   // user command pairs
constexpr std::size_t kRowDigits = 2;  // "%U05…", "%Y05…"

std::optional<std::string> Number(std::string_view text, int max)
{
    return CSimCommandTable::NormaliseValue(ESimValueKind::Digits, text, max);
}

std::optional<int> Index(std::string_view text, int max)
{
    auto n = Number(text, max);
    if (!n) return std::nullopt;
    return std::stoi(*n);
}

bool Printable(std::string_view text)
{
    for (char c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
    return true;
}

using Out = std::optional<std::vector<SSimAssignment>>;

// "<timer digit><v1>,<v2>…": each value checked against its maximum, stored under key+letter+timer.
Out Timer(std::string_view args, std::string_view key, int timerMax, std::string_view letters,
          std::initializer_list<int> maxima)
{
    if (args.empty()) return std::nullopt;
    const auto timer = Index(args.substr(0, 1), timerMax);
    const auto parts = simtext::SplitCommas(args.substr(1));
    if (!timer || parts.size() != maxima.size()) return std::nullopt;
    std::vector<SSimAssignment> out;
    std::size_t i = 0;
    for (int max : maxima) {
        auto value = Number(parts[i], max);
        if (!value) return std::nullopt;
        out.push_back({std::string(key) + letters[i] + std::to_string(*timer), *value, kTimer});
        ++i;
    }
    return out;
}

// "<zone>,<value>" in decimal.
Out Zone(std::string_view args, std::string_view key, int max)
{
    const auto parts = simtext::SplitCommas(args);
    if (parts.size() != 2) return std::nullopt;
    const auto zone = Index(parts[0], kZoneMax);
    auto value = Number(parts[1], max);
    if (!zone || !value) return std::nullopt;
    return std::vector<SSimAssignment>{{std::string(key) + std::to_string(*zone), *value, kGpio}};
}

// "<zone in hex>": a switch of one zone.
Out ZoneSwitch(std::string_view args, std::string_view key, bool on)
{
    if (args.size() != 1) return std::nullopt;
    const char c = args[0];
    const int zone = simtext::IsDigit(c)      ? c - '0'
                     : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                     : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                              : -1;
    if (zone < 0 || zone > kZoneMax) return std::nullopt;
    return std::vector<SSimAssignment>{{std::string(key) + std::to_string(zone), on ? "1" : "0", kGpio}};
}

// "<two row digits><text>": one half of a user command pair.
Out UserPair(std::string_view args, std::string_view key)
{
    if (args.size() < kRowDigits) return std::nullopt;
    const auto row = Index(args.substr(0, kRowDigits), kUserCmdMax);
    const std::string_view text = args.substr(kRowDigits);
    if (!row || !Printable(text) || text.size() > CSimCommandTable::kMaxTextBytes) return std::nullopt;
    return std::vector<SSimAssignment>{{std::string(key) + std::to_string(*row), std::string(text), kUserCmd}};
}

Out LinkCodes(std::string_view args)
{
    if (args.size() != kLinkCodes) return std::nullopt;
    for (char c : args)
        if (c < '0' || c > kLinkTypeMax) return std::nullopt;
    return std::vector<SSimAssignment>{{"$IOOC", std::string(args), kGpio}};
}

Out Rule(std::string_view args)
{
    const auto parts = simtext::SplitCommas(args);
    if (parts.size() != 3) return std::nullopt;
    const auto row = Index(parts[0], kRuleMax);
    const auto event = Index(parts[1], kEventMax);
    const auto action = Index(parts[2], kRuleActionMax);
    if (!row || !event || !action) return std::nullopt;
    return std::vector<SSimAssignment>{
        {"$ILOCK" + std::to_string(*row), std::to_string(*event) + "," + std::to_string(*action), kTimer}};
}

}  // namespace

std::optional<std::vector<SSimAssignment>> ParseAutomationCommand(std::string_view command)
{
    struct Keyword {
        std::string_view word;
        Out (*parse)(std::string_view args);
    };
    // Longer keywords before their prefixes ("WSSNDOFF" before "WSOFF").
    static constexpr Keyword kKeywords[] = {
        {"IOOC", LinkCodes},
        {"ILOCK", Rule},
        {"MTIMER",
         [](std::string_view a) {
             return Timer(a, "$TIMER", kClockMax, "HMT", {kHourMax, kMinuteMax, kTimerActionMax});
         }},
        {"MSPAN",
         [](std::string_view a) {
             return Timer(a, "$TSPAN", kSpanTimerMax, "MT", {kSpanMax, kTimerActionMax});
         }},
        {"SSPAN",
         [](std::string_view a) {
             return Timer(a, "$TSSPAN", kSpanTimerMax, "MT", {kSpanMax, kTimerActionMax});
         }},
        {"MDATE",
         [](std::string_view a) {
             return Timer(a, "$TDATE", kWeeklyMax, "WHMT", {kWeekdayMax, kHourMax, kMinuteMax, kWeeklyActionMax});
         }},
        {"WSSNDOFF", [](std::string_view a) { return ZoneSwitch(a, "$WINSND", false); }},
        {"WSSNDON", [](std::string_view a) { return ZoneSwitch(a, "$WINSND", true); }},
        {"WSOFF", [](std::string_view a) { return ZoneSwitch(a, "$WINEND", false); }},
        {"WSON", [](std::string_view a) { return ZoneSwitch(a, "$WINEND", true); }},
        {"WINURG", [](std::string_view a) { return Zone(a, "$WINURG", 1); }},
        {"WINVPC", [](std::string_view a) { return Zone(a, "$WINVPC", 1); }},
        {"WINZS", [](std::string_view a) { return Zone(a, "$WINZS", kSpanMax); }},
        {"WSLDO", [](std::string_view a) { return Zone(a, "$WINLDO", kZoneLinkMax); }},
        {"U", [](std::string_view a) { return UserPair(a, "$USERCMD"); }},
        {"Y", [](std::string_view a) { return UserPair(a, "$SYSCMD"); }},
    };
    for (const Keyword& k : kKeywords)
        if (command.starts_with(k.word)) return k.parse(command.substr(k.word.size()));
    return std::nullopt;
}

}  // namespace rtu
