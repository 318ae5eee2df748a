// Profiles and JSON exports opened without a unit: each becomes an in-process unit holding
// it (COfflineUnit), whose session then gives the pages' values, the profile text and the
// JSON export exactly as a read of a real unit holding the same would. Lines of a profile
// that no page holds are kept with their line number and section, and written back there.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "session/OfflineUnit.h"

namespace rtu {

inline constexpr std::size_t kMaxJsonBytes = CProfileReader::kMaxFileBytes;  // larger JSON files are refused

// A line of a profile file that no page holds.
struct KeptLine {
    std::uint32_t number = 0;  // in the file, from 1
    std::string header;        // its section's header ("//Page …"); empty: before any header
    std::string text;
};

struct OpenedProfile {
    std::unique_ptr<COfflineUnit> unit;
    std::vector<KeptLine> kept;  // lines no page holds, in file order
    std::vector<std::string> notHeld;  // JSON values the unit holding their profile holds otherwise
};

// Whether a file's name or first bytes say it is JSON (a profile never begins with "{" or "[").
bool LooksLikeJson(std::string_view path, std::string_view bytes);
// The same for a file, from its name and first bytes.
bool FileLooksLikeJson(const std::string& path);
// Reads a whole file of at most `limit` bytes; false with the reason.
bool ReadWholeFile(const std::string& path, std::size_t limit, std::string& bytes, std::string& error);

// A unit holding the profile `text`. False with the reason (not text, a masked secret, …).
bool OpenProfileText(std::string_view text, const CTextCatalog* catalog, OpenedProfile& out, std::string& error);
// A unit holding the page values of JSON `text` (the export's shape). False with each fault.
bool OpenJsonText(std::string_view text, const CTextCatalog* catalog, OpenedProfile& out,
                  std::vector<std::string>& problems);
// Either, as the file's name or first bytes say; `problems` names each fault.
bool OpenConfigFile(const std::string& path, const CTextCatalog* catalog, OpenedProfile& out,
                    std::vector<std::string>& problems);

// The profile text of a unit holding the values of the JSON file `path`, read for comparing.
bool ReadJsonFileForDiff(const std::string& path, CProfileLines& lines, std::string& error);

// `profile` (as CSession::ProfileText writes it) with `kept` written back at the end of their
// sections; a section the profile lacks is added at its end with its header.
std::string WithKeptLines(const std::string& profile, const std::vector<KeptLine>& kept);
// "line N: text" for each kept line.
std::string KeptLinesText(const std::vector<KeptLine>& kept);

}  // namespace rtu
