// A sweep over every text of every page that saves, against the simulated unit: a hostile
// value typed into it is either refused at its field with nothing sent, or refused by the unit
// with the session naming the field (the unit keeps what it had), or reaches the unit exactly
// (a reload after the save shows it). Never a line on the wire that is no command of its own.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "PairRig.h"

using namespace rtu;
using rtu::test::PairRig;

namespace {

bool Typed(const FieldDecl& f)
{
    const bool text = f.kind == FieldKind::Text || f.kind == FieldKind::MultiLine || f.kind == FieldKind::EditableCombo;
    return text && !f.readOnly && !f.write.reportOnly && (f.write.format || f.write.partOf || f.write.compose);
}

// Whether the unit refused a line of the page's save that this row wrote, and the session
// said so, naming the row: the unit's answer is the judgement on a value the tool can't rule on.
bool UnitRefused(const PairRig& rig, std::size_t from, const CPageBase& page, int id)
{
    for (std::size_t i = from; i < rig.events.size(); ++i)
        if (const auto* r = std::get_if<ev::FieldRefused>(&rig.events[i]))
            if (r->page == page.ClassName() && std::find(r->fields.begin(), r->fields.end(), id) != r->fields.end())
                return true;
    return false;
}

}  // namespace

TEST(SweepHostileValues, EveryTextIsRefusedOrReachesTheUnitExactly)
{
    PairRig rig;
    rtu::test::ReadTracedUnit(rig);
    const auto& hostile = rtu::test::kHostileValues;
    std::set<std::string> inexact;
    int refused = 0, exact = 0, unitRefused = 0;
    for (const auto& page : rig.session.Pages()) {
        if (!rtu::test::PageSaves(*page)) continue;
        for (const FieldDecl& f : page->Fields()) {
            if (!Typed(f)) continue;
            const std::string where = std::string(page->ClassName()) + " " + std::to_string(f.id);
            const std::string original = page->TextOf(f.id);
            for (const std::string& value : hostile) {
                SCOPED_TRACE(where + " <" + value.substr(0, 12) + ">");
                page->SetText(f.id, value);
                page->MarkEdited();
                rig.unit.TakeTrace();
                const std::size_t eventsBefore = rig.events.size();
                const bool went = rig.session.SavePage(page->ClassName());
                rig.Drive();
                const int received = CommandLinesReceived(rig);
                if (!went) {
                    EXPECT_EQ(received, 0);
                    ++refused;
                } else if (page->TextOf(f.id) == value) {
                    ++exact;
                } else if (UnitRefused(rig, eventsBefore, *page, f.id)) {
                    EXPECT_EQ(page->TextOf(f.id), original) << "the unit keeps its value";
                    ++unitRefused;
                } else {
                    // The page's own reload may not ask for the dump that carries this value
                    // (the 3G page shows the access point the network page reads): read all.
                    rig.session.Reload();
                    rig.Drive();
                    if (page->TextOf(f.id) == value) ++exact;
                    else inexact.insert(where + " <" + value.substr(0, 12) + "> came back as <" + page->TextOf(f.id).substr(0, 12) + ">");
                }
            }
            page->SetText(f.id, original);
            rig.session.SavePage(page->ClassName());
            rig.Drive();
        }
    }
    EXPECT_EQ(inexact, std::set<std::string>{});
    EXPECT_GT(refused, 0);
    EXPECT_GT(unitRefused, 0);
    EXPECT_GT(exact, 0);
}
