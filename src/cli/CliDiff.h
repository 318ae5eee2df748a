// rtuctl diff: compares a profile with the unit (after a full reload), or two profiles with
// each other, page section by page section. Nothing is written to the unit.
#pragma once

#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/CliLoop.h"

namespace rtu::cli {

inline constexpr int kExitDiffer = 5;  // diff: the two sides differ

struct DiffArgs {
    std::vector<std::string> files;  // one: against the unit; two: with each other
    bool json = false;
};

CLI::App* AddDiffCommand(CLI::App& app, DiffArgs& args);
int CmdDiff(const Options& options, const DiffArgs& args);

}  // namespace rtu::cli
