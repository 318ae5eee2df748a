// The unit's side of the digital I/O, pulse counter and analog commands: inputs and outputs,
// input delays, counters, analog limits, calibration and the extended analog ranges. Some of
// these commands change one item of a report that carries several values ("$AINEXT",
// "$AINOOC").
#include <array>

#include "sim/core/SimCommandTable.h"

namespace rtu {
namespace {

using namespace simgroups;
using namespace simrules;

constexpr int kParamMax = 65535;   // timers, delays, thresholds: 16-bit parameters
constexpr int kChannelMax = 3;     // digital inputs, outputs and analog channels 0-3
constexpr int kCounterMax = 1;     // pulse counters 0-1
constexpr int kTypeMax = 4;        // input types and output functions 0-4
constexpr int kAnalogTypeMax = 1;  // voltage or current
constexpr int kHourMax = 23;
constexpr int kMinuteMax = 59;
constexpr int kOutputMax = 3;                // interlocked outputs 0-3 (or none)
constexpr std::uint8_t kRangeItems = 6;      // values of "$AINEXT"
constexpr std::uint8_t kInterlockItems = 4;  // values of "$AINOOC"

using K = ESimValueKind;
using R = ESimRowForm;

constexpr SSimRow kInputsRow{.form = R::Fixed, .max = kChannelMax};
constexpr SSimRow kCountersRow{.form = R::Fixed, .max = kCounterMax};
constexpr SSimRow kEachChannel{.form = R::Each, .max = kChannelMax};

// "%AIN<channel><after><value>": one setting of an analog channel, also kept as an item of
// the channel's extended ranges or interlocks (that report made by `creates` rules only).
constexpr SSimRule Analog(std::string_view after, std::string_view key, ESimValueKind kind = K::Decimal, int max = 0,
                          std::string_view list = {}, std::uint8_t item = 0, std::uint8_t items = 0,
                          bool creates = false)
{
    return {
        .keyword = "AIN",
        .group = kAds,
        .row = kInputsRow,
        .after = after,
        .fields = Fields(
            {{.key = key, .kind = kind, .max = max, .list = list, .item = item, .items = items, .creates = creates}})};
}

// One digit per channel: "%DINURG1010", "%IOTP12340123" (inputs, then outputs).
constexpr SSimRule EachChannel(std::string_view keyword, std::string_view group, std::string_view key, int max,
                               std::string_view key2 = {})
{
    return {.keyword = keyword,
            .group = group,
            .row = kEachChannel,
            .fields = key2.empty() ? Fields({{.key = key, .kind = K::Number, .max = max}})
                                   : Fields({{.key = key, .kind = K::Number, .max = max},
                                             {.key = key2, .kind = K::Number, .max = max}})};
}

// "%AINTP<channel>,<type>" sets one channel.
constexpr SSimRule kOneChannelType{
    .keyword = "AINTP",
    .group = kAds,
    .row = kInputsRow,
    .after = ",",
    .fields = Fields({{.key = "$AINTPE#", .kind = K::Codes, .max = kAnalogTypeMax, .length = 1}})};
constexpr SSimRule kAllChannelTypes = [] {
    SSimRule rule = EachChannel("AINTP", kAds, "$AINTPE#", kAnalogTypeMax);
    rule.otherwise = &kOneChannelType;
    return rule;
}();

constexpr std::string_view kEnableKey = "*ADC_EN:#";  // "*ADC_EN:<channel> <0|1>"

// clang-format off
constexpr std::array kRules{
    // Digital inputs and outputs
    Value("IOOR", kGpio, "$IOOR", K::Flag),
    Value("L1DEF", kGpio, "$L1DEF", K::Flag),
    Value("IOHT", kGpio, "$IOHT", K::Number, kParamMax),
    // Input delays: "%IOAS<row>,<minutes>"
    Indexed("IOAS", kGpio, kInputsRow, "$DINAS#", K::Number, kParamMax, ","),
    Indexed("IOLS", kGpio, kInputsRow, "$DINLS#", K::Number, kParamMax, ","),
    Indexed("DINDLY", kGpio, kInputsRow, "$DINDLY#", K::Number, kParamMax, ","),
    // Counter messages
    Value("DINCSMST", kGpio, "$DINCTSMT"),
    Value("DINCSNAME", kGpio, "$DINCTSNM"),
    Indexed("DINCUNITV", kGpio, kInputsRow, "$DINCTUNTV#", K::Decimal, 0, ","),
    Indexed("DINCUNITM", kGpio, kInputsRow, "$DINCTMAXV#", K::Decimal, 0, ","),
    // Pulse counters
    Indexed("IOCCT", kCounter, kCountersRow, "$COUNTER_CT#", K::Number, kParamMax, ","),
    Value("IOCNAT=", kCounter, "$COUNTER_AT", K::Flag),
    Indexed("IOCU", kCounter, kCountersRow, "$COUNTER_UN#", K::Decimal, 0, ","),
    Indexed("IOCUT", kCounter, kCountersRow, "$COUNTER_UT#", K::Number, kParamMax, ","),
    Indexed("IOCRPH", kCounter, kCountersRow, "$COUNTER_RPH#", K::Number, kHourMax, ","),
    Indexed("IOCRPM", kCounter, kCountersRow, "$COUNTER_RPM#", K::Number, kMinuteMax, ","),
    Indexed("IOCST", kCounter, kCountersRow, "$COUNTER_UST#", K::Number, kParamMax, ","),
    // Analog inputs; the first alarm range is also the extended range 1
    Analog("H", "$ADINH#", K::Decimal, 0, "$AINEXT#", 0, kRangeItems),
    Analog("L", "$ADINL#", K::Decimal, 0, "$AINEXT#", 1, kRangeItems),
    Analog("OS", "$ADINOT#", K::Decimal, 0, "$AINEXT#", 2, kRangeItems),
    Analog("HS", {}, K::Decimal, 0, "$AINEXT#", 3, kRangeItems, true),
    Analog("LS", {}, K::Decimal, 0, "$AINEXT#", 4, kRangeItems, true),
    Analog("LAGS", {}, K::Decimal, 0, "$AINEXT#", 5, kRangeItems, true),
    Analog("HOC1", {}, K::Output, kOutputMax, "$AINOOC#", 0, kInterlockItems, true),
    Analog("LOC1", {}, K::Output, kOutputMax, "$AINOOC#", 1, kInterlockItems, true),
    Analog("HOC2", {}, K::Output, kOutputMax, "$AINOOC#", 2, kInterlockItems, true),
    Analog("LOC2", {}, K::Output, kOutputMax, "$AINOOC#", 3, kInterlockItems, true),
    Analog("SC", "$ASCALE#"),
    Analog("ZE", "$ADZERO#"),
    Analog("ST", "$ADINST#"),
    Analog("RH", "$ADINRH#"),
    Analog("RL", "$ADINRL#"),
    Value("AINAS", kAds, "$AINAS", K::Number, kParamMax),
    Value("AINLS", kAds, "$AINLS", K::Number, kParamMax),
    Value("AINDLY", kAds, "$AINDLY", K::Number, kParamMax),
    Value("AINUPT", kAds, "$AINUPT", K::Number, kParamMax),
    Value("AINUPS", kAds, "$AINUPS", K::Number, kParamMax),
    Value("AINUPE", kAds, "$AINUPE", K::Number, kParamMax),
    // One digit per channel
    EachChannel("DINURG", kGpio, "$DINURG#", 1),
    EachChannel("DINSND", kGpio, "$DINSND#", 1),
    EachChannel("IOTP", kGpio, "$ITP#", kTypeMax, "$OTP#"),
    EachChannel("AINURG", kAds, "$AINURG#", 1),
    EachChannel("AINSND", kAds, "$AINSND#", 1),
    kAllChannelTypes,
    // "%AINON0123" switches the named channels on, "%AINOFF<n>" one channel off.
    SSimRule{.keyword = "AINON", .group = kAds, .row = {.form = R::List, .max = kChannelMax},
             .fields = Fields({{.key = kEnableKey, .kind = K::Constant, .max = 1}})},
    SSimRule{.keyword = "AINOFF", .group = kAds, .row = kInputsRow,
             .fields = Fields({{.key = kEnableKey, .kind = K::Constant, .max = 0}})},
};
// clang-format on

}  // namespace

std::span<const SSimRule> IoRules() { return kRules; }

}  // namespace rtu
