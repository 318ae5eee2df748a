// Temperature records of the external sensors as the unit sends them inside a report line,
// and the CSV line a listed record becomes.
//
// A record: a 9-character lead-in, the tag ("ET" for temperatures), the record type as two
// hex digits, the 14-character record time, the number of values as two hex digits, then
// per value one status character, the value with a point and two decimals, one separator.
// Several records may follow one another in one line.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace rtu {

namespace temprec {
inline constexpr std::size_t kTagAt = 9;            // the record tag
inline constexpr std::size_t kTypeAt = 11;          // the record type, two hex digits
inline constexpr std::size_t kTimeAt = 13;          // the record time
inline constexpr std::size_t kTimeLength = 14;      // characters of the record time
inline constexpr std::size_t kCountAt = 27;         // the number of values, two hex digits
inline constexpr std::size_t kEntriesAt = 29;       // the first value entry
inline constexpr std::size_t kMinRecord = 13;       // a record needs at least lead-in, tag and type
inline constexpr std::size_t kMaxPointAt = 20;      // a value's point lies within its first 20 characters
inline constexpr std::size_t kDecimals = 2;         // digits after a value's point
inline constexpr int kRealTimeType = 0x33;          // a record sent as it is measured
inline constexpr int kStoredType = 0x83;            // a record read back from the unit's log
inline constexpr std::string_view kTempTag = "ET";  // temperature records
inline constexpr int kSensors = 4;                  // sensors a listed row has columns for
inline constexpr int kColumns = 1 + 2 * kSensors;   // time, then status and value per sensor
}  // namespace temprec

// One value of a record.
struct TempEntry {
    char status = 0;  // '0' normal, '1' alarm, '2' disconnected, anything else unknown
    double value = 0;
};

// One record of the accepted type.
struct TempRecord {
    bool temperature = true;           // tagged "ET"; other records are only counted
    std::string time{};                // the record's own 14-character time (shorter when the line ends)
    std::vector<TempEntry> entries{};  // in sensor order
};

// Reads every record of the given type from one report line, in line order. Reading stops
// when fewer than 13 characters remain, or at a value whose point is missing (the entries
// before it stay).
std::vector<TempRecord> ReadTempRecords(std::string_view line, int type);
// Whether ReadTempRecords finds a temperature record of `type` in the line (read without
// keeping anything, for a test of every line).
bool HoldsTempRecord(std::string_view line, int type);

// A listed record: the time, then status character and "%.2f" value per sensor.
using TempRow = std::array<std::string, temprec::kColumns>;
TempRow MakeTempRow(std::string time, const TempRecord& record);

// The status word the CSV gives a status cell.
std::string_view TempStatusWord(std::string_view status);
// A record time as shown in a list: the unit's 14 digits "YYYYMMDDhhmmss" as
// "YYYY-MM-DD hh:mm:ss"; any other text (a short time, a field out of range, the computer's
// own time of a real-time row) as it stands.
std::string ShownTempTime(std::string_view time);
// One CSV line of a listed row: nine fields, each followed by a comma, then CR LF.
std::string TempCsvLine(const TempRow& row);

}  // namespace rtu
