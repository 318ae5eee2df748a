// Replacing output files: what ends up at the target, beside it and behind symbolic links,
// for both the plain writer and the profile writer built on it.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "link/ProfileWriter.h"
#include "link/SafeFileWriter.h"

using namespace rtu;
namespace fs = std::filesystem;

namespace {

constexpr const char* kText = "%A\r\n%B\r\n";  // already in profile form: both writers store it unchanged
constexpr mode_t kTestUmask = 022;             // a new file is then 0644

std::string ReadAll(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

mode_t ModeOf(const fs::path& p)
{
    struct stat st {};
    ::stat(p.c_str(), &st);
    return st.st_mode & 07777;
}

struct Outcome {
    bool ok;
    std::string error;
};

struct Writer {
    const char* name;
    std::function<Outcome(const std::string&)> write;
    mode_t newMode;  // the mode of a file it creates (umask 022)
};
mode_t gNewMode = 0;  // that of the writer under test

const Writer kWriters[] = {
    {"WriteFileSafely",
     [](const std::string& path) {
         std::string error;
         const bool ok = WriteFileSafely(path, kText, error);
         return Outcome{ok, error};
     },
     0644},
    {"WriteFileSafely, private",
     [](const std::string& path) {
         std::string error;
         const bool ok = WriteFileSafely(path, kText, error, FileAccess::Private);
         return Outcome{ok, error};
     },
     0600},
    {"CProfileWriter",
     [](const std::string& path) {
         CProfileWriter w;
         const bool ok = w.Open(path) && (w.WriteText(kText), w.Commit());
         return Outcome{ok, w.Error()};
     },
     0600},  // a profile holds the unit's PIN and passwords
};

struct Case {
    const char* name;
    const char* target;  // inside the test directory
    std::function<void(const fs::path& dir, const fs::path& target)> setUp;
    bool ok;
    const char* errorText;  // part of the failure message
    std::function<void(const fs::path& dir, const fs::path& target)> check;
    bool unprivilegedOnly = false;  // root may write anywhere
};

void WriteFile(const fs::path& p, const std::string& text, mode_t mode)
{
    std::ofstream(p, std::ios::binary) << text;
    ::chmod(p.c_str(), mode);
}

const Case kCases[] = {
    {"new file gets its writer's mode", "p.txt", [](auto&, auto&) {}, true, "",
     [](auto&, const fs::path& t) {
         EXPECT_EQ(ReadAll(t), kText);
         EXPECT_EQ(ModeOf(t), gNewMode);
     }},
    {"existing file keeps its mode", "p.txt", [](auto&, const fs::path& t) { WriteFile(t, "old", 0640); }, true, "",
     [](auto&, const fs::path& t) {
         EXPECT_EQ(ReadAll(t), kText);
         EXPECT_EQ(ModeOf(t), 0640u);
     }},
    {"symlink to a file replaces that file", "p.txt",
     [](const fs::path& d, const fs::path& t) {
         fs::create_directory(d / "real");
         WriteFile(d / "real/p.txt", "old", 0600);
         fs::create_symlink("real/p.txt", t);
     },
     true, "",
     [](const fs::path& d, const fs::path& t) {
         EXPECT_TRUE(fs::is_symlink(t));
         EXPECT_EQ(ReadAll(d / "real/p.txt"), kText);
         EXPECT_EQ(ModeOf(d / "real/p.txt"), 0600u);
     }},
    {"dangling symlink creates the file it names", "p.txt",
     [](const fs::path&, const fs::path& t) { fs::create_symlink("new.txt", t); }, true, "",
     [](const fs::path& d, const fs::path& t) {
         EXPECT_TRUE(fs::is_symlink(t));
         EXPECT_EQ(ReadAll(d / "new.txt"), kText);
     }},
    {"planted temporary name does not redirect the write", "p.txt",
     [](const fs::path& d, const fs::path& t) {
         WriteFile(d / "victim", "victim", 0644);
         fs::create_symlink(d / "victim", t.string() + ".tmp" + std::to_string(::getpid()));
         fs::create_symlink(d / "victim", t.string() + ".tmp");
     },
     true, "",
     [](const fs::path& d, const fs::path& t) {
         EXPECT_EQ(ReadAll(d / "victim"), "victim");
         EXPECT_EQ(ReadAll(t), kText);
         EXPECT_FALSE(fs::is_symlink(t));
     }},
    {"FIFO is refused", "p.txt", [](auto&, const fs::path& t) { ASSERT_EQ(::mkfifo(t.c_str(), 0644), 0); }, false,
     "FIFO", [](auto&, const fs::path& t) { EXPECT_TRUE(fs::is_fifo(t)); }},
    {"directory is refused", "p.txt", [](auto&, const fs::path& t) { fs::create_directory(t); }, false, "directory",
     [](auto&, const fs::path& t) {
         EXPECT_TRUE(fs::is_directory(t));
         EXPECT_TRUE(fs::is_empty(t));
     }},
    {"symlink to a device is refused", "p.txt", [](auto&, const fs::path& t) { fs::create_symlink("/dev/null", t); },
     false, "device",
     [](auto&, const fs::path& t) {
         EXPECT_TRUE(fs::is_symlink(t));
         EXPECT_TRUE(fs::is_character_file("/dev/null"));
     }},
    {"missing directory fails", "absent/p.txt", [](auto&, auto&) {}, false, "No such file", [](auto&, auto&) {}},
    {"unwritable directory fails", "p.txt", [](const fs::path& d, auto&) { ::chmod(d.c_str(), 0555); }, false,
     "Permission denied", [](const fs::path& d, auto&) { ::chmod(d.c_str(), 0755); }, true},
};

TEST(SafeFileWriter, TargetsAndWhatBecomesOfThem)
{
    const mode_t savedUmask = ::umask(kTestUmask);
    const fs::path root = fs::temp_directory_path() / ("rtu_safe_" + std::to_string(::getpid()));
    for (const Writer& writer : kWriters) {
        gNewMode = writer.newMode;
        for (const Case& c : kCases) {
            SCOPED_TRACE(std::string(writer.name) + ": " + c.name);
            if (c.unprivilegedOnly && ::geteuid() == 0) continue;
            fs::remove_all(root);
            fs::create_directories(root);
            const fs::path target = root / c.target;
            c.setUp(root, target);
            const std::vector<fs::path> before{fs::directory_iterator(root), fs::directory_iterator()};
            const Outcome out = writer.write(target.string());
            EXPECT_EQ(out.ok, c.ok) << out.error;
            if (!c.ok) {
                EXPECT_NE(out.error.find(target.string()), std::string::npos) << out.error;
                EXPECT_NE(out.error.find(c.errorText), std::string::npos) << out.error;
            }
            c.check(root, target);
            // Nothing is left behind: only a new file may have appeared.
            for (const auto& entry : fs::directory_iterator(root)) {
                const bool expected = std::find(before.begin(), before.end(), entry.path()) != before.end() ||
                                      entry.path() == target || entry.path() == root / "new.txt";
                EXPECT_TRUE(expected) << entry.path();
            }
        }
    }
    fs::remove_all(root);
    ::umask(savedUmask);
}

TEST(SafeFileWriter, UncommittedWriteLeavesTheTargetAlone)
{
    const fs::path root = fs::temp_directory_path() / ("rtu_safe_abandon_" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root);
    WriteFile(root / "p.txt", "old", 0644);
    {
        CSafeFileWriter w;
        ASSERT_TRUE(w.Open((root / "p.txt").string()));
        ASSERT_TRUE(w.Write("new"));
    }
    EXPECT_EQ(ReadAll(root / "p.txt"), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(root), fs::directory_iterator()), 1);
    fs::remove_all(root);
}

}  // namespace
