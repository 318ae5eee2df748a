// A session that a fuzz target builds once and puts back to its starting state before
// every input. Building one (every page with its controls) costs far more than most inputs;
// putting it back costs little. Nothing of one input reaches the next but what a page keeps
// outside its values and lists: the analog page's reported ranges and version, which only
// its export shows.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
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
            PageStart& page = initial_.emplace_back();
            page.page = pages[i].get();
            for (const FieldDecl& f : pages[i]->Fields())
                page.values.push_back({f.id, &start[i]->ValueOf(f.id), pages[i]->FindValue(f.id)});
            page.extras = start[i]->ExtraValues();
            pages[i]->ClearTouched();
            if (auto* records = dynamic_cast<CTempRecordPage*>(page.page)) {
                records_.push_back({records, records->Generation()});
                page.emptied = true;
            }
            if (auto* events = dynamic_cast<CPageEvents*>(page.page)) {
                events_.push_back(events);
                page.emptied = true;
            }
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
        for (PageStart& page : initial_) {
            if (!page.page->Touched()) continue;
            for (Initial& v : page.values)
                if (const FieldValue* value = Current(*page.page, v))
                    *const_cast<FieldValue*>(value) = *v.value;  // the page's own, non-const value
        }
        // The pages that keep what the unit sent beyond their values (records, events) are
        // emptied as their reset buttons empty them.
        for (RecordList& r : records_)
            if (r.page->Generation() != r.emptyAt) {
                r.page->ResetList();
                r.emptyAt = r.page->Generation();
            }
        for (CPageEvents* events : events_)
            if (events->Log().Size() > 0) events->Reset();
        // What the pages say about their values: not loaded, nothing edited on screen.
        for (PageStart& page : initial_) {
            if (page.page->Loaded()) page.page->SetLoaded(false);
            page.page->ClearEdited();
            page.page->ClearTouched();
            // The record and event pages were emptied above: what they export beyond their
            // values is what this input starts from. Other pages keep theirs from the last input
            // (ForEachChangedPage notes it).
            if (page.emptied) page.extras = page.page->ExtraValues();
        }
        now = 0;
        writes = 0;
    }

    // Calls fn(page, changed) for every page whose export this input may have changed, with
    // the ids of its values that differ from their initial ones; `changed` is empty when what
    // the page exports beyond its values (extra values, record rows) changed: all of it then.
    template <class Fn> void ForEachChangedPage(Fn&& fn)
    {
        std::vector<int> changed;
        for (PageStart& page : initial_) {
            changed.clear();
            if (page.page->Touched())
                for (Initial& v : page.values)
                    if (const FieldValue* value = Current(*page.page, v); value && !Same(*value, *v.value))
                        changed.push_back(v.id);
            if (MoreChanged(page)) changed.clear();  // the whole page then
            else if (changed.empty()) continue;
            fn(*page.page, changed);
        }
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
    static bool Same(const FieldValue& a, const FieldValue& b)
    {
        return a.text == b.text && a.check == b.check && a.sel == b.sel && a.cells == b.cells;
    }
    static Millis Clock() { return 0; }
    bool Write(std::string_view bytes)
    {
        (void)bytes;
        ++writes;
        return true;
    }

    struct Initial {
        int id;                           // a declared control of the page
        const FieldValue* value;          // its value in pristine_, which never changes
        const FieldValue* now = nullptr;  // its value in session_ once created
    };
    // A page keeps a value where it created it until the page goes, so it is looked up only
    // until it exists.
    static const FieldValue* Current(const CPageBase& page, Initial& v)
    {
        if (!v.now) v.now = page.FindValue(v.id);
        return v.now;
    }
    struct PageStart {
        CPageBase* page = nullptr;  // in session_
        std::vector<Initial> values;
        std::vector<std::pair<std::string, std::string>> extras;  // what it exports beyond them, before the input
        bool emptied = false;                                     // a record or event page, which Reset empties
    };

    // Whether what a page exports beyond its values changed during the input: its extra
    // values, its record rows. Notes its extra values as they are now.
    bool MoreChanged(PageStart& page) const
    {
        bool more = false;
        for (const RecordList& r : records_)
            if (r.page == page.page && r.page->Generation() != r.emptyAt) more = true;
        std::vector<std::pair<std::string, std::string>> extras = page.page->ExtraValues();
        if (extras != page.extras) {
            more = true;
            page.extras = std::move(extras);
        }
        return more;
    }

    CSession pristine_;  // never driven: the values every page starts with
    CSession session_;
    std::vector<PageStart> initial_;
    struct RecordList {
        CTempRecordPage* page;
        std::uint64_t emptyAt;  // its generation when last emptied
    };
    // The pages that keep more than their values.
    std::vector<RecordList> records_;
    std::vector<CPageEvents*> events_;
};

}  // namespace rtu::fuzz
