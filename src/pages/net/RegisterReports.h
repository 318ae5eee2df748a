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

struct IndexedText {
    int index = 0;
    std::string_view value;  // from one character after the index digits
};

// The leading decimal index of a report text and its value; nothing without an index.
std::optional<IndexedText> SplitIndex(std::string_view text);

// A register report's text cut into fields at every blank and comma (two separators in a
// row give an empty field); a field keeps at most `capacity` characters.
std::vector<std::string> SplitFields(std::string_view text, std::size_t capacity);

}  // namespace rtu
