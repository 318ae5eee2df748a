// Control ids of the text tables that tests and hooks name.
#pragma once

namespace rtu::texttables {
inline constexpr int kDinAlarmList = 1432;    // digital input messages
inline constexpr int kNameList = 1377;        // input and output names
inline constexpr int kSensorNameList = 1563;  // wireless sensor names
inline constexpr int kSensorFrame = 1268;     // the sensor names page's frame
inline constexpr int kDefaultButton = 1015;   // input messages: restore the unit's defaults (hidden)
inline constexpr int kHeaderCheck = 1588;     // analog messages: message header on/off, sent when clicked
inline constexpr int kShortWaitMs = 2000;     // default wait of the message and analog tables
}  // namespace rtu::texttables
