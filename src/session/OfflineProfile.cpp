#include "session/OfflineProfile.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <map>
#include <set>

#include "link/Utf8.h"
#include "pages/registry/PageRegistry.h"
#include "session/PageValues.h"
#include "session/ProfileDiff.h"

namespace rtu {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";
constexpr std::string_view kCrLf = "\r\n";

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
    return text;
}

// Profile text as UTF-8 (the reader has already found it to be text in one of its encodings).
std::string AsUtf8(std::string_view text)
{
    if (text.starts_with(kUtf8Bom)) return std::string(text.substr(kUtf8Bom.size()));
    const bool le = text.starts_with(kUtf16LeBom);
    if (!le && !text.starts_with(kUtf16BeBom)) return std::string(text);
    std::string out;
    char32_t high = 0;
    for (std::size_t i = 2; i + 1 < text.size(); i += 2) {
        const auto a = static_cast<unsigned char>(text[i]), b = static_cast<unsigned char>(text[i + 1]);
        const char32_t unit = le ? (b << 8 | a) : (a << 8 | b);
        if (unit >= 0xD800 && unit < 0xDC00) {
            high = unit;
        } else if (unit >= 0xDC00 && unit < 0xE000) {
            if (high) AppendUtf8(out, 0x10000 + ((high - 0xD800) << 10) + (unit - 0xDC00));
            high = 0;
        } else {
            AppendUtf8(out, unit);
            high = 0;
        }
    }
    return out;
}

struct RawLine {
    std::uint32_t number;
    std::string header;
    std::string text;
};

// Every non-empty line that is not a header, with its number and section.
std::vector<RawLine> RawLines(const std::string& text)
{
    std::vector<RawLine> out;
    std::string header;
    std::uint32_t number = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find_first_of("\r\n", at);
        if (end == std::string::npos) end = text.size();
        ++number;
        const std::string_view line = std::string_view(text).substr(at, end - at);
        if (line.starts_with("//")) header = Trim(line);
        else if (!Trim(line).empty()) out.push_back({number, header, std::string(line)});
        at = end + 1;  // past the CR or LF; a CR LF pair ends one line
        if (end < text.size() && text[end] == '\r' && at < text.size() && text[at] == '\n') ++at;
    }
    return out;
}

// The lines of `text` that the unit's pages do not give back: command lines whose key no page
// writes in their section, and every other line that is not a header.
std::vector<KeptLine> Unplaced(const std::string& text, CSession& session)
{
    const std::vector<RawLine> raw = RawLines(text);
    CProfileLines file;
    std::string header;
    for (const RawLine& l : raw) {
        if (l.header != header) file.Add(ProfileLineKind::Header, header = l.header);
        if (l.text.starts_with('%')) file.Add(ProfileLineKind::Command, l.text);
    }
    CProfileLines back;
    std::string error;
    ReadProfileForDiff(session.ProfileText(), back, error);
    const CProfileDiffer differ(PageSectionInfo(session.Registry(), session.Pages(), session.Catalog()));
    std::set<std::pair<std::string, std::string>> onlyFile;
    for (const DiffSection& s : differ.Compare(back, file).sections)
        for (const DiffLine& l : s.lines)
            if (l.kind == DiffKind::OnlyNew) onlyFile.emplace(s.header, l.newLine);
    std::vector<KeptLine> kept;
    for (const RawLine& l : raw)
        if (!l.text.starts_with('%') || onlyFile.contains({l.header, l.text}))
            kept.push_back({l.number, l.header, l.text});
    return kept;
}

}  // namespace

bool LooksLikeJson(std::string_view path, std::string_view bytes)
{
    std::string lower(path);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    if (lower.ends_with(".json")) return true;
    const std::string_view head = Trim(bytes.substr(0, std::min<std::size_t>(bytes.size(), 64)));
    return head.starts_with('{') || head.starts_with('[');
}

bool FileLooksLikeJson(const std::string& path)
{
    constexpr std::size_t kPeekBytes = 64;  // enough to pass leading white space
    std::ifstream in(path, std::ios::binary);
    char head[kPeekBytes] = {};
    in.read(head, sizeof head);
    return LooksLikeJson(path, std::string_view(head, static_cast<std::size_t>(std::max<std::streamsize>(0, in.gcount()))));
}

bool ReadWholeFile(const std::string& path, std::size_t limit, std::string& bytes, std::string& error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot be opened";
        return false;
    }
    bytes.clear();
    char buffer[64 * 1024];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
        if (bytes.size() > limit) {
            error = "larger than " + std::to_string(limit / (1024 * 1024)) + " MB: not a profile or export";
            return false;
        }
    }
    if (in.bad()) {
        error = "cannot be read";
        return false;
    }
    return true;
}

bool OpenProfileText(std::string_view text, const CTextCatalog* catalog, OpenedProfile& out, std::string& error)
{
    CProfileReader reader;
    reader.KeepHeaders(true);
    if (!reader.ReadText(text)) {
        error = reader.ErrorText();
        return false;
    }
    CProfileLines lines = reader.TakeLines();
    if (const std::vector<std::string> masked = CSession::MaskedLines(lines); !masked.empty()) {
        error = CSession::MaskedLinesRefusal(masked);
        return false;
    }
    out.unit = std::make_unique<COfflineUnit>(catalog);
    if (!out.unit->Load(std::move(lines), error)) return false;
    out.kept = Unplaced(AsUtf8(text), out.unit->Session());
    return true;
}

bool OpenJsonText(std::string_view text, const CTextCatalog* catalog, OpenedProfile& out,
                  std::vector<std::string>& problems)
{
    problems.clear();
    nlohmann::json values;
    try {
        values = nlohmann::json::parse(text);
    } catch (const nlohmann::json::exception& e) {
        problems.push_back(std::string("not valid JSON: ") + e.what());
        return false;
    }
    // The values go into the pages of an empty unit, their profile into a second one: what
    // that unit reports is what a unit given these values holds.
    COfflineUnit empty(catalog);
    std::string error;
    if (!empty.Load(CProfileLines{}, error)) {
        problems.push_back(error);
        return false;
    }
    if (!ApplyPageValues(empty.Session(), values, problems)) return false;
    if (!OpenProfileText(empty.Session().ProfileText(), catalog, out, error)) {
        problems.push_back(error);
        return false;
    }
    out.notHeld = ValuesNotHeld(values, out.unit->Session());
    return true;
}

bool OpenConfigFile(const std::string& path, const CTextCatalog* catalog, OpenedProfile& out,
                    std::vector<std::string>& problems)
{
    problems.clear();
    std::string bytes, error;
    if (!ReadWholeFile(path, kMaxJsonBytes, bytes, error)) {
        problems.push_back(error);
        return false;
    }
    if (LooksLikeJson(path, bytes)) return OpenJsonText(bytes, catalog, out, problems);
    if (OpenProfileText(bytes, catalog, out, error)) return true;
    problems.push_back(error);
    return false;
}

bool ReadJsonFileForDiff(const std::string& path, CProfileLines& lines, std::string& error)
{
    std::string bytes;
    if (!ReadWholeFile(path, kMaxJsonBytes, bytes, error)) return false;
    OpenedProfile opened;
    std::vector<std::string> problems;
    if (!OpenJsonText(bytes, nullptr, opened, problems)) {
        error.clear();
        for (const std::string& p : problems) error += (error.empty() ? "" : "; ") + p;
        return false;
    }
    return ReadProfileForDiff(opened.unit->Session().ProfileText(), lines, error);
}

std::string WithKeptLines(const std::string& profile, const std::vector<KeptLine>& kept)
{
    if (kept.empty()) return profile;
    std::map<std::string, std::string, std::less<>> bySection;  // header → its kept lines, each with CR LF
    std::vector<std::string> order;
    for (const KeptLine& l : kept) {
        auto [it, added] = bySection.try_emplace(l.header);
        if (added) order.push_back(l.header);
        it->second += l.text + std::string(kCrLf);
    }
    // Where each section of the profile ends: after its last non-empty line.
    std::string out;
    std::string header;
    std::string pendingBlank;  // empty lines after the section's last line, until it is known to end
    auto endSection = [&] {
        if (auto it = bySection.find(header); it != bySection.end()) {
            out += it->second;
            bySection.erase(it);
        }
    };
    if (auto it = bySection.find(""); it != bySection.end()) {
        out += it->second;
        bySection.erase(it);
    }
    std::size_t at = 0;
    while (at < profile.size()) {
        std::size_t end = profile.find(kCrLf, at);
        end = end == std::string::npos ? profile.size() : end + kCrLf.size();
        const std::string_view line = std::string_view(profile).substr(at, end - at);
        at = end;
        if (Trim(line).empty()) {
            pendingBlank += line;
            continue;
        }
        if (line.starts_with("//")) {
            endSection();
            header = Trim(line);
        }
        out += pendingBlank;
        pendingBlank.clear();
        out += line;
    }
    endSection();
    out += pendingBlank;
    for (const std::string& h : order) {
        const auto it = bySection.find(h);
        if (it == bySection.end()) continue;
        out += std::string(kCrLf) + h + std::string(kCrLf) + it->second;
    }
    return out;
}

std::string KeptLinesText(const std::vector<KeptLine>& kept)
{
    std::string out;
    for (const KeptLine& l : kept) out += "line " + std::to_string(l.number) + ": " + l.text + "\n";
    return out;
}

}  // namespace rtu
