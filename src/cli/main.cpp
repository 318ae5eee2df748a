// rtuctl: read, write and service a GPRS RTU 4Din/4Dout/4AD/4TI unit from scripts.
#include <cstdlib>
#include <iostream>
#include <iterator>
#include <map>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/CliCommands.h"
#include "cli/CliDiff.h"
#include "cli/CliLoop.h"
#include "link/LinkTypes.h"

using namespace rtu::cli;

namespace {

const std::map<std::string, int> kParities = {{"none", 0}, {"odd", 1}, {"even", 2}, {"mark", 3}};

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

    std::string profilePath, jsonPath, execPath;
    std::vector<std::string> sendLines;
    auto* read = app.add_subcommand("read", "full reload; write the profile and/or the JSON (stdout: the profile)");
    read->add_option("--profile", profilePath, "write the profile to FILE");
    read->add_option("--json", jsonPath, "write every page's values as JSON to FILE");
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
    DiffArgs diffArgs;
    auto* diff = AddDiffCommand(app, diffArgs);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int rc = app.exit(e);
        return rc == 0 ? kExitOk : kExitUsage;
    }
    options.parity = kParities.at(parity);

    if (ports->parsed()) return CmdPorts();
    if (diff->parsed()) return CmdDiff(options, diffArgs);

    CCliLoop loop(options);
    if (const int rc = loop.Open(); rc != kExitOk) return rc;

    if (read->parsed()) return CmdRead(loop, profilePath, jsonPath);
    if (exec->parsed()) return CmdExec(loop, execPath, extras);
    if (setup->parsed()) return CmdSetup(loop);
    if (restart->parsed()) return CmdRestart(loop);
    if (defaults->parsed()) return CmdDefaults(loop, extras);
    if (send->parsed()) return CmdSend(loop, sendLines);
    if (console->parsed()) return CmdConsole(loop);
    return kExitUsage;
}
