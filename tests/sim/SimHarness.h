// Drives a CSimUnit on a fake clock: feed bytes, advance time deadline by deadline,
// collect what the unit transmits.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "sim/core/SimImage.h"
#include "sim/core/SimUnit.h"

namespace rtu::test {

inline CSimImage DefaultImage()
{
    std::string error;
    auto image = CSimImage::Load(std::string(RTU_SOURCE_DATA_DIR) + "/sim/default.image", error);
    return image ? *image : CSimImage{};
}

inline SSimOptions FastOptions()
{
    SSimOptions options;
    options.latencyMs = 0;
    options.baud = 115200;
    return options;
}

inline std::vector<std::string> SplitLines(std::string_view bytes)
{
    std::vector<std::string> lines;
    std::string current;
    for (char c : bytes) {
        if (c == '\r' || c == '\n') {
            if (!current.empty()) lines.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty()) lines.push_back(current);
    return lines;
}

class CSimHarness {
public:
    static constexpr std::int64_t kSettleMs = 600000;  // far enough for any answer to be sent

    explicit CSimHarness(SSimOptions options = FastOptions(), CSimImage image = DefaultImage())
        : unit(options, image, DefaultImage())
    {}

    void Feed(std::string_view bytes) { unit.HandleReceived(bytes, now); }

    // Advances the clock to `until`, stopping at every deadline on the way.
    std::string AdvanceTo(std::int64_t until)
    {
        std::string out;
        while (true) {
            auto deadline = unit.NextDeadline();
            if (!deadline || *deadline > until) break;
            now = std::max(now, *deadline);
            out += unit.PollTransmit(now);
        }
        now = std::max(now, until);
        out += unit.PollTransmit(now);
        return out;
    }

    // Feeds bytes and returns everything the unit sends within kSettleMs.
    std::vector<std::string> Exchange(std::string_view bytes)
    {
        Feed(bytes);
        return SplitLines(Settle());
    }

    // Runs the unit until it has nothing left to do, jumping in large steps.
    std::string Settle()
    {
        std::string out;
        for (int guard = 0; guard < kMaxSettleSteps; ++guard) {
            auto deadline = unit.NextDeadline();
            if (!deadline) break;
            now = std::max(now, *deadline) + kSettleMs;
            out += unit.PollTransmit(now);
        }
        return out;
    }

    CSimUnit unit;
    std::int64_t now = 0;

private:
    static constexpr int kMaxSettleSteps = 100000;  // stops a unit that never goes idle
};

}  // namespace rtu::test
