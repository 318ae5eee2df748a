// The register reports the Modbus master and slave pages share: "$RNAME<n> <name>" and
// "$REG<n> <limit>", whose text starts with the register index.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rtu {

inline constexpr int kModbusRegisters = 32;      // registers the unit keeps
inline constexpr std::size_t kIndexDigits = 11;  // longest index a report may carry

// The register index a report text starts with and the text after it; nullopt without an
// index. An index beyond any register saturates (it names none).
struct RegisterText {
    int index = 0;
    std::string_view value;
};
std::optional<RegisterText> SplitIndex(std::string_view text);

// A "$REG<n> <limit>" report: n 0-31 carries the high limit of register n, n 32-63 the low
// limit of register n-32; nullopt for any other index.
struct RegisterLimit {
    int reg = 0;
    bool high = true;
    std::string_view value;
};
std::optional<RegisterLimit> SplitLimit(std::string_view text);

// A register report's text cut into fields at every blank and comma; a field keeps at most
// `capacity` characters.
std::vector<std::string> SplitRegisterFields(std::string_view text, std::size_t capacity);

}  // namespace rtu
