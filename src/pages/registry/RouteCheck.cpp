#include "pages/registry/RouteCheck.h"

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

}  // namespace

RouteCheck CheckRoutes(std::span<const PageInfo> registry, const std::function<const CPageBase*(PageId)>& page)
{
    RouteCheck out;
    std::set<std::pair<PageId, std::string>> reachedKeys;
    std::set<std::pair<PageId, int>> reachedHandlers;
    std::set<PageId> scanned;

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
            case RouteEffect::Scan: scanned.insert(t.page); break;
            case RouteEffect::Handler:
            case RouteEffect::ListRow:
                if (!p->FindHandler(t.handler))
                    out.problems.push_back(target + "has no handler " + std::to_string(t.handler));
                reachedHandlers.insert({t.page, t.handler});
                break;
            default: {
                const FieldDecl* f = p->FindFieldByReportKey(t.key ? t.key : "");
                if (!f) {
                    out.problems.push_back(target + "has no control for " + (t.key ? t.key : "(none)"));
                    break;
                }
                reachedKeys.insert({t.page, t.key});
                const std::string why = Mismatch(row, t, *Binding(*f, t.key));
                if (!why.empty()) out.problems.push_back(target + t.key + ": " + why);
            }
            }
        }
    });

    for (const PageInfo& info : registry) {
        const CPageBase* p = page(info.Id());
        if (!p) continue;
        const std::string name = std::string(info.className) + " ";
        for (const FieldDecl& f : p->Fields()) {
            for (const ReportDecl* r : {&f.report, &f.report2}) {
                if (r->key && !scanned.count(info.Id()) && !reachedKeys.count({info.Id(), r->key}))
                    out.problems.push_back(name + r->key + " (control " + std::to_string(f.id) +
                                           ") is reached by no row");
            }
            if (f.dump && (!info.dump || std::string_view(info.dump).find(f.dump) == std::string_view::npos))
                out.problems.push_back(name + "control " + std::to_string(f.id) +
                                       " comes with a dump the page does not ask for");
        }
        for (const HandlerDecl& h : p->Handlers())
            if (!reachedHandlers.count({info.Id(), h.number}))
                out.problems.push_back(name + "handler " + std::to_string(h.number) + " is reached by no row");
    }
    return out;
}

}  // namespace rtu
