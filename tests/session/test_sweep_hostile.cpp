// A sweep over every text of every page that saves, against the simulated unit: a hostile
// value typed into it is either refused at its field with nothing sent, or reaches the unit
// exactly (the page's reload after its save shows it). Never a line on the wire that is no
// command of its own.
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

// Texts whose values do not yet come back as typed, each to be mended and then taken off
// this list (the sweep fails once one of them comes back right, so the list can't go stale).
const std::set<std::string> kNotYetExact = {
    "CPage3GMMS 1344", "CPage3GMMS 1345", "CPage3GMMS 1346", "CPage3GMMS 1354", "CPage3GMMS 1355",  // own reload brings nothing back
    "CPageGPRS 1370",  "CPageGPRS 1374",  "CPageGPRS 1376",                                          // refused by the unit
    "CPage62056 1506", "CPage62056 1507", "CDataParams 1053",
    "CPageMainParams 1016", "CPageMainParams 1585",  // cut by the unit
};

}  // namespace

TEST(SweepHostileValues, EveryTextIsRefusedOrReachesTheUnitExactly)
{
    PairRig rig;
    SSimOptions traced = rtu::test::FastOptions();
    traced.trace = true;
    rig.unit = CSimUnit(traced, rtu::test::DefaultImage(), rtu::test::DefaultImage());
    rig.session.Reload();
    rig.Drive();
    const std::string hostile[] = {"a,b", "x\ry", "x\ny", "%DUMPS", "\xC3\xA4\xE4\xB8\xAD", std::string(200, 'w')};
    std::set<std::string> inexact;
    int refused = 0, exact = 0;
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
                const bool went = rig.session.SavePage(page->ClassName());
                rig.Drive();
                int received = 0;
                for (const SSimTraceEntry& e : rig.unit.TakeTrace()) {
                    if (e.direction != '<') continue;
                    ++received;
                    EXPECT_TRUE(e.text.starts_with("%")) << "a line that is no command: " << e.text;
                }
                if (!went) {
                    EXPECT_EQ(received, 0);
                    ++refused;
                } else if (page->TextOf(f.id) == value) {
                    ++exact;
                } else {
                    inexact.insert(where);
                }
            }
            page->SetText(f.id, original);
            rig.session.SavePage(page->ClassName());
            rig.Drive();
        }
    }
    EXPECT_EQ(inexact, kNotYetExact);
    EXPECT_GT(refused, 0);
    EXPECT_GT(exact, 0);
}
