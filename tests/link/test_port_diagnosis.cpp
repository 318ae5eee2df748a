#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "link/PortDiagnosis.h"

using namespace rtu;
namespace fs = std::filesystem;

namespace {

// A made-up /dev, /sys and /proc: an FTDI adapter on ttyUSB0 with its stable name, and
// the processes the case asks for, each holding the files it names open.
class FakeSystem {
public:
    struct Process {
        int pid;
        std::string name;
        std::vector<std::string> open;  // paths its descriptors lead to
    };

    explicit FakeSystem(const std::vector<Process>& processes)
    {
        root_ = fs::temp_directory_path() / ("rtu-diag-" + std::to_string(::getpid()));
        fs::remove_all(root_);
        paths_ = {(root_ / "dev").string(), (root_ / "sys").string(), (root_ / "proc").string()};
        fs::create_directories(root_ / "dev/serial/by-id");
        Write(Port(), "");
        Write(paths_.dev + "/ttyS0", "");
        fs::create_symlink("../../ttyUSB0", root_ / "dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A12345-if00-port0");
        const fs::path usb = root_ / "sys/devices/pci0/usb1/1-2";
        const fs::path iface = usb / "1-2:1.0/ttyUSB0";
        fs::create_directories(iface);
        fs::create_directories(root_ / "sys/bus/usb-serial/drivers/ftdi_sio");
        fs::create_symlink(root_ / "sys/bus/usb-serial/drivers/ftdi_sio", iface / "driver");
        for (const auto& [file, text] : {std::pair{"idVendor", "0403"},
                                         {"idProduct", "6001"},
                                         {"manufacturer", "FTDI"},
                                         {"product", "FT232R USB UART"},
                                         {"serial", "A12345"}})
            Write((usb / file).string(), std::string(text) + "\n");
        fs::create_directories(root_ / "sys/class/tty/ttyUSB0");
        fs::create_symlink(iface, root_ / "sys/class/tty/ttyUSB0/device");
        for (const Process& p : processes) {
            const fs::path dir = root_ / "proc" / std::to_string(p.pid);
            fs::create_directories(dir / "fd");
            Write((dir / "comm").string(), p.name + "\n");
            for (std::size_t i = 0; i < p.open.size(); ++i)
                fs::create_symlink(p.open[i], dir / "fd" / std::to_string(i + 3));
        }
        fs::create_directories(root_ / "proc/self");
    }
    ~FakeSystem() { fs::remove_all(root_); }

    const SystemPaths& Paths() const { return paths_; }
    std::string Port() const { return paths_.dev + "/ttyUSB0"; }

private:
    static void Write(const std::string& path, const std::string& text) { std::ofstream(path) << text; }
    fs::path root_;
    SystemPaths paths_;
};

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

}  // namespace

TEST(PortDiagnosis, DescribesTheAdapterBehindAPort)
{
    FakeSystem sys({});
    const PortDetails d = DescribePort(sys.Port(), sys.Paths());
    EXPECT_EQ(d.vendorId, "0403");
    EXPECT_EQ(d.productId, "6001");
    EXPECT_EQ(d.product, "FT232R USB UART");
    EXPECT_EQ(d.serial, "A12345");
    EXPECT_EQ(d.driver, "ftdi_sio");
    EXPECT_EQ(fs::path(d.byId).filename(), "usb-FTDI_FT232R_USB_UART_A12345-if00-port0");
    EXPECT_TRUE(d.mayOpen);
    EXPECT_EQ(PortSummary(d),
              sys.Port() + "  (FTDI FT232R USB UART, 0403:6001, serial A12345, driver ftdi_sio)  " + d.byId);
    // A port with nothing known about it is just its path.
    const std::string plain = sys.Paths().dev + "/ttyS0";
    EXPECT_EQ(PortSummary(DescribePort(plain, sys.Paths())), plain);
}

TEST(PortDiagnosis, BusyPortNamesItsHolderAndTheFix)
{
    struct Case {
        const char* what;
        std::vector<FakeSystem::Process> processes;
        std::vector<std::string> expected;  // parts of the message
    };
    const std::string port = "@PORT@";
    const Case cases[] = {
        {"ModemManager",
         {{812, "ModemManager", {port}}, {900, "bash", {"/dev/null"}}},
         {"It is held by ModemManager (pid 812).", "AT commands", "sudo systemctl stop ModemManager", "udev rule"}},
        {"brltty", {{77, "brltty", {port}}}, {"held by brltty (pid 77)", "systemctl mask --now brltty"}},
        {"another program", {{4242, "minicom", {port}}}, {"held by minicom (pid 4242)", "kill 4242"}},
        {"nobody visible", {{900, "bash", {"/dev/null"}}}, {"sudo fuser -v"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<FakeSystem::Process> processes = c.processes;
        const std::string real =
            (fs::temp_directory_path() / ("rtu-diag-" + std::to_string(::getpid())) / "dev/ttyUSB0").string();
        for (auto& p : processes)
            for (auto& path : p.open)
                if (path == port) path = real;
        FakeSystem sys(processes);
        const std::string text = DiagnoseOpenFailure(sys.Port(), EBUSY, {}, sys.Paths());
        EXPECT_TRUE(Has(text, "in use by another program")) << text;
        for (const std::string& part : c.expected) EXPECT_TRUE(Has(text, part)) << part << "\n" << text;
        if (std::string(c.what) == "nobody visible") {
            EXPECT_FALSE(Has(text, "bash")) << text;
        }
    }
}

TEST(PortDiagnosis, MissingPortListsThePortsThatExist)
{
    FakeSystem sys({{31, "brltty", {}}});
    const std::string gone = sys.Paths().dev + "/ttyUSB3";
    const std::string text = DiagnoseOpenFailure(gone, ENOENT, {sys.Port()}, sys.Paths());
    EXPECT_TRUE(Has(text, "no such port")) << text;
    EXPECT_TRUE(Has(text, "The ports this machine has now:\n  " + sys.Port() + "  (FTDI FT232R USB UART, 0403:6001"))
        << text;
    EXPECT_TRUE(Has(text, "brltty runs (pid 31)")) << text;
    const std::string none = DiagnoseOpenFailure(gone, ENXIO, {}, sys.Paths());
    EXPECT_TRUE(Has(none, "no serial port now")) << none;
    EXPECT_FALSE(Has(none, "The ports this machine has now")) << none;
}

TEST(PortDiagnosis, PermissionDeniedNamesTheGroupAndTheUsermodLine)
{
    FakeSystem sys({});
    constexpr gid_t kNoGroup = 65534;  // a group this test's user is not in
    if (::getuid() != 0 || ::chown(sys.Port().c_str(), 0, kNoGroup) != 0) GTEST_SKIP() << "needs root to set the group";
    const std::string text = DiagnoseOpenFailure(sys.Port(), EACCES, {}, sys.Paths());
    EXPECT_TRUE(Has(text, "permission denied")) << text;
    EXPECT_TRUE(Has(text, "sudo usermod -aG ")) << text;
    EXPECT_TRUE(Has(text, "log out and in again")) << text;
    // The user's own group: the login is what lags.
    ASSERT_EQ(::chown(sys.Port().c_str(), 0, ::getegid()), 0);
    const std::string member = DiagnoseOpenFailure(sys.Port(), EACCES, {}, sys.Paths());
    EXPECT_TRUE(Has(member, "Your user is in the")) << member;
    EXPECT_FALSE(Has(member, "usermod")) << member;
}
