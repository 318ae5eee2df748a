#include "pages/events/EventLine.h"

#include <cstdio>
#include <ctime>

namespace rtu {
namespace {

constexpr int kFields = 7;  // event number, source, four values, the field shown with the time

struct SourceName {
    const char* contains;
    const char* name;
};
// The first one found in the source field names it.
constexpr SourceName kSources[] = {
    {"DIN ", "Digital inputs"}, {"AIN ", "Analog inputs"},   {"TMP100 ", "interiar temp."},
    {"HUMIDITY ", "Humidity"},  {"POWER ", "DC/Power"},      {"WIRELESS SENSOR", "RF433"},
    {"PANIC ", "Panic button"}, {"DEFENCE ARRANGED", "Arm"}, {"DEFENCE REMOVED", "Disarm"},
};

bool Has(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

}  // namespace

EventRow ParseEventLine(std::string_view line, std::string_view pcTime)
{
    std::array<std::string, kFields> fields;
    bool seen[kFields] = {};
    std::string buffer;
    int field = 0;
    bool open = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"') {
            if (!open) {
                buffer.clear();
            } else {
                if (field < kFields) {
                    fields[field] = buffer;
                    seen[field] = true;
                }
                ++field;
                ++i;  // the separator after a closing quote
            }
            open = !open;
            continue;
        }
        if (buffer.size() < EventLineRules::kFieldMax) buffer.push_back(c);
    }

    const std::string& source = fields[1];
    EventRow row;
    for (const SourceName& s : kSources)
        if (Has(source, s.contains)) {
            row[0] = s.name;
            break;
        }
    if (Has(source, "ALARM")) row[0] += "Alarm";
    else if (Has(source, "RECOVER")) row[0] += "Restore";
    if (Has(source, "SMS")) row[0] += "Sms";
    for (int c = 1; c < kEventColumns - 1; ++c) row[c] = fields[c + 1];
    if (seen[EventLineRules::kTimeField])
        row[kEventColumns - 1] = fields[EventLineRules::kTimeField] + " (" + std::string(pcTime) + ")";
    return row;
}

std::string LocalTimeOfDay()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[16];
    std::snprintf(text, sizeof text, "%2.2d:%2.2d:%2.2d", local.tm_hour, local.tm_min, local.tm_sec);
    return text;
}

}  // namespace rtu
