// rtuctl convert: a profile into the JSON export and back, without a unit. The file is read
// as a unit holding it would report it (an in-process simulated unit is given it), so the
// output is what `rtuctl read --json` or `read --profile` gives for such a unit.
#pragma once

#include <string>

#include <CLI/CLI.hpp>

#include "cli/CliLoop.h"

namespace rtu::cli {

struct ConvertArgs {
    std::string input;        // a profile or a JSON export (told apart by name and first bytes)
    std::string jsonOut;      // write the JSON export here
    std::string profileOut;   // write the profile here
};

CLI::App* AddConvertCommand(CLI::App& app, ConvertArgs& args);
int CmdConvert(const ConvertArgs& args);

}  // namespace rtu::cli
