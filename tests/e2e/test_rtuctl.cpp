// rtuctl against rtusim over real pseudo-terminals.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>
#include <map>
#include <nlohmann/json.hpp>

#include "Process.h"

using namespace rtu::test;

namespace {

std::map<std::string, std::string> ImageReports(const std::string& text)
{
    std::map<std::string, std::string> out;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#' || line[0] == '[') continue;
        const auto blank = line.find(' ');
        out[line.substr(0, blank)] = blank == std::string::npos ? "" : line.substr(blank + 1);
    }
    return out;
}

int CountLines(const std::string& text, const std::string& prefix)
{
    int n = 0;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(prefix, 0) == 0) ++n;
    return n;
}

}  // namespace

TEST(Rtuctl, ReadWritesTheProfileAndJson)
{
    SimProcess sim({});
    ASSERT_FALSE(sim.Pty().empty());
    const auto dir = TempDir("read");
    const RunResult r =
        RunCtl({"-p", sim.Pty(), "read", "--profile", (dir / "p.txt").string(), "--json", (dir / "p.json").string()});
    ASSERT_EQ(r.code, 0) << r.err;
    const std::string profile = ReadFile(dir / "p.txt");
    // Sections in profile order, every line ended by exactly one CR LF.
    const char* headers[] = {"//Page Device Control phones",
                             "//Page System Main Params",
                             "//Page System Alarm Params",
                             "//Page Rom Sms",
                             "//Page system basic prio table",
                             "//Page Digital inputs Names",
                             "//Page digital alarm prio table",
                             "//Page Digital outputs Names",
                             "//Page analog alarm prio table",
                             "//Page AD names",
                             "//Page ISensor Names"};
    std::size_t at = 0;
    for (const char* h : headers) {
        const auto found = profile.find(std::string("\r\n") + h + "\r\n", at);
        ASSERT_NE(found, std::string::npos) << h;
        at = found + 1;
    }
    EXPECT_EQ(profile.find("\r\r"), std::string::npos);
    EXPECT_EQ(CountLines(profile, "%CS"), 10);
    EXPECT_NE(profile.find("%CS3+4915112340003\r\n"), std::string::npos);
    EXPECT_EQ(profile.find("STARTCMD"), std::string::npos);

    const auto json = nlohmann::json::parse(ReadFile(dir / "p.json"));
    ASSERT_TRUE(json.contains("CPageServer"));
    ASSERT_TRUE(json.contains("CPageMainParams"));
    ASSERT_TRUE(json.contains("CPagePriotab"));
    std::filesystem::remove_all(dir);
}

TEST(Rtuctl, UnwritableOutputFailsButTheOtherFileIsWritten)
{
    SimProcess sim({"--latency-ms", "0"});
    ASSERT_FALSE(sim.Pty().empty());
    const auto dir = TempDir("output");
    std::filesystem::create_directory(dir / "dir");
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0644), 0);
    struct Row {
        const char* name;
        std::string profile, json, bad, good;
    };
    const Row rows[] = {
        {"profile is a directory", (dir / "dir").string(), (dir / "a.json").string(), (dir / "dir").string(),
         (dir / "a.json").string()},
        {"JSON is a FIFO", (dir / "b.txt").string(), (dir / "fifo").string(), (dir / "fifo").string(),
         (dir / "b.txt").string()},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const RunResult r = RunCtl({"-p", sim.Pty(), "read", "--profile", row.profile, "--json", row.json});
        EXPECT_EQ(r.code, 5) << r.err;
        EXPECT_NE(r.err.find(row.bad), std::string::npos) << r.err;
        EXPECT_FALSE(ReadFile(row.good).empty());
    }
    EXPECT_TRUE(std::filesystem::is_directory(dir / "dir"));
    EXPECT_TRUE(std::filesystem::is_fifo(dir / "fifo"));
    EXPECT_TRUE(nlohmann::json::parse(ReadFile(dir / "a.json")).contains("CPageServer"));
    std::filesystem::remove_all(dir);
}

TEST(Rtuctl, ProfileMovesAUnitOntoAnEmptyOne)
{
    const auto dir = TempDir("exec");
    std::ofstream(dir / "empty.image") << "";
    std::string first;
    {
        SimProcess source({"--save-image", (dir / "source.image").string()});
        const RunResult r = RunCtl({"-p", source.Pty(), "read", "--profile", (dir / "p.txt").string()});
        ASSERT_EQ(r.code, 0) << r.err;
        first = ReadFile(dir / "p.txt");
        EXPECT_EQ(source.Stop(), 0);
    }
    SimProcess target({"--latency-ms", "0", "--baud", "115200", "--image", (dir / "empty.image").string(),
                       "--save-image", (dir / "target.image").string()});
    const RunResult e = RunCtl({"-b", "115200", "-p", target.Pty(), "exec", (dir / "p.txt").string()});
    ASSERT_EQ(e.code, 0) << e.out << e.err;
    EXPECT_NE(e.out.find("answered \"CMD ERR\": 0"), std::string::npos) << e.out;
    EXPECT_NE(e.out.find("unanswered: 0"), std::string::npos) << e.out;

    // Read back from the written unit: the same profile.
    const RunResult back = RunCtl({"-b", "115200", "-p", target.Pty(), "read"});
    ASSERT_EQ(back.code, 0) << back.err;
    EXPECT_EQ(back.out, first);

    ASSERT_EQ(target.Stop(), 0);
    const auto source = ImageReports(ReadFile(dir / "source.image"));
    const auto written = ImageReports(ReadFile(dir / "target.image"));
    EXPECT_GT(written.size(), 100u);
    for (const auto& [key, value] : written) {
        ASSERT_TRUE(source.count(key)) << key;
        EXPECT_EQ(source.at(key), value) << key;
    }
    for (const char* key : {"$CS3", "$SMS00", "$DINAME0", "$DONAME3", "$ADNAME2", "$PRIODINSMS11", "$PRIOSYS08", "$AR",
                            "$DID", "$ISNAME0:", "$ETEMPH0", "$ETEMPEN3", "$EXTEMPSS", "$IBUZ", "$BUZZERT", "$POWDLY",
                            "$BATEN", "$POWLS", "$OAS7", "$IOOC", "$IOPO", "$INTERLOCKURG", "$TIMERT5", "$TSSPANM3",
                            "$TDATEW6", "$USERCMD2", "$SYSCMD5", "$M2M_APN", "$NTP_PORT", "$M2MD_SVR2", "$M2MD_HRTT3"})
        EXPECT_TRUE(written.count(key)) << key;
    std::filesystem::remove_all(dir);
}

TEST(Rtuctl, SendPrintsTheAnswerAndFailsOnRefusal)
{
    SimProcess sim({"--latency-ms", "0"});
    RunResult r = RunCtl({"-p", sim.Pty(), "send", "%DUMP_PHONE"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("$CS0 +4917612345670"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("CMD OK"), std::string::npos);
    r = RunCtl({"-p", sim.Pty(), "send", "%NOSUCHTHING"});
    EXPECT_EQ(r.code, 4);
    EXPECT_NE(r.out.find("CMD ERR"), std::string::npos);
}

TEST(Rtuctl, TraceRecordsBothDirectionsReadably)
{
    SimProcess sim({"--latency-ms", "0"});
    const auto trace = std::filesystem::temp_directory_path() / ("rtu-trace-" + std::to_string(::getpid()) + ".txt");
    std::filesystem::remove(trace);
    const RunResult r = RunCtl({"-p", sim.Pty(), "--trace", trace.string(), "send", "%DUMP_PHONE"});
    EXPECT_EQ(r.code, 0) << r.err;
    const std::string text = ReadFile(trace);
    EXPECT_NE(text.find(" # rtuctl opens " + sim.Pty()), std::string::npos) << text;
    EXPECT_NE(text.find(" > %DUMP_PHONE\\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find(" < "), std::string::npos) << text;
    EXPECT_NE(text.find("CMD OK"), std::string::npos) << text;
    EXPECT_EQ(std::filesystem::status(trace).permissions() & std::filesystem::perms::others_read,
              std::filesystem::perms::none);
    std::filesystem::remove(trace);
    // A trace that cannot be written is an output failure, before anything is sent.
    EXPECT_EQ(RunCtl({"-p", sim.Pty(), "--trace", "/nonexistent-dir/t.txt", "send", "%DUMP_PHONE"}).code, 5);
}

TEST(Rtuctl, DiagnoseGathersTheUnitAndMasksPasswords)
{
    SimProcess sim({"--latency-ms", "0"});
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("rtu-diagnose-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir / "config/rtuconfig");
    std::ofstream(dir / "config/rtuconfig/QMX5000COMM.conf") << "[General]\nPassword=open sesame\nPROFILEDIR=/srv\n";
    ::setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
    const RunResult r = RunCtl({"-p", sim.Pty(), "diagnose", "-o", (dir / "d.tar.gz").string()});
    ::unsetenv("XDG_CONFIG_HOME");
    ASSERT_EQ(r.code, 0) << r.err;
    fs::create_directories(dir / "x");
    ASSERT_EQ(std::system(("tar -xzf " + (dir / "d.tar.gz").string() + " -C " + (dir / "x").string()).c_str()), 0);
    const fs::path unpacked = fs::directory_iterator(dir / "x")->path();
    EXPECT_NE(ReadFile(unpacked / "version.txt").find("rtuctl "), std::string::npos);
    EXPECT_NE(ReadFile(unpacked / "ports.txt").find(sim.Pty()), std::string::npos);
    EXPECT_NE(ReadFile(unpacked / "profile.txt").find("//Page Device Control phones"), std::string::npos);
    EXPECT_NE(ReadFile(unpacked / "trace-2.txt").find("> %DUMP"), std::string::npos);
    const std::string settings = ReadFile(unpacked / "settings.conf");
    EXPECT_NE(settings.find("Password=********"), std::string::npos) << settings;
    EXPECT_EQ(settings.find("sesame"), std::string::npos) << settings;
    fs::remove_all(dir);
}

TEST(Rtuctl, SetupModeThroughThePowerCycle)
{
    SimProcess sim({"--setup-window-ms", "5000"});
    const RunResult r = RunCtl({"-p", sim.Pty(), "--timeout", "20", "setup"});
    EXPECT_EQ(r.code, 0) << r.out << r.err;
    EXPECT_NE(r.out.find("Come into setup mode success"), std::string::npos);
}

TEST(Rtuctl, LoginWithTheRightPasswordOnly)
{
    SimProcess sim({"--password", "sesame"});
    RunResult r = RunCtl({"-p", sim.Pty(), "--password", "sesame", "read"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("//Page Device Control phones"), std::string::npos);
    SimProcess locked({"--password", "sesame"});
    r = RunCtl({"-p", locked.Pty(), "--password", "wrong", "--timeout", "20", "read"});
    EXPECT_EQ(r.code, 3);
    EXPECT_NE(r.err.find("The login password is incorrect!"), std::string::npos) << r.err;
}

TEST(Rtuctl, FailuresAreReportedWithTheirExitCodes)
{
    {
        SimProcess silent({"--fail", "silent"});
        const RunResult r = RunCtl({"-p", silent.Pty(), "--timeout", "2", "read"});
        EXPECT_EQ(r.code, 3) << r.err;
        EXPECT_NE(r.err.find("DUMPR"), std::string::npos);
        // Nothing came back at all: the checks to make, setup mode among them.
        EXPECT_NE(r.err.find("rtuctl setup"), std::string::npos) << r.err;
    }
    {
        SimProcess noAck({"--fail", "no-ack"});
        const RunResult r = RunCtl({"-p", noAck.Pty(), "send", "%DUMP_PHONE"});
        EXPECT_EQ(r.code, 4);
    }
    {
        const RunResult r = RunCtl({"-p", "/dev/nonexistent-rtu", "read"});
        EXPECT_EQ(r.code, 2);
        EXPECT_NE(r.err.find("/dev/nonexistent-rtu"), std::string::npos);
    }
    EXPECT_EQ(RunCtl({}).code, 1);
    EXPECT_EQ(RunCtl({"-p", "/dev/null", "frobnicate"}).code, 1);
    EXPECT_EQ(RunCtl({"--help"}).code, 0);
}

TEST(Rtuctl, UnitThatDisappearsDuringExecEndsCleanly)
{
    const auto dir = TempDir("vanish");
    std::ofstream(dir / "p.txt") << "%CS0+49\r\n%CS1+49\r\n%CS2+49\r\n%CS3+49\r\n%CS4+49\r\n%CS5+49\r\n";
    SimProcess sim({"--latency-ms", "0", "--exit-after", "3"});
    const RunResult r = RunCtl({"-p", sim.Pty(), "exec", "--no-backup", (dir / "p.txt").string()});
    EXPECT_EQ(r.code, 3) << r.out << r.err;
    EXPECT_NE(r.err.find("disconnected"), std::string::npos) << r.err;
    std::filesystem::remove_all(dir);
}

TEST(Rtuctl, NoiseOnTheLineDoesNotChangeWhatIsRead)
{
    SimProcess clean({});
    SimProcess noisy({"--noise", "--seed", "7"});
    const RunResult a = RunCtl({"-p", clean.Pty(), "read"});
    const RunResult b = RunCtl({"-p", noisy.Pty(), "read"});
    ASSERT_EQ(a.code, 0) << a.err;
    ASSERT_EQ(b.code, 0) << b.err;
    EXPECT_EQ(a.out, b.out);
}

TEST(Rtuctl, ConsolePassesBytesBothWays)
{
    SimProcess sim({"--latency-ms", "0"});
    const RunResult r = RunCtl({"-p", sim.Pty(), "console"}, "%DUMP_PHONE\r");
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("$CS9 +390612345609\r\n"), std::string::npos) << r.out;
}

namespace {

std::string Summary(int sent, int ok, int err, int unanswered, int refused)
{
    return "lines sent: " + std::to_string(sent) + "\nanswered \"CMD OK\": " + std::to_string(ok) +
           "\nanswered \"CMD ERR\": " + std::to_string(err) + "\nunanswered: " + std::to_string(unanswered) +
           "\nrefused: " + std::to_string(refused) + "\n";
}

}  // namespace

TEST(RtuctlExec, LineEndsAndLongLines)
{
    const auto dir = TempDir("ends");
    const std::string tooLong = "%CS1+" + std::string(1100, '4');
    const struct {
        const char* name;
        std::string text;
        int code;
        std::string summary;
    } cases[] = {
        {"CR only", "%CS1+491\r%CS2+492\r%CS3+493\r", 0, Summary(3, 3, 0, 0, 0)},
        {"LF only", "%CS1+491\n%CS2+492\n", 0, Summary(2, 2, 0, 0, 0)},
        {"too long for one block", "%CS1+491\r\n" + tooLong + "\r\n%CS2+492\r\n", 4, Summary(2, 2, 0, 0, 1)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::ofstream(dir / "p.txt", std::ios::binary) << c.text;
        SimProcess sim({"--latency-ms", "0", "--baud", "115200"});
        const RunResult r = RunCtl({"-b", "115200", "-p", sim.Pty(), "exec", (dir / "p.txt").string()});
        EXPECT_EQ(r.code, c.code) << r.out << r.err;
        EXPECT_EQ(r.out, c.summary) << r.err;
    }
    std::filesystem::remove_all(dir);
}

TEST(RtuctlExec, FilesThatAreNotProfilesAreRefusedUnsent)
{
    const auto dir = TempDir("notprofile");
    std::ofstream(dir / "nul.txt", std::ios::binary) << std::string("%CS1+49\r\n%CS2\0+49\r\n", 20);
    std::ofstream(dir / "latin1.txt", std::ios::binary) << "%SMS00 Gr\xFC\xDF"
                                                        << "e\r\n";
    {
        std::ofstream big(dir / "big.txt", std::ios::binary);
        big.seekp(11 * 1024 * 1024);
        big << "\n";
    }
    const struct {
        std::string path;
        const char* says;
    } cases[] = {
        {(dir / "nul.txt").string(), "NUL"},
        {"/bin/ls", "NUL"},
        {"/dev/zero", "NUL"},
        {(dir / "latin1.txt").string(), "not valid text"},
        {(dir / "big.txt").string(), "larger than 10 MB"},
    };
    SimProcess sim({"--latency-ms", "0", "--trace", (dir / "trace.txt").string()});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const RunResult r = RunCtl({"-p", sim.Pty(), "exec", c.path});
        EXPECT_EQ(r.code, 1) << r.out << r.err;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
    }
    sim.Stop();
    EXPECT_EQ(ReadFile(dir / "trace.txt").find('<'), std::string::npos) << "the unit received something";
    std::filesystem::remove_all(dir);
}

TEST(RtuctlExec, Utf16ProfileIsConverted)
{
    const auto dir = TempDir("utf16");
    const std::u16string text = u"//Page Device Control phones\r\n%CS1+491\r\n%CS2+492\r\n";
    for (const bool le : {true, false}) {
        std::string bytes = le ? "\xFF\xFE" : "\xFE\xFF";
        for (char16_t u : text) {
            bytes += static_cast<char>(le ? u & 0xFF : u >> 8);
            bytes += static_cast<char>(le ? u >> 8 : u & 0xFF);
        }
        std::ofstream(dir / "p.txt", std::ios::binary) << bytes;
        SimProcess sim({"--latency-ms", "0", "--baud", "115200"});
        const RunResult r = RunCtl({"-b", "115200", "-p", sim.Pty(), "exec", (dir / "p.txt").string()});
        EXPECT_EQ(r.code, 0) << r.out << r.err;
        EXPECT_EQ(r.out, Summary(2, 2, 0, 0, 0));
    }
    std::filesystem::remove_all(dir);
}

TEST(RtuctlExec, StopsAtARefusedLoginWithoutCommit)
{
    const auto dir = TempDir("login");
    std::ofstream(dir / "p.txt") << "%CS1+491\r\n%CS2+492\r\n%CS3+493\r\n%CS4+494\r\n%CS5+495\r\n";
    SimProcess sim({"--password", "sesame", "--latency-ms", "0"});
    const RunResult r = RunCtl({"-p", sim.Pty(), "--password", "wrong", "exec", "--no-backup", (dir / "p.txt").string()});
    EXPECT_EQ(r.code, 3) << r.out << r.err;
    EXPECT_EQ(r.out, Summary(0, 0, 0, 0, 0));
    EXPECT_NE(r.err.find("The login password is incorrect!"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("5 line(s) were not sent and nothing was committed"), std::string::npos) << r.err;
    std::filesystem::remove_all(dir);
}

TEST(RtuctlExec, StopsWhenTheUnitFallsSilent)
{
    const auto dir = TempDir("silent");
    // The unit still talks (the dump's reports) but acknowledges nothing: after 3 lines in a
    // row without an answer the run stops.
    std::ofstream(dir / "p.txt") << "%DUMP_PHONE\r\n%CS1+491\r\n%CS2+492\r\n%CS3+493\r\n%CS4+494\r\n";
    SimProcess sim({"--fail", "no-ack"});
    const RunResult r = RunCtl({"-p", sim.Pty(), "--timeout", "5", "exec", "--no-backup", (dir / "p.txt").string()});
    EXPECT_EQ(r.code, 3) << r.out << r.err;
    EXPECT_EQ(r.out, Summary(3, 0, 0, 3, 0));
    EXPECT_NE(r.err.find("stopped answering"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("2 line(s) were not sent"), std::string::npos) << r.err;
    std::filesystem::remove_all(dir);
}

TEST(RtuctlExec, LateAnswersAreNotCreditedToTheNextLine)
{
    // The unit answers after the start line's bound: that answer must not be taken for the
    // first file line's, or the refusal of the last line is never seen.
    const auto dir = TempDir("late");
    std::ofstream(dir / "p.txt") << "%CS1+491\r\n%CS2+492\r\n%NOSUCHTHING\r\n";
    SimProcess sim({"--latency-ms", "3500", "--baud", "115200"});
    const RunResult r = RunCtl({"-b", "115200", "-p", sim.Pty(), "exec", "--no-backup", (dir / "p.txt").string()});
    EXPECT_EQ(r.code, 4) << r.out << r.err;
    EXPECT_NE(r.out.find(Summary(3, 2, 1, 0, 0)), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("answered late: 1\n"), std::string::npos) << r.out;
    std::filesystem::remove_all(dir);
}

TEST(RtuctlRead, RefusedDumpIsReportedAtOnce)
{
    SimProcess sim({"--fail", "err"});
    const RunResult r = RunCtl({"-p", sim.Pty(), "read"});
    EXPECT_EQ(r.code, 3) << r.err;
    EXPECT_NE(r.err.find("the unit refused the dump"), std::string::npos) << r.err;
}
