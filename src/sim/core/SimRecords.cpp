#include "sim/core/SimRecords.h"

#include <array>
#include <cstdio>
#include <ctime>

namespace rtu {

namespace {

constexpr std::time_t kClockStart = 1796083200;  // 2026-12-01 00:00 UTC: the records' first minute
constexpr int kSecondsPerMinute = 60;
constexpr int kLogStepMinutes = 10;  // the log stores a record every ten minutes
constexpr int kRealTimeType = 0x33;
constexpr int kStoredType = 0x83;
constexpr int kLeadInSequences = 0x10000;  // the lead-in numbers records modulo this
constexpr int kSensors = 4;
constexpr int kPercent = 100;
constexpr int kAlarmPercent = 12;         // a value in alarm
constexpr int kDisconnectPercent = 8;     // a sensor that is not connected
constexpr int kFewerSensorsPercent = 10;  // a record with fewer than four values
constexpr int kSecondRecordPercent = 25;  // a line that carries a further record
constexpr double kAlarmRise = 18.0;       // how far above its normal value an alarm reads
// Each sensor's usual reading: a room, an office, a fridge, a boiler room.
constexpr std::array<double, kSensors> kNormal{20.0, 23.0, 5.0, 35.0};
constexpr double kSpread = 3.0;  // ± around the usual reading

}  // namespace

CSimRecords::CSimRecords(std::uint32_t seed) : rng_(seed) {}

std::string CSimRecords::Record(int type, std::int64_t minute)
{
    std::uniform_int_distribution<int> percent(0, kPercent - 1);
    std::uniform_real_distribution<double> spread(-kSpread, kSpread);
    const std::time_t at = kClockStart + static_cast<std::time_t>(minute) * kSecondsPerMinute;
    std::tm t{};
    gmtime_r(&at, &t);
    const int count = percent(rng_) < kFewerSensorsPercent ? 1 + percent(rng_) % (kSensors - 1) : kSensors;
    char head[64];
    std::snprintf(head, sizeof head, "$TREC%04XET%02X%04d%02d%02d%02d%02d00%02X", sequence_++ % kLeadInSequences, type,
                  t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, count);
    std::string out = head;
    for (int j = 0; j < count; ++j) {
        const int roll = percent(rng_);
        char status = '0';
        double value = kNormal[static_cast<std::size_t>(j)] + spread(rng_);
        if (roll < kDisconnectPercent) {
            status = '2';
            value = 0;
        } else if (roll < kDisconnectPercent + kAlarmPercent) {
            status = '1';
            value += kAlarmRise;
        }
        char entry[32];
        std::snprintf(entry, sizeof entry, "%c%.2f,", status, value);
        out += entry;
    }
    return out;
}

std::string CSimRecords::RealTimeLine()
{
    std::uniform_int_distribution<int> percent(0, kPercent - 1);
    std::string line = Record(kRealTimeType, minute_++);
    for (int n = 1; n < kMaxPerLine && percent(rng_) < kSecondRecordPercent; ++n)
        line += Record(kRealTimeType, minute_++);
    return line;
}

std::vector<std::string> CSimRecords::StoredLog(int count)
{
    std::uniform_int_distribution<int> percent(0, kPercent - 1);
    std::vector<std::string> lines;
    for (int r = 0; r < count;) {
        std::string line = Record(kStoredType, static_cast<std::int64_t>(r++) * kLogStepMinutes);
        for (int n = 1; n < kMaxPerLine && r < count && percent(rng_) < kSecondRecordPercent; ++n)
            line += Record(kStoredType, static_cast<std::int64_t>(r++) * kLogStepMinutes);
        lines.push_back(std::move(line));
    }
    return lines;
}

}  // namespace rtu
