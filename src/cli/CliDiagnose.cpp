// rtuctl diagnose: the archive for support, with a profile of the unit when one can be read.
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
    const std::string ownTrace =
        (std::filesystem::temp_directory_path() / ("rtuctl-diagnose-" + std::to_string(::getpid()) + ".txt")).string();
    if (options.port.empty()) {
        in.notes += "No port was given (--port): no profile was read.\n";
    } else {
        std::filesystem::remove(ownTrace);
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
            std::filesystem::remove(tmpProfile);
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
    std::filesystem::remove(ownTrace, ec);
    if (!ok) {
        std::fprintf(stderr, "rtuctl: cannot write the diagnostics %s: %s\n", out.c_str(), error.c_str());
        return kExitOutput;
    }
    std::printf("diagnostics written to %s\n", out.c_str());
    return kExitOk;
}

}  // namespace rtu::cli
