#include "pages/net/RegisterReports.h"

namespace rtu {

std::optional<IndexedText> SplitIndex(std::string_view text)
{
    std::size_t digits = 0;
    while (digits < text.size() && digits < kIndexDigits && text[digits] >= '0' && text[digits] <= '9') ++digits;
    if (digits == 0) return std::nullopt;
    long long index = 0;
    for (std::size_t i = 0; i < digits; ++i) index = index * 10 + (text[i] - '0');
    constexpr long long kNoRegister = 1LL << 30;  // any index this large names no register
    IndexedText out;
    out.index = static_cast<int>(index < kNoRegister ? index : kNoRegister);
    out.value = digits + 1 < text.size() ? text.substr(digits + 1) : std::string_view{};
    return out;
}

std::vector<std::string> SplitFields(std::string_view text, std::size_t capacity)
{
    std::vector<std::string> fields(1);
    for (char c : text) {
        if (c == ' ' || c == ',') {
            fields.emplace_back();
            continue;
        }
        if (fields.back().size() < capacity) fields.back() += c;
    }
    return fields;
}

}  // namespace rtu
