#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PageHarness.h"
#include "link/ProfileWriter.h"
#include "pages/net/PageGprs.h"
#include "pages/net/PageHttp.h"

namespace {

using P = rtu::CPageGPRS;

const char* const kDump[] = {
    "$M2M_QMXNTP 1",
    "$M2M_APN internet.t-d1.de",
    "$M2M_UID web",
    "$M2M_PWD s3cret",
    "$M2M_EN 1",
    "$M2M_DNS 8.8.8.8",
    "$M2M_IDT 300",
    "$M2M_TID 17",
    "$M2M_CTO 30",
    "$NTP_ZONE +1",
    "$NTP_OFFT 0",
    "$NTP_EN 1",
    "$NTP_SVR pool.ntp.org",
    "$NTP_PORT 123",
    "$GDTU_EN 1",
    "$GMSG_EN 0",
    "$DID RTU-0001",
};
const std::vector<std::string> kLines = {
    "%M2MQMXNTPEN1\r",
    "%M2MAPNinternet.t-d1.de\r",
    "%M2MUIDweb\r",
    "%M2MPWDs3cret\r",
    "%M2MDNS8.8.8.8\r",
    "%M2MIDT300\r",
    "%MODUID17\r",
    "%M2MEN1\r",
    "%GDTUEN1\r",
    "%GMSGEN0\r",
    "%M2MCTO30\r",
    "%IDRTU-0001\r",
    "%NTPSVRpool.ntp.org,123\r",
    "%NTPZONE+1,0\r",
    "%NTPEN1\r",
};
const char* const kServers[] = {
    "$M2MD_SVR0 10.0.0.1", "$M2MD_PT0 5020",  "$M2MD_PRO0 0",   "$M2MD_MODE0 2",
    "$M2MD_IDLT0 0060",    "$M2MD_REPT0 500", "$M2MD_HRTT0 30", "$M2MD_SVR1 data.example.net",
    "$M2MD_PRO1 1",        "$M2MD_MODE1 5",
};

class GprsTest : public ::testing::Test {
protected:
    void Fill()
    {
        for (const char* line : kDump) h.Route(line);
        for (const char* line : kServers) h.Route(line);
    }
    std::string Profile()
    {
        rtu::CProfileWriter file;
        page.WriteProfileSection(file);
        return file.Written();
    }

    rtu::test::PageHarness h;
    P& page = h.Make<P>(rtu::PageId::GPRS);
};

TEST_F(GprsTest, SaveSendsFifteenLinesFramedThenReloads)
{
    Fill();
    page.OnSaveClicked();
    h.AckAll();
    std::vector<std::string> expected{"%STARTCMD\r"};
    expected.insert(expected.end(), kLines.begin(), kLines.end());
    expected.insert(expected.end(), {"%COMMITCMD\r", "%DUMP_M2M\r%DUMP_SYS\r"});
    EXPECT_EQ(h.writes, expected);
    EXPECT_EQ(page.TextOf(P::kApn), "");                                   // cleared by the reload
    EXPECT_EQ(page.CellText(P::kServers, 0, P::kColAddress), "10.0.0.1");  // the table is not
}

TEST_F(GprsTest, ProfileHoldsPageLinesThenFourServerRows)
{
    Fill();
    std::string expected = "\r\n//Page GPRS params\r\n\r\n";
    for (const std::string& l : kLines) expected += l + "\n";
    expected += "%M2MDTSIP0=10.0.0.1\r\n%M2MDTSPT0=5020\r\n%M2MDTSPO0=0\r\n%M2MDTSTP0=2\r\n%M2MDTSTO0=60,500,30\r\n"
                "%M2MDTSIP1=data.example.net\r\n%M2MDTSPT1=\r\n%M2MDTSPO1=1\r\n%M2MDTSTP1=5\r\n%M2MDTSTO1=,,\r\n";
    for (int r = 2; r < 4; ++r) {
        const std::string n = std::to_string(r);
        expected += "%M2MDTSIP" + n + "=\r\n%M2MDTSPT" + n + "=\r\n%M2MDTSPO" + n + "=0\r\n%M2MDTSTP" + n +
                    "=255\r\n%M2MDTSTO" + n + "=,,\r\n";
    }
    EXPECT_EQ(Profile(), expected);
}

TEST_F(GprsTest, ProfileOfAnUnreadPageHoldsThirtyFiveLines)
{
    const std::string text = Profile();
    std::size_t commands = 0;
    for (std::size_t at = text.find('%'); at != std::string::npos; at = text.find('%', at + 1)) ++commands;
    EXPECT_EQ(commands, 35u);
    EXPECT_NE(text.find("%M2MDTSTP0=255\r\n%M2MDTSTO0=,,\r\n"), std::string::npos);
    EXPECT_NE(text.find("%M2MAPN\r\n"), std::string::npos);  // empty values go as they are
}

struct Edge {
    const char* line;
    int id;
    const char* before;
    const char* after;
};

TEST_F(GprsTest, M2MReportEdges)
{
    const Edge cases[] = {
        {"$M2M_APN web.vodafone.de", P::kApn, "x", "web.vodafone.de"},
        {"$M2M_APN ", P::kApn, "x", ""},
        {"$M2M_PWD a b", P::kPassword, "", "a b"},
        {"$M2M_DNS 1.1.1.1", P::kDns, "", "1.1.1.1"},
        {"$NTP_PORT 124", P::kNtpPort, "", "124"},
        {"$NTP_SVR time.nist.gov", P::kNtpServer, "", "time.nist.gov"},
        {"$NTP_ZONE -12", P::kNtpZone, "", "-12"},
        {"$M2M_HTTP_PWD abc", P::kPassword, "keep", "keep"},  // another page's key
        {"$M2M_XYZ 1", P::kApn, "keep", "keep"},
    };
    for (const Edge& c : cases) {
        page.SetText(c.id, c.before);
        h.Route(c.line);
        EXPECT_EQ(page.TextOf(c.id), c.after) << c.line;
    }
    // The QMX time flag is taken and the parse goes on.
    h.Route("$M2M_QMXNTP 1 $M2M_EN 1");
    EXPECT_EQ(page.CheckOf(P::kQmxTime), 1);
    EXPECT_EQ(page.CheckOf(P::kEnabled), 1);
    h.Route("$M2M_QMXNTP 0");
    EXPECT_EQ(page.CheckOf(P::kQmxTime), 0);
    h.Route("$NTP_EN 1");
    EXPECT_EQ(page.CheckOf(P::kNtpEnabled), 1);
    h.Route("$NTP_EN x");
    EXPECT_EQ(page.CheckOf(P::kNtpEnabled), 1);
}

struct CellEdge {
    const char* line;
    int row, col;
    const char* before;
    const char* after;
};

TEST_F(GprsTest, ServerReportEdges)
{
    const CellEdge cases[] = {
        {"$M2MD_SVR2 192.168.1.9", 2, P::kColAddress, "", "192.168.1.9"},
        {"$M2MD_PRO1 1", 1, P::kColTransport, "", "Udp"},
        {"$M2MD_PRO1 0", 1, P::kColTransport, "Udp", "Tcp"},
        {"$M2MD_PRO1 7", 1, P::kColTransport, "Udp", "Udp"},
        {"$M2MD_MODE3 7", 3, P::kColProtocol, "GPS", "GPS"},
        {"$M2MD_MODE3 3", 3, P::kColProtocol, "", "WMMP"},
        {"$M2MD_IDLT0 0060", 0, P::kColIdle, "", "60"},
        {"$M2MD_HRTT0 x", 0, P::kColHeartbeat, "9", "0"},
        {"$M2MD_PT3 80", 3, P::kColPort, "", "80"},
    };
    for (const CellEdge& c : cases) {
        page.SetCell(P::kServers, c.row, c.col, c.before);
        h.Route(c.line);
        EXPECT_EQ(page.CellText(P::kServers, c.row, c.col), c.after) << c.line;
    }
    // A fifth server, or an index that is no digit, makes no row and changes nothing.
    for (const char* line : {"$M2MD_SVR4 10.9.9.9", "$M2MD_SVRx 10.9.9.9", "$M2MD_SVR", "$M2MD_PT9 1"}) {
        h.Route(line);
        EXPECT_EQ(page.ValueOf(P::kServers).cells.size(), 4u) << line;
        for (int r = 0; r < 4; ++r) EXPECT_NE(page.CellText(P::kServers, r, P::kColAddress), "10.9.9.9");
    }
}

TEST_F(GprsTest, ReloadKeepsServerRowsAndClearsTheRest)
{
    Fill();
    page.ReloadGroup();
    EXPECT_EQ(h.writes, std::vector<std::string>{"%DUMP_M2M\r%DUMP_SYS\r"});
    EXPECT_EQ(page.TextOf(P::kUnitId), "");
    EXPECT_EQ(page.CheckOf(P::kTransparent), 0);
    EXPECT_EQ(page.CellText(P::kServers, 1, P::kColProtocol), "HTTP");
}

TEST_F(GprsTest, ServerEditorSendsTheRowFramedThenReloads)
{
    Fill();
    rtu::RowEdit edit;
    ASSERT_FALSE(page.BeginEditRow(P::kServers, 4, edit));
    ASSERT_TRUE(page.BeginEditRow(P::kServers, 0, edit));
    EXPECT_EQ(edit.values[P::kEdTransport].sel, 0);
    EXPECT_EQ(edit.values[P::kEdProtocol].sel, 2);
    EXPECT_EQ(edit.values[P::kEdIdle].text, "60");
    edit.values[P::kEdAddress].text = "10.0.0.2\r%ATF";  // a line break never reaches the unit
    EXPECT_EQ(page.CheckEditRow(edit)->id, P::kEdAddress);
    page.CommitEditRow(edit);
    EXPECT_TRUE(h.writes.empty());
    edit.values[P::kEdAddress].text = "10.0.0.2";
    page.CommitEditRow(edit);
    h.AckAll();
    const std::vector<std::string> expected = {"%STARTCMD\r",    "%M2MDTSIP0=10.0.0.2\r", "%M2MDTSPT0=5020\r",
                                               "%M2MDTSPO0=0\r", "%M2MDTSTP0=2\r",        "%M2MDTSTO0=60,500,30\r",
                                               "%COMMITCMD\r",   "%DUMP_M2M\r%DUMP_SYS\r"};
    EXPECT_EQ(h.writes, expected);

    // A protocol cell that names no protocol opens with none selected; the row can't go
    // until one is chosen (no -1 reaches the unit).
    h.writes.clear();
    page.SetCell(P::kServers, 2, P::kColProtocol, "Other");
    ASSERT_TRUE(page.BeginEditRow(P::kServers, 2, edit));
    EXPECT_EQ(edit.values[P::kEdProtocol].sel, -1);
    EXPECT_EQ(page.CheckEditRow(edit)->id, P::kEdProtocol);
    page.CommitEditRow(edit);
    EXPECT_TRUE(h.writes.empty());
    edit.values[P::kEdProtocol].sel = 1;
    page.CommitEditRow(edit);
    h.AckAll();
    ASSERT_GE(h.writes.size(), 5u);
    EXPECT_EQ(h.writes[4], "%M2MDTSTP2=1\r");
}

TEST(HttpPage, ReportsSaveAndNoProfileSection)
{
    using H = rtu::CPageHttp;
    rtu::test::PageHarness h;
    rtu::CPageBase& page = h.Make(rtu::PageId::Http);
    for (const char* line : {"$M2M_HTTP_URL http://x.example/rtu.php", "$M2M_HTTP_PWD key9", "$M2M_HTTP_GID 12",
                             "$M2M_HTTP_SIM 491761234", "$M2M_APN other"})
        h.Route(line);
    EXPECT_EQ(page.TextOf(H::kUrl), "http://x.example/rtu.php");
    EXPECT_EQ(page.TextOf(H::kAuth), "key9");
    page.OnSaveClicked();
    h.AckAll();
    const std::vector<std::string> expected = {"%STARTCMD\r",         "%HTTPURLhttp://x.example/rtu.php\r",
                                               "%HTTPSIM491761234\r", "%HTTPPOSTPWDkey9\r",
                                               "%HTTPGROUP12\r",      "%COMMITCMD\r",
                                               "%DUMP_HTTP\r"};
    EXPECT_EQ(h.writes, expected);
    rtu::CProfileWriter file;
    page.WriteProfileSection(file);
    EXPECT_EQ(file.Written(), "");
}

}  // namespace
