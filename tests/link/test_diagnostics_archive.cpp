#include <gtest/gtest.h>

#include <string>

#include "link/DiagnosticsArchive.h"
#include "link/SecretMask.h"

using namespace rtu;

TEST(SecretMask, SettingsPasswordsAreMaskedAndTheRestKept)
{
    struct Case {
        const char* settings;
        const char* shown;
        const char* maskedValue;  // the value handed on for the traces ("": none)
    };
    const Case cases[] = {
        {"[General]\nPassword=open sesame\nPORT=/dev/ttyUSB0\n", "[General]\nPassword=********\nPORT=/dev/ttyUSB0\n",
         "open sesame"},
        {"LoginPwd=1234\nPASSWORD=\nbaud=9600", "LoginPwd=********\nPASSWORD=\nbaud=9600", "1234"},  // empty stays empty
        {"SVRIP=\"a,b,c,d\"\nCOMMPATH=/dev/pts/3\n", "SVRIP=********\nCOMMPATH=/dev/pts/3\n", "a,b,c,d"},
        {"note=the password is=x\n", "note=the password is=x\n", ""},  // only keys decide
        {"", "", ""},
    };
    for (const Case& c : cases) {
        SecretMarks marks;
        EXPECT_EQ(MaskSettings(c.settings, &marks), c.shown) << c.settings;
        EXPECT_EQ(marks.values.empty() ? "" : marks.values.front(), std::string(c.maskedValue)) << c.settings;
    }
}

TEST(SecretMask, TracesLoseEverySecretButKeepTheirKeys)
{
    SecretMarks marks;
    for (const char* key : {"$PINC", "%PIN", "$SMTP_PWD", "%M2MPWD"}) marks.AddKey(key);
    marks.AddValue("knownpw");
    marks.AddValue("ab");  // too short to look for anywhere: masked after its key only
    const std::string t = "2026-12-08 03:40:01.123 ";
    struct Case {
        const char* what;
        std::string trace;
        std::string shown;
    };
    const Case cases[] = {
        {"a report, its key kept", t + "< $PINC 1234\\r\\n$DAS 5\\r\\n\n", t + "< $PINC********\\r\\n$DAS 5\\r\\n\n"},
        {"an empty secret stays empty", t + "< $PINC\\r\\n\n", t + "< $PINC\\r\\n\n"},
        {"a command line", t + "> %M2MPWDgprs\\x2dpw\\r\n", t + "> %M2MPWD********\\r\n"},
        {"a key split between chunks", t + "< $SMTP_\n" + t + "< PWDmail\\r\\n$X 1\\r\\n\n",
         t + "< $SMTP_\n" + t + "< PWD********\\r\\n$X 1\\r\\n\n"},
        {"a value split between chunks", t + "< $SMTP_PWDma\n" + t + "< il\\r\\n$X 1\n",
         t + "< $SMTP_PWD********\n" + t + "< \\r\\n$X 1\n"},
        {"directions are apart", t + "> %PI\n" + t + "< N 1\\r\\n\n", t + "> %PI\n" + t + "< N 1\\r\\n\n"},
        {"a known value anywhere", t + "< %SYSSMTPsmtp,25,user,knownpw,from\\r\n",
         t + "< %SYSSMTPsmtp,25,user,********,from\\r\n"},
        {"the block after the password prompt", t + "< please input password\\r\\n\n" + t + "> open the gate\n" + t +
                                                   "> \\r\n" + t + "> %DUMPS\\r\n",
         t + "< please input password\\r\\n\n" + t + "> ********\n" + t + "> \\r\n" + t + "> %DUMPS\\r\n"},
        {"after a refused login too", t + "< Login Failed\\r\\n\n" + t + "> other\\r\n",
         t + "< Login Failed\\r\\n\n" + t + "> ********\\r\n"},
        {"notes and other lines stay", t + "# rtuconfig traces /dev/pts/3 $PINC 1\nfree text %PIN1\n",
         t + "# rtuconfig traces /dev/pts/3 $PINC 1\nfree text %PIN1\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(MaskTrace(c.trace, marks), c.shown) << c.what;
}
