#include "sim/core/SimSensors.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>

namespace rtu {

namespace {

constexpr int kFlagMax = 1;
constexpr int kOutputMax = 3;        // outputs 0-3
constexpr int kOutputOrNcMax = 4;    // … or 4, not connected
constexpr int kVideoChannelMax = 2;  // channel 1 or 2; 0 none
constexpr std::string_view kSys = "DUMP_SYS";
constexpr std::string_view kGpio = "DUMP_GPIO";
constexpr std::string_view kDs1 = CSimSensors::kDs1Group;
constexpr std::string_view kTmp = "DUMP_TMP";
constexpr std::string_view kHum = "DUMP_HUM";
constexpr std::string_view kGSensor = "DUMP_GSENSOR";
constexpr std::string_view kGray = "DUMP_GRAY";

using S = ESimArgShape;
using K = ESimValueKind;

// The sensor pages' commands that fit the common rule shapes.
constexpr std::array kRules{
    // External sensors: the settings common to all sensors
    SSimWriteRule{"ETEMPUT", S::Value, K::Text, kDs1, "$EXTEMPUT"},
    SSimWriteRule{"ETEMPGT", S::Value, K::Text, kDs1, "$EXTEMPGT"},
    SSimWriteRule{"ETEMPSTEP", S::Value, K::Text, kDs1, "$EXTEMPST"},
    SSimWriteRule{"ETEMPSS", S::Value, K::Text, kDs1, "$EXTEMPSS"},
    SSimWriteRule{"ETEMPUPS", S::Value, K::Text, kDs1, "$EXTEMPUS"},
    SSimWriteRule{"ETEMPUPE", S::Value, K::Text, kDs1, "$EXTEMPUE"},
    // Internal temperature
    SSimWriteRule{"TMPH", S::Value, K::Text, kTmp, "$TMPH"},
    SSimWriteRule{"TMPL", S::Value, K::Text, kTmp, "$TMPL"},
    SSimWriteRule{"TMPB", S::Value, K::Text, kTmp, "$TMPB"},
    SSimWriteRule{"TMPSMS", S::Value, K::Flag, kTmp, "$TMPSMS"},
    SSimWriteRule{"TMPSND", S::Value, K::Flag, kTmp, "$TMPSND"},
    SSimWriteRule{"TMPAS", S::Value, K::Text, kTmp, "$TMPAS"},
    SSimWriteRule{"TMPRS", S::Value, K::Text, kTmp, "$TMPRS"},
    SSimWriteRule{"TMPDLY", S::Value, K::Text, kTmp, "$TMPDLY"},
    SSimWriteRule{"TMPURG", S::Value, K::Flag, kTmp, "$TMPURG"},
    SSimWriteRule{"TMPOS", S::Value, K::Text, kTmp, "$TMPOS"},
    SSimWriteRule{"TMPUPS", S::Value, K::Text, kTmp, "$TMPUPS"},
    SSimWriteRule{"TMPIH", S::Value, K::Number, kTmp, "$TMPIH", {}, 1, 1, 0, 0, 1, kOutputMax},
    SSimWriteRule{"TMPIL", S::Value, K::Number, kTmp, "$TMPIL", {}, 1, 1, 0, 0, 1, kOutputMax},
    // Internal humidity
    SSimWriteRule{"HUMB", S::Value, K::Text, kHum, "$HUMB"},
    SSimWriteRule{"HUMH", S::Value, K::Text, kHum, "$HUMH"},
    SSimWriteRule{"HUML", S::Value, K::Text, kHum, "$HUML"},
    SSimWriteRule{"HUMAS", S::Value, K::Text, kHum, "$HUMAS"},
    SSimWriteRule{"HUMRS", S::Value, K::Text, kHum, "$HUMRS"},
    SSimWriteRule{"HUMDLY", S::Value, K::Text, kHum, "$HUMDLY"},
    SSimWriteRule{"HUMOS", S::Value, K::Text, kHum, "$HUMOS"},
    SSimWriteRule{"HUMEN", S::Value, K::Flag, kHum, "$HUMEN"},
    SSimWriteRule{"HUMSND", S::Value, K::Flag, kHum, "$HUMSND"},
    SSimWriteRule{"HUMURG", S::Value, K::Flag, kHum, "$HUMURG"},
    SSimWriteRule{"HUMUPS", S::Value, K::Text, kHum, "$HUMUPS"},
    SSimWriteRule{"HUMIH", S::Value, K::Number, kHum, "$HUMIH", {}, 1, 1, 0, 0, 1, kOutputOrNcMax},
    SSimWriteRule{"HUMIL", S::Value, K::Number, kHum, "$HUMIL", {}, 1, 1, 0, 0, 1, kOutputOrNcMax},
    // Buzzer and battery
    SSimWriteRule{"BUZEN", S::Value, K::Flag, kSys, "$IBUZ"},
    SSimWriteRule{"BUZT", S::Value, K::Text, kSys, "$BUZZERT"},
    SSimWriteRule{"POWDLY", S::Value, K::Text, kGpio, "$POWDLY"},
    SSimWriteRule{"BATEN", S::Value, K::Flag, kGpio, "$BATEN"},
    SSimWriteRule{"POWLS", S::Value, K::Text, kGpio, "$POWLS"},
    // Motion sensor: recording is written as "DVR" and reported as "VCR"
    SSimWriteRule{"GSENSORVCH", S::Value, K::Number, kGSensor, "$GSENSORVCH", {}, 1, 1, 0, 0, 1, kVideoChannelMax},
    SSimWriteRule{"GSENSORVPC", S::Value, K::Flag, kGSensor, "$GSENSORVPC"},
    SSimWriteRule{"GSENSORDVR", S::Value, K::Flag, kGSensor, "$GSENSORVCR"},
    SSimWriteRule{"GSENSORMIN", S::Value, K::Text, kGSensor, "$GSENSORMIN"},
    SSimWriteRule{"GSENSORSTEP", S::Value, K::Text, kGSensor, "$GSENSORSTEP"},
    // Gray-code input
    SSimWriteRule{"GRAYRANGE", S::CommaPair, K::Text, kGray, "$GRAYL", "$GRAYH"},
    SSimWriteRule{"GRAYSTEP", S::Value, K::Text, kGray, "$GRAYSTEP"},
    SSimWriteRule{"GRAYOFFSET", S::Value, K::Text, kGray, "$GRAYADJ"},
    SSimWriteRule{"GRAYBITS", S::Value, K::Text, kGray, "$GRAYBITS"},
    SSimWriteRule{"GRAYACCS", S::Value, K::Text, kGray, "$GRAYACCS"},
    SSimWriteRule{"GRAYTIMER", S::Value, K::Text, kGray, "$GRAYTIMER"},
    SSimWriteRule{"GRAYDETT", S::Value, K::Text, kGray, "$GRAYDETT"},
    SSimWriteRule{"GRAYEVENT", S::CommaPair, K::Text, kGray, "$GRAYEVENTCNT", "$GRAYEVENTMIN"},
};

// An external sensor's stored fields: the reading (never written), then the settings in the
// order of its report. The image keeps each as "$ETEMP<field><sensor>".
struct SensorField {
    std::string_view name;
    bool flag;
};
constexpr std::array<SensorField, 11> kSensorFields{{{"RD", false},
                                                     {"H", false},
                                                     {"L", false},
                                                     {"B", false},
                                                     {"OS", false},
                                                     {"AS", false},
                                                     {"RS", false},
                                                     {"DLY", false},
                                                     {"URG", true},
                                                     {"SND", true},
                                                     {"EN", true}}};
constexpr std::size_t kReadingField = 0;
constexpr std::string_view kSensorKey = "$ETEMP";
constexpr std::string_view kSensorCommand = "ETEMP";

// "$ETEMP<field><sensor>": the field index and sensor, when the key is one.
std::optional<std::pair<std::size_t, int>> SensorKey(std::string_view key)
{
    if (!key.starts_with(kSensorKey) || key.size() < kSensorKey.size() + 2) return std::nullopt;
    const std::string_view rest = key.substr(kSensorKey.size());
    const int sensor = rest.back() - '0';
    if (sensor < 0 || sensor >= CSimSensors::kSensors) return std::nullopt;
    const std::string_view name = rest.substr(0, rest.size() - 1);
    for (std::size_t i = 0; i < kSensorFields.size(); ++i)
        if (kSensorFields[i].name == name) return std::pair{i, sensor};
    return std::nullopt;
}

// "%ETEMP<field><sensor>=<value>": one setting of one sensor.
std::optional<std::vector<SSimAssignment>> ParseSensorSetting(std::string_view command)
{
    if (!command.starts_with(kSensorCommand)) return std::nullopt;
    const std::size_t eq = command.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    const std::string key = "$" + std::string(command.substr(0, eq));
    const auto field = SensorKey(key);
    if (!field || field->first == kReadingField) return std::nullopt;
    const std::string_view value = command.substr(eq + 1);
    // A comma would split the sensor's report line.
    if (value.find(',') != std::string_view::npos) return std::nullopt;
    const K kind = kSensorFields[field->first].flag ? K::Flag : K::Text;
    auto stored = CSimCommandTable::NormaliseValue(kind, value, kFlagMax);
    if (!stored) return std::nullopt;
    return std::vector<SSimAssignment>{{key, std::move(*stored), kDs1}};
}

// "%TMPON" / "%TMPOFF": the alarm switch, reported as "*TMP100_EN".
std::optional<std::vector<SSimAssignment>> ParseSwitch(std::string_view command)
{
    if (command == "TMPON") return std::vector<SSimAssignment>{{"*TMP100_EN", "1", kTmp}};
    if (command == "TMPOFF") return std::vector<SSimAssignment>{{"*TMP100_EN", "0", kTmp}};
    return std::nullopt;
}

}  // namespace

std::optional<std::vector<SSimAssignment>> CSimSensors::Parse(std::string_view command)
{
    if (auto a = ParseSwitch(command)) return a;
    if (auto a = ParseSensorSetting(command)) return a;
    // Longer keywords first, so "%TMPH" is not taken for a shorter one.
    static const std::vector<const SSimWriteRule*> byLength = [] {
        std::vector<const SSimWriteRule*> rules;
        for (const auto& rule : kRules) rules.push_back(&rule);
        std::stable_sort(rules.begin(), rules.end(),
                         [](const auto* a, const auto* b) { return a->keyword.size() > b->keyword.size(); });
        return rules;
    }();
    for (const SSimWriteRule* rule : byLength) {
        if (!command.starts_with(rule->keyword)) continue;
        if (auto a = CSimCommandTable::Apply(*rule, command.substr(rule->keyword.size()))) return a;
    }
    return std::nullopt;
}

std::vector<std::string> CSimSensors::Present(std::vector<std::string> lines)
{
    std::map<int, std::array<std::string, kSensorFields.size()>> sensors;
    std::vector<std::string> out;
    for (std::string& line : lines) {
        const std::string_view key = CSimImage::KeyOf(line);
        const auto field = SensorKey(key);
        if (!field) {
            out.push_back(std::move(line));
            continue;
        }
        const std::size_t at = key.size() + 1;
        sensors[field->second][field->first] = at < line.size() ? line.substr(at) : std::string();
    }
    for (const auto& [sensor, fields] : sensors) {
        std::string line = std::string(kSensorKey) + std::to_string(sensor) + " ";
        for (std::size_t i = 0; i < fields.size(); ++i) line += (i ? "," : "") + fields[i];
        out.push_back(std::move(line));
    }
    return out;
}

}  // namespace rtu
