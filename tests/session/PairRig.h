// The tool's session and a simulated unit wired back to back on one fake clock: no pty,
// no threads, no sleeping. Drive() jumps to the next deadline of either side and collects
// the session's events as a front end would.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "../sim/SimHarness.h"
#include "session/Session.h"

namespace rtu::test {

// Whether a page has a Save button (pages without one only read).
inline bool PageSaves(const CPageBase& page)
{
    return std::any_of(page.Fields().begin(), page.Fields().end(), [](const FieldDecl& f) {
        return f.kind == FieldKind::Button && (f.id == ctl::kSave || f.id == ctl::kSave0 || f.id == ctl::kSave1);
    });
}

struct PairRig {
    explicit PairRig(CSimImage image = DefaultImage())
        : unit(FastOptions(), std::move(image), DefaultImage()), session(
                                                                     [this](std::string_view b) {
                                                                         toUnit += b;
                                                                         return portOpen;
                                                                     },
                                                                     [this] { return now; }, nullptr)
    {}

    // Runs both sides until neither has anything left to do (bounded).
    void Drive(Millis limitMs = 600000)
    {
        const Millis end = now + limitMs;
        while (now < end) {
            Collect();
            Flush();
            std::vector<Millis> next;
            if (auto d = unit.NextDeadline()) next.push_back(*d);
            if (auto d = session.NextDeadline()) next.push_back(*d);
            if (next.empty()) return;
            now = std::max(now, *std::min_element(next.begin(), next.end()));
            const std::string bytes = unit.PollTransmit(now);
            if (!bytes.empty()) session.HandleReceive(bytes);
            session.HandleTime();
            if (onStep) onStep();
        }
    }
    void Flush()
    {
        if (toUnit.empty()) return;
        if (unitListens) unit.HandleReceived(toUnit, now);
        toUnit.clear();
    }
    // Takes the session's events; questions are answered by `goOn`.
    void Collect()
    {
        session.DrainEvents([this](const SessionEvent& e) {
            events.push_back(e);
            if (const auto* m = std::get_if<ev::Message>(&e)) messages.push_back(m->text);
            if (const auto* l = std::get_if<ev::Line>(&e)) lines.push_back(l->text);
            if (const auto* p = std::get_if<ev::ProfileEnded>(&e)) summary = p->summary;
            if (std::holds_alternative<ev::Question>(e)) {
                ++questions;
                if (goOn) session.ContinueProfile();
                else session.StopProfile();
            }
        });
    }
    template <class E> std::vector<E> Events() const
    {
        std::vector<E> out;
        for (const SessionEvent& e : events)
            if (const auto* x = std::get_if<E>(&e)) out.push_back(*x);
        return out;
    }

    Millis now = 0;
    bool portOpen = true;     // false: the port refuses every block
    bool unitListens = true;  // false: the unit hears nothing (a silent unit)
    bool goOn = false;        // the answer to a question about a silent unit
    int questions = 0;
    std::string toUnit;
    std::vector<SessionEvent> events;
    std::vector<std::string> messages, lines;
    std::optional<ExecSummary> summary;
    std::function<void()> onStep;
    CSimUnit unit;
    CSession session;
};

// The values the hostile sweeps type into every text: a separator, line ends, a command,
// text beyond ASCII and a text longer than any the unit keeps.
inline const std::string kHostileValues[] = {"a,b", "x\ry", "x\ny", "%DUMPS", "\xC3\xA4\xE4\xB8\xAD", std::string(200, 'w')};

// A unit that keeps a trace of what it receives, read in full by the session.
inline void ReadTracedUnit(PairRig& rig)
{
    SSimOptions traced = FastOptions();
    traced.trace = true;
    rig.unit = CSimUnit(traced, DefaultImage(), DefaultImage());
    rig.session.Reload();
    rig.Drive();
}

// The lines the traced unit received since the last call; each must be a command of its own.
inline int CommandLinesReceived(PairRig& rig)
{
    int received = 0;
    for (const SSimTraceEntry& t : rig.unit.TakeTrace()) {
        if (t.direction != '<') continue;
        ++received;
        EXPECT_TRUE(t.text.starts_with("%")) << "a line that is no command: " << t.text;
    }
    return received;
}

}  // namespace rtu::test
