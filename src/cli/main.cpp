// rtuctl: read, write and service a GPRS RTU 4Din/4Dout/4AD/4TI unit from scripts.
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <iterator>
#include <map>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/CliCommands.h"
#include "cli/CliConvert.h"
#include "cli/CliDiff.h"
#include "cli/CliLoop.h"
#include "cli/CliRecords.h"
#include "cli/StdoutStatus.h"
#include "link/LinkTypes.h"

using namespace rtu::cli;

namespace {

const std::map<std::string, int> kParities = {{"none", 0}, {"odd", 1}, {"even", 2}, {"mark", 3}};

// A command whose output was lost does not end as a success. `lostCode` is the exit code then
// (diff's 5 says "they differ", so it ends as when it cannot read a file).
int CheckStdout(int rc, int lostCode = kExitOutput)
{
    if (!StdoutFailed()) return rc;
    std::fprintf(stderr, "rtuctl: cannot write to standard output: %s\n", StdoutError().c_str());
    return rc == kExitOk || rc == kExitOutput ? lostCode : rc;
}


}  // namespace

int main(int argc, char** argv)
{
    CLI::App app{"rtuctl - configure a GPRS RTU 4Din/4Dout/4AD/4TI unit over its serial console", "rtuctl"};
    app.set_version_flag("--version", std::string("rtuctl ") + RTU_VERSION);
    app.require_subcommand(1);

    Options options;
    if (const char* env = std::getenv("RTUCTL_PORT")) options.port = env;
    std::string parity = "none";
    app.add_option("-p,--port", options.port, "serial device path (default: $RTUCTL_PORT)");
    app.add_option("-b,--baud", options.baud, "baud rate")
        ->check(CLI::IsMember(std::vector<int>(std::begin(rtu::kBaudRates), std::end(rtu::kBaudRates))))
        ->capture_default_str();
    app.add_option("--parity", parity, "parity")
        ->check(CLI::IsMember({"none", "odd", "even", "mark"}))
        ->capture_default_str();
    app.add_option("--password", options.password, "console password the unit asks for")->capture_default_str();
    app.add_option("--timeout", options.timeoutSeconds, "seconds to wait for the unit")
        ->check(CLI::PositiveNumber)
        ->capture_default_str();
    app.add_flag("-v,--verbose", options.verbose, "status and progress texts on stderr");
    app.add_option("--trace", options.tracePath, "append every byte sent and received, with times, to FILE");

    std::string profilePath, jsonPath, execPath;
    std::vector<std::string> sendLines;
    auto* read = app.add_subcommand("read", "full reload; write the profile and/or the JSON (stdout: the profile)");
    read->add_option("--profile", profilePath, "write the profile to FILE");
    read->add_option("--json", jsonPath, "write every page's values as JSON to FILE");
    bool maskSecrets = false;
    read->add_flag("--mask-secrets", maskSecrets, "write every PIN and password as ******** (for sharing)");
    auto* exec = app.add_subcommand("exec", "execute a profile, then reload; print a summary");
    exec->add_option("FILE", execPath, "the profile")->required();
    ExecExtras extras;
    exec->add_option("--report", extras.reportPath, "write each line's outcome and time as JSON to FILE");
    auto* setup = app.add_subcommand("setup", "bring the unit into setup mode (power-cycle it when told)");
    auto* restart = app.add_subcommand("restart", "restart the unit");
    auto* defaults = app.add_subcommand("defaults", "restore the unit's factory defaults, then reload");
    for (auto* changing : {exec, defaults}) {
        auto* dir = changing->add_option("--backup", extras.backupDir, "back the unit up into DIR first");
        changing->add_flag("--no-backup", extras.noBackup, "no backup of the unit first")->excludes(dir);
    }
    auto* send = app.add_subcommand("send", "send each LINE as one command line and print the answer");
    send->add_option("LINE", sendLines, "command lines, e.g. %DUMP_SYS")->required();
    auto* console = app.add_subcommand("console", "raw terminal to the unit (Ctrl-] ends)");
    auto* ports = app.add_subcommand("ports", "list the serial ports of this machine");
    std::string diagnosePath;
    auto* diagnose = app.add_subcommand(
        "diagnose", "gather version, port diagnosis, settings, traces, error log and the unit's profile for support");
    diagnose->add_option("-o,--output", diagnosePath, "the archive to write (FILE.tar.gz)")->required();
    std::string recordsCsv, logCsv;
    int recordCount = 0;
    double recordSeconds = 0;
    auto* records = app.add_subcommand("records", "print real-time temperature records as CSV lines as they arrive");
    records->add_option("--csv", recordsCsv, "also append them to FILE");
    records->add_option("--count", recordCount, "stop after N records")->check(CLI::NonNegativeNumber);
    records->add_option("--seconds", recordSeconds, "stop after this long (default: until interrupted)")
        ->check(CLI::NonNegativeNumber);
    auto* logSync = app.add_subcommand("log-sync", "fetch the unit's stored temperature records into a CSV file");
    logSync->add_option("--csv", logCsv, "the CSV file (replaced)")->required();
    int logQuietMs = kLogQuietMs;
    logSync->add_option("--quiet-ms", logQuietMs, "the sync has ended after this much silence (default 2000)")
        ->check(CLI::Range(1, 600000));
    std::string picturePath;
    auto* picture = app.add_subcommand("picture", "fetch one camera picture (default: into the tool's picture folder)");
    picture->add_option("-o,--output", picturePath, "write the picture to FILE");
    bool eventsJson = false;
    auto* events =
        app.add_subcommand("events", "print the unit's alarm and restore events as they arrive (Ctrl-C ends)");
    events->add_flag("--json", eventsJson, "one JSON object per line");
    DiffArgs diffArgs;
    auto* diff = AddDiffCommand(app, diffArgs);
    ConvertArgs convertArgs;
    auto* convert = AddConvertCommand(app, convertArgs);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int rc = app.exit(e);
        return rc == 0 ? kExitOk : kExitUsage;
    }
    options.parity = kParities.at(parity);

    if (ports->parsed()) return CheckStdout(CmdPorts());
    if (diagnose->parsed()) return CheckStdout(CmdDiagnose(options, diagnosePath, RTU_VERSION));
    if (diff->parsed()) return CheckStdout(CmdDiff(options, diffArgs), kExitUsage);
    if (convert->parsed()) return CheckStdout(CmdConvert(convertArgs));

    int rc = kExitUsage;
    {
        CCliLoop loop(options);
        if (rc = loop.Open(); rc != kExitOk) return CheckStdout(rc);
        auto run = [&loop](auto&& command) { return loop.CheckTrace(command()); };
        if (read->parsed()) rc = run([&] {
            return CmdRead(loop, profilePath, jsonPath, maskSecrets ? rtu::Secrets::Masked : rtu::Secrets::Kept);
        });
        else if (exec->parsed()) rc = run([&] { return CmdExec(loop, execPath, extras); });
        else if (setup->parsed()) rc = run([&] { return CmdSetup(loop); });
        else if (restart->parsed()) rc = run([&] { return CmdRestart(loop); });
        else if (defaults->parsed()) rc = run([&] { return CmdDefaults(loop, extras); });
        else if (send->parsed()) rc = run([&] { return CmdSend(loop, sendLines); });
        else if (console->parsed()) rc = run([&] { return CmdConsole(loop); });
        else if (records->parsed()) rc = run([&] { return CmdRecords(loop, recordsCsv, recordCount, recordSeconds); });
        else if (logSync->parsed()) rc = run([&] { return CmdLogSync(loop, logCsv, logQuietMs); });
        else if (picture->parsed()) rc = run([&] { return CmdPicture(loop, picturePath); });
        else if (events->parsed()) rc = run([&] { return CmdEvents(loop, eventsJson); });
    }
    return CheckStdout(rc);
}
