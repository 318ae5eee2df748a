// A sweep over every text input of every row editor, against the simulated unit: a hostile
// value typed into it is either refused at its input with nothing sent, or the unit's reload
// opens the row with exactly that value and every other input as it was. Never a line on
// the wire that is no command of its own.
#include <gtest/gtest.h>

#include <set>

#include "PairRig.h"

using namespace rtu;
using rtu::test::PairRig;

namespace {

bool Typed(const FieldDecl& f)
{
    const bool text = f.kind == FieldKind::Text || f.kind == FieldKind::MultiLine || f.kind == FieldKind::EditableCombo;
    return text && f.visible && !f.readOnly;
}

// Inputs whose value the unit keeps inside another one: the row's reload opens them otherwise.
const std::set<std::string> kNotKept = {
    "CPageADSms 1578",  // the unit of a message goes behind its text ("text#unit")
};
// Whole numbers that go out as typed: the unit refuses a text that is none and keeps what it
// had (its answer is the judgement; these are hints at the input, never refusals).
const std::set<std::string> kUnitJudges = {
    "CPageDinParams 1410",  "CPageDinParams 1411",  "CPageDinParams 1412", "CPageGPRS 1417",
    "CPageGPRS 1440",       "CPageGPRS 1443",       "CPageGPRS 1445",      "CPageMbusParams 1389",
    "CPageMbusParams 1390", "CPageMbusParams 1417",
};

}  // namespace

TEST(SweepHostileValues, EveryRowEditorTextIsRefusedOrReachesTheUnitExactly)
{
    PairRig rig;
    rtu::test::ReadTracedUnit(rig);
    const auto& hostile = rtu::test::kHostileValues;
    std::set<std::string> inexact, shifted;
    int refused = 0, exact = 0, inputs = 0;
    for (const auto& page : rig.session.Pages()) {
        for (const RowEditorDecl& e : page->RowEditors()) {
            RowEdit original;
            if (!page->BeginEditRow(e.listId, 0, original)) continue;
            for (const FieldDecl& f : e.fields) {
                if (!Typed(f)) continue;
                ++inputs;
                const std::string where = std::string(page->ClassName()) + " " + std::to_string(f.id);
                for (const std::string& value : hostile) {
                    SCOPED_TRACE(where + " <" + value.substr(0, 12) + ">");
                    RowEdit edit = original;
                    edit.values[f.id].text = value;
                    rig.unit.TakeTrace();
                    const bool went = rig.session.EditRow(page->ClassName(), edit);
                    rig.Drive();
                    const int received = CommandLinesReceived(rig);
                    if (!went) {
                        EXPECT_EQ(received, 0);
                        ++refused;
                        continue;
                    }
                    RowEdit back;
                    ASSERT_TRUE(page->BeginEditRow(e.listId, 0, back));
                    if (back.values[f.id].text == value) ++exact;
                    else if (!kUnitJudges.contains(where)) inexact.insert(where);
                    if (kNotKept.contains(where)) continue;
                    for (const FieldDecl& other : e.fields)
                        if (Typed(other) && other.id != f.id &&
                            back.values[other.id].text != original.values[other.id].text)
                            shifted.insert(where + " moved " + std::to_string(other.id));
                }
                // The row as the unit had it goes back.
                rig.session.EditRow(page->ClassName(), original);
                rig.Drive();
            }
        }
    }
    EXPECT_EQ(inexact, kNotKept);
    EXPECT_TRUE(shifted.empty()) << *shifted.begin();
    EXPECT_GT(inputs, 20);
    EXPECT_GT(refused, 0);
    EXPECT_GT(exact, 0);
}
