#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "link/PortName.h"
#include "link/SerialPortList.h"

namespace rtu {
namespace {

TEST(PortNameTest, NumbersFromTenUseTheDeviceNamespace)
{
    struct Case {
        int number;
        const char* name;
    };
    const Case cases[] = {{1, "COM1"}, {9, "COM9"}, {10, "\\\\.\\COM10"}, {255, "\\\\.\\COM255"}};
    for (const Case& c : cases) EXPECT_EQ(PortDeviceName(c.number), c.name) << c.number;
    EXPECT_EQ(std::string(PortDeviceName(10)), std::string(R"(\\.\COM10)"));
}

TEST(PortNameTest, ChosenPathsAreUsedAsGiven)
{
    for (const char* path : {"/dev/ttyUSB0", "/dev/pts/3", "COM3", "ttyS1"}) {
        EXPECT_EQ(ResolvePortPath(path), path);
    }
}

TEST(PortNameTest, LogNumberIsTheTrailingDigitsOfTheName)
{
    struct Case {
        const char* name;
        int number;
    };
    const Case cases[] = {
        {"COM3", 3}, {"\\\\.\\COM12", 12},      {"/dev/ttyUSB0", 0}, {"/dev/pts/17", 17}, {"/dev/ttyACM", 0},
        {"", 0},     {"/dev/tty99999999999", 0}};  // too long for a number
    for (const Case& c : cases) EXPECT_EQ(PortNumberFromName(c.name), c.number) << c.name;
}

TEST(SerialPortListTest, NaturalOrderComparesNumbersByValue)
{
    std::vector<std::string> names = {"/dev/ttyUSB10", "/dev/ttyS1",   "/dev/ttyUSB2", "/dev/ttyACM0",
                                      "/dev/ttyS0",    "/dev/ttyUSB1", "/dev/ttyAMA0", "/dev/ttyS10"};
    std::sort(names.begin(), names.end(), NaturalLess);
    const std::vector<std::string> expected = {"/dev/ttyACM0", "/dev/ttyAMA0", "/dev/ttyS0",   "/dev/ttyS1",
                                               "/dev/ttyS10",  "/dev/ttyUSB1", "/dev/ttyUSB2", "/dev/ttyUSB10"};
    EXPECT_EQ(names, expected);
    // A strict weak order: irreflexive, and leading zeros do not make two names equal.
    EXPECT_FALSE(NaturalLess("ttyS1", "ttyS1"));
    EXPECT_NE(NaturalLess("ttyS01", "ttyS1"), NaturalLess("ttyS1", "ttyS01"));
    EXPECT_TRUE(NaturalLess("ttyS", "ttyS0"));
}

TEST(SerialPortListTest, ListsOnlySerialDevicesInNaturalOrder)
{
    const std::vector<std::string> ports = ListSerialPorts();
    EXPECT_TRUE(std::is_sorted(ports.begin(), ports.end(), NaturalLess));
    for (const std::string& p : ports) {
        EXPECT_TRUE(p.rfind("/dev/ttyUSB", 0) == 0 || p.rfind("/dev/ttyACM", 0) == 0 ||
                    p.rfind("/dev/ttyAMA", 0) == 0 || p.rfind("/dev/ttyS", 0) == 0)
            << p;
    }
}

}  // namespace
}  // namespace rtu
