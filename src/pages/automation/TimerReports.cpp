#include "pages/automation/TimerReports.h"

#include <string>
#include <tuple>
#include <utility>

#include "link/RoutingTable.h"
#include "link/TextFields.h"
#include "pages/framework/FieldBuilders.h"

namespace rtu {
namespace {

constexpr std::size_t kValueAt = 3;  // letter, timer digit, separator, then the value
constexpr int kWeekdays = 7;         // DAY0 … DAY6

TextRef Action(const char* key) { return Shared("TIMERACTS", key); }

std::vector<TextRef> CommonActions()
{
    std::vector<TextRef> out{Action("NONE"), Action("DISARM"), Action("ARM")};
    for (const char* key :
         {"DRV_OC0",   "DRV_OC1",    "DRV_OC2",     "DRV_OC3",   "OFF_OC0",    "OFF_OC1",   "OFF_OC2",
          "OFF_OC3",   "PULSE_OC0",  "PULSE_OC1",   "PULSE_OC2", "PULSE_OC3",  "SHOOT",     "DAILY",
          "COM_DUMP",  "UPLOAD_SMS", "SHELLCMD0",   "SHELLCMD1", "SHELLCMD2",  "SHELLCMD3", "SHELLCMD4",
          "SHELLCMD5", "SHELLCMD6",  "UPLOAD_GPRS", "BUZZER",    "SIREN_ALARM"})
        out.push_back(Action(key));
    return out;
}

constexpr const char* kM2mActions[] = {"M2M_DIS", "M2M_DOS", "M2M_ADS", "M2M_REG", "M2M_GRY", "M2M_SAVE_RCD"};

}  // namespace

const std::vector<TextRef>& MachineTimerActions()
{
    static const std::vector<TextRef> list = [] {
        std::vector<TextRef> out = CommonActions();
        for (const char* key : {"CLOCKER", "BUZON", "BUZOFF"}) out.push_back(Action(key));
        for (const char* key : kM2mActions) out.push_back(Action(key));
        for (const char* key : {"M2M_DCOUNT_UPLOAD", "M2M_DCOUNT_RESET", "M2M_UPLOAD_GPS", "M2M_UPLOAD_RCD",
                                "M2M_DINCT_SMS", "M2M_ETEMP_DUMP", "M2M_ETEMP_DUMPLOG"})
            out.push_back(Action(key));
        return out;
    }();
    return list;
}

const std::vector<TextRef>& WeeklyTimerActions()
{
    static const std::vector<TextRef> list = [] {
        std::vector<TextRef> out = CommonActions();
        for (const char* key : kM2mActions) out.push_back(Action(key));
        return out;
    }();
    return list;
}

const std::vector<TextRef>& Weekdays()
{
    static const std::vector<TextRef> list = [] {
        std::vector<TextRef> out;
        for (int d = 0; d < kWeekdays; ++d) out.push_back(TextRef{"SYSCHAR", "DAY" + std::to_string(d), ""});
        return out;
    }();
    return list;
}

std::optional<TimerReport> SplitTimerReport(std::string_view afterKey)
{
    if (afterKey.size() < 2 || !IsDigit(afterKey[1])) return std::nullopt;
    if (afterKey.size() > 2 && IsDigit(afterKey[2])) return std::nullopt;
    TimerReport out;
    out.field = afterKey[0];
    out.timer = afterKey[1] - '0';
    out.value = afterKey.size() > kValueAt ? afterKey.substr(kValueAt) : std::string_view{};
    return out;
}

int SelectionOf(std::string_view text, int items)
{
    const int n = LeadingNumber(text);
    return n >= 0 && n < items ? n : -1;
}

void AddTimeOfDay(std::vector<FieldDecl>& f, const FieldDecl& row, int hourId, WriteDecl hourWrite, int minuteId,
                  WriteDecl minuteWrite, const char* section)
{
    for (auto [id, key, write, maxValue] : {std::tuple{hourId, "HOUR", hourWrite, kTimerHourMax},
                                            std::tuple{minuteId, "MINS", minuteWrite, kTimerMinuteMax}}) {
        FieldDecl box = row;
        box.id = id;
        box.kind = K::Number;
        box.caption = Shared(section, key);
        box.write = write;
        box.dump = dump::kTimer;
        box.chars = CharRule::Digits;
        box.maxValue = maxValue;
        f.push_back(std::move(box));
    }
}

}  // namespace rtu
