// A page added through the registry alone: the routing reaches it, a full reload clears
// it, a save sends its lines through the sequencer, the profile and the JSON export carry it.
// And the tool's own registry: every routing row and every declared report key meet.
#include <gtest/gtest.h>

#include <set>

#include <string>
#include <vector>

#include "DummyPage.h"
#include "session/Session.h"

namespace rtu {
namespace {

using test::DummyPage;

struct Rig {
    Millis now = 0;
    std::string wire;
    std::vector<PageInfo> registry = DummyPage::Registry();
    CSession session{[this](std::string_view b) {
                         wire += b;
                         return true;
                     },
                     [this] { return now; }, nullptr, registry};
    CPageBase& Page() { return *session.Page(PageId::Battery); }
    void Feed(std::string_view lines) { session.HandleReceive(lines); }
    void AckAll()
    {
        for (int guard = 0; guard < 1000 && !session.SenderIdle(); ++guard) session.HandleReceive("CMD OK\r\n");
    }
};

TEST(RegistryPage, ADeclaredPageIsRoutedClearedSavedAndExported)
{
    Rig rig;
    ASSERT_NE(rig.session.Page(PageId::Battery), nullptr);
    EXPECT_TRUE(rig.session.Routes().problems.empty()) << rig.session.Routes().problems.front();

    rig.Feed("$POWDLY 30\r\n$BATEN 1\r\n$POWLS 115\r\n");
    EXPECT_EQ(rig.Page().TextOf(DummyPage::kDelay), "30");
    EXPECT_EQ(rig.Page().CheckOf(DummyPage::kEnable), 1);
    EXPECT_EQ(rig.Page().TextOf(DummyPage::kLevel), "115");
    EXPECT_EQ(rig.session.DroppedReports(), 0);

    const auto json = rig.session.ExportJson();
    EXPECT_EQ(json["CPageBattery"]["1001"], "30");
    EXPECT_EQ(json["CPageBattery"]["1002"], 1);
    EXPECT_EQ(json["CPageBattery"]["1005"], -1);
    EXPECT_EQ(json["CPageBattery"].size(), 8u);  // every control that holds a value

    // The profile: its header in the battery page's place (after the analog names).
    rig.Page().SetText(DummyPage::kNote, "AB");
    const std::string profile = rig.session.ProfileText();
    const auto at = profile.find("\r\n//Page Battery alarm\r\n");
    ASSERT_NE(at, std::string::npos);
    EXPECT_GT(at, profile.find("//Page AD names"));
    EXPECT_NE(profile.find("%POWDLY30\r\n%BATEN1\r\n%POWLS115\r\n%BATNOTE00410042\r\n", at), std::string::npos);

    // A save: framed, one line at a time, then the page's dump; the mode has no selection.
    rig.wire.clear();
    rig.Page().OnSaveClicked();
    rig.AckAll();
    EXPECT_EQ(rig.wire, "%STARTCMD\r%POWDLY30\r%BATEN1\r%POWLS115\r%BATNOTE00410042\r%COMMITCMD\r%DUMP_GPIO\r");

    // A box that acts at once sends its line; a full reload clears the page.
    rig.wire.clear();
    rig.Page().Check(DummyPage::kPing) = 1;
    EXPECT_TRUE(rig.Page().OnCommand(DummyPage::kPing));
    EXPECT_EQ(rig.wire, "%BATPING1\r");
    rig.session.ClearForReload();
    EXPECT_EQ(rig.Page().TextOf(DummyPage::kDelay), "");
    EXPECT_EQ(rig.Page().CheckOf(DummyPage::kEnable), 0);
}

TEST(RegistryPage, ToolRoutesResolveBothWays)
{
    Millis now = 0;
    CSession session([](std::string_view) { return true; }, [&] { return now; }, nullptr);
    const RouteCheck& check = session.Routes();
    for (const std::string& p : check.problems) ADD_FAILURE() << p;
    // Every page with report rows is built: no row waits for a page.
    for (const std::string& p : check.pending) ADD_FAILURE() << "pending: " << p;
    session.DrainEvents([](const SessionEvent& e) {
        if (const auto* m = std::get_if<ev::Message>(&e)) ADD_FAILURE() << "told at start-up: " << m->text;
    });
}

// A page whose declaration disagrees with the routing rows: each kind of mismatch is found.
TEST(RegistryPage, MismatchesBetweenRowsAndDeclarationsAreFound)
{
    static const std::vector<FieldDecl> wrong = {
        {.id = 1, .kind = FieldKind::Text, .report = {"$POWDLY", 7, Decode::Text}},     // the row says offset 8
        {.id = 2, .kind = FieldKind::Check, .report = {"$BATEN", 0, Decode::Flag}},     // the rows test "$BATEN 1"
        {.id = 3, .kind = FieldKind::Text, .report = {"$NOSUCHKEY", 5, Decode::Text}},  // reached by no row
    };
    auto make = [](PageContext& c, const PageInfo& i) {
        return std::make_unique<CPageBase>(c, i, PageDecl{.fields = wrong});
    };
    std::vector<PageInfo> registry = DummyPage::Registry();
    for (PageInfo& row : registry)
        if (row.Id() == PageId::Battery) row.make = make;
    Millis now = 0;
    CSession session([](std::string_view) { return true; }, [&] { return now; }, nullptr, registry);
    const auto& problems = session.Routes().problems;
    auto has = [&](const std::string& text) {
        for (const std::string& p : problems)
            if (p.find(text) != std::string::npos) return true;
        return false;
    };
    EXPECT_TRUE(has("B10 CPageBattery $POWDLY: offset 8 vs declared 7"));
    EXPECT_TRUE(has("B11 CPageBattery $BATEN: a switch row needs a switch decoding"));
    EXPECT_TRUE(has("B13 CPageBattery has no control for $POWLS"));
    EXPECT_TRUE(has("CPageBattery $NOSUCHKEY (control 3) is reached by no row"));

    // The user is told at start-up, every front end alike, with the first disagreements named.
    auto event = session.PollEvent();
    ASSERT_TRUE(event && std::holds_alternative<ev::Message>(*event));
    const auto& message = std::get<ev::Message>(*event);
    EXPECT_EQ(message.icon, MessageIcon::Error);
    EXPECT_EQ(message.text.rfind(CSession::kRouteProblems, 0), 0u) << message.text;
    EXPECT_NE(message.text.find(problems.front()), std::string::npos) << message.text;

    // In use, a report that reaches the page without a taker is counted, not lost unseen.
    session.HandleReceive("$POWLS 9\r\n");
    EXPECT_EQ(session.DroppedReports(), 1);
}

// Keys a page declares but no line can bring it: a key that an earlier key of the page's own
// scan takes first, a key no row tests, a handler that names no key, a key routed to another
// handler.
TEST(RegistryPage, DeclaredKeysThatNoLineReachesAreFound)
{
    static const std::vector<FieldDecl> scanned = {
        {.id = 1, .kind = FieldKind::Text, .report = {"$GRAYH", 7, Decode::Text, 2}},  // "$GRAY" decides first
        {.id = 2, .kind = FieldKind::Text, .report = {"$GRAY", 6, Decode::Text, 1}},
        {.id = 3, .kind = FieldKind::Text, .report = {"$GREY", 6, Decode::Text, 3}},  // no row tests it
    };
    static const std::vector<HandlerDecl> handlers = {
        {.number = 1, .keys = {}, .fn = [](CPageBase&, const RouteHit&) {}},
        {.number = 2, .keys = {"$DINAS#"}, .fn = [](CPageBase&, const RouteHit&) {}},  // the row of handler 1 takes it
        {.number = 3, .keys = {"$DINDLY#"}, .fn = [](CPageBase&, const RouteHit&) {}},
    };
    std::vector<PageInfo> registry = DummyPage::Registry();
    for (PageInfo& row : registry) {
        if (row.Id() == PageId::Graycode)
            row.make = [](PageContext& c, const PageInfo& i) {
                return std::make_unique<CPageBase>(c, i, PageDecl{.fields = scanned});
            };
        if (row.Id() == PageId::DinParams)
            row.make = [](PageContext& c, const PageInfo& i) {
                return std::make_unique<CPageBase>(c, i, PageDecl{.handlers = handlers});
            };
    }
    Millis now = 0;
    CSession session([](std::string_view) { return true; }, [&] { return now; }, nullptr, registry);
    std::set<std::string> problems(session.Routes().problems.begin(), session.Routes().problems.end());
    const std::set<std::string> expected = {
        "CPageGraycode $GRAYH (control 1) is reached by no row",
        "CPageGraycode $GREY (control 3) is reached by no row",
        "B14 CPageDinParams handler 1 names no key it takes: the row tests only \"$DINAS\"",
        "B15 CPageDinParams handler 2 takes no key the row tests (\"$DINLS\")",
        "CPageDinParams $DINAS# (handler 2) is reached by no row",
    };
    EXPECT_EQ(problems, expected);
}

}  // namespace
}  // namespace rtu
