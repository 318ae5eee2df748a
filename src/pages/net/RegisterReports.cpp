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

std::vector<std::string> SplitRegisterFields(std::string_view text, std::size_t capacity)
{
    return SplitFields(text, " ,", std::numeric_limits<std::size_t>::max(), capacity);
}

}  // namespace rtu
