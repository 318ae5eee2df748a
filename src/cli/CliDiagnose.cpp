// rtuctl diagnose: the archive for support, with a profile of the unit when one can be read.
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "cli/CliCommands.h"
#include "link/DiagnosticsArchive.h"

namespace rtu::cli {

int CmdDiagnose(Options options, const std::string& out, const std::string& version)
{
    DiagnosticsInput in;
    in.program = "rtuctl " + version;
    in.port = options.port;
    in.settingsPath = DefaultSettingsPath();
    // The desktop tool's last trace, and this command's own trace of its attempt to read the unit.
    in.tracePaths.push_back(DefaultTracePath());
    // The command's own files go into a folder of its own: a name guessed in /tmp could be taken.
    std::string workDir = (std::filesystem::temp_directory_path() / "rtuctl-diagnose-XXXXXX").string();
    if (::mkdtemp(workDir.data()) == nullptr) workDir.clear();
    const std::string ownTrace = workDir.empty() ? std::string() : workDir + "/trace.txt";
    if (options.port.empty()) {
        in.notes += "No port was given (--port): no profile was read.\n";
    } else if (workDir.empty()) {
        in.notes += "No folder for this command's own trace could be made: no profile was read.\n";
    } else {
        options.tracePath = ownTrace;
        CCliLoop loop(options);
        if (loop.Open() != kExitOk) {
            in.notes += "The port could not be opened: no profile was read.\n";
        } else {
            const std::string tmpProfile = ownTrace + ".profile";
            if (CmdRead(loop, tmpProfile, {}) == kExitOk) {
                in.profile = loop.Session().ProfileText(true, Secrets::Masked);
                in.json = loop.Session().ExportJsonText(Secrets::Masked);
            } else {
                in.notes += "The unit's values could not be read (see trace-2.txt).\n";
            }
        }
        in.tracePaths.push_back(ownTrace);
        in.secrets = loop.Session().SecretMarksOnWire();
    }
    if (in.secrets.keys.empty()) {
        // No unit was read: the pages still tell which keys carry secrets.
        const CSession pages([](std::string_view) { return true; }, [] { return Millis{0}; }, nullptr);
        in.secrets = pages.SecretMarksOnWire();
    }
    in.secrets.AddValue(options.password);  // the console password, given or the default
    std::string error;
    const bool ok = WriteDiagnosticsArchive(out, in, error);
    std::error_code ec;
    if (!workDir.empty()) std::filesystem::remove_all(workDir, ec);
    if (!ok) {
        std::fprintf(stderr, "rtuctl: cannot write the diagnostics %s: %s\n", out.c_str(), error.c_str());
        return kExitOutput;
    }
    std::printf("diagnostics written to %s\n", out.c_str());
    return kExitOk;
}

}  // namespace rtu::cli
