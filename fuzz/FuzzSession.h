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
        const PageList& pages = session_.Pages();
        const PageList& start = pristine_.Pages();
        if (pages.size() != start.size()) __builtin_trap();
        for (std::size_t i = 0; i < pages.size(); ++i)
            for (const FieldDecl& f : pages[i]->Fields())
                initial_.push_back({pages[i].get(), f.id, &start[i]->ValueOf(f.id)});
    }
    CFuzzSession(const CFuzzSession&) = delete;
    CFuzzSession& operator=(const CFuzzSession&) = delete;

    CSession& Session() { return session_; }

    // Back to the state right after construction: the link (partial line, picture, queued
    // commands, flags), every page value, the clock, the posted commands and the counters.
    void Reset()
    {
        session_.Link().Reset();
        // A value is created on first use; one never used still holds its initial value.
        // Copying over the others reuses their storage, so this allocates nothing.
        for (const Initial& v : initial_)
            if (const FieldValue* value = v.page->FindValue(v.id))
                *const_cast<FieldValue*>(value) = *v.value;  // the page's own, non-const value
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

    struct Initial {
        CPageBase* page;           // in session_
        int id;                    // a declared control of it
        const FieldValue* value;   // its value in pristine_, which never changes
    };

    CSession pristine_;  // never driven: the values every page starts with
    CSession session_;
    std::vector<Initial> initial_;
};

}  // namespace rtu::fuzz
