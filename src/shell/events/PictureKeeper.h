// Stores a finished camera picture where the MMS views find it, and shows it on the MMS page.
#pragma once

#include <string>

namespace rtu {
class CSession;
}

// Takes the session's finished picture, writes "1.jpg" and a timestamped copy into
// `folder` (empty: the default picture folder) and points the MMS page at "1.jpg".
// Returns the status text for the user ("image saved", or why it was not).
std::string KeepPicture(rtu::CSession& session, const std::string& folder = {});
