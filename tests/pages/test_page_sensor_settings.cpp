// The small sensor pages: buzzer, battery, internal temperature and humidity, motion sensor
// and gray code. What the unit reports, and what a save sends back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PageHarness.h"
#include "link/ProfileWriter.h"
#include "pages/sensor/PageBattery.h"
#include "pages/sensor/PageBuzzer.h"
#include "pages/sensor/PageGSensor.h"
#include "pages/sensor/PageGraycode.h"
#include "pages/sensor/PageTemp.h"

namespace {

namespace c = rtu::climate;
using rtu::PageId;

struct SaveCase {
    PageId page;
    std::vector<const char*> reports;
    const char* wire;  // a save after those reports, acknowledged, with what follows it
};

TEST(SensorSettings, ReportsComeBackAsTheSavedLines)
{
    const SaveCase cases[] = {
        {PageId::Buzzer, {"$IBUZ 1", "$BUZZERT 15"}, "%STARTCMD\r%BUZEN1\r%BUZT15\r%COMMITCMD\r%DUMP_SYS\r"},
        {PageId::Buzzer, {"$IBUZ 0", "$BUZZERT 15", "$BUZ 9"}, "%STARTCMD\r%BUZEN0\r%BUZT15\r%COMMITCMD\r%DUMP_SYS\r"},
        {PageId::Battery,
         {"$POWDLY 30", "$BATEN 1", "$POWLS 120"},
         "%STARTCMD\r%POWDLY30\r%BATEN1\r%POWLS120\r%COMMITCMD\r%DUMP_GPIO\r"},
        {PageId::GSensor,
         {"$GSENSORVPC 1", "$GSENSORVCR 1", "$GSENSORVCH 2", "$GSENSORMIN 10", "$GSENSORSTEP 3"},
         "%STARTCMD\r%GSENSORVCH2\r%GSENSORVPC1\r%GSENSORDVR1\r%GSENSORMIN10\r%GSENSORSTEP3\r%COMMITCMD\r"
         "%DUMP_GSENSOR\r"},
        {PageId::GSensor,
         {"$GSENSORVCH 7"},  // no such channel: nothing selected, sent as 0
         "%STARTCMD\r%GSENSORVCH0\r%GSENSORVPC0\r%GSENSORDVR0\r%GSENSORMIN\r%GSENSORSTEP\r%COMMITCMD\r%DUMP_GSENSOR\r"},
        {PageId::Graycode,
         {"$GRAYH 1023", "$GRAYL 0", "$GRAYADJ -3", "$GRAYTIMER 600", "$GRAYACCS 1", "$GRAYBITS 10", "$GRAYSTEP 4",
          "$GRAYDETT 2", "$GRAYEVENTCNT 3", "$GRAYEVENTMIN 30", "$GRAYVALUEV 5", "$GRAYREPHS 6"},
         "%STARTCMD\r%GRAYRANGE0,1023\r%GRAYSTEP4\r%GRAYOFFSET-3\r%GRAYBITS10\r%GRAYACCS1\r%GRAYTIMER600\r"
         "%GRAYDETT2\r%GRAYEVENT3,30\r%COMMITCMD\r%DUMP_GRAY\r"},
        {PageId::Temp,
         {"$TMPH 45", "$TMPL 0", "$TMPB -2", "*TMPC 27.5", "$TMPAS 10", "$TMPRS 60", "$TMPDLY 30", "$TMPOS 2",
          "$TMPUPS 5", "*TMP100_EN 1", "$TMPURG 0", "$TMPSND 1", "$TMPSMS 1", "$TMPIH 2", "$TMPIL 7"},
         "%STARTCMD\r%TMPH45\r%TMPL0\r%TMPB-2\r%TMPON\r%TMPSMS1\r%TMPSND1\r%TMPAS10\r%TMPRS60\r%TMPDLY30\r"
         "%TMPURG0\r%TMPOS2\r%TMPUPS5\r%TMPIH2\r%COMMITCMD\r%DUMP_TMP\r%DUMPR\r"},
        {PageId::Temp,
         {"*TMP100_EN 0", "$TMPIH 4", "$TMPIL 9"},  // "Nc" in both lists sends neither
         "%STARTCMD\r%TMPH\r%TMPL\r%TMPB\r%TMPOFF\r%TMPSMS0\r%TMPSND0\r%TMPAS\r%TMPRS\r%TMPDLY\r%TMPURG0\r%TMPOS\r"
         "%TMPUPS\r%COMMITCMD\r%DUMP_TMP\r%DUMPR\r"},
        {PageId::Humidity,
         {"$HUMH 80", "$HUML 20", "$HUMB 0", "$HUMC 46.5", "$HUMAS 15", "$HUMRS 120", "$HUMDLY 30", "$HUMOS 5",
          "$HUMUPS 10", "$HUMEN 1", "$HUMURG 1", "$HUMSND 0", "$HUMIH 1", "$HUMIL 2"},
         "%STARTCMD\r%HUMB0\r%HUMH80\r%HUML20\r%HUMAS15\r%HUMRS120\r%HUMDLY30\r%HUMOS5\r%HUMEN1\r%HUMSND0\r"
         "%HUMURG1\r%HUMUPS10\r%HUMIH1\r%HUMIL2\r%COMMITCMD\r%DUMP_HUM\r"},
        {PageId::Humidity,
         {"$HUMIH 4", "$HUMIL 8"},  // "Nc" goes as 4 on this page
         "%STARTCMD\r%HUMB\r%HUMH\r%HUML\r%HUMAS\r%HUMRS\r%HUMDLY\r%HUMOS\r%HUMEN0\r%HUMSND0\r%HUMURG0\r%HUMUPS\r"
         "%HUMIH4\r%HUMIL4\r%COMMITCMD\r%DUMP_HUM\r"},
    };
    for (const SaveCase& sc : cases) {
        rtu::test::PageHarness h;
        rtu::CPageBase& page = h.Make(sc.page);
        for (const char* line : sc.reports) h.Route(line);
        page.OnSaveClicked();
        h.AckAll();
        EXPECT_EQ(h.Wire(), sc.wire) << page.ClassName();
        EXPECT_EQ(page.DroppedReports(), 0) << page.ClassName();
    }
}

struct ValueCase {
    PageId page;
    const char* line;
    int id;
    std::string text;  // expected text, or for boxes "0"/"1", for lists the index
};

TEST(SensorSettings, ReportEdges)
{
    using G = rtu::CPageGraycode;
    const ValueCase cases[] = {
        {PageId::Buzzer, "$BUZZERT 15", rtu::CPageBuzzer::kDuration, "15"},
        {PageId::Buzzer, "$IBUZ 1", rtu::CPageBuzzer::kEnabled, "1"},
        {PageId::GSensor, "$GSENSORVCH 2", rtu::CPageGSensor::kChannel, "1"},
        {PageId::GSensor, "$GSENSORVCH 1", rtu::CPageGSensor::kChannel, "0"},
        {PageId::GSensor, "$GSENSORVPC 1", rtu::CPageGSensor::kVideoCall, "1"},
        {PageId::GSensor, "$GSENSORSTEP 12", rtu::CPageGSensor::kStep, "12"},
        {PageId::Graycode, "$GRAYEVENTMIN 30", G::kEventMinutes, "30"},
        {PageId::Graycode, "$GRAYEVENTMIN 30", G::kEventCount, ""},
        {PageId::Graycode, "$GRAYH 77", G::kRangeHigh, "77"},
        {PageId::Graycode, "$GRAYVALUEB 9", G::kValueB, "9"},
        {PageId::Graycode, "$GRAYREPHE 22", G::kSpanEnd, "22"},
        {PageId::Temp, "$TMPIH 7", c::kOutHigh, "4"},
        {PageId::Temp, "$TMPIL 0", c::kOutLow, "0"},
        {PageId::Temp, "$TMPI", c::kOutLow, "-1"},     // no number: nothing selected
        {PageId::Temp, "$TMPIX 1", c::kOutLow, "-1"},  // neither H nor L
        {PageId::Temp, "*TMPC 27.5", c::kCurrent, "27.5"},
        {PageId::Humidity, "$HUMIL 2", c::kOutLow, "2"},
        {PageId::Humidity, "$HUMEN 1", c::kEnable, "1"},
        {PageId::Humidity, "$HUMEN x", c::kEnable, "0"},
        {PageId::Humidity, "$HUMDLY 30", c::kConfirm, "30"},
        {PageId::Humidity, "$HUMC 45.5", c::kCurrent, "45.5"},
        {PageId::Humidity, "*HUMIDITY 44", c::kCurrent, "44"},
        {PageId::Humidity, "$HUMSND 1", c::kSound, "1"},
        {PageId::Humidity, "$HUMX 1", c::kHigh, ""},
    };
    for (const ValueCase& vc : cases) {
        rtu::test::PageHarness h;
        rtu::CPageBase& page = h.Make(vc.page);
        h.Route(vc.line);
        const rtu::FieldDecl* f = page.FindField(vc.id);
        ASSERT_TRUE(f) << vc.line;
        std::string got = page.TextOf(vc.id);
        if (f->kind == rtu::FieldKind::Check) got = std::to_string(page.CheckOf(vc.id));
        if (f->kind == rtu::FieldKind::Combo) got = std::to_string(page.ValueOf(vc.id).sel);
        EXPECT_EQ(got, vc.text) << vc.line;
    }
}

TEST(SensorSettings, ReloadsKeepTheReadingsTheyShow)
{
    rtu::test::PageHarness h;
    rtu::CPageBase& temp = h.Make(PageId::Temp);
    rtu::CPageBase& hum = h.Make(PageId::Humidity);
    rtu::CPageBase& gray = h.Make(PageId::Graycode);
    for (const char* line : {"*TMPC 27.5", "$TMPH 45", "$HUMC 46", "$HUMH 80", "$GRAYVALUEV 5", "$GRAYREPHS 6"})
        h.Route(line);
    for (rtu::CPageBase* p : {&temp, &hum, &gray}) p->ReloadGroup();
    EXPECT_EQ(h.Wire(), "%DUMP_TMP\r%DUMPR\r%DUMP_HUM\r%DUMP_GRAY\r");
    EXPECT_EQ(temp.TextOf(c::kCurrent), "27.5");
    EXPECT_EQ(temp.TextOf(c::kHigh), "");
    EXPECT_EQ(hum.TextOf(c::kCurrent), "");
    EXPECT_EQ(gray.TextOf(rtu::CPageGraycode::kValueV), "5");
    EXPECT_EQ(gray.TextOf(rtu::CPageGraycode::kSpanStart), "");
}

TEST(SensorSettings, TemperatureClearSendsFourLinesThenReloads)
{
    rtu::test::PageHarness h;
    rtu::CPageBase& temp = h.Make(PageId::Temp);
    EXPECT_TRUE(temp.OnCommand(c::kClear));
    h.AckAll();
    EXPECT_EQ(h.Wire(), "%STARTCMD\r%TMPH0\r%TMPL0\r%COMMITCMD\r%DUMP_TMP\r%DUMPR\r");
}

TEST(SensorSettings, ProfileSectionsOfBuzzerAndBattery)
{
    rtu::test::PageHarness h;
    rtu::CPageBase& buzzer = h.Make(PageId::Buzzer);
    rtu::CPageBase& battery = h.Make(PageId::Battery);
    for (const char* line : {"$IBUZ 1", "$BUZZERT 15", "$POWDLY 30", "$BATEN 0", "$POWLS 5\r%ATF"}) h.Route(line);
    rtu::CProfileWriter file;
    buzzer.WriteProfileSection(file);
    battery.WriteProfileSection(file);
    for (PageId none : {PageId::Temp, PageId::Humidity, PageId::GSensor, PageId::Graycode})
        h.Make(none).WriteProfileSection(file);
    EXPECT_EQ(file.Written(), "\r\n//Page Buzzer Siren\r\n\r\n%BUZEN1\r\n%BUZT15\r\n"
                              "\r\n//Page Battery alarm\r\n\r\n%POWDLY30\r\n%BATEN0\r\n%POWLS5\r\n");
    EXPECT_TRUE(h.writes.empty());
}

}  // namespace
