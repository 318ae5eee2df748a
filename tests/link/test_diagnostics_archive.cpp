#include <gtest/gtest.h>

#include <string>

#include "link/DiagnosticsArchive.h"

using namespace rtu;

TEST(DiagnosticsArchive, PasswordsAreMaskedAndTheRestKept)
{
    struct Case {
        const char* settings;
        const char* shown;
    };
    const Case cases[] = {
        {"[General]\nPassword=open sesame\nPORT=/dev/ttyUSB0\n", "[General]\nPassword=********\nPORT=/dev/ttyUSB0\n"},
        {"LoginPwd=1234\nPASSWORD=\nbaud=9600", "LoginPwd=********\nPASSWORD=********\nbaud=9600"},
        {"note=the password is=x\n", "note=the password is=x\n"},  // only keys decide
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(MaskPasswords(c.settings), c.shown) << c.settings;
}
