#include "sim/core/SimServiceTests.h"

#include <array>

#include "sim/core/SimCommandTable.h"

namespace rtu {

namespace {

using namespace simrules;

constexpr std::string_view kCmdOk = "CMD OK";
constexpr std::string_view kCmdErr = "CMD ERR";
constexpr std::string_view kModemOk = "OK";

// Tests that always print the same readings.
struct SFixedTest {
    std::string_view command;
    std::array<std::string_view, 8> lines;  // answer lines; empty ones end the answer
};
constexpr std::array kFixedTests{
    SFixedTest{"TEST",
               {"DIN0: OK", "DIN1: OK", "DIN2: OK", "DIN3: OK", "DOUT0: OK", "DOUT1: OK", "DOUT2: OK", "DOUT3: OK"}},
    SFixedTest{"TMODEM", {"MODEM: OK", "SIM: READY", "CSQ: 23", "NETWORK: REGISTERED"}},
    SFixedTest{"TMOFF", {"MODEM: OFF"}},
    SFixedTest{"TMPC", {"*TMPC 25.0"}},
    SFixedTest{"ETMPC", {"ETMP0: 24.5", "ETMP1: 24.8"}},
    SFixedTest{"TESTADC", {"AD0: 4.02mA", "AD1: 12.00mA", "AD2: 0.00mA", "AD3: 19.96mA"}},
    SFixedTest{"VOLTAGE", {"POWER: 12.1V", "BATTERY: 4.1V"}},
    SFixedTest{"TESTPOW", {"BATTERY: 4.1V", "CHARGER: OK"}},
    SFixedTest{"TESTDSC", {"CAMERA: OK"}},
    SFixedTest{"TESTFLASH", {"FLASH: OK"}},
    SFixedTest{"CNMMSC", {"MMSC: SET"}},
    SFixedTest{"LKEY", {"RF LEARN: WAITING"}},
    SFixedTest{"EKEY", {"RF KEYS: ERASED"}},
    SFixedTest{"MINIT", {"MODEM: STARTED"}},
    SFixedTest{"SHUTM", {"MODEM: OFF"}},
    SFixedTest{"STARTM", {"MODEM: ON"}},
    SFixedTest{"RFDECODER0", {"RF DECODER: EV1527"}},
    SFixedTest{"RFDECODER1", {"RF DECODER: PT2262"}},
    SFixedTest{"SM1", {}},  // acknowledged, nothing to report
};

// Tests that take a phone number after the keyword.
constexpr std::string_view kSmsTest = "TMMSMS";
constexpr std::string_view kMmsTest = "MSEND";
// Modem pass-through: the rest of the line goes to the modem as "AT...".
constexpr std::string_view kModemPass = "ATAT";
constexpr std::string_view kSignalQuery = "+CSQ";
constexpr std::string_view kSignalAnswer = "+CSQ: 23,0";
constexpr char kDial = 'D';

// Every test as a rule of the unit: the fixed tests by their whole line, the others by
// their keyword. What a test prints stays code below: its answer echoes the number or modem
// command the line carries, which no stored report holds.
constexpr auto kRules = [] {
    std::array<SSimRule, kFixedTests.size() + 3> rules{};
    std::size_t i = 0;
    for (const SFixedTest& test : kFixedTests) rules[i++] = Action(test.command, ESimAction::Test);
    for (std::string_view keyword : {kSmsTest, kMmsTest, kModemPass})
        rules[i++] = Action(keyword, ESimAction::Test, false);
    return rules;
}();

bool IsPhoneNumber(std::string_view number)
{
    if (number.empty() || number.size() > CSimServiceTests::kMaxNumberBytes) return false;
    if (number.front() == '+') number.remove_prefix(1);
    if (number.empty()) return false;
    for (char c : number)
        if (c < '0' || c > '9') return false;
    return true;
}

std::vector<std::string> Lines(std::initializer_list<std::string> lines) { return lines; }

std::vector<std::string> ModemAnswer(std::string_view at)
{
    if (at == kSignalQuery) return Lines({std::string(kSignalAnswer), std::string(kModemOk)});
    if (!at.empty() && at.front() == kDial) {
        // "D<number>;" dials a voice call.
        std::string_view number = at.substr(1);
        if (!number.empty() && number.back() == ';') number.remove_suffix(1);
        if (!IsPhoneNumber(number)) return Lines({std::string(kCmdErr)});
        return Lines({std::string(kModemOk), "CALL: " + std::string(number)});
    }
    return Lines({std::string(kModemOk)});
}

// The answer lines of a test, without the acknowledgement; a refused test is "CMD ERR" alone.
std::optional<std::vector<std::string>> Run(std::string_view command)
{
    for (const SFixedTest& test : kFixedTests) {
        if (command != test.command) continue;
        std::vector<std::string> lines;
        for (std::string_view line : test.lines)
            if (!line.empty()) lines.emplace_back(line);
        return lines;
    }
    if (command.starts_with(kSmsTest)) {
        const std::string_view number = command.substr(kSmsTest.size());
        if (!IsPhoneNumber(number)) return Lines({std::string(kCmdErr)});
        return Lines({"SMS TO " + std::string(number) + ": SENT"});
    }
    if (command.starts_with(kMmsTest)) {
        std::string_view number = command.substr(kMmsTest.size());
        if (number.size() < 2 || number.front() != '"' || number.back() != '"') return Lines({std::string(kCmdErr)});
        number = number.substr(1, number.size() - 2);
        if (!IsPhoneNumber(number)) return Lines({std::string(kCmdErr)});
        return Lines({"MMS TO " + std::string(number) + ": SENT"});
    }
    if (command.starts_with(kModemPass)) return ModemAnswer(command.substr(kModemPass.size()));
    return std::nullopt;
}

}  // namespace

std::span<const SSimRule> ServiceTestRules() { return kRules; }

std::optional<std::vector<std::string>> CSimServiceTests::Answer(std::string_view command)
{
    auto lines = Run(command);
    if (lines && !(lines->size() == 1 && lines->front() == kCmdErr)) lines->emplace_back(kCmdOk);
    return lines;
}

}  // namespace rtu
