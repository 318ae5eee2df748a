#include <gtest/gtest.h>

#include <cctype>

#include "PairRig.h"

using namespace rtu;
using rtu::test::PairRig;

TEST(SessionPair, ReloadFillsEveryPageAndExportsByControlId)
{
    PairRig rig;
    rig.session.Reload();
    rig.Drive();
    EXPECT_TRUE(rig.session.LoggedIn());
    const auto json = rig.session.ExportJson();
    for (const auto& page : rig.session.Pages()) {
        ASSERT_TRUE(json.contains(page->ClassName())) << page->ClassName();
        for (const auto& [key, value] : json[page->ClassName()].items()) {
            const bool controlId =
                !key.empty() && std::all_of(key.begin(), key.end(), [](unsigned char c) { return std::isdigit(c); });
            EXPECT_TRUE(controlId || value.is_string()) << page->ClassName() << " " << key;
        }
    }
    EXPECT_EQ(json["CPageServer"]["4001"][3][1], "+4915112340003");
}

TEST(SessionPair, FullReloadClearsWhatTheUnitNoLongerReports)
{
    PairRig rig;
    rig.session.Reload();
    rig.Drive();
    const std::string before = rig.session.ProfileText();
    ASSERT_NE(before.find("%CS3+4915112340003"), std::string::npos);
    rig.unit = CSimUnit(rtu::test::FastOptions(), CSimImage{}, rtu::test::DefaultImage());
    rig.session.Reload();
    rig.Drive();
    EXPECT_EQ(rig.session.ProfileText().find("+4915112340003"), std::string::npos);
}

TEST(SessionPair, ProfileRoundTripOntoAnEmptyUnit)
{
    PairRig source;
    source.session.Reload();
    source.Drive();
    const std::string profile = source.session.ProfileText();

    PairRig target(CSimImage{});
    std::vector<std::string> lines;
    std::string line;
    for (char c : profile) {
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
        } else {
            line += c;
        }
    }
    ASSERT_TRUE(target.session.ExecProfileLines(lines));
    target.Drive();
    ASSERT_TRUE(target.summary.has_value());
    EXPECT_GT(target.summary->sent, 100);
    EXPECT_EQ(target.summary->ok, target.summary->sent);
    EXPECT_EQ(target.messages.back().rfind(CSession::kExecProfileOk, 0), 0u) << target.messages.back();
    // The execution ends with a full reload: the target now shows what the source showed.
    EXPECT_EQ(target.session.ProfileText(), profile);
}

TEST(SessionPair, PageSaveSendsItsLinesThenReloads)
{
    PairRig rig;
    rig.session.Reload();
    rig.Drive();
    CPageBase* server = rig.session.Page("CPageServer");
    ASSERT_NE(server, nullptr);
    CPageBase* main = rig.session.Page("CPageMainParams");
    ASSERT_NE(main, nullptr);
    rig.events.clear();
    rig.session.SavePage("CPageMainParams");
    rig.Collect();
    ASSERT_FALSE(rig.Events<ev::Busy>().empty());
    EXPECT_TRUE(rig.Events<ev::Busy>().front().busy);
    rig.Drive();
    // Every line was acknowledged by the unit and the page was reloaded afterwards.
    EXPECT_GT(rig.unit.CommandsReceived(), 20);
    EXPECT_NE(rig.session.ProfileText().find("%IDRTU-0001"), std::string::npos);
}

TEST(SessionPair, ExportStaysValidJsonWhateverTheUnitSends)
{
    PairRig rig;
    rig.session.Reload();
    rig.Drive();
    rig.session.HandleReceive("$SMSC +49\xB3\xFF\r\n$DID RTU\xC3\r\n");
    const std::string text = rig.session.ExportJsonText();
    const auto json = nlohmann::json::parse(text);  // throws on invalid JSON
    EXPECT_EQ(json["CPageMainParams"]["1029"], "+49\xEF\xBF\xBD\xEF\xBF\xBD");
}
