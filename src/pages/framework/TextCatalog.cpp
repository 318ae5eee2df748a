#include "pages/framework/TextCatalog.h"

#include <fstream>
#include <iterator>

namespace rtu {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kBlanks = " \t\r\n\v\f";

std::string Lower(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string_view Trim(std::string_view s)
{
    const std::size_t first = s.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    const std::size_t last = s.find_last_not_of(kBlanks);
    return s.substr(first, last - first + 1);
}

// A value quoted as a whole ("text" or 'text') loses its quotes, as the Windows reader does.
std::string_view StripQuotes(std::string_view s)
{
    if (s.size() >= 2 && (s.front() == '"' || s.front() == '\'') && s.back() == s.front())
        return s.substr(1, s.size() - 2);
    return s;
}

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

}  // namespace

std::string CTextCatalog::CutText(std::string_view text)
{
    // A NUL ends the text, as it ends a C string.
    if (const std::size_t nul = text.find('\0'); nul != std::string_view::npos) text = text.substr(0, nul);
    if (text.size() <= kMaxText) return std::string(text);
    // text[kMaxText] is the first byte dropped; when it continues a character, that
    // character is dropped whole. A stray continuation byte (not UTF-8) is cut as it is.
    constexpr std::size_t kMaxUtf8Tail = 3;    // continuation bytes of one UTF-8 character
    constexpr unsigned char kLeadByte = 0xC0;  // lowest first byte of a multi-byte character
    std::size_t cut = kMaxText;
    std::size_t back = 0;
    while (back < kMaxUtf8Tail && IsContinuation(static_cast<unsigned char>(text[cut - back]))) ++back;
    if (back > 0 && static_cast<unsigned char>(text[cut - back]) >= kLeadByte) cut -= back;
    return std::string(text.substr(0, cut));
}

void CTextCatalog::Parse(std::string_view data)
{
    if (data.substr(0, kUtf8Bom.size()) == kUtf8Bom) data.remove_prefix(kUtf8Bom.size());
    std::map<std::string, std::string>* section = nullptr;  // null before the first header
    while (!data.empty()) {
        const std::size_t end = data.find_first_of("\r\n");
        std::string_view line = Trim(data.substr(0, end));
        data.remove_prefix(end == std::string_view::npos ? data.size() : end + 1);
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            if (close != std::string_view::npos) {
                // A section that appears again adds its keys to the first one.
                section = &sections_[Lower(Trim(line.substr(1, close - 1)))];
                continue;
            }
        }
        if (!section) continue;
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        const std::string key = Lower(Trim(line.substr(0, eq)));
        if (key.empty()) continue;
        // The first occurrence of a key wins.
        section->try_emplace(key, CutText(StripQuotes(Trim(line.substr(eq + 1)))));
    }
}

bool CTextCatalog::Load(const std::string& path)
{
    sections_.clear();
    loaded_ = false;
    path_.clear();
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0 || static_cast<unsigned long long>(size) > kMaxFileBytes) return false;
    in.seekg(0, std::ios::beg);
    std::string data(static_cast<std::size_t>(size), '\0');
    if (size > 0 && !in.read(data.data(), size)) return false;
    Parse(data);
    loaded_ = true;
    path_ = path;
    return true;
}

bool CTextCatalog::LoadDefault(const std::string& programDir)
{
    if (Load(kFileName)) return true;
    if (!programDir.empty() && Load(programDir + "/" + kFileName)) return true;
    // An installed program: <prefix>/bin beside <prefix>/share/rtuconfig, wherever the prefix is.
    if (!programDir.empty() && Load(programDir + "/../share/rtuconfig/" + kFileName)) return true;
#ifdef RTU_DATA_DIR
    if (Load(std::string(RTU_DATA_DIR) + "/" + kFileName)) return true;
#endif
    return false;
}

std::string CTextCatalog::GetText(std::string_view section, std::string_view key) const
{
    const auto s = sections_.find(Lower(section));
    if (s == sections_.end()) return {};
    const auto k = s->second.find(Lower(key));
    return k == s->second.end() ? std::string{} : k->second;
}

}  // namespace rtu
