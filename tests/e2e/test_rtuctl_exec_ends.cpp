// How rtuctl's send and exec end against a locked, silent, refusing or vanishing unit, and
// against a profile with nothing to send.
#include <gtest/gtest.h>

#include <fstream>

#include "Process.h"

using namespace rtu::test;

namespace {

int Count(const std::string& text, const std::string& what)
{
    int n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

}  // namespace

// A locked unit asks for its login on the first command instead of taking it: with the right
// password that command still goes out (again, once) and is answered.
TEST(RtuctlLogin, TheCommandThatMetThePromptIsNotLost)
{
    const auto dir = TempDir("login-resend");
    std::ofstream(dir / "p.txt") << "%CS1+491\r\n%CS2+492\r\n";
    struct Case {
        const char* name;
        std::vector<std::string> args;
        const char* firstCommand;  // what met the prompt: on the unit's trace twice
        const char* wantOut;
    };
    const Case cases[] = {
        {"send", {"send", "%CS1+491"}, "< %CS1+491", "CMD OK"},
        {"exec --no-backup", {"exec", "--no-backup", (dir / "p.txt").string()}, "< %STARTCMD", "answered \"CMD OK\": 2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto trace = dir / (std::string(c.name).substr(0, 4) + ".trace");
        SimProcess sim({"--password", "sesame", "--latency-ms", "0", "--baud", "115200", "--trace", trace.string()});
        std::vector<std::string> args = {"-b", "115200", "-p", sim.Pty(), "--password", "sesame"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const RunResult r = RunCtl(args);
        sim.Stop();
        EXPECT_EQ(r.code, 0) << r.out << r.err;
        EXPECT_NE(r.out.find(c.wantOut), std::string::npos) << r.out;
        const std::string unit = ReadFile(trace);
        EXPECT_EQ(Count(unit, std::string(c.firstCommand) + "\n"), 2) << unit.substr(0, 600);
    }
    std::filesystem::remove_all(dir);
}

// exec ends with the exit code and message its cause deserves, and never claims lines it
// did not send.
TEST(RtuctlExec, EndsForTheRightReason)
{
    const auto dir = TempDir("exec-ends");
    std::ofstream(dir / "five.txt") << "%CS1+491\r\n%CS2+492\r\n%CS3+493\r\n%CS4+494\r\n%CS5+495\r\n";
    std::ofstream(dir / "empty.txt") << "//Page System Main Params\r\n\\\\a note\r\n\r\n";
    struct Case {
        const char* name;
        std::vector<std::string> sim;
        std::vector<std::string> ctl;  // before "exec --no-backup FILE"
        const char* file;
        int wantCode;
        const char* wantErr;
        const char* wantNotErr;
    };
    const Case cases[] = {
        // --timeout bounds a unit that answers nothing at all (not 3 lines of 9 s each).
        {"silent unit", {"--fail", "silent"}, {"--timeout", "3"}, "five.txt", 3, "answered nothing within --timeout",
         "in a row unanswered"},
        // The reload after the run is refused: the unit did not give its values (exit 3).
        {"refused reload", {"--fail", "err"}, {}, "five.txt", 3, "the unit refused the dump", nullptr},
        // The unit goes away after 3 command lines: the port is named, not a silent unit.
        {"vanished port", {"--latency-ms", "0", "--exit-after", "3"}, {}, "five.txt", 3, "the port went away",
         "in a row unanswered"},
        {"no command lines", {"--latency-ms", "0"}, {}, "empty.txt", 1, "no command lines", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto trace = dir / "unit.trace";
        std::vector<std::string> simArgs = c.sim;
        simArgs.insert(simArgs.end(), {"--trace", trace.string()});
        SimProcess sim(simArgs);
        std::vector<std::string> args = {"-p", sim.Pty()};
        args.insert(args.end(), c.ctl.begin(), c.ctl.end());
        args.insert(args.end(), {"exec", "--no-backup", (dir / c.file).string()});
        const RunResult r = RunCtl(args);
        sim.Stop();
        EXPECT_EQ(r.code, c.wantCode) << r.out << r.err;
        EXPECT_NE(r.err.find(c.wantErr), std::string::npos) << r.err;
        if (c.wantNotErr) {
            EXPECT_EQ(r.err.find(c.wantNotErr), std::string::npos) << r.err;
        }
        const std::string unit = ReadFile(trace);
        if (c.wantCode == 1) {
            EXPECT_EQ(unit.find('<'), std::string::npos) << "the unit received " << unit;
        }
        // Lines counted as sent left the port: the unit heard them, but for the one in flight
        // when it vanished.
        const auto sentAt = r.out.find("lines sent: ");
        if (sentAt != std::string::npos && c.wantCode != 1) {
            const int sent = std::stoi(r.out.substr(sentAt + 12));
            EXPECT_LE(sent, Count(unit, "< %CS") + 1) << r.out << unit;
        }
        std::filesystem::remove(trace);
    }
    std::filesystem::remove_all(dir);
}
