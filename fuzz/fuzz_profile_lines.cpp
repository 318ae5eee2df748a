// Profile reading: any bytes, cut into chunks where the input's first byte says, must give
// the same verdict and the same kept lines as the whole input at once, and every kept line
// must be something execution can send or show as it is.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "link/ProfileReader.h"

namespace {

struct Outcome {
    rtu::CProfileReader::Error error;
    std::vector<std::pair<rtu::ProfileLineKind, std::string>> lines;
};

Outcome Read(std::string_view bytes, std::size_t chunk)
{
    rtu::CProfileReader reader;
    bool ok = true;
    for (std::size_t at = 0; ok && at < bytes.size(); at += chunk) ok = reader.Feed(bytes.substr(at, chunk));
    if (ok) reader.Finish();
    Outcome out{reader.GetError(), {}};
    std::size_t offset = 0;
    rtu::ProfileLine line{};
    while (reader.Lines().Next(offset, line)) out.lines.emplace_back(line.kind, std::string(line.text));
    if (out.error == rtu::CProfileReader::Error::None &&
        reader.RefusedLineNumbers().size() != reader.Lines().CountOf(rtu::ProfileLineKind::Refused))
        __builtin_trap();
    return out;
}

bool ValidUtf8(std::string_view s)
{
    rtu::CProfileReader check;
    return check.Feed(s) && check.Finish();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    const std::size_t chunk = 1 + data[0] % 7;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    const Outcome whole = Read(bytes, bytes.size() + 1);
    const Outcome cut = Read(bytes, chunk);
    if (whole.error != cut.error) __builtin_trap();
    if (whole.error != rtu::CProfileReader::Error::None) return 0;
    if (whole.lines != cut.lines) __builtin_trap();
    for (const auto& [kind, text] : whole.lines) {
        if (text.empty() || text.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos) __builtin_trap();
        if (!ValidUtf8(text)) __builtin_trap();
        switch (kind) {
        case rtu::ProfileLineKind::Command:
            if (text[0] != '%' || text.size() > rtu::CProfileReader::kMaxCommandBytes) __builtin_trap();
            break;
        case rtu::ProfileLineKind::Note:
            if (!text.starts_with("\\\\")) __builtin_trap();
            break;
        case rtu::ProfileLineKind::Refused:
        case rtu::ProfileLineKind::Repeated:
            if (text[0] != '%' || text.size() > rtu::CProfileReader::kRefusedPreview) __builtin_trap();
            break;
        default: __builtin_trap();
        }
    }
    return 0;
}
