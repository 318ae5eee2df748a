// Nothing writes to the unit while it is busy or from a page that was never read; a save and
// a profile run say how they ended, a profile only once the reload after it has finished.
#include <gtest/gtest.h>

#include "PairRig.h"

namespace rtu::test {
namespace {

const std::vector<std::string> kTwoLines{"%STARTCMD", "%CS1+4912345", "%COMMITCMD"};

bool Refused(const PairRig& rig) { return !rig.Events<ev::Refused>().empty(); }

}  // namespace

// Every command that writes is refused, with an event, while a reload runs, and nothing of it
// reaches the unit.
TEST(SessionWrites, WritesAreRefusedWhileTheUnitIsBusy)
{
    struct Case {
        const char* name;
        std::function<bool(CSession&)> act;  // true: the command went
    };
    const Case cases[] = {
        {"page save", [](CSession& s) { return s.SavePage("CPageMainParams"); }},
        {"save button", [](CSession& s) { return s.PageCommand("CPageMainParams", ctl::kSave); }},
        {"row edit",
         [](CSession& s) {
             return s.EditRow("CPageServer", RowEdit{ctl::kList, 1, {}});
         }},
        {"profile", [](CSession& s) { return s.ExecProfileLines(kTwoLines); }},
        {"restart",
         [](CSession& s) {
             s.Restart();
             return false;
         }},
        {"defaults",
         [](CSession& s) {
             s.Defaults();
             return false;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PairRig rig;
        rig.session.Reload();
        rig.Drive();
        rig.session.Reload();  // the second reload is running: every page is being refilled
        ASSERT_TRUE(rig.session.Busy());
        const std::string before = rig.toUnit;
        EXPECT_FALSE(c.act(rig.session));
        rig.Collect();
        EXPECT_TRUE(Refused(rig));
        EXPECT_EQ(rig.toUnit, before) << "nothing more went to the unit";
        rig.Drive();
        EXPECT_FALSE(rig.session.Busy());
        EXPECT_FALSE(rig.session.ProfileRunning());
    }
}

// A page's Save needs the page read since the port was opened: by the full reload, or by
// the page's own reload once the unit reported for it.
TEST(SessionWrites, SaveNeedsThePageReadSinceThePortOpened)
{
    struct Case {
        const char* name;
        std::function<void(PairRig&)> before;
        bool saves;
    };
    const Case cases[] = {
        {"nothing read", {}, false},
        {"after the full reload",
         [](PairRig& r) {
             r.session.Reload();
             r.Drive();
         },
         true},
        {"the port reopened after the reload",
         [](PairRig& r) {
             r.session.Reload();
             r.Drive();
             r.session.PortOpened();
         },
         false},
        {"the page's own reload",
         [](PairRig& r) {
             r.session.ReloadPage("CPageMainParams");
             r.Drive();
         },
         true},
        {"its own reload, then a line with none of its keys",
         [](PairRig& r) {
             r.session.ReloadPage("CPageMainParams");
             r.toUnit.clear();  // the unit never hears it
             r.session.HandleReceive("+CSQ: 17,0\r\n");
         },
         false},
        {"another page's own reload",
         [](PairRig& r) {
             r.session.ReloadPage("CPageServer");
             r.Drive();
         },
         false},
        {"a full reload that never finished",
         [](PairRig& r) {
             r.unitListens = false;
             r.session.Reload();
             r.Drive();
             r.unitListens = true;
         },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PairRig rig;
        if (c.before) c.before(rig);
        rig.events.clear();
        rig.toUnit.clear();
        EXPECT_EQ(rig.session.SavePage("CPageMainParams"), c.saves);
        rig.Collect();
        EXPECT_EQ(Refused(rig), !c.saves);
        EXPECT_EQ(rig.toUnit.empty(), !c.saves);
        EXPECT_EQ(rig.session.Page("CPageMainParams")->Loaded(), c.saves);
        rig.Drive();
        EXPECT_FALSE(rig.session.Busy()) << "a silent reload ends after its bound";
    }
}

// A page save ends with a status line that says how its lines were answered.
TEST(SessionWrites, PageSaveOutcomeGoesToTheStatusLine)
{
    struct Case {
        const char* name;
        bool listens;
        std::string starts;
    };
    const Case cases[] = {
        {"every line answered", true, "Saved \""},
        {"a unit that does not answer", false, "Saving \""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PairRig rig;
        rig.session.Reload();
        rig.Drive();
        rig.events.clear();
        rig.unitListens = c.listens;
        ASSERT_TRUE(rig.session.SavePage("CPageMainParams"));
        rig.Drive();
        std::vector<std::string> saves;
        for (const ev::Status& s : rig.Events<ev::Status>())
            if (s.text.rfind("Sav", 0) == 0) saves.push_back(s.text);
        ASSERT_EQ(saves.size(), 1u);
        EXPECT_EQ(saves.front().rfind(c.starts, 0), 0u) << saves.front();
    }
}

// The profile's outcome is told after the line that ends the reload following it, with its counts.
TEST(SessionWrites, ProfileOutcomeFollowsTheReload)
{
    PairRig rig;
    ASSERT_TRUE(rig.session.ExecProfileLines(kTwoLines));
    rig.Drive();
    std::size_t reloadEnd = 0, message = 0;
    for (std::size_t i = 0; i < rig.events.size(); ++i) {
        if (const auto* l = std::get_if<ev::Line>(&rig.events[i]); l && l->text.find("DUMPR") != std::string::npos)
            reloadEnd = i;
        if (std::holds_alternative<ev::Message>(rig.events[i])) message = i;
    }
    ASSERT_GT(reloadEnd, 0u);
    EXPECT_GT(message, reloadEnd);
    ASSERT_EQ(rig.messages.size(), 1u);
    EXPECT_NE(rig.messages.front().find("3 line(s) answered \"CMD OK\", 0 answered \"CMD ERR\", 0 not answered"),
              std::string::npos)
        << rig.messages.front();
}

}  // namespace rtu::test
