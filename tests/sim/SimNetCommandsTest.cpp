// The data network commands against the default image: what each stores, and what the
// unit refuses (rows it does not have, values it cannot hold).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SimHarness.h"
#include "sim/core/SimCommandTable.h"

namespace rtu::test {
namespace {

using Lines = std::vector<std::string>;

struct SNetCase {
    const char* command;
    const char* key;    // nullptr: refused
    const char* value;  // the report value it leaves
};

TEST(SimNetCommands, StoreTheReportsTheirPagesRead)
{
    const SNetCase cases[] = {
        {"M2MAPNweb.vodafone.de", "$M2M_APN", "web.vodafone.de"},
        {"NTPZONE-5,30", "$NTP_OFFT", "30"},
        {"M2MDTSIP2=1.2.3.4", "$M2MD_SVR2", "1.2.3.4"},
        {"M2MDTSTO1=0060,500,30", "$M2MD_IDLT1", "60"},
        {"M2MDTSTO1=60,500,30", "$M2MD_HRTT1", "30"},
        {"M2MDTSTP3=5", "$M2MD_MODE3", "5"},
        {"M2MDTSIP4=1.2.3.4", nullptr, nullptr},  // four servers
        {"M2MDTSIP1", nullptr, nullptr},          // no "="
        {"M2MDTSTP0=255", nullptr, nullptr},      // no such protocol
        {"M2MDTSTP0=-1", nullptr, nullptr},
        {"M2MDTSTO0=,,", nullptr, nullptr},
        {"M2MDTSTO0=1,2", nullptr, nullptr},
        {"HTTPPOSTPWDabc", "$M2M_HTTP_PWD", "abc"},
        {"SYSSMTPsmtp.x,587,u,p,a@x", "$SMTP_FROM", "a@x"},
        {"SYSSMTPsmtp.x,587,u,p", nullptr, nullptr},
        {"IOVCH1,1", "$3GS_DINVCH1", "1"},
        {"FTPSVR0=ftp.x,2121", "$SYS_FTPPOT0", "2121"},
        {"EM1a@b.c", "$EM1", "a@b.c"},
        {"EM2a@b.c", nullptr, nullptr},
        {"mdmas07=5,40001,1,-1,0.5,2,-3,7,255,9,000003ff", "$MDMAS07", "5,40001,1,0"},
        {"mdmas07=5,40001,1,0,0.5,2,-3,7,255,9,000003ff", "$MDMTX07", "000003FF"},
        {"mdmas07=5,40001,1,0,0.5,2,-3,7,255,9,000003ff", "$MDBAS07", "-3"},
        {"mdmas32=5,40001,1,0,0.5,2,-3,7,255,9,000003ff", nullptr, nullptr},
        {"mdmas07=5,40001,4,0,0.5,2,-3,7,255,9,000003ff", nullptr, nullptr},  // no type 4
        {"mdmas07=5,40001,1,0,0.5,2,-3,7,4,9,000003ff", nullptr, nullptr},    // no output 4
        {"mdmas07=5,40001,1,0,0.5,2,-3,7,255,9,3ff", nullptr, nullptr},
        {"MDMSF05=1,0,1,0,1", "$MDFLG05", "1,0,1,0,1"},
        {"MDMSF05=1,0,1,0", nullptr, nullptr},
        {"R40-20", "$REG40", "-20"},
        {"R64100", nullptr, nullptr},
        {"N0300410042", "$RNAME03", "00410042"},
        {"N320041", nullptr, nullptr},
        {"N03004", nullptr, nullptr},
        {"P62056UT15", "$P62056POOLT", "15"},
        {"UART2CP19200,2", "$UART2PARITY", "2"},
        {"TM6", "$DTM", "6"},
        {"TM7", nullptr, nullptr},
        {"SR7+491", "$SR7", "+491"},
        {"SR8+491", nullptr, nullptr},
    };
    for (const SNetCase& c : cases) {
        const auto out = CSimCommandTable::Parse(c.command);
        if (!c.key) {
            EXPECT_FALSE(out.has_value()) << c.command;
            continue;
        }
        ASSERT_TRUE(out.has_value()) << c.command;
        bool found = false;
        for (const SSimAssignment& a : *out)
            if (a.key == c.key) {
                found = true;
                EXPECT_EQ(a.value, c.value) << c.command;
            }
        EXPECT_TRUE(found) << c.command;
    }
}

TEST(SimNetCommands, ModbusDumpCarriesTheRegisterNamesToo)
{
    CSimHarness sim;
    const Lines lines = sim.Exchange("%DUMP_MODBUS\r");
    auto has = [&](const std::string& prefix) {
        for (const std::string& l : lines)
            if (l.rfind(prefix, 0) == 0) return true;
        return false;
    };
    EXPECT_TRUE(has("$MDMAS00 "));
    EXPECT_TRUE(has("$RNAME00 "));
    EXPECT_TRUE(has("$REG32 "));
    EXPECT_EQ(lines.back(), "CMD OK");
}

TEST(SimNetCommands, RowDumpReportsOneRegisterRow)
{
    CSimHarness sim;
    EXPECT_EQ(sim.Exchange("%DUMP_MODBUS_MASTER1\r"),
              (Lines{"$MDBAS01 -40", "$MDFLG01 0,0,0,0,0", "$MDLAG01 10", "$MDLKO01 255", "$MDMAS01 1,40001,1,0",
                     "$MDMCG01 5", "$MDMSC01 0.1", "$MDMSK01 3", "$MDMTX01 000003FF",
                     "$RNAME01 00500075006D0070006500200044007200750063006B", "$REG01 1000", "$REG33 0", "CMD OK"}));
    EXPECT_EQ(sim.Exchange("%DUMP_MODBUS_MASTER32\r"), Lines{"CMD OK"});
}

}  // namespace
}  // namespace rtu::test
