// A link core under test: bytes written are logged, time is a counter, and the events the
// front end would see are recorded.
#pragma once

#include <string>
#include <vector>

#include "link/DeviceLink.h"

namespace rtu::test {

struct LinkRig : ILinkObserver {
    Millis now = 0;
    std::vector<std::string> wire;
    std::vector<std::string> status, modes, lines, messages, console;
    std::vector<int> posted;
    int beeps = 0;
    CDeviceLink link{[this](std::string_view b) {
                         wire.emplace_back(b);
                         return true;
                     },
                     [this] { return now; }, this};

    void OnStatusText(const std::string& t) override { status.push_back(t); }
    void OnModeText(const std::string& t) override { modes.push_back(t); }
    void OnBeep() override { ++beeps; }
    void OnPostCommand(int id) override { posted.push_back(id); }
    void OnMessage(MessageIcon, const std::string& t) override { messages.push_back(t); }
    void OnConsoleChunk(std::string_view b) override { console.emplace_back(b); }
    void OnLine(const std::string& l) override { lines.push_back(l); }

    void Rx(std::string_view bytes) { link.HandleReceive(bytes); }
    // Runs the commands posted so far, as the window's event loop would.
    void RunPosted()
    {
        auto ids = posted;
        posted.clear();
        for (int id : ids) link.HandleCommand(id);
    }
    std::string Wire() const
    {
        std::string all;
        for (const auto& w : wire) all += w;
        return all;
    }
};

}  // namespace rtu::test
