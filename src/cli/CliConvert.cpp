#include "cli/CliConvert.h"

#include <cstdio>

#include "cli/CliCatalog.h"
#include "link/SafeFileWriter.h"
#include "session/OfflineProfile.h"

namespace rtu::cli {
namespace {

void PrintProblems(const std::string& path, const std::vector<std::string>& problems)
{
    for (const std::string& p : problems) std::fprintf(stderr, "rtuctl: %s: %s\n", path.c_str(), p.c_str());
}

}  // namespace

CLI::App* AddConvertCommand(CLI::App& app, ConvertArgs& args)
{
    auto* convert = app.add_subcommand(
        "convert", "a profile into the JSON export (--json) or a JSON export into a profile (--profile), "
                   "as `read` gives them for a unit holding it; no unit needed");
    convert->add_option("FILE", args.input, "the profile or JSON file to convert")->required();
    auto* json = convert->add_option("--json", args.jsonOut, "write every page's values as JSON to OUT (one of the two)")
                     ->type_name("OUT");
    convert->add_option("--profile", args.profileOut, "write the profile to OUT (one of the two)")
        ->type_name("OUT")
        ->excludes(json);
    return convert;
}

int CmdConvert(const ConvertArgs& args)
{
    if (args.jsonOut.empty() && args.profileOut.empty()) {
        std::fprintf(stderr, "rtuctl: convert %s: give --json OUT or --profile OUT (where the result goes)\n",
                     args.input.c_str());
        return kExitUsage;
    }
    CTextCatalog catalog;
    const CTextCatalog* captions = LoadProgramCatalog(catalog);
    OpenedProfile opened;
    std::vector<std::string> problems;
    if (!OpenConfigFile(args.input, captions, opened, problems)) {
        PrintProblems(args.input, problems);
        std::fprintf(stderr, "rtuctl: nothing was written\n");
        return kExitUsage;
    }
    if (!opened.kept.empty()) {
        std::fprintf(stderr, "rtuctl: %s: no page holds these lines, so the output could not keep them:\n",
                     args.input.c_str());
        for (const KeptLine& l : opened.kept) std::fprintf(stderr, "  line %u: %s\n", l.number, l.text.c_str());
        std::fprintf(stderr, "rtuctl: nothing was written (remove or correct the lines, or open the profile in "
                             "rtuconfig, which keeps them)\n");
        return kExitUsage;
    }
    // Told, not refused: the output is still what a unit given the file holds.
    for (const std::string& v : opened.notHeld)
        std::fprintf(stderr, "rtuctl: %s: warning: %s (another control writes the same setting later, or the "
                             "page has no profile section)\n",
                     args.input.c_str(), v.c_str());
    CSession& unit = opened.unit->Session();
    const bool toJson = !args.jsonOut.empty();
    const std::string& out = toJson ? args.jsonOut : args.profileOut;
    std::string error;
    if (!WriteFileSafely(out, toJson ? unit.ExportJsonText() : unit.ProfileText(), error, FileAccess::Private)) {
        std::fprintf(stderr, "rtuctl: cannot write the %s: %s\n", toJson ? "JSON file" : "profile", error.c_str());
        return kExitOutput;
    }
    return kExitOk;
}

}  // namespace rtu::cli
