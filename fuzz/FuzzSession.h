// A session that a fuzz target builds once and puts back to its starting state before
// every input. Building one (every page with its controls) costs far more than most inputs;
// putting it back costs little, and leaves nothing of one input for the next.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "session/Session.h"

namespace rtu::fuzz {

// Collects the commands posted to the main window.
struct CPostedCommands : ILinkObserver {
    std::vector<int> posted;
    void OnPostCommand(int id) override { posted.push_back(id); }
};

class CFuzzSession {
public:
    // `catalog` may be null (empty texts).
    explicit CFuzzSession(const CTextCatalog* catalog)
        : pristine_(Accept, Clock, nullptr, catalog),
          session_([this](std::string_view bytes) { return Write(bytes); }, [this] { return now; }, &observer,
                   catalog)
    {
    }
    CFuzzSession(const CFuzzSession&) = delete;
    CFuzzSession& operator=(const CFuzzSession&) = delete;

    CSession& Session() { return session_; }

    // Back to the state right after construction: the link (partial line, picture, queued
    // commands, flags), every page value, the clock, the posted commands and the counters.
    void Reset()
    {
        session_.Link().Reset();
        const PageList& pages = session_.Pages();
        const PageList& start = pristine_.Pages();
        if (pages.size() != start.size()) __builtin_trap();
        for (std::size_t i = 0; i < pages.size(); ++i) {
            CPageBase& page = *pages[i];
            const CPageBase& fresh = *start[i];
            // A value is created on first use; one never used still holds its initial value.
            // Copying over the others reuses their storage, so this allocates nothing.
            for (const FieldDecl& f : page.Fields())
                if (page.FindValue(f.id)) page.Value(f.id) = fresh.ValueOf(f.id);
        }
        now = 0;
        writes = 0;
        observer.posted.clear();
    }

    Millis now = 0;                 // the fake clock
    std::size_t writes = 0;         // blocks written to the port
    CPostedCommands observer;

private:
    static bool Accept(std::string_view) { return true; }
    static Millis Clock() { return 0; }
    bool Write(std::string_view bytes)
    {
        (void)bytes;
        ++writes;
        return true;
    }

    CSession pristine_;  // never driven: the values every page starts with
    CSession session_;
};

}  // namespace rtu::fuzz
