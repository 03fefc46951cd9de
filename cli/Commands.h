#pragma once

#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/CliArguments.h"

// One sub-command of corvane-cli: a row of the command table. Its usage lines and the options
// it accepts sit side by side; the words after its name are parsed against `options` before
// `run` sees them. `run` writes its results to `out` and its errors to `err`, and returns the
// exit status: 0 done, 1 failed, 2 bad arguments. A new command is one file with its `run`
// and one row in Commands.cpp.
struct CliCommand {
    std::string_view name;
    std::string_view usage;  // after "corvane-cli ": the synopsis, then its explanation
    std::span<const CliOption> options;
    int (*run)(const CliArguments& args, std::ostream& out, std::ostream& err);
};

std::span<const CliCommand> cliCommands();

// Runs the command named `name` with the words after it. An unknown command, and words the
// command's options do not allow, exit 2 with the message and the usage.
int runCliCommand(std::string_view name, const std::vector<std::string>& args, std::ostream& out,
                  std::ostream& err);

// The whole usage text, built from the table.
std::string usageText();

// The commands, one file each.
int showCommand(const CliArguments& args, std::ostream& out, std::ostream& err);
int newProjectCommand(const CliArguments& args, std::ostream& out, std::ostream& err);
int exportCsvCommand(const CliArguments& args, std::ostream& out, std::ostream& err);
// A whole instrument transfer without a window: 0 when the upload data file was written.
int transferCommand(const CliArguments& args, std::ostream& out, std::ostream& err);
// Needs no application object: it starts one (offscreen) when there is none.
int reportCommand(const CliArguments& args, std::ostream& out, std::ostream& err);
// The acceptance judgement of the classed components (the sidecar's classes, changed by the
// options): its JSON, or the judgement table as a PDF. 0 whatever the verdict.
int judgeCommand(const CliArguments& args, std::ostream& out, std::ostream& err);
// The component panel as the program paints it, as a PNG; offscreen unless QT_QPA_PLATFORM
// names another platform.
int chartCommand(const CliArguments& args, std::ostream& out, std::ostream& err);
