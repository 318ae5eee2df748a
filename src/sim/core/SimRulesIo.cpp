#include "sim/core/SimRulesIo.h"

#include <algorithm>
#include <string>
#include <vector>

#include "sim/core/SimCommandTable.h"

namespace rtu {
namespace {

constexpr std::string_view kGpio = "DUMP_GPIO";
constexpr std::string_view kCounter = "DUMP_COUNTER";
constexpr std::string_view kAds = "DUMP_ADS";
constexpr int kParamMax = 65535;   // timers, delays, thresholds: 16-bit parameters
constexpr int kInputs = 4;         // digital inputs, outputs and analog channels of the unit
constexpr int kCounters = 2;       // pulse counters
constexpr int kTypeMax = 4;        // input types and output functions 0-4
constexpr int kAnalogTypeMax = 1;  // voltage or current
constexpr int kHourMax = 23;
constexpr int kMinuteMax = 59;
constexpr int kOutputMax = 3;        // interlocked outputs 0-3 (or none)
constexpr int kRangeFields = 6;      // values of "$AINEXT"
constexpr int kInterlockFields = 4;  // values of "$AINOOC"

using Kind = ESimValueKind;

// "<prefix>[<channel>]<suffix><value>" stores the value under `key` ("#": the channel) and,
// with a list key, as field `field` of that report (created only by `creates` rules).
struct Rule {
    std::string_view prefix;
    int channels;  // 0: no channel digit
    std::string_view suffix;
    std::string_view group;
    Kind kind;
    int max = 0;
    std::string_view key = {};
    std::string_view list = {};
    int field = -1;
    int fields = 0;
    bool creates = false;
};

// clang-format off
const Rule kRules[] = {
    // Digital inputs and outputs
    {"IOOR", 0, "", kGpio, Kind::Flag, 1, "$IOOR"},
    {"L1DEF", 0, "", kGpio, Kind::Flag, 1, "$L1DEF"},
    {"IOHT", 0, "", kGpio, Kind::Number, kParamMax, "$IOHT"},
    // Input delays: "%IOAS<row>,<minutes>"
    {"IOAS", kInputs, ",", kGpio, Kind::Number, kParamMax, "$DINAS#"},
    {"IOLS", kInputs, ",", kGpio, Kind::Number, kParamMax, "$DINLS#"},
    {"DINDLY", kInputs, ",", kGpio, Kind::Number, kParamMax, "$DINDLY#"},
    // Counter messages
    {"DINCSMST", 0, "", kGpio, Kind::Text, 0, "$DINCTSMT"},
    {"DINCSNAME", 0, "", kGpio, Kind::Text, 0, "$DINCTSNM"},
    {"DINCUNITV", kInputs, ",", kGpio, Kind::Decimal, 0, "$DINCTUNTV#"},
    {"DINCUNITM", kInputs, ",", kGpio, Kind::Decimal, 0, "$DINCTMAXV#"},
    // Pulse counters
    {"IOCCT", kCounters, ",", kCounter, Kind::Number, kParamMax, "$COUNTER_CT#"},
    {"IOCNAT=", 0, "", kCounter, Kind::Flag, 1, "$COUNTER_AT"},
    {"IOCU", kCounters, ",", kCounter, Kind::Decimal, 0, "$COUNTER_UN#"},
    {"IOCUT", kCounters, ",", kCounter, Kind::Number, kParamMax, "$COUNTER_UT#"},
    {"IOCRPH", kCounters, ",", kCounter, Kind::Number, kHourMax, "$COUNTER_RPH#"},
    {"IOCRPM", kCounters, ",", kCounter, Kind::Number, kMinuteMax, "$COUNTER_RPM#"},
    {"IOCST", kCounters, ",", kCounter, Kind::Number, kParamMax, "$COUNTER_UST#"},
    // Analog inputs; the first alarm range is also the extended range 1
    {"AIN", kInputs, "H", kAds, Kind::Decimal, 0, "$ADINH#", "$AINEXT#", 0, kRangeFields},
    {"AIN", kInputs, "L", kAds, Kind::Decimal, 0, "$ADINL#", "$AINEXT#", 1, kRangeFields},
    {"AIN", kInputs, "OS", kAds, Kind::Decimal, 0, "$ADINOT#", "$AINEXT#", 2, kRangeFields},
    {"AIN", kInputs, "HS", kAds, Kind::Decimal, 0, {}, "$AINEXT#", 3, kRangeFields, true},
    {"AIN", kInputs, "LS", kAds, Kind::Decimal, 0, {}, "$AINEXT#", 4, kRangeFields, true},
    {"AIN", kInputs, "LAGS", kAds, Kind::Decimal, 0, {}, "$AINEXT#", 5, kRangeFields, true},
    {"AIN", kInputs, "HOC1", kAds, Kind::Output, kOutputMax, {}, "$AINOOC#", 0, kInterlockFields, true},
    {"AIN", kInputs, "LOC1", kAds, Kind::Output, kOutputMax, {}, "$AINOOC#", 1, kInterlockFields, true},
    {"AIN", kInputs, "HOC2", kAds, Kind::Output, kOutputMax, {}, "$AINOOC#", 2, kInterlockFields, true},
    {"AIN", kInputs, "LOC2", kAds, Kind::Output, kOutputMax, {}, "$AINOOC#", 3, kInterlockFields, true},
    {"AIN", kInputs, "SC", kAds, Kind::Decimal, 0, "$ASCALE#"},
    {"AIN", kInputs, "ZE", kAds, Kind::Decimal, 0, "$ADZERO#"},
    {"AIN", kInputs, "ST", kAds, Kind::Decimal, 0, "$ADINST#"},
    {"AIN", kInputs, "RH", kAds, Kind::Decimal, 0, "$ADINRH#"},
    {"AIN", kInputs, "RL", kAds, Kind::Decimal, 0, "$ADINRL#"},
    {"AINAS", 0, "", kAds, Kind::Number, kParamMax, "$AINAS"},
    {"AINLS", 0, "", kAds, Kind::Number, kParamMax, "$AINLS"},
    {"AINDLY", 0, "", kAds, Kind::Number, kParamMax, "$AINDLY"},
    {"AINUPT", 0, "", kAds, Kind::Number, kParamMax, "$AINUPT"},
    {"AINUPS", 0, "", kAds, Kind::Number, kParamMax, "$AINUPS"},
    {"AINUPE", 0, "", kAds, Kind::Number, kParamMax, "$AINUPE"},
};
// clang-format on

// One digit per entry: "%DINURG1010", "%IOTP12340123" (inputs, then outputs).
struct DigitsRule {
    std::string_view keyword;
    std::string_view group;
    int max;
    std::string_view key;
    std::string_view key2 = {};  // the second half of the digits, when set
};
const DigitsRule kDigitRules[] = {
    {"DINURG", kGpio, 1, "$DINURG#"}, {"DINSND", kGpio, 1, "$DINSND#"}, {"IOTP", kGpio, kTypeMax, "$ITP#", "$OTP#"},
    {"AINURG", kAds, 1, "$AINURG#"},  {"AINSND", kAds, 1, "$AINSND#"},  {"AINTP", kAds, kAnalogTypeMax, "$AINTPE#"},
};
constexpr std::string_view kEnableKey = "*ADC_EN:#";  // "*ADC_EN:<channel> <0|1>"

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Sets one field of a report that carries a comma-separated list.
bool SetListField(CSimImage& image, const Rule& rule, int channel, const std::string& value)
{
    const std::string key = CSimCommandTable::ExpandKey(rule.list, channel, 1);
    const auto old = image.Value(key);
    if (!old && !rule.creates) return true;  // the unit keeps no extended range for it
    std::vector<std::string> fields;
    std::string_view rest = old ? std::string_view(*old) : std::string_view{};
    for (std::size_t comma; old && (comma = rest.find(',')) != std::string_view::npos; rest.remove_prefix(comma + 1))
        fields.emplace_back(rest.substr(0, comma));
    if (old) fields.emplace_back(rest);
    fields.resize(static_cast<std::size_t>(rule.fields));
    fields[static_cast<std::size_t>(rule.field)] = value;
    std::string joined;
    for (std::size_t i = 0; i < fields.size(); ++i) joined += (i ? "," : "") + fields[i];
    return image.Set(key, joined, rule.group);
}

std::optional<bool> ApplyRule(CSimImage& image, const Rule& rule, std::string_view command)
{
    if (!command.starts_with(rule.prefix)) return std::nullopt;
    std::string_view rest = command.substr(rule.prefix.size());
    int channel = 0;
    if (rule.channels > 0) {
        if (rest.empty() || !IsDigit(rest[0])) return std::nullopt;
        channel = rest[0] - '0';
        rest.remove_prefix(1);
    }
    if (!rest.starts_with(rule.suffix)) return std::nullopt;
    if (channel >= std::max(rule.channels, 1)) return false;
    const auto value = CSimCommandTable::NormaliseValue(rule.kind, rest.substr(rule.suffix.size()), rule.max);
    if (!value) return false;
    bool stored = true;
    if (!rule.key.empty()) stored = image.Set(CSimCommandTable::ExpandKey(rule.key, channel, 1), *value, rule.group);
    if (!rule.list.empty()) stored = SetListField(image, rule, channel, *value) && stored;
    return stored;
}

std::optional<bool> ApplyDigits(CSimImage& image, const DigitsRule& rule, std::string_view args)
{
    // "%AINTP<channel>,<type>" sets one channel.
    if (rule.keyword == "AINTP" && args.size() == 3 && args[1] == ',') {
        if (!IsDigit(args[0]) || args[0] - '0' >= kInputs || !IsDigit(args[2]) || args[2] - '0' > rule.max)
            return false;
        return image.Set(CSimCommandTable::ExpandKey(rule.key, args[0] - '0', 1), args.substr(2, 1), rule.group);
    }
    const std::size_t count = rule.key2.empty() ? kInputs : 2 * kInputs;
    if (args.size() != count) return false;
    for (char c : args)
        if (!IsDigit(c) || c - '0' > rule.max) return false;  // "-1" of a missing selection too
    bool stored = true;
    for (std::size_t i = 0; i < count; ++i) {
        const bool second = i >= kInputs;
        const std::string key =
            CSimCommandTable::ExpandKey(second ? rule.key2 : rule.key, static_cast<int>(i % kInputs), 1);
        stored = image.Set(key, args.substr(i, 1), rule.group) && stored;
    }
    return stored;
}

// "%AINON0123" switches the named channels on, "%AINOFF<n>" one channel off.
std::optional<bool> ApplyEnable(CSimImage& image, std::string_view command)
{
    constexpr std::string_view kOn = "AINON", kOff = "AINOFF";
    const bool on = command.starts_with(kOn);
    if (!on && !command.starts_with(kOff)) return std::nullopt;
    const std::string_view channels = command.substr(on ? kOn.size() : kOff.size());
    if (channels.empty() || (!on && channels.size() != 1)) return false;
    for (char c : channels)
        if (!IsDigit(c) || c - '0' >= kInputs) return false;
    bool stored = true;
    for (char c : channels)
        stored = image.Set(CSimCommandTable::ExpandKey(kEnableKey, c - '0', 1), on ? "1" : "0", kAds) && stored;
    return stored;
}

}  // namespace

std::optional<bool> CSimIoRules::Execute(CSimImage& image, std::string_view command)
{
    if (auto done = ApplyEnable(image, command)) return done;
    for (const DigitsRule& rule : kDigitRules)
        if (command.starts_with(rule.keyword) &&
            (command.size() == rule.keyword.size() || IsDigit(command[rule.keyword.size()]) ||
             command[rule.keyword.size()] == '-'))
            return ApplyDigits(image, rule, command.substr(rule.keyword.size()));
    // The longest keyword wins: "%AIN0HOC1" before "%AIN0HS" before "%AIN0H", "%IOCUT" before "%IOCU".
    static const std::vector<const Rule*> byLength = [] {
        std::vector<const Rule*> rules;
        for (const Rule& r : kRules) rules.push_back(&r);
        std::stable_sort(rules.begin(), rules.end(), [](const Rule* a, const Rule* b) {
            return a->prefix.size() + a->suffix.size() > b->prefix.size() + b->suffix.size();
        });
        return rules;
    }();
    for (const Rule* rule : byLength)
        if (auto done = ApplyRule(image, *rule, command)) return done;
    return std::nullopt;
}

}  // namespace rtu
