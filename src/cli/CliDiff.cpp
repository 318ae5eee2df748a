#include "cli/CliDiff.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include <nlohmann/json.hpp>

#include "cli/CliCatalog.h"
#include "cli/CliCommands.h"
#include "pages/framework/TextCatalog.h"
#include "session/OfflineProfile.h"
#include "session/ProfileDiff.h"

namespace rtu::cli {
namespace {

constexpr int kJsonIndent = 2;  // spaces per level of the printed JSON

const char* KindName(DiffKind kind)
{
    switch (kind) {
    case DiffKind::Changed: return "changed";
    case DiffKind::OnlyNew: return "only-new";
    case DiffKind::OnlyOld: return "only-old";
    case DiffKind::Same: return "same";
    }
    return "";
}

nlohmann::json DiffJson(const ProfileDiff& diff, const std::string& oldName, const std::string& newName)
{
    nlohmann::json pages = nlohmann::json::array();
    for (const DiffSection& s : diff.sections) {
        nlohmann::json lines = nlohmann::json::array();
        for (const DiffLine& l : s.lines) {
            nlohmann::json line = {{"key", l.key}, {"kind", KindName(l.kind)}};
            line["old"] = l.kind == DiffKind::OnlyNew ? nlohmann::json() : nlohmann::json(l.oldLine);
            line["new"] = l.kind == DiffKind::OnlyOld ? nlohmann::json() : nlohmann::json(l.newLine);
            lines.push_back(std::move(line));
        }
        pages.push_back({{"header", s.header}, {"page", s.page}, {"caption", s.caption}, {"lines", std::move(lines)}});
    }
    return {{"old", oldName},
            {"new", newName},
            {"equal", diff.Equal()},
            {"differences", diff.Count()},
            {"pages", std::move(pages)}};
}

void PrintText(const ProfileDiff& diff, const std::string& oldLabel, const std::string& newLabel)
{
    for (const DiffSection& s : diff.sections) {
        std::printf("[%s]%s%s\n", s.caption.c_str(), s.header.empty() ? "" : "  ", s.header.c_str());
        for (const DiffLine& l : s.lines) {
            switch (l.kind) {
            case DiffKind::Changed:
                std::printf("  %s  changed: %s -> %s\n", l.key.c_str(), l.OldValue().c_str(), l.NewValue().c_str());
                break;
            case DiffKind::OnlyNew:
                std::printf("  %s  only %s: %s\n", l.key.c_str(), newLabel.c_str(), l.newLine.c_str());
                break;
            case DiffKind::OnlyOld:
                std::printf("  %s  only %s: %s\n", l.key.c_str(), oldLabel.c_str(), l.oldLine.c_str());
                break;
            case DiffKind::Same: break;  // not asked for here
            }
        }
    }
    if (diff.Equal()) std::printf("equal\n");
    else std::printf("%d line(s) differ\n", diff.Count());
}

bool ReadFile(const std::string& path, CProfileLines& lines)
{
    std::string error;
    // A JSON export stands for the profile of a unit holding its values.
    if (FileLooksLikeJson(path) ? ReadJsonFileForDiff(path, lines, error) : ReadProfileFileForDiff(path, lines, error))
        return true;
    std::fprintf(stderr, "rtuctl: %s: %s\n", path.c_str(), error.c_str());
    return false;
}

int Report(const ProfileDiff& diff, const DiffArgs& args, const std::string& oldName, const std::string& oldLabel,
           const std::string& newLabel)
{
    if (args.json) {
        const std::string text = DiffJson(diff, oldName, args.files.back())
                                     .dump(kJsonIndent, ' ', false, nlohmann::json::error_handler_t::replace);
        std::printf("%s\n", text.c_str());
    } else {
        PrintText(diff, oldLabel, newLabel);
    }
    std::fflush(stdout);
    return diff.Equal() ? kExitOk : kExitDiffer;
}

}  // namespace

CLI::App* AddDiffCommand(CLI::App& app, DiffArgs& args)
{
    auto* diff = app.add_subcommand("diff", "compare a profile with the unit (FILE) or two profiles (A B), each a "
                                            "profile or a JSON export; writes nothing; exit 0 equal, 5 different");
    diff->add_option("FILE", args.files, "the profile (or JSON export), or two of them to compare")->required()->expected(1, 2);
    diff->add_flag("--json", args.json, "print the differences as JSON");
    return diff;
}

int CmdDiff(const Options& options, const DiffArgs& args)
{
    CTextCatalog catalog;
    const CTextCatalog* captions = LoadProgramCatalog(catalog);
    if (args.files.size() == 2) {
        CProfileLines a, b;
        if (!ReadFile(args.files[0], a) || !ReadFile(args.files[1], b)) return kExitUsage;
        // The pages' rows name their keys; no unit is needed for that.
        CSession pages([](std::string_view) { return true; }, [] { return Millis{0}; }, nullptr);
        const CProfileDiffer differ(PageSectionInfo(pages.Registry(), pages.Pages(), captions));
        return Report(differ.Compare(a, b), args, args.files[0], "in " + args.files[0], "in " + args.files[1]);
    }
    CProfileLines file;
    if (!ReadFile(args.files[0], file)) return kExitUsage;
    CCliLoop loop(options);
    if (const int rc = loop.Open(); rc != kExitOk) return rc;
    loop.Session().Reload();
    if (const int rc = AwaitReload(loop); rc != kExitOk) return rc;
    CProfileLines unit;
    std::string error;
    if (!ReadProfileForDiff(loop.Session().ProfileText(), unit, error)) {
        std::fprintf(stderr, "rtuctl: the unit's values cannot be compared: %s\n", error.c_str());
        return kExitUsage;
    }
    const CProfileDiffer differ(PageSectionInfo(loop.Session().Registry(), loop.Session().Pages(), captions));
    // 5 says "they differ": a lost trace ends as a file that cannot be read.
    return loop.CheckTrace(Report(differ.Compare(unit, file), args, "unit", "on the unit", "in the file"), kExitUsage);
}

}  // namespace rtu::cli
