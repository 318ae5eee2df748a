// The archive a user sends to support: the version, the port diagnosis, the settings, the
// traces, the serial error log and, when one could be read, the unit's profile and values,
// packed into one .tar.gz. It holds no secret: the settings' passwords and every secret in
// the traces are masked here; the profile and values come masked from the caller.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "link/SecretMask.h"

namespace rtu {

struct DiagnosticsInput {
    std::string program;                  // e.g. "rtuctl 3.40.0"
    std::string port;                     // the port the user works with (may be empty)
    std::string settingsPath;             // a settings file to include, passwords masked
    std::vector<std::string> tracePaths;  // wire traces to include (missing ones are noted)
    std::string profile;                  // the unit's profile with its secrets masked, when one was read
    std::string json;                     // its values as JSON, likewise
    SecretMarks secrets;                  // how the secrets show in the traces (keys, known values)
    std::string notes;                    // what happened while gathering (e.g. why no profile)
};

// Where the desktop tool keeps its settings: $XDG_CONFIG_HOME/rtuconfig/QMX5000COMM.conf
// (~/.config when unset); "" when neither can be named.
std::string DefaultSettingsPath();
// Where the desktop tool writes its wire trace: next to the serial error log.
std::string DefaultTracePath();

// Gathers everything into `out` (a gzip-compressed tar holding one folder). Returns false,
// with `error` set, when the archive cannot be made; `out` is then left as it was.
bool WriteDiagnosticsArchive(const std::string& out, const DiagnosticsInput& in, std::string& error);

}  // namespace rtu
