// The smaller data network pages: e-mail, 3G, meter reading, second UART, data over SMS.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PageHarness.h"
#include "link/ProfileWriter.h"
#include "pages/net/InputRowEditor.h"
#include "pages/net/Page3GMMS.h"
#include "pages/net/PageDataSms.h"
#include "pages/net/PageEmail.h"
#include "pages/net/SerialPages.h"

namespace {

using G = rtu::CPage3GMMS;
using Lines = std::vector<std::string>;

TEST(EmailPage, RowsEditsAndReload)
{
    using E = rtu::CPageEmail;
    rtu::test::PageHarness h;
    E& page = h.Make<E>(rtu::PageId::Email);
    h.Route("$EM0 ops@example.com");
    h.Route("$EM1 ");
    h.Route("$EM2 nobody@example.com");  // a third recipient does not exist
    EXPECT_EQ(page.CellText(E::kList, 0, E::kColAddress), "ops@example.com");
    EXPECT_EQ(page.ValueOf(E::kList).cells.size(), 2u);

    rtu::RowEdit edit;
    ASSERT_FALSE(page.BeginEditRow(E::kList, 2, edit));
    ASSERT_TRUE(page.BeginEditRow(E::kList, 1, edit));
    edit.values[rtu::kInputEdit].text = "";  // an empty address: the keyword and the row only
    page.CommitEditRow(edit);
    EXPECT_EQ(*h.sequencer.NextDeadline(), h.now + rtu::kInputWaitMs);
    h.AckAll();
    EXPECT_EQ(h.writes, (Lines{"%EM1\r", "%DUMP_MMS\r"}));
    EXPECT_EQ(page.CellText(E::kList, 0, E::kColAddress), "");  // the reload emptied the list
    rtu::CProfileWriter file;
    page.WriteProfileSection(file);
    EXPECT_EQ(file.Written(), "");
}

class Mms3GTest : public ::testing::Test {
protected:
    rtu::test::PageHarness h;
    G& page = h.Make<G>(rtu::PageId::Mms3G);
};

TEST_F(Mms3GTest, ReportsThenSaveSendsTheTableInOrder)
{
    for (const char* line : {"$M2M_APN live.vodafone.com",
                             "$M2M_UID u",
                             "$M2M_PWD p",
                             "$SMTP_SVR smtp.x",
                             "$SMTP_PORT 25",
                             "$SMTP_UID mu",
                             "$SMTP_PWD mp",
                             "$SMTP_FROM a@x",
                             "$3GS_GISS gis.x",
                             "$3GS_GISP 8090",
                             "$3GS_GPST 60",
                             "$3GS_VCHN 1",
                             "$3GS_VFMT 0",
                             "$3GS_VCRS 15",
                             "$3GS_ALARM_MMS 1",
                             "$3GS_ALARM_VCALL 0",
                             "$3GS_ALARM_VPR 1",
                             "$3GS_DINVPC0 1",
                             "$3GS_DINVPC1 0",
                             "$3GS_DINVCR0 0",
                             "$3GS_DINVCR1 1",
                             "$3GS_DINVCH0 1",
                             "$3GS_DINVCH1 0",
                             "$SYS_FTPSVR0 ftp.x",
                             "$SYS_FTPPOT0 21"})
        h.Route(line);
    page.OnSaveClicked();
    h.AckAll();
    const Lines expected = {"%STARTCMD\r",
                            "%M2MAPNlive.vodafone.com\r",
                            "%M2MUIDu\r",
                            "%M2MPWDp\r",
                            "%SYSSMTPsmtp.x,25,mu,mp,a@x\r",
                            "%GPSGISgis.x,8090\r",
                            "%GISTIMER60\r",
                            "%MMSVINC1\r",
                            "%MMSVINF0\r",
                            "%3GDVRTIME15\r",
                            "%3GALARMMMS1\r",
                            "%3GALARMVP0\r",
                            "%3GALARMVC1\r",
                            "%IOVPC0,1\r",
                            "%IOVPC1,0\r",
                            "%IODVR0,0\r",
                            "%IODVR1,1\r",
                            "%IOVCH0,1\r",
                            "%IOVCH1,0\r",
                            "%FTPSVR0=ftp.x,21\r",
                            "%COMMITCMD\r",
                            "%DUMP_MMS\r%DUMP_GPIO\r"};
    EXPECT_EQ(h.writes, expected);
    // The clear kept the input channels and the FTP server.
    EXPECT_EQ(page.ValueOf(G::kChannelInput1).sel, 1);
    EXPECT_EQ(page.TextOf(G::kFtpServer), "ftp.x");
    EXPECT_EQ(page.TextOf(G::kApn), "");
    EXPECT_EQ(page.ValueOf(G::kVideoChannel).sel, -1);
}

TEST_F(Mms3GTest, ReportEdges)
{
    h.Route("$3GS_VCHN x");
    EXPECT_EQ(page.ValueOf(G::kVideoChannel).sel, -1);
    h.Route("$3GS_VCHN 2");
    EXPECT_EQ(page.ValueOf(G::kVideoChannel).sel, -1);
    h.Route("$3GS_DINVCH1 1");
    EXPECT_EQ(page.ValueOf(G::kChannelInput2).sel, 1);
    h.Route("$3GS_DINVPC0 x");
    EXPECT_EQ(page.CheckOf(G::kCallInput1), 0);
    h.Route("$M2M_HTTP_PWD zz");  // the HTTP password is not the 3G one
    EXPECT_EQ(page.TextOf(G::kPassword), "");
    // A selection that names no item is left out of a save, not sent as -1.
    page.OnSaveClicked();
    h.AckAll();
    for (const std::string& w : h.writes) EXPECT_EQ(w.find("-1"), std::string::npos) << w;
}

TEST(MeterPage, ReportsAndSave)
{
    using M = rtu::CPage62056;
    rtu::test::PageHarness h;
    rtu::CPageBase& page = h.Make(rtu::PageId::P62056);
    for (const char* line : {"$P62056POOLT 0015", "$P62056HEART abc", "$P62056ERRUP 1"}) h.Route(line);
    EXPECT_EQ(page.TextOf(M::kUploadSpan), "15");
    EXPECT_EQ(page.TextOf(M::kHeartSpan), "0");  // not a number
    EXPECT_EQ(page.CheckOf(M::kErrorReport), 1);
    page.OnSaveClicked();
    h.AckAll();
    EXPECT_EQ(h.writes, (Lines{"%STARTCMD\r", "%P62056UT15\r", "%P62056HT0\r", "%P62056ERRT1\r", "%COMMITCMD\r",
                               "%DUMP_62056\r"}));
}

TEST(SecondUartPage, SaveIsOneUnframedLine)
{
    using C = rtu::CPageComm2;
    rtu::test::PageHarness h;
    rtu::CPageBase& page = h.Make(rtu::PageId::Comm2);
    h.Route("$UART2BPS 19200");
    h.Route("$UART2PARITY 5");
    EXPECT_EQ(page.ValueOf(C::kParity).sel, -1);
    page.OnSaveClicked();
    EXPECT_EQ(*h.sequencer.NextDeadline(), h.now + C::kWaitMs);
    h.AckAll();
    EXPECT_EQ(h.writes, (Lines{"%UART2CP19200,-1\r", "%DUMP_SYS\r"}));
    h.writes.clear();
    h.Route("$UART2BPS 96x00");  // what the unit reported goes back as it is (a hint at the field)
    h.Route("$UART2PARITY 2");
    page.OnSaveClicked();
    h.AckAll();
    ASSERT_FALSE(h.writes.empty());
    EXPECT_EQ(h.writes.front(), "%UART2CP96x00,2\r");
    EXPECT_TRUE(h.messages.empty());
    h.writes.clear();
    h.Route("$UART2BPS 9600");
    h.Route("$UART2PARITY 2");
    page.OnSaveClicked();
    h.AckAll();
    ASSERT_FALSE(h.writes.empty());
    EXPECT_EQ(h.writes.front(), "%UART2CP9600,2\r");
}

TEST(DataSmsPage, ReportsSaveAndNumberEdits)
{
    using D = rtu::CDataParams;
    rtu::test::PageHarness h;
    D& page = h.Make<D>(rtu::PageId::DataParams);
    for (const char* line : {"$GSMDTU 1", "$DOT 500", "$EASYMODEMEN 1", "$EASYMODEMPWD 0", "$SR3 +4917612345"})
        h.Route(line);
    h.Route("$SR3 abc");  // not a number: row 3 keeps its number
    h.Route("$SR9 123");  // no row 9
    EXPECT_EQ(page.CellText(D::kList, 3, D::kColNumber), "+4917612345");
    page.OnSaveClicked();  // no packet type selected: six lines
    h.AckAll();
    EXPECT_EQ(h.writes, (Lines{"%STARTCMD\r", "%OT500\r", "%GSMDTUEN1\r", "%EASYMODEMEN1\r", "%EASYMODEMPWD0\r",
                               "%COMMITCMD\r", "%DUMP_SYS\r%DUMP_PHONE\r"}));
    EXPECT_EQ(page.CellText(D::kList, 3, D::kColNumber), "+4917612345");  // the numbers stay
    h.Route("$DTM 4");
    EXPECT_EQ(page.ValueOf(D::kPacketType).sel, 4);
    h.Route("$SR3 ");
    EXPECT_EQ(page.CellText(D::kList, 3, D::kColNumber), "");

    h.writes.clear();
    rtu::RowEdit edit;
    ASSERT_TRUE(page.BeginEditRow(D::kList, 7, edit));
    edit.values[rtu::kInputEdit].text = "12 34";
    EXPECT_TRUE(page.CheckEditRow(edit).has_value());
    page.CommitEditRow(edit);  // refused: nothing goes
    EXPECT_TRUE(h.writes.empty());
    edit.values[rtu::kInputEdit].text = "+8613800138000";
    page.CommitEditRow(edit);
    h.AckAll();
    EXPECT_EQ(h.writes, (Lines{"%SR7+8613800138000\r", "%DUMP_SYS\r%DUMP_PHONE\r"}));
}

}  // namespace
