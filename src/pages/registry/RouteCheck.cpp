#include "pages/registry/RouteCheck.h"

#include <algorithm>
#include <set>
#include <utility>

namespace rtu {
namespace {

const ReportDecl* Binding(const FieldDecl& f, std::string_view key)
{
    for (const ReportDecl* r : {&f.report, &f.report2})
        if (r->key && key == r->key) return r;
    return nullptr;
}

// Whether a field target fits the control it names; the reason when it does not.
std::string Mismatch(const RouteRow& row, const RouteTarget& t, const ReportDecl& r)
{
    const std::string key = r.key;
    switch (t.effect) {
    case RouteEffect::EditText:
        if (r.decode != Decode::Text && r.decode != Decode::Hex) return "an edit row needs a text decoding";
        if (r.at != t.offset) return "offset " + std::to_string(t.offset) + " vs declared " + std::to_string(r.at);
        return {};
    case RouteEffect::CheckOn:
    case RouteEffect::CheckOff: {
        if (r.decode != Decode::Switch) return "a switch row needs a switch decoding";
        const std::string pattern = key + (t.effect == RouteEffect::CheckOn ? " 1" : " 0");
        if (row.contains != pattern) return "tests \"" + std::string(row.contains) + "\", declared \"" + pattern + "\"";
        return {};
    }
    case RouteEffect::CheckChar:
        if (r.decode != Decode::Flag) return "a flag row needs a flag decoding";
        if (r.at != t.offset) return "offset " + std::to_string(t.offset) + " vs declared " + std::to_string(r.at);
        return {};
    case RouteEffect::ComboNumber:
        if (r.decode != Decode::Number) return "a selection row needs a number decoding";
        if (r.at != t.offset) return "offset " + std::to_string(t.offset) + " vs declared " + std::to_string(r.at);
        return {};
    default: return {};
    }
}

// What a routed line reaches: every page of the registry takes part, built or not.
class RouteRecorder : public IRouteDirectory {
public:
    struct Delivery {
        PageId page;
        RouteEffect effect;
        const char* key;
        int handler;
    };
    std::vector<Delivery> Route(std::string_view line)
    {
        reached_.clear();
        RouteLine(line, *this);
        return reached_;
    }
    IRouteTarget* FindPage(PageId page) override
    {
        taker_.page = page;
        return &taker_;
    }

private:
    struct Taker : IRouteTarget {
        explicit Taker(RouteRecorder* o) : owner(o) {}
        RouteRecorder* owner;
        PageId page{};
        void OnRoute(const RouteHit& hit) override
        {
            owner->reached_.push_back({page, hit.target.effect, hit.target.key, hit.target.handler});
        }
    };
    std::vector<Delivery> reached_;
    Taker taker_{this};  // one stand-in for every page: it notes the page it was found for
};

// The lines a report key stands for: the key ("#" as row 0), a blank and each switch state.
std::vector<std::string> SampleLines(std::string_view key)
{
    std::string line(key);
    std::replace(line.begin(), line.end(), '#', '0');
    return {line + " 0", line + " 1"};
}

bool Scans(RouteEffect e) { return e == RouteEffect::Scan || e == RouteEffect::ScanEach; }

// Whether routing `line` sets the row through report `r` of page `p`.
bool Reaches(RouteRecorder& routes, const std::string& line, const CPageBase& p, const FieldDecl& f,
             const ReportDecl& r)
{
    for (const auto& d : routes.Route(line)) {
        if (d.page != p.Id()) continue;
        if (!Scans(d.effect)) {
            if (d.key && std::string_view(d.key) == r.key) return true;
            continue;
        }
        bool set = false;
        p.ForEachScanned(MarkedLine(line), d.effect == RouteEffect::ScanEach,
                         [&](const FieldDecl& g, const ReportDecl& s, int) { set = set || (&g == &f && &s == &r); });
        if (set) return true;
    }
    return false;
}

bool ReachesHandler(RouteRecorder& routes, const std::string& line, PageId page, int handler)
{
    for (const auto& d : routes.Route(line))
        if (d.page == page && (d.effect == RouteEffect::Handler || d.effect == RouteEffect::ListRow) &&
            d.handler == handler)
            return true;
    return false;
}

// Whether one of the handler's keys holds the text a row tests.
bool TakesFromRow(const HandlerDecl& h, const RouteRow& row)
{
    for (const std::string& key : h.keys) {
        std::string plain = key;
        std::replace(plain.begin(), plain.end(), '#', '0');
        if (plain.find(row.contains) != std::string::npos) return true;
        if (!row.orContains.empty() && plain.find(row.orContains) != std::string::npos) return true;
    }
    return false;
}

}  // namespace

RouteCheck CheckRoutes(std::span<const PageInfo> registry, const std::function<const CPageBase*(PageId)>& page)
{
    RouteCheck out;
    std::set<std::pair<PageId, int>> reachedHandlers;

    auto inRegistry = [&](PageId id) {
        for (const PageInfo& p : registry)
            if (p.Id() == id) return &p;
        return static_cast<const PageInfo*>(nullptr);
    };

    ForEachRouteRow([&](const RouteRow& row) {
        for (int i = 0; i < row.targetCount; ++i) {
            const RouteTarget& t = row.targets[static_cast<std::size_t>(i)];
            const std::string where = std::string(row.id) + " ";
            const PageInfo* info = inRegistry(t.page);
            if (!info) {
                out.problems.push_back(where + "names page " + std::to_string(NavIdOf(t.page)) +
                                       ", not in the registry");
                continue;
            }
            const CPageBase* p = page(t.page);
            if (!p) {
                out.pending.push_back(where + info->className);
                continue;
            }
            const std::string target = where + info->className + " ";
            switch (t.effect) {
            case RouteEffect::Scan:
            case RouteEffect::ScanEach: break;
            case RouteEffect::Handler:
            case RouteEffect::ListRow: {
                const HandlerDecl* h = p->FindHandler(t.handler);
                if (!h) out.problems.push_back(target + "has no handler " + std::to_string(t.handler));
                else if (h->keys.empty())
                    out.problems.push_back(target + "handler " + std::to_string(t.handler) +
                                           " names no key it takes: the row tests only \"" +
                                           std::string(row.contains) + "\"");
                else if (!TakesFromRow(*h, row))
                    out.problems.push_back(target + "handler " + std::to_string(t.handler) +
                                           " takes no key the row tests (\"" + std::string(row.contains) + "\")");
                reachedHandlers.insert({t.page, t.handler});
                break;
            }
            default: {
                const FieldDecl* f = p->FindFieldByReportKey(t.key ? t.key : "");
                if (!f) {
                    out.problems.push_back(target + "has no control for " + (t.key ? t.key : "(none)"));
                    break;
                }
                const std::string why = Mismatch(row, t, *Binding(*f, t.key));
                if (!why.empty()) out.problems.push_back(target + t.key + ": " + why);
            }
            }
        }
    });

    RouteRecorder routes;
    for (const PageInfo& info : registry) {
        const CPageBase* p = page(info.Id());
        if (!p) continue;
        const std::string name = std::string(info.className) + " ";
        for (const FieldDecl& f : p->Fields()) {
            for (const ReportDecl* r : {&f.report, &f.report2}) {
                if (!r->key) continue;
                // A switch is reached in both states; any other row by a line holding its key.
                int reached = 0;
                const std::vector<std::string> lines = SampleLines(r->key);
                for (const std::string& line : lines) reached += Reaches(routes, line, *p, f, *r) ? 1 : 0;
                if (reached < (r->decode == Decode::Switch ? 2 : 1))
                    out.problems.push_back(name + r->key + " (control " + std::to_string(f.id) +
                                           ") is reached by no row");
            }
            if (f.dump && (!info.dump || std::string_view(info.dump).find(f.dump) == std::string_view::npos))
                out.problems.push_back(name + "control " + std::to_string(f.id) +
                                       " comes with a dump the page does not ask for");
        }
        for (const HandlerDecl& h : p->Handlers()) {
            if (!reachedHandlers.count({info.Id(), h.number}))
                out.problems.push_back(name + "handler " + std::to_string(h.number) + " is reached by no row");
            for (const std::string& key : h.keys)
                if (!ReachesHandler(routes, SampleLines(key).back(), info.Id(), h.number))
                    out.problems.push_back(name + key + " (handler " + std::to_string(h.number) +
                                           ") is reached by no row");
        }
    }
    return out;
}

}  // namespace rtu
