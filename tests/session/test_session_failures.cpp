// What the session tells when things fail or take long: a page's line the unit refused names
// its control, a reload the unit never answers is told once, a lost port ends the unit's
// state, and the progress window counts pages and lines in words a user reads.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "PairRig.h"
#include "link/PortProblem.h"
#include "pages/basic/PageMainParams.h"

using namespace rtu;
using rtu::test::PairRig;

namespace {

constexpr const char* kMain = "CPageMainParams";

// A session whose unit is played by hand: the test reads what was written and answers.
struct HandRig {
    Millis now = 0;
    std::vector<std::string> writes;
    std::vector<SessionEvent> events;
    CSession session{[this](std::string_view b) {
                         writes.emplace_back(b);
                         return true;
                     },
                     [this] { return now; }, nullptr};

    void Answer(const std::string& text)
    {
        session.HandleReceive(text + "\r\n");
        session.DrainEvents([this](const SessionEvent& e) { events.push_back(e); });
    }
    // Answers "CMD OK" until `line` is the last one written (bounded).
    bool OkUntil(const std::string& line)
    {
        for (int i = 0; i < 64; ++i) {
            if (!writes.empty() && writes.back() == line) return true;
            Answer("CMD OK");
        }
        return false;
    }
    template <class E> std::vector<E> Events() const
    {
        std::vector<E> out;
        for (const SessionEvent& e : events)
            if (const auto* x = std::get_if<E>(&e)) out.push_back(*x);
        return out;
    }
};

std::vector<CSysProgress::View> Views(const PairRig& rig)
{
    std::vector<CSysProgress::View> out;
    for (const ev::Progress& p : rig.Events<ev::Progress>()) out.push_back(p.view);
    return out;
}

bool AnyText(const std::vector<CSysProgress::View>& views, const std::string& part)
{
    return std::any_of(views.begin(), views.end(),
                       [&](const auto& v) { return v.text.find(part) != std::string::npos; });
}

}  // namespace

TEST(SessionFailures, ARefusedSaveLineNamesItsControl)
{
    HandRig rig;
    rig.session.Page(kMain)->SetLoaded(true);  // as if its reload had finished
    rig.session.Page(kMain)->SetText(CPageMainParams::kCountryCode, "86");
    ASSERT_TRUE(rig.session.SavePage(kMain));
    ASSERT_TRUE(rig.OkUntil("%CC86\r"));
    rig.Answer("CMD ERR");
    const auto refused = rig.Events<ev::FieldRefused>();
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_EQ(refused[0].page, kMain);
    EXPECT_EQ(refused[0].fields, std::vector<int>{CPageMainParams::kCountryCode});
    EXPECT_NE(refused[0].text.find("\"CCODE\""), std::string::npos) << refused[0].text;
    EXPECT_NE(refused[0].text.find("%CC86"), std::string::npos) << refused[0].text;
    const auto status = rig.Events<ev::Status>();
    ASSERT_FALSE(status.empty());
    EXPECT_EQ(status.back().text, refused[0].text);

    // Lines that belong to no control (the batch frame) and a profile's lines are not named:
    // the profile counts its refusals in its summary.
    rig.events.clear();
    ASSERT_TRUE(rig.OkUntil("%COMMITCMD\r"));
    rig.Answer("CMD ERR");
    ASSERT_TRUE(rig.session.ExecProfileLines(std::vector<std::string>{"%CCabc"}));
    ASSERT_TRUE(rig.OkUntil("%CCabc\r"));
    rig.Answer("CMD ERR");
    EXPECT_TRUE(rig.Events<ev::FieldRefused>().empty());
}

TEST(SessionFailures, AReloadTheUnitNeverAnswersIsToldOnce)
{
    struct Case {
        const char* name;
        bool unitListens;
        bool portLost;
        std::size_t told;
    };
    for (const Case c : {Case{"silent unit", false, false, 1u}, Case{"answering unit", true, false, 0u},
                         Case{"port lost meanwhile", false, true, 0u}}) {
        PairRig rig;
        rig.unitListens = c.unitListens;
        rig.session.Reload();
        if (c.portLost) rig.session.HandlePortLost();
        rig.Drive();
        const auto told = rig.Events<ev::NoAnswer>();
        ASSERT_EQ(told.size(), c.told) << c.name;
        if (c.told) {
            EXPECT_EQ(told[0].seconds, CSession::kReloadAnswerMs / 1000) << c.name;
            EXPECT_NE(told[0].text.find("within 30 s"), std::string::npos) << c.name;
            EXPECT_GE(rig.now, CSession::kReloadAnswerMs) << c.name;
        }
    }
}

TEST(SessionFailures, AReloadCountsThePagesItFills)
{
    PairRig rig;
    rig.session.Reload();
    rig.Drive();
    const auto views = Views(rig);
    ASSERT_FALSE(views.empty());
    int last = CSysProgress::kBarMin;
    int best = CSysProgress::kBarMin;
    for (const auto& v : views) {
        // The raw report lines stay on the console.
        EXPECT_FALSE(!v.text.empty() && (v.text[0] == '$' || v.text[0] == '%')) << v.text;
        if (v.text.find(" pages)") != std::string::npos) {
            EXPECT_GE(v.bar, last) << v.text;  // a reload's count never goes back
            last = v.bar;
            best = std::max(best, v.bar);
        }
    }
    EXPECT_TRUE(AnyText(views, "Reading ")) << "no page named";
    EXPECT_EQ(best, CSysProgress::kBarMax);  // every page a reload fills was reported
}

TEST(SessionFailures, AProfileCountsItsLines)
{
    PairRig rig;
    const std::vector<std::string> lines = {"%CS1+491", "%CS2+492", "%CS3+493", "%CS4+494"};
    ASSERT_TRUE(rig.session.ExecProfileLines(lines));
    rig.Drive();
    const auto views = Views(rig);
    EXPECT_TRUE(AnyText(views, "Sending line 1 of 4: %CS1+491"));
    EXPECT_TRUE(AnyText(views, "Sending line 4 of 4: %CS4+494"));
    EXPECT_FALSE(AnyText(views, "of 4: %STARTCMD"));
    EXPECT_FALSE(AnyText(views, "5 of 4"));
    const auto full = std::find_if(views.begin(), views.end(),
                                   [](const auto& v) { return v.text.find("4 of 4") != std::string::npos; });
    ASSERT_NE(full, views.end());
    EXPECT_EQ(full->bar, CSysProgress::kBarMax);
}

TEST(SessionFailures, APortThatCannotBeOpenedIsToldWithItsReason)
{
    struct Case {
        int err;
        const char* told;
    };
    for (const Case c :
         {Case{ENOENT, "no such port"}, Case{ENXIO, "no such port"}, Case{EACCES, "\"dialout\" group"},
          Case{EPERM, "permission denied"}, Case{EBUSY, "in use by another program"}, Case{EIO, std::strerror(EIO)}}) {
        const std::string text = DescribeOpenFailure("/dev/ttyUSB0", c.err);
        EXPECT_NE(text.find("/dev/ttyUSB0"), std::string::npos) << text;
        EXPECT_NE(text.find(c.told), std::string::npos) << text;
    }
}
