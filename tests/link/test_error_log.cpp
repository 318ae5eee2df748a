#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "link/ErrorLog.h"

namespace rtu {
namespace {

namespace fs = std::filesystem;

// Runs each test with its own HOME and XDG_STATE_HOME and restores them afterwards.
class ErrorLogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char tmpl[] = "/tmp/rtu_errlog_XXXXXX";
        ASSERT_NE(::mkdtemp(tmpl), nullptr);
        dir_ = tmpl;
        Save("HOME", home_);
        Save("XDG_STATE_HOME", state_);
        ::setenv("HOME", (dir_ / "home").c_str(), 1);
        ::unsetenv("XDG_STATE_HOME");
    }
    void TearDown() override
    {
        SetErrorLogPathForTesting("");
        Restore("HOME", home_);
        Restore("XDG_STATE_HOME", state_);
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    static std::string Slurp(const fs::path& p)
    {
        std::ifstream in(p, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }

    fs::path dir_;

private:
    struct Saved {
        bool set = false;
        std::string value;
    };
    static void Save(const char* name, Saved& s)
    {
        if (const char* v = std::getenv(name)) s = {true, v};
    }
    static void Restore(const char* name, const Saved& s)
    {
        if (s.set) ::setenv(name, s.value.c_str(), 1);
        else ::unsetenv(name);
    }
    Saved home_;
    Saved state_;
};

TEST_F(ErrorLogTest, ReportHasTheEntryLayout)
{
    EXPECT_EQ(FormatErrorReport("Fail to CreateFile()", ENOENT, 3),
              std::string("WARNING:  Fail to CreateFile() Failed with the following error: \n") +
                  std::strerror(ENOENT) + "\nPort: 3\nCode: " + std::to_string(ENOENT) + "\n");
}

TEST_F(ErrorLogTest, OverlongReportIsCutToTheBuffer)
{
    const std::string what(500, 'w');
    const std::string report = FormatErrorReport(what, EIO, 1);
    EXPECT_EQ(report.size(), kErrorReportSize - 1);
    EXPECT_EQ(report, ("WARNING:  " + what).substr(0, kErrorReportSize - 1));
}

TEST_F(ErrorLogTest, LogLivesInTheStateDirectory)
{
    EXPECT_EQ(ErrorLogPath(), (dir_ / "home/.local/state/rtuconfig/serial_err.txt").string());
    ::setenv("XDG_STATE_HOME", "relative/state", 1);  // not absolute: ignored
    EXPECT_EQ(ErrorLogPath(), (dir_ / "home/.local/state/rtuconfig/serial_err.txt").string());
    ::setenv("XDG_STATE_HOME", (dir_ / "state").c_str(), 1);
    EXPECT_EQ(ErrorLogPath(), (dir_ / "state/rtuconfig/serial_err.txt").string());
    SetErrorLogPathForTesting((dir_ / "elsewhere.txt").string());
    EXPECT_EQ(ErrorLogPath(), (dir_ / "elsewhere.txt").string());
}

TEST_F(ErrorLogTest, EntriesAreAppendedWithTimeStampInAFreshDirectory)
{
    ReportError("ReadFile()", 0, EIO);
    ReportError(" WriteChar() Error occurs", 12, EAGAIN);
    const std::string log = Slurp(dir_ / "home/.local/state/rtuconfig/serial_err.txt");
    const std::string stamp = R"(\d{4}/\d{2}/\d{2}  \d{2}:\d{2}:\d{2}\r\n)";
    const std::regex layout(
        "WARNING:  ReadFile\\(\\) Failed with the following error: \n[^\n]+\nPort: 0\nCode: " + std::to_string(EIO) +
        "\n" + stamp +
        "WARNING:   WriteChar\\(\\) Error occurs Failed with the following error: \n[^\n]+\nPort: 12\nCode: " +
        std::to_string(EAGAIN) + "\n" + stamp);
    EXPECT_TRUE(std::regex_match(log, layout)) << log;
    // Created private to the user.
    for (const char* created : {"home", "home/.local", "home/.local/state", "home/.local/state/rtuconfig"})
        EXPECT_EQ(fs::status(dir_ / created).permissions(), fs::perms::owner_all) << created;
    EXPECT_EQ(fs::status(dir_ / "home/.local/state/rtuconfig/serial_err.txt").permissions(),
              fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(ErrorLogTest, PlantedLinkOrFifoIsNotWrittenThrough)
{
    const fs::path log = dir_ / "serial_err.txt";
    SetErrorLogPathForTesting(log.string());
    std::ofstream(dir_ / "victim") << "victim";
    struct Plant {
        const char* name;
        void (*make)(const fs::path& log, const fs::path& victim);
    };
    const Plant plants[] = {
        {"symlink to a file", [](const fs::path& l, const fs::path& v) { fs::create_symlink(v, l); }},
        {"dangling symlink", [](const fs::path& l, const fs::path& v) { fs::create_symlink(v.string() + ".new", l); }},
        {"FIFO without a reader", [](const fs::path& l, const fs::path&) { ASSERT_EQ(::mkfifo(l.c_str(), 0600), 0); }},
    };
    for (const Plant& p : plants) {
        SCOPED_TRACE(p.name);
        fs::remove(log);
        p.make(log, dir_ / "victim");
        ReportError("ReadFile()", 0, EIO);  // dropped, and returns
        EXPECT_EQ(Slurp(dir_ / "victim"), "victim");
        EXPECT_FALSE(fs::exists(dir_ / "victim.new"));
        EXPECT_FALSE(fs::is_regular_file(fs::symlink_status(log)));
    }
}

TEST_F(ErrorLogTest, FullLogIsRotatedToTheOneBeside)
{
    const fs::path log = dir_ / "serial_err.txt";
    const fs::path old = dir_ / "serial_err.txt.1";
    SetErrorLogPathForTesting(log.string());
    const std::size_t entrySize = FormatErrorReport("ReadFile()", EIO, 0).size() + 22;  // + time stamp, CR LF
    struct Row {
        const char* name;
        std::size_t size;
        bool hadOld;
        bool rotated;
    };
    const Row rows[] = {
        {"room for the entry", kErrorLogMaxBytes - entrySize, false, false},
        {"entry would pass the bound", kErrorLogMaxBytes - entrySize + 1, false, true},
        {"at the bound, older rotation replaced", kErrorLogMaxBytes, true, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        fs::remove(old);
        if (r.hadOld) std::ofstream(old) << "older";
        {
            std::ofstream(log, std::ios::trunc) << "x";
        }
        fs::resize_file(log, r.size);
        ReportError("ReadFile()", 0, EIO);
        EXPECT_EQ(fs::file_size(log), r.rotated ? entrySize : r.size + entrySize);
        EXPECT_EQ(fs::exists(old), r.rotated);
        if (r.rotated) {
            EXPECT_EQ(fs::file_size(old), r.size);
        }
        EXPECT_LE(fs::file_size(log), kErrorLogMaxBytes);
    }
}

TEST_F(ErrorLogTest, UnwritableLogDropsTheEntrySilently)
{
    std::ofstream(dir_ / "plainfile") << "x";
    SetErrorLogPathForTesting((dir_ / "plainfile/sub/serial_err.txt").string());
    ReportError("ReadFile()", 0, EIO);  // must neither throw nor crash
    EXPECT_EQ(Slurp(dir_ / "plainfile"), "x");
    ::unsetenv("HOME");
    SetErrorLogPathForTesting("");
    EXPECT_EQ(ErrorLogPath(), "");
    ReportError("ReadFile()", 0, EIO);
}

}  // namespace
}  // namespace rtu
