#include "session/StreamLines.h"

#include "pages/events/EventLine.h"
#include "pages/sensor/TempRecord.h"

namespace rtu {

bool IsStreamLine(std::string_view line)
{
    if (IsEventLine(line)) return true;
    if (line.empty() || line.front() != '$') return false;
    return HoldsTempRecord(line, temprec::kRealTimeType);
}

bool IsParameterReport(std::string_view line)
{
    return !line.empty() && (line.front() == '$' || line.front() == '*') && !IsStreamLine(line);
}

}  // namespace rtu
