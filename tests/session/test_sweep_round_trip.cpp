// A sweep over every page against the simulated unit: what a page read goes back unchanged.
// Full reload, every page saves what it shows, the unit answers every line "CMD OK", and a
// second full reload shows exactly what the first one did.
#include <gtest/gtest.h>

#include "PairRig.h"

using namespace rtu;
using rtu::test::PairRig;


TEST(SweepRoundTrip, EveryPageSavesWhatItReadAndReadsItBack)
{
    PairRig rig;
    rig.session.Reload();
    rig.Drive();
    const nlohmann::json before = rig.session.ExportJson();
    int saved = 0;
    for (const auto& page : rig.session.Pages()) {
        if (!rtu::test::PageSaves(*page)) continue;
        rig.events.clear();
        EXPECT_TRUE(rig.session.SavePage(page->ClassName())) << page->ClassName();
        rig.Drive();
        ++saved;
        for (const auto& a : rig.Events<ev::CommandAnswered>())
            EXPECT_EQ(a.ack, AckKind::Ok) << page->ClassName() << ": " << a.bytes;
        EXPECT_TRUE(rig.Events<ev::Refused>().empty()) << page->ClassName();
    }
    EXPECT_GT(saved, 20);
    rig.session.Reload();
    rig.Drive();
    const nlohmann::json after = rig.session.ExportJson();
    for (const auto& [page, values] : before.items())
        for (const auto& [id, value] : values.items())
            EXPECT_EQ(after[page][id], value) << page << " " << id;
}

