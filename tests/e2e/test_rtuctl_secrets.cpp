// Secrets stay out of what is made to be shared: support archives and masked profiles and
// exports; files that hold them are private; a masked profile never reaches a unit.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <map>

#include "Process.h"

using namespace rtu::test;
namespace fs = std::filesystem;

namespace {

// A distinct secret in every secret the unit holds, by report key.
const std::map<std::string, std::string> kSecrets = {
    {"$PINC", "7391"},          {"$PUKC", "90817263"},           {"$MMS_PWD", "mms-Secr3t#1"},
    {"$M2M_PWD", "gprs-Secr3t#2"}, {"$M2M_HTTP_PWD", "http-Secr3t#3"}, {"$SMTP_PWD", "smtp-Secr3t#4"},
};
constexpr const char* kConsolePassword = "console-Secr3t#5";
// Secrets of another unit, in a trace the desktop tool left behind.
constexpr const char* kForeignSecrets[] = {"other-Secr3t#6", "other-Secr3t#7"};

// The default image with the secrets above.
fs::path SecretImage(const fs::path& dir)
{
    std::istringstream in(ReadFile(RTU_SOURCE_DATA_DIR "/sim/default.image"));
    std::string out;
    for (std::string line; std::getline(in, line);) {
        const std::string key = line.substr(0, line.find(' '));
        if (const auto it = kSecrets.find(key); it != kSecrets.end()) line = key + " " + it->second;
        out += line + "\n";
    }
    const fs::path image = dir / "secret.image";
    std::ofstream(image) << out;
    return image;
}

fs::perms Mode(const fs::path& p) { return fs::status(p).permissions() & fs::perms::all; }
constexpr fs::perms kPrivate = fs::perms::owner_read | fs::perms::owner_write;

// Every file below `dir`, read whole.
std::map<std::string, std::string> FilesUnder(const fs::path& dir)
{
    std::map<std::string, std::string> out;
    for (const auto& e : fs::recursive_directory_iterator(dir))
        if (e.is_regular_file()) out[e.path().filename().string()] = ReadFile(e.path());
    return out;
}

}  // namespace

TEST(RtuctlSecrets, DiagnosticsArchiveHoldsNoSecret)
{
    const fs::path dir = TempDir("secrets-diagnose");
    SimProcess sim({"--image", SecretImage(dir).string(), "--password", kConsolePassword, "--baud", "115200"});
    fs::create_directories(dir / "config/rtuconfig");
    fs::create_directories(dir / "state/rtuconfig");
    std::ofstream(dir / "config/rtuconfig/QMX5000COMM.conf")
        << "[General]\nSVRIP=" << kConsolePassword << "\nCOMMPATH=/dev/ttyUSB0\n";
    // The desktop tool's last trace, of another unit: a report split between two chunks and a save.
    const std::string t = "2026-12-08 03:40:01.123 ";
    std::ofstream(dir / "state/rtuconfig/trace.txt") << t << "< $SMTP_P\n"
                                                     << t << "< WD" << kForeignSecrets[0] << "\\r\\n\n"
                                                     << t << "> %M2MPWD" << kForeignSecrets[1] << "\\r\n";
    ::setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
    ::setenv("XDG_STATE_HOME", (dir / "state").c_str(), 1);
    const fs::path archive = dir / "d.tar.gz";
    const RunResult r =
        RunCtl({"-b", "115200", "-p", sim.Pty(), "--password", kConsolePassword, "--timeout", "60", "diagnose", "-o", archive.string()});
    ::unsetenv("XDG_CONFIG_HOME");
    ::unsetenv("XDG_STATE_HOME");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(Mode(archive), kPrivate);
    fs::create_directories(dir / "x");
    ASSERT_EQ(std::system(("tar -xzf " + archive.string() + " -C " + (dir / "x").string()).c_str()), 0);
    const auto files = FilesUnder(dir / "x");
    for (const char* name : {"profile.txt", "unit.json", "trace.txt", "trace-2.txt", "settings.conf", "notes.txt"})
        ASSERT_TRUE(files.contains(name)) << name;

    std::vector<std::string> secrets = {kConsolePassword, kForeignSecrets[0], kForeignSecrets[1]};
    for (const auto& [key, value] : kSecrets) secrets.push_back(value);
    for (const auto& [name, bytes] : files)
        for (const std::string& secret : secrets) EXPECT_EQ(bytes.find(secret), std::string::npos) << secret << " in " << name;
    // The keys stay, with the mask, and everything else is there as read.
    const std::string& profile = files.at("profile.txt");
    for (const char* line : {"%PIN********\r\n", "%PUK********\r\n", "%M2MPWD********\r\n", "%M2MAPNinternet.t-d1.de\r\n"})
        EXPECT_NE(profile.find(line), std::string::npos) << line;
    EXPECT_NE(files.at("unit.json").find("\"1224\": \"********\""), std::string::npos);
    EXPECT_NE(files.at("unit.json").find("internet.t-d1.de"), std::string::npos);
    EXPECT_NE(files.at("trace-2.txt").find("********"), std::string::npos);
    EXPECT_NE(files.at("trace-2.txt").find("internet.t-d1.de"), std::string::npos);
    EXPECT_NE(files.at("settings.conf").find("SVRIP=********\nCOMMPATH=/dev/ttyUSB0"), std::string::npos);
    EXPECT_NE(files.at("notes.txt").find("masked"), std::string::npos);
    fs::remove_all(dir);
}

TEST(RtuctlSecrets, MaskedCopiesArePrivateAndNeverExecuted)
{
    const fs::path dir = TempDir("secrets-mask");
    const fs::path simTrace = dir / "sim.trace";
    SimProcess sim({"--image", SecretImage(dir).string(), "--trace", simTrace.string(), "--baud", "115200"});
    const fs::path profile = dir / "shared.txt", json = dir / "shared.json", kept = dir / "kept.json";
    std::ofstream(kept) << "old";
    fs::permissions(kept, kPrivate | fs::perms::group_read | fs::perms::others_read);  // an existing file keeps its mode
    RunResult r = RunCtl({"-b", "115200", "-p", sim.Pty(), "read", "--mask-secrets", "--profile", profile.string(), "--json",
                          json.string()});
    ASSERT_EQ(r.code, 0) << r.err;
    r = RunCtl({"-b", "115200", "-p", sim.Pty(), "read", "--json", kept.string()});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(Mode(profile), kPrivate);
    EXPECT_EQ(Mode(json), kPrivate);
    EXPECT_EQ(Mode(kept), kPrivate | fs::perms::group_read | fs::perms::others_read);
    EXPECT_NE(ReadFile(kept).find("mms-Secr3t#1"), std::string::npos);  // without the flag, the values as read
    const std::string text = ReadFile(profile) + ReadFile(json);
    for (const auto& [key, value] : kSecrets) EXPECT_EQ(text.find(value), std::string::npos) << value;
    EXPECT_TRUE(ReadFile(profile).starts_with("//Secrets masked")) << ReadFile(profile).substr(0, 80);

    // Executing the masked profile is refused before anything is sent, naming its lines.
    const std::size_t heard = ReadFile(simTrace).size();
    r = RunCtl({"-b", "115200", "-p", sim.Pty(), "exec", "--no-backup", profile.string()});
    EXPECT_EQ(r.code, 1) << r.out << r.err;
    for (const char* key : {"%PIN", "%PUK", "%M2MPWD"})
        EXPECT_NE(r.err.find(key), std::string::npos) << key << " not named in: " << r.err;
    const std::string after = ReadFile(simTrace).substr(heard);
    for (const char* sent : {"%STARTCMD", "%PIN", "********"}) EXPECT_EQ(after.find(sent), std::string::npos) << after;
    fs::remove_all(dir);
}
