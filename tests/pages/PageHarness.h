// A page under test: its sequencer writes into a byte log, time is a plain counter, and
// the unit's acknowledgements are given by hand.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "link/RoutingTable.h"
#include "link/Sequencer.h"
#include "pages/framework/PageBase.h"
#include "pages/registry/PageRegistry.h"

namespace rtu::test {

class PageHarness : public IRouteDirectory {
public:
    PageHarness()
        : sequencer(
              [this](std::string_view b) {
                  writes.emplace_back(b);
                  return portOpen;
              },
              [this] { return now; })
    {
        context.sequencer = &sequencer;
        context.postToMain = [this](int id) { posted.push_back(id); };
        context.message = [this](MessageIcon, const std::string& text) { messages.push_back(text); };
    }

    // Acknowledge every waiting command with "CMD OK" until the queue is empty.
    void AckAll()
    {
        for (int guard = 0; guard < 100000 && sequencer.Waiting(); ++guard) sequencer.OnAck(AckKind::Ok);
    }
    // Let every wait run out.
    void TimeoutAll()
    {
        for (int guard = 0; guard < 100000 && !sequencer.Idle(); ++guard) {
            now = *sequencer.NextDeadline();
            sequencer.OnTime();
        }
    }
    // All bytes written so far, concatenated.
    std::string Wire() const
    {
        std::string all;
        for (const auto& w : writes) all += w;
        return all;
    }
    // Route a line as the main window would (only to the pages registered here).
    void Route(std::string_view line) { RouteLine(line, *this); }
    IRouteTarget* FindPage(PageId id) override
    {
        for (CPageBase* p : pages)
            if (p->Id() == id) return p;
        return nullptr;
    }
    // Makes a page of the registry, owned here and reachable by the routing.
    template <class Page = CPageBase> Page& Make(PageId id)
    {
        const PageInfo* info = FindPageInfo(id);
        owned.push_back(info->make(context, *info));
        pages.push_back(owned.back().get());
        return static_cast<Page&>(*owned.back());
    }

    Millis now = 0;
    bool portOpen = true;
    std::vector<std::string> writes;
    std::vector<int> posted;
    std::vector<std::string> messages;
    CSequencer sequencer;
    PageContext context;
    std::vector<CPageBase*> pages;  // pages the routing may reach
    std::vector<std::unique_ptr<CPageBase>> owned;
};

}  // namespace rtu::test
