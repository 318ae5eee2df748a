// The unit's sensor side: the sensor lines of its dumps. The write commands of the external
// and internal sensors, the buzzer, the battery alarm, the motion sensor and the gray-code
// input are its rules (SensorRules()).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace rtu {

class CSimSensors {
public:
    static constexpr int kSensors = 4;                         // external sensors 0-3
    static constexpr std::string_view kLogRequest = "ETEMPPORT1000";

    // The report lines as the unit prints them: each external sensor's stored settings
    // become one "$ETEMP<n> <reading>,<high>,<low>,…,<enable>" line.
    static std::vector<std::string> Present(std::vector<std::string> lines);
};

}  // namespace rtu
