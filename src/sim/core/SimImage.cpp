#include "sim/core/SimImage.h"

#include <cstdio>
#include <fstream>

namespace rtu {

namespace {

constexpr char kCommentMark = '#';
constexpr char kGroupOpen = '[';
constexpr char kGroupClose = ']';

std::string_view TrimRight(std::string_view text)
{
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) text.remove_suffix(1);
    return text;
}

bool IsBlank(std::string_view text) { return text.find_first_not_of(" \t") == std::string_view::npos; }

}  // namespace

std::string_view CSimImage::KeyOf(std::string_view line) { return line.substr(0, line.find(' ')); }

bool CSimImage::Insert(std::string_view group, std::string_view line)
{
    auto groupIt = groups_.find(group);
    if (groupIt == groups_.end()) groupIt = groups_.emplace(std::string(group), Group{}).first;
    std::string_view key = KeyOf(line);
    auto it = groupIt->second.find(key);
    if (it != groupIt->second.end()) {
        it->second = std::string(line);
        return true;
    }
    if (count_ >= kMaxReports) return false;
    groupIt->second.emplace(std::string(key), std::string(line));
    ++count_;
    return true;
}

std::optional<CSimImage> CSimImage::Parse(std::string_view text, std::string& error)
{
    CSimImage image;
    std::string group;
    bool haveGroup = false;
    std::size_t lineNo = 0;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view raw = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        ++lineNo;
        std::string_view line = TrimRight(raw);
        if (IsBlank(line) || line.front() == kCommentMark) continue;
        if (line.size() > kMaxLineBytes) {
            error = "line " + std::to_string(lineNo) + ": longer than " + std::to_string(kMaxLineBytes) + " bytes";
            return std::nullopt;
        }
        if (line.front() == kGroupOpen) {
            if (line.back() != kGroupClose || line.size() < 3) {
                error = "line " + std::to_string(lineNo) + ": malformed group header";
                return std::nullopt;
            }
            group = std::string(line.substr(1, line.size() - 2));
            haveGroup = true;
            image.groups_.try_emplace(group);
            continue;
        }
        if (!haveGroup) {
            error = "line " + std::to_string(lineNo) + ": report before the first [GROUP] header";
            return std::nullopt;
        }
        if (!image.Insert(group, line)) {
            error = "line " + std::to_string(lineNo) + ": more than " + std::to_string(kMaxReports) + " reports";
            return std::nullopt;
        }
    }
    // Groups without reports carry no content; drop them so equal content compares equal.
    std::erase_if(image.groups_, [](const auto& entry) { return entry.second.empty(); });
    return image;
}

std::optional<CSimImage> CSimImage::Load(const std::string& path, std::string& error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open " + path;
        return std::nullopt;
    }
    std::string text(kMaxFileBytes + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    if (text.size() > kMaxFileBytes) {
        error = path + ": larger than " + std::to_string(kMaxFileBytes) + " bytes";
        return std::nullopt;
    }
    auto image = Parse(text, error);
    if (!image) error = path + ": " + error;
    return image;
}

std::string CSimImage::Serialize() const
{
    std::string out;
    bool first = true;
    for (const auto& [name, group] : groups_) {
        if (group.empty()) continue;
        if (!first) out += '\n';
        first = false;
        out += kGroupOpen;
        out += name;
        out += kGroupClose;
        out += '\n';
        for (const auto& entry : group) {
            out += entry.second;
            out += '\n';
        }
    }
    return out;
}

bool CSimImage::Save(const std::string& path, std::string& error) const
{
    // Written beside the target and renamed over it, so a failure never leaves half an image.
    const std::string temp = path + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out << Serialize();
        out.flush();
        if (!out) {
            error = "cannot write " + temp;
            std::remove(temp.c_str());
            return false;
        }
    }
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        error = "cannot rename " + temp + " to " + path;
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

std::vector<std::string> CSimImage::GroupLines(std::string_view group) const
{
    std::vector<std::string> lines;
    auto it = groups_.find(group);
    if (it == groups_.end()) return lines;
    for (const auto& entry : it->second) lines.push_back(entry.second);
    return lines;
}

std::vector<std::string> CSimImage::AllLines() const
{
    std::vector<std::string> lines;
    for (const auto& entry : groups_)
        for (const auto& report : entry.second) lines.push_back(report.second);
    return lines;
}

bool CSimImage::Set(std::string_view key, std::string_view value, std::string_view defaultGroup)
{
    std::string line;
    line.reserve(key.size() + 1 + value.size());
    line.append(key).append(" ").append(value);
    for (auto& [name, group] : groups_) {
        auto it = group.find(key);
        if (it != group.end()) {
            it->second = std::move(line);
            return true;
        }
    }
    return Insert(defaultGroup, line);
}

std::optional<std::string> CSimImage::Line(std::string_view key) const
{
    for (const auto& entry : groups_) {
        auto it = entry.second.find(key);
        if (it != entry.second.end()) return it->second;
    }
    return std::nullopt;
}

std::optional<std::string> CSimImage::Value(std::string_view key) const
{
    auto line = Line(key);
    if (!line) return std::nullopt;
    std::size_t blank = line->find(' ');
    return blank == std::string::npos ? std::string() : line->substr(blank + 1);
}

}  // namespace rtu
