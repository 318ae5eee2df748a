// The unit's parameter store: report lines grouped by the dump command that prints them.
// An image file holds "[GROUP]" headers (the dump keyword without its "%", such as
// "[DUMP_SYS]" or "[E99?]") followed by the report lines exactly as the unit prints them;
// "#" starts a comment line. Saving writes a canonical text (groups and keys sorted), so
// two images with the same content are equal as text.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rtu {

class CSimImage {
public:
    static constexpr std::size_t kMaxLineBytes = 4096;             // longest report line an image file may hold
    static constexpr std::size_t kMaxReports = 20000;              // reports one image may hold
    static constexpr std::size_t kMaxFileBytes = 4 * 1024 * 1024;  // largest image file that is read

    // Parses image text; on failure returns nothing and describes the fault in error.
    static std::optional<CSimImage> Parse(std::string_view text, std::string& error);
    static std::optional<CSimImage> Load(const std::string& path, std::string& error);
    // The canonical text of the image.
    std::string Serialize() const;
    bool Save(const std::string& path, std::string& error) const;

    // Report lines of one group in key order; empty for a group the image does not have.
    std::vector<std::string> GroupLines(std::string_view group) const;
    // Every report line, groups in name order.
    std::vector<std::string> AllLines() const;
    // Stores "key value". A key the image already holds keeps its group; a new key goes
    // into defaultGroup. False when the image is full.
    bool Set(std::string_view key, std::string_view value, std::string_view defaultGroup);
    // The whole report line of a key.
    std::optional<std::string> Line(std::string_view key) const;
    // The value of a key: the text after the key and one blank.
    std::optional<std::string> Value(std::string_view key) const;
    std::size_t Size() const { return count_; }
    bool operator==(const CSimImage& other) const { return groups_ == other.groups_; }

    // The key of a report line: the text up to its first blank.
    static std::string_view KeyOf(std::string_view line);

private:
    using Group = std::map<std::string, std::string, std::less<>>;  // key → report line
    bool Insert(std::string_view group, std::string_view line);

    std::map<std::string, Group, std::less<>> groups_;
    std::size_t count_ = 0;
};

}  // namespace rtu
