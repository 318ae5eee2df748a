// A session's page values as plain data, in and out: copying them from one session's pages
// to another's (a profile opened without a unit fills the window's pages this way), and
// taking them from JSON of the export's shape, { class name: { control id: value, … }, … },
// with every page, id and value checked first.
#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "session/Session.h"

namespace rtu {

inline constexpr std::size_t kMaxValueProblems = 20;  // problems of a JSON file named before the rest are counted

// Puts every value of `from`'s pages into `to`'s pages of the same class, as if the unit had
// reported them: the pages count as read and unedited, and their views are told.
void CopyPageValues(const CSession& from, CSession& to);

// Puts the values of `values` into `session`'s pages. Every page and id must be one the export
// writes and every value of the kind its control holds (text, 0 or 1, a selection number, a
// table of the list's shape); nothing is changed otherwise, and `problems` names each fault.
// Values the export only reports (records, derived ranges) are accepted and left as they are;
// values not given stay as they were.
bool ApplyPageValues(CSession& session, const nlohmann::json& values, std::vector<std::string>& problems);

// The values of `values` (already applied somewhere) that `session`'s pages do not hold as
// given: "page id: given → held" each. A unit holding a profile keeps the last of two controls
// that write one setting, and pages without a profile section keep nothing of a file.
std::vector<std::string> ValuesNotHeld(const nlohmann::json& values, const CSession& session);

}  // namespace rtu
