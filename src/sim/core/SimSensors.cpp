#include "sim/core/SimSensors.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>

#include "sim/core/SimCommandTable.h"

namespace rtu {

namespace {

using namespace simgroups;
using namespace simrules;

constexpr int kFlagMax = 1;
constexpr int kOutputMax = 3;        // outputs 0-3
constexpr int kOutputOrNcMax = 4;    // … or 4, not connected
constexpr int kVideoChannelMax = 2;  // channel 1 or 2; 0 none

using K = ESimValueKind;

// An external sensor's stored fields: the reading (never written), then the settings in the
// order of its report. The image keeps each as "$ETEMP<field><sensor>".
constexpr std::array<std::string_view, 11> kSensorFields{"RD", "H",   "L",   "B",   "OS", "AS",
                                                         "RS", "DLY", "URG", "SND", "EN"};
constexpr std::string_view kSensorKey = "$ETEMP";

// "$ETEMP<field><sensor>": the field index and sensor, when the key is one.
std::optional<std::pair<std::size_t, int>> SensorKey(std::string_view key)
{
    if (!key.starts_with(kSensorKey) || key.size() < kSensorKey.size() + 2) return std::nullopt;
    const std::string_view rest = key.substr(kSensorKey.size());
    const int sensor = rest.back() - '0';
    if (sensor < 0 || sensor >= CSimSensors::kSensors) return std::nullopt;
    const std::string_view name = rest.substr(0, rest.size() - 1);
    for (std::size_t i = 0; i < kSensorFields.size(); ++i)
        if (kSensorFields[i] == name) return std::pair{i, sensor};
    return std::nullopt;
}

// "%ETEMP<field><sensor>=<value>": one setting of one sensor. A comma would split the
// sensor's report line; the reading is measured, never written.
constexpr SSimRule Setting(std::string_view keyword, std::string_view key, ESimValueKind kind = K::Item)
{
    return Indexed(keyword, kDs1, {.max = CSimSensors::kSensors - 1}, key, kind, kFlagMax, "=");
}

// clang-format off
constexpr std::array kRules{
    // External sensors: the settings common to all sensors
    Value("ETEMPUT", kDs1, "$EXTEMPUT"),
    Value("ETEMPGT", kDs1, "$EXTEMPGT"),
    Value("ETEMPSTEP", kDs1, "$EXTEMPST"),
    Value("ETEMPSS", kDs1, "$EXTEMPSS"),
    Value("ETEMPUPS", kDs1, "$EXTEMPUS"),
    Value("ETEMPUPE", kDs1, "$EXTEMPUE"),
    // Internal temperature
    Value("TMPH", kTmp, "$TMPH"),
    Value("TMPL", kTmp, "$TMPL"),
    Value("TMPB", kTmp, "$TMPB"),
    Value("TMPSMS", kTmp, "$TMPSMS", K::Flag),
    Value("TMPSND", kTmp, "$TMPSND", K::Flag),
    Value("TMPAS", kTmp, "$TMPAS"),
    Value("TMPRS", kTmp, "$TMPRS"),
    Value("TMPDLY", kTmp, "$TMPDLY"),
    Value("TMPURG", kTmp, "$TMPURG", K::Flag),
    Value("TMPOS", kTmp, "$TMPOS"),
    Value("TMPUPS", kTmp, "$TMPUPS"),
    Value("TMPIH", kTmp, "$TMPIH", K::Number, kOutputMax),
    Value("TMPIL", kTmp, "$TMPIL", K::Number, kOutputMax),
    // Internal humidity
    Value("HUMB", kHum, "$HUMB"),
    Value("HUMH", kHum, "$HUMH"),
    Value("HUML", kHum, "$HUML"),
    Value("HUMAS", kHum, "$HUMAS"),
    Value("HUMRS", kHum, "$HUMRS"),
    Value("HUMDLY", kHum, "$HUMDLY"),
    Value("HUMOS", kHum, "$HUMOS"),
    Value("HUMEN", kHum, "$HUMEN", K::Flag),
    Value("HUMSND", kHum, "$HUMSND", K::Flag),
    Value("HUMURG", kHum, "$HUMURG", K::Flag),
    Value("HUMUPS", kHum, "$HUMUPS"),
    Value("HUMIH", kHum, "$HUMIH", K::Number, kOutputOrNcMax),
    Value("HUMIL", kHum, "$HUMIL", K::Number, kOutputOrNcMax),
    // Buzzer and battery
    Value("BUZEN", kSys, "$IBUZ", K::Flag),
    Value("BUZT", kSys, "$BUZZERT"),
    Value("POWDLY", kGpio, "$POWDLY"),
    Value("BATEN", kGpio, "$BATEN", K::Flag),
    Value("POWLS", kGpio, "$POWLS"),
    // Motion sensor: recording is written as "DVR" and reported as "VCR"
    Value("GSENSORVCH", kGSensor, "$GSENSORVCH", K::Number, kVideoChannelMax),
    Value("GSENSORVPC", kGSensor, "$GSENSORVPC", K::Flag),
    Value("GSENSORDVR", kGSensor, "$GSENSORVCR", K::Flag),
    Value("GSENSORMIN", kGSensor, "$GSENSORMIN"),
    Value("GSENSORSTEP", kGSensor, "$GSENSORSTEP"),
    // Gray-code input
    Pair("GRAYRANGE", kGray, "$GRAYL", "$GRAYH"),
    Value("GRAYSTEP", kGray, "$GRAYSTEP"),
    Value("GRAYOFFSET", kGray, "$GRAYADJ"),
    Value("GRAYBITS", kGray, "$GRAYBITS"),
    Value("GRAYACCS", kGray, "$GRAYACCS"),
    Value("GRAYTIMER", kGray, "$GRAYTIMER"),
    Value("GRAYDETT", kGray, "$GRAYDETT"),
    Pair("GRAYEVENT", kGray, "$GRAYEVENTCNT", "$GRAYEVENTMIN"),
    // External sensors: the settings of each sensor
    Setting("ETEMPH", "$ETEMPH#"),
    Setting("ETEMPL", "$ETEMPL#"),
    Setting("ETEMPB", "$ETEMPB#"),
    Setting("ETEMPOS", "$ETEMPOS#"),
    Setting("ETEMPAS", "$ETEMPAS#"),
    Setting("ETEMPRS", "$ETEMPRS#"),
    Setting("ETEMPDLY", "$ETEMPDLY#"),
    Setting("ETEMPURG", "$ETEMPURG#", K::Flag),
    Setting("ETEMPSND", "$ETEMPSND#", K::Flag),
    Setting("ETEMPEN", "$ETEMPEN#", K::Flag),
    // The internal temperature alarm switch, reported as "*TMP100_EN"
    SSimRule{.keyword = "TMPON", .group = kTmp, .fields = Fields({{.key = "*TMP100_EN", .kind = K::Constant, .max = 1}})},
    SSimRule{.keyword = "TMPOFF", .group = kTmp, .fields = Fields({{.key = "*TMP100_EN", .kind = K::Constant, .max = 0}})},
};
// clang-format on

}  // namespace

std::span<const SSimRule> SensorRules() { return kRules; }

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
