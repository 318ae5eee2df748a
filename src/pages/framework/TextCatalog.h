// The text catalog "gsm.ini": every caption, list item, column title and message text the
// tool shows. Sections and keys are case-insensitive; a text is at most kMaxText bytes;
// any failure (no file, no section, no key) gives the empty text. The file is UTF-8; a long
// text is cut at a character boundary.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>

namespace rtu {

class CTextCatalog {
public:
    static constexpr std::size_t kMaxText = 254;             // longest text returned, in bytes
    static constexpr std::size_t kMaxFileBytes = 16u << 20;  // a larger file is not read at all
    static constexpr const char* kFileName = "gsm.ini";

    CTextCatalog() = default;
    // Loads the catalog file; false (and an empty catalog) when it cannot be read.
    bool Load(const std::string& path);
    // Looks "gsm.ini" up in the working directory, then beside the program (programDir),
    // then in the installed data directory; loads the first one found.
    bool LoadDefault(const std::string& programDir = {});
    std::string GetText(std::string_view section, std::string_view key) const;
    bool Loaded() const { return loaded_; }
    const std::string& Path() const { return path_; }

    // A value as a lookup returns it: up to a NUL, at most kMaxText bytes, never ending
    // inside a UTF-8 character.
    static std::string CutText(std::string_view text);

private:
    void Parse(std::string_view data);

    // lower-cased section -> lower-cased key -> text
    std::map<std::string, std::map<std::string, std::string>> sections_;
    bool loaded_ = false;
    std::string path_;
};

}  // namespace rtu
