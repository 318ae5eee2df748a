#include "session/ProfileDiff.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <set>

#include "pages/framework/CommandFormat.h"
#include "pages/framework/PageBase.h"
#include "pages/framework/PageTable.h"
#include "pages/framework/TextCatalog.h"

namespace rtu {
namespace {

using Lines = std::vector<std::string>;

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
    return text;
}

// A section's lines in file order, by header, sections in the order they first appear.
struct Sections {
    std::vector<std::string> order;
    std::map<std::string, Lines, std::less<>> lines;
};

Sections Split(const CProfileLines& profile)
{
    Sections out;
    std::string header;
    auto touch = [&out](const std::string& h) -> Lines& {
        auto [it, added] = out.lines.try_emplace(h);
        if (added) out.order.push_back(h);
        return it->second;
    };
    std::size_t offset = 0;
    ProfileLine line{};
    while (profile.Next(offset, line)) {
        if (line.kind == ProfileLineKind::Header) {
            header = Trim(line.text);
            touch(header);
        } else if (line.kind == ProfileLineKind::Command) {
            touch(header).emplace_back(line.text);
        }
    }
    return out;
}

bool IsWordChar(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }

std::size_t DigitRun(std::string_view line, std::size_t from)
{
    std::size_t n = 0;
    while (from + n < line.size() && std::isdigit(static_cast<unsigned char>(line[from + n]))) ++n;
    return n;
}

// The key of a line before row indexes are considered: a declared prefix, a keyword with its
// "=index," part, or the bare keyword. `indexable` tells whether digits after it may be a row index.
std::string BaseKey(std::string_view line, const std::vector<std::string>& declared, bool& indexable)
{
    indexable = false;
    std::string_view best;
    for (const std::string& d : declared)
        if (line.starts_with(d) && d.size() > best.size()) best = d;
    if (!best.empty()) return std::string(best);
    std::size_t end = 1;
    while (end < line.size() && IsWordChar(line[end])) ++end;
    if (end < line.size() && line[end] == '=') {
        const std::size_t comma = line.find(',', end);
        return std::string(line.substr(0, comma == std::string_view::npos ? end + 1 : comma + 1));
    }
    indexable = true;
    return std::string(line.substr(0, end));
}

// Keys for both sides of one section. A keyword that one side holds more than once carries a
// row index: the fewest digits after it that tell its lines apart on each side.
void KeySides(const Lines& a, const Lines& b, const std::vector<std::string>& declared, std::vector<std::string>& keysA,
              std::vector<std::string>& keysB)
{
    std::map<std::string, int> width;  // keyword → index digits
    std::map<std::string, std::vector<const std::string*>> byWordA, byWordB;
    auto base = [&](const Lines& side, std::vector<std::string>& keys, auto& byWord) {
        for (const std::string& line : side) {
            bool indexable = false;
            keys.push_back(BaseKey(line, declared, indexable));
            if (indexable) byWord[keys.back()].push_back(&line);
        }
    };
    base(a, keysA, byWordA);
    base(b, keysB, byWordB);
    auto unique = [](const std::vector<const std::string*>& lines, std::size_t kw, int w) {
        std::set<std::string_view> seen;
        for (const std::string* l : lines) {
            const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(w), DigitRun(*l, kw));
            if (!seen.insert(std::string_view(*l).substr(0, kw + n)).second) return false;
        }
        return true;
    };
    auto widen = [&](const auto& byWord) {
        for (const auto& [word, lines] : byWord) {
            if (lines.size() < 2) continue;
            int w = 1;
            while (w < CProfileDiffer::kMaxIndexDigits && !unique(lines, word.size(), w)) ++w;
            width[word] = std::max(width[word], w);
        }
    };
    widen(byWordA);
    widen(byWordB);
    auto apply = [&](const Lines& side, std::vector<std::string>& keys) {
        for (std::size_t i = 0; i < side.size(); ++i) {
            const auto it = width.find(keys[i]);
            if (it == width.end() || !side[i].starts_with(keys[i])) continue;
            const std::size_t kw = keys[i].size();
            const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(it->second), DigitRun(side[i], kw));
            keys[i] = side[i].substr(0, kw + n);
        }
    };
    apply(a, keysA);
    apply(b, keysB);
}

std::string CaptionFromHeader(std::string_view header)
{
    std::string_view text = header;
    if (text.starts_with("//")) text.remove_prefix(2);
    text = Trim(text);
    if (text.starts_with("Page ")) text.remove_prefix(5);
    return std::string(Trim(text));
}

}  // namespace

int ProfileDiff::Count() const
{
    int n = 0;
    for (const DiffSection& s : sections)
        for (const DiffLine& l : s.lines) n += l.kind == DiffKind::Same ? 0 : 1;
    return n;
}

ProfileDiff CProfileDiffer::Compare(const CProfileLines& oldLines, const CProfileLines& newLines, bool withSame) const
{
    const Sections olds = Split(oldLines);
    const Sections news = Split(newLines);
    std::vector<std::string> order = news.order;
    for (const std::string& h : olds.order)
        if (!news.lines.contains(h)) order.push_back(h);
    static const Lines kNone;
    ProfileDiff diff;
    for (const std::string& header : order) {
        const auto o = olds.lines.find(header);
        const auto n = news.lines.find(header);
        const Lines& oldSide = o == olds.lines.end() ? kNone : o->second;
        const Lines& newSide = n == news.lines.end() ? kNone : n->second;
        SectionInfo info = info_ ? info_(header) : SectionInfo{};
        std::vector<std::string> oldKeys, newKeys;
        KeySides(oldSide, newSide, info.keys, oldKeys, newKeys);
        // A key held twice on one side: the later line is the one that stays on the unit.
        std::map<std::string, std::string, std::less<>> oldByKey;
        for (std::size_t i = 0; i < oldSide.size(); ++i) oldByKey[oldKeys[i]] = oldSide[i];
        std::map<std::string, std::size_t, std::less<>> newLast;
        for (std::size_t i = 0; i < newSide.size(); ++i) newLast[newKeys[i]] = i;
        DiffSection section{header, info.page, info.caption.empty() ? CaptionFromHeader(header) : info.caption, {}};
        for (std::size_t i = 0; i < newSide.size(); ++i) {
            if (newLast[newKeys[i]] != i) continue;
            const auto old = oldByKey.find(newKeys[i]);
            if (old == oldByKey.end()) section.lines.push_back({DiffKind::OnlyNew, newKeys[i], {}, newSide[i]});
            else if (old->second != newSide[i])
                section.lines.push_back({DiffKind::Changed, newKeys[i], old->second, newSide[i]});
            else if (withSame) section.lines.push_back({DiffKind::Same, newKeys[i], old->second, newSide[i]});
        }
        std::set<std::string_view> listed;
        for (std::size_t i = 0; i < oldSide.size(); ++i) {
            if (newLast.contains(oldKeys[i]) || !listed.insert(oldKeys[i]).second) continue;
            section.lines.push_back({DiffKind::OnlyOld, oldKeys[i], oldByKey[oldKeys[i]], {}});
        }
        if (!section.lines.empty()) diff.sections.push_back(std::move(section));
    }
    return diff;
}

SectionInfoFn PageSectionInfo(std::span<const PageInfo> registry, std::span<const std::unique_ptr<CPageBase>> pages,
                              const CTextCatalog* catalog)
{
    std::map<std::string, SectionInfo, std::less<>> byHeader;
    for (const PageInfo& info : registry) {
        if (!info.header) continue;
        SectionInfo s;
        s.page = info.className;
        if (catalog && info.itemKey) s.caption = catalog->GetText("TABS", info.itemKey);
        for (const auto& page : pages) {
            if (!page || std::string_view(page->ClassName()) != info.className) continue;
            for (const FieldDecl& f : page->Fields())
                if (f.write.format)
                    if (std::string key = FormatKey(f.write.format); !key.empty()) s.keys.push_back(std::move(key));
        }
        byHeader.try_emplace(std::string(Trim(info.header)), std::move(s));
    }
    return [byHeader = std::move(byHeader)](std::string_view header) {
        const auto it = byHeader.find(header);
        return it == byHeader.end() ? SectionInfo{} : it->second;
    };
}

bool ReadProfileForDiff(std::string_view text, CProfileLines& lines, std::string& error)
{
    CProfileReader reader;
    reader.KeepHeaders(true);
    if (!reader.ReadText(text)) {
        error = reader.ErrorText();
        return false;
    }
    lines = reader.TakeLines();
    return true;
}

bool ReadProfileFileForDiff(const std::string& path, CProfileLines& lines, std::string& error)
{
    CProfileReader reader;
    reader.KeepHeaders(true);
    if (!reader.ReadFile(path)) {
        error = reader.ErrorText();
        return false;
    }
    lines = reader.TakeLines();
    return true;
}

}  // namespace rtu
