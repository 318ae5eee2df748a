// Which page receives a line from the unit, and in what form.
//
// Every delivered line goes, in this order, to the two temperature record pages (lines
// that begin with "$"), to the main parameters page (every line), and then through the
// chains A, B and C. Within a chain the first matching row ends the chain (row A1 is
// tested on its own). Rows whose page does not exist still end their chain.
#pragma once

#include <array>
#include <span>
#include <string_view>

#include "link/KeyIndex.h"
#include "link/PageId.h"

namespace rtu {

enum class RouteEffect {
    Handler,      // the page parses the text itself (its handler number 1, 2 or 3)
    EditText,     // the edit control whose report key is `key` gets the text
    CheckOn,      // the check box whose report key is `key` is set
    CheckOff,     // ... cleared
    CheckChar,    // ... set when the character at `offset` is '1'
    ComboNumber,  // the drop-down whose report key is `key` selects the number at `offset`
    ListRow,      // the page's handler `handler` gets row `digit` and the text
    Scan,         // the page looks for its own report keys in the whole line: the first in its order decides
    ScanEach,     // ... and takes every one of them the line holds
};

struct RouteTarget {
    PageId page;  // the receiving page
    RouteEffect effect;
    int offset;       // the text starts here (0: the whole line); CheckChar: the tested character
    const char* key;  // the report key that names the control, or the handler's key
    int handler;      // 1, 2, 3 for the first, second, third handler of the page; 0 otherwise
    int arg;          // table or column handed to the handler; -1 when none
};

struct RouteRow {
    static constexpr int kMaxTargets = 4;
    const char* id;               // "A1" … "C70"
    std::string_view contains;    // the line contains this text
    std::string_view orContains;  // … or this one (empty: no alternative)
    int digitOffset;              // -1, or the offset that must hold a digit (passed on as `digit`)
    std::array<RouteTarget, kMaxTargets> targets;
    int targetCount;
};

// One routed delivery to a page.
struct RouteHit {
    const RouteRow& row;
    const RouteTarget& target;
    std::string_view line;  // the whole line
    std::string_view text;  // the line from target.offset on (empty when the line is shorter)
    int digit;              // the row digit, or -1
    const MarkedLine* marked = nullptr;  // the line with its marks, when the routing made it
};

class IRouteTarget {
public:
    virtual ~IRouteTarget() = default;
    virtual void OnRoute(const RouteHit& hit) = 0;
};

// Finds the page object of a page; nullptr while that page does not exist.
class IRouteDirectory {
public:
    virtual ~IRouteDirectory() = default;
    virtual IRouteTarget* FindPage(PageId page) = 0;
};

std::span<const RouteRow> RouteChainA();
std::span<const RouteRow> RouteChainB();
std::span<const RouteRow> RouteChainC();
// The rows that see a line before the chains: the record pages, then the main parameters page.
std::span<const RouteRow> RoutePreChain();
// Every row: the pre-chain rows, then chains A, B and C.
template <class Fn> void ForEachRouteRow(Fn&& fn)
{
    for (auto chain : {RoutePreChain(), RouteChainA(), RouteChainB(), RouteChainC()})
        for (const RouteRow& row : chain) fn(row);
}

// Routes one line through the pre-chain steps and the three chains. Returns the number of
// deliveries made to existing pages.
int RouteLine(std::string_view line, IRouteDirectory& pages);
// The same for a line whose marks the caller found already.
int RouteLine(const MarkedLine& line, IRouteDirectory& pages);


}  // namespace rtu
