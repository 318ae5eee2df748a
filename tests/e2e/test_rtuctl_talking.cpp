// rtuctl against a unit that streams real-time records and events while it is read and
// written: every reload ends, and every record and event reaches the tool.
#include <gtest/gtest.h>

#include <regex>
#include <set>

#include "Process.h"

using namespace rtu::test;

namespace {

// The numbers of the records ("$TREC" + 4 hex digits) or events ("$:" + quoted number) that
// rtuctl -v printed as received.
std::vector<long> Numbers(const std::string& err, const std::regex& pattern, int base)
{
    std::vector<long> out;
    for (std::sregex_iterator it(err.begin(), err.end(), pattern), end; it != end; ++it)
        out.push_back(std::stol((*it)[1].str(), nullptr, base));
    return out;
}

// Every number from the first to the last seen is there, once, in order.
void ExpectNoGap(const std::vector<long>& seen, const char* what)
{
    ASSERT_FALSE(seen.empty()) << "no " << what << " arrived";
    for (std::size_t i = 1; i < seen.size(); ++i) EXPECT_EQ(seen[i], seen[i - 1] + 1) << what << " #" << i;
}

}  // namespace

TEST(RtuctlTalkingUnit, ReloadsEndAndEveryRecordAndEventArrives)
{
    const auto dir = TempDir("talking");
    SimProcess sim({"--baud", "115200", "--records-ms", "100", "--event-every-ms", "50"});
    const std::vector<std::string> port = {"-v", "-b", "115200", "-p", sim.Pty(), "--timeout", "20"};
    const std::string profile = (dir / "unit.txt").string();
    std::ofstream(dir / "one.txt") << "%CS1+491\r\n";
    struct Case {
        const char* name;
        std::vector<std::string> args;
    };
    const Case cases[] = {
        {"read", {"read", "--profile", profile}},
        {"diff", {"diff", profile}},  // the unit still holds what was read: equal
        {"exec with backup", {"exec", "--backup", (dir / "backups").string(), (dir / "one.txt").string()}},
        {"defaults", {"defaults", "--backup", (dir / "backups").string()}},
    };
    const std::regex record(R"(\$TREC([0-9A-F]{4})ET33)");  // every record of a line
    const std::regex event(R"re(< \$:"([0-9]+)")re");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> args = port;
        args.insert(args.end(), c.args.begin(), c.args.end());
        const RunResult r = RunCtl(args);
        EXPECT_EQ(r.code, 0) << r.out << r.err.substr(r.err.size() > 2000 ? r.err.size() - 2000 : 0);
        EXPECT_EQ(r.err.find("no \"DUMPR\""), std::string::npos);
        ExpectNoGap(Numbers(r.err, record, 16), "record");
        ExpectNoGap(Numbers(r.err, event, 10), "event");
    }
    std::filesystem::remove_all(dir);
}
