// The temperature records of the simulated unit: lines of "ET" records with varied
// statuses and values, as the unit sends them while it measures and from its log.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace rtu {

// The unit's temperature records: real-time ones at an interval, and the stored log.
class CSimRecords {
public:
    static constexpr int kMaxPerLine = 3;       // records one line may carry

    explicit CSimRecords(std::uint32_t seed = 1);
    // One line of one to three real-time records.
    std::string RealTimeLine();
    // The stored log of `count` records as report lines (several records per line sometimes).
    std::vector<std::string> StoredLog(int count);

private:
    std::string Record(int type, std::int64_t minute);

    std::mt19937 rng_;
    int sequence_ = 0;
    std::int64_t minute_ = 0;  // the real-time records' clock, in minutes
};

}  // namespace rtu
