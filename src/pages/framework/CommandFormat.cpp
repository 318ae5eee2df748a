#include "pages/framework/CommandFormat.h"

#include <cstdio>
#include <cstring>

namespace rtu {
namespace {

constexpr std::size_t kMaxConversion = 16;  // longest conversion taken ("%-08.4x")
constexpr std::size_t kMaxPiece = 64;       // longest formatted number

struct Conversion {
    std::string text;  // the conversion as written, '%' to the conversion letter
    char letter = 0;   // d, x, X or s; 0: malformed
};

// Reads one conversion at format[i] == '%'; advances i past it. letter 0: malformed.
Conversion ReadConversion(const char* format, std::size_t& i)
{
    Conversion s;
    const std::size_t start = i++;
    while (format[i] && std::strchr("-0 +#", format[i])) ++i;
    while (format[i] >= '0' && format[i] <= '9') ++i;
    if (format[i] == '.') {
        ++i;
        while (format[i] >= '0' && format[i] <= '9') ++i;
    }
    if (format[i] && std::strchr("dxXs", format[i])) s.letter = format[i++];
    s.text.assign(format + start, format + i);
    if (s.text.size() > kMaxConversion) s.letter = 0;
    return s;
}

}  // namespace

std::string ConversionsOf(const char* format)
{
    std::string out;
    for (std::size_t i = 0; format && format[i];) {
        if (format[i] != '%') {
            ++i;
            continue;
        }
        if (format[i + 1] == '%') {
            i += 2;
            continue;
        }
        out += ReadConversion(format, i).letter ? format[i - 1] : '?';
    }
    return out;
}

std::optional<std::string> FormatCommand(const char* format, std::span<const CommandArg> args)
{
    if (!format) return std::nullopt;
    std::string out;
    std::size_t next = 0;
    for (std::size_t i = 0; format[i];) {
        if (format[i] != '%') {
            out += format[i++];
            continue;
        }
        if (format[i + 1] == '%') {
            out += '%';
            i += 2;
            continue;
        }
        const Conversion conv = ReadConversion(format, i);
        if (!conv.letter || next >= args.size()) return std::nullopt;
        const CommandArg& arg = args[next++];
        if (conv.letter == 's') {
            const auto* text = std::get_if<std::string>(&arg);
            if (!text) return std::nullopt;
            // Width and precision of a text: formatted by the C library into a sized buffer.
            const int n = std::snprintf(nullptr, 0, conv.text.c_str(), text->c_str());
            if (n < 0) return std::nullopt;
            std::string piece(static_cast<std::size_t>(n) + 1, '\0');
            std::snprintf(piece.data(), piece.size(), conv.text.c_str(), text->c_str());
            piece.resize(static_cast<std::size_t>(n));
            out += piece;
        } else {
            const auto* number = std::get_if<long long>(&arg);
            if (!number) return std::nullopt;
            std::string wide = conv.text;
            wide.insert(wide.size() - 1, "ll");
            char piece[kMaxPiece];
            const long long value =
                conv.letter == 'd' ? *number : static_cast<long long>(static_cast<unsigned>(*number));
            if (std::snprintf(piece, sizeof piece, wide.c_str(), value) < 0) return std::nullopt;
            out += piece;
        }
    }
    if (next != args.size()) return std::nullopt;
    return out;
}

std::string FormatKey(const char* format)
{
    std::string key;
    int conversions = 0;
    for (const char* p = format; *p; ++p) {
        if (*p != '%') {
            if (conversions == 0 && *p != '\r' && *p != '\n') key += *p;
            continue;
        }
        if (p[1] == '%') {
            if (conversions == 0) key += '%';
            ++p;
            continue;
        }
        ++conversions;
    }
    return conversions == 1 && key.size() > 1 ? key : std::string();
}

}  // namespace rtu
