// The tool's session and a simulated unit wired back to back on one fake clock: no pty,
// no threads, no sleeping. Step() jumps to the next deadline of either side.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "../sim/SimHarness.h"
#include "session/Session.h"

namespace rtu::test {

struct PairRig : ILinkObserver {
    explicit PairRig(CSimImage image = DefaultImage())
        : unit(FastOptions(), std::move(image), DefaultImage()),
          session([this](std::string_view b) { toUnit += b; return true; }, [this] { return now; }, this, nullptr)
    {
    }

    // Runs both sides until neither has anything left to do (bounded).
    void Drive(Millis limitMs = 600000)
    {
        const Millis end = now + limitMs;
        while (now < end) {
            Flush();
            std::vector<Millis> next;
            if (auto d = unit.NextDeadline()) next.push_back(*d);
            if (auto d = session.Link().NextDeadline()) next.push_back(*d);
            if (!posted.empty()) next.push_back(now);
            if (next.empty()) return;
            now = std::max(now, *std::min_element(next.begin(), next.end()));
            const std::string bytes = unit.PollTransmit(now);
            if (!bytes.empty()) session.Link().HandleReceive(bytes);
            session.Link().HandleTime();
            RunPosted();
        }
    }
    void Flush()
    {
        if (toUnit.empty()) return;
        unit.HandleReceived(toUnit, now);
        toUnit.clear();
    }
    void RunPosted()
    {
        auto ids = posted;
        posted.clear();
        for (int id : ids) session.HandleCommand(id);
    }

    void OnPostCommand(int id) override { posted.push_back(id); }
    void OnMessage(MessageIcon, const std::string& text) override { messages.push_back(text); }
    void OnLine(const std::string& line) override { lines.push_back(line); }

    Millis now = 0;
    std::string toUnit;
    std::vector<int> posted;
    std::vector<std::string> messages, lines;
    CSimUnit unit;
    CSession session;
};

}  // namespace rtu::test
