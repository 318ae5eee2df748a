// A session that a fuzz target builds once and puts back to its starting state before
// every input. Building one (every page with its controls) costs far more than most inputs;
// putting it back costs little, and leaves nothing of one input for the next.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "pages/events/PageEvents.h"
#include "pages/sensor/TempRecordPage.h"
#include "session/Session.h"

namespace rtu::fuzz {

class CFuzzSession {
public:
    // `catalog` may be null (empty texts).
    explicit CFuzzSession(const CTextCatalog* catalog)
        : pristine_(Accept, Clock, catalog),
          session_([this](std::string_view bytes) { return Write(bytes); }, [this] { return now; }, catalog)
    {
        const PageList& pages = session_.Pages();
        const PageList& start = pristine_.Pages();
        if (pages.size() != start.size()) __builtin_trap();
        for (std::size_t i = 0; i < pages.size(); ++i) {
            for (const FieldDecl& f : pages[i]->Fields())
                initial_.push_back({pages[i].get(), f.id, &start[i]->ValueOf(f.id)});
            pages[i]->ClearTouched();
        }
    }
    CFuzzSession(const CFuzzSession&) = delete;
    CFuzzSession& operator=(const CFuzzSession&) = delete;

    CSession& Session() { return session_; }

    // Back to the state right after construction: the session (partial line, picture, queued
    // commands, events, flags), every page value, the clock and the counters.
    void Reset()
    {
        session_.Reset();
        // A value is created on first use; one never used still holds its initial value, and
        // a page whose values were not handed out for writing still holds them all. Copying
        // over the others reuses their storage, so this allocates nothing.
        for (const Initial& v : initial_)
            if (v.page->Touched())
                if (const FieldValue* value = v.page->FindValue(v.id))
                    *const_cast<FieldValue*>(value) = *v.value;  // the page's own, non-const value
        // The pages that keep what the unit sent beyond their values (records, events) are
        // emptied as their reset buttons empty them.
        for (const auto& page : session_.Pages()) {
            if (auto* records = dynamic_cast<CTempRecordPage*>(page.get())) records->ResetList();
            if (auto* events = dynamic_cast<CPageEvents*>(page.get())) events->Reset();
            page->ClearTouched();
        }
        now = 0;
        writes = 0;
    }

    // Takes the session's events; a question (a silent unit during a profile) is answered Stop,
    // as nobody is there to ask. `fn` sees every event.
    template <class Fn> void Drain(Fn&& fn)
    {
        session_.DrainEvents([&](const SessionEvent& e) {
            if (std::holds_alternative<ev::Question>(e)) session_.StopProfile();
            fn(e);
        });
    }
    void Drain()
    {
        Drain([](const SessionEvent&) {});
    }

    Millis now = 0;          // the fake clock
    std::size_t writes = 0;  // blocks written to the port

private:
    static bool Accept(std::string_view) { return true; }
    static Millis Clock() { return 0; }
    bool Write(std::string_view bytes)
    {
        (void)bytes;
        ++writes;
        return true;
    }

    struct Initial {
        CPageBase* page;          // in session_
        int id;                   // a declared control of it
        const FieldValue* value;  // its value in pristine_, which never changes
    };

    CSession pristine_;  // never driven: the values every page starts with
    CSession session_;
    std::vector<Initial> initial_;
};

}  // namespace rtu::fuzz
