#include "session/StreamLines.h"

#include <algorithm>

#include "pages/events/EventLine.h"
#include "pages/sensor/TempRecord.h"

namespace rtu {

bool IsStreamLine(std::string_view line)
{
    if (IsEventLine(line)) return true;
    if (line.empty() || line.front() != '$') return false;
    const std::vector<TempRecord> records = ReadTempRecords(line, temprec::kRealTimeType);
    return std::any_of(records.begin(), records.end(), [](const TempRecord& r) { return r.temperature; });
}

bool IsParameterReport(std::string_view line)
{
    return !line.empty() && (line.front() == '$' || line.front() == '*') && !IsStreamLine(line);
}

}  // namespace rtu
