#include "pages/net/RegisterReports.h"

#include <limits>

#include "link/TextFields.h"

namespace rtu {

std::optional<RegisterText> SplitIndex(std::string_view text)
{
    const IndexedText indexed = SplitIndexed(text, kIndexDigits);
    if (!indexed.index) return std::nullopt;
    constexpr long long kNoRegister = 1LL << 30;  // any index this large names no register
    return RegisterText{static_cast<int>(std::min(*indexed.index, kNoRegister)), indexed.text};
}

std::optional<RegisterLimit> SplitLimit(std::string_view text)
{
    const auto indexed = SplitIndex(text);
    if (!indexed || indexed->index >= 2 * kModbusRegisters) return std::nullopt;
    const bool high = indexed->index < kModbusRegisters;
    return RegisterLimit{high ? indexed->index : indexed->index - kModbusRegisters, high, indexed->value};
}

std::vector<std::string> SplitRegisterFields(std::string_view text, std::size_t capacity)
{
    return SplitFields(text, " ,", std::numeric_limits<std::size_t>::max(), capacity);
}

}  // namespace rtu
