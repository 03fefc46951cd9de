#pragma once

#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/CliArguments.h"
#include "cli/DataFile.h"

// What a command is handed once its words passed: the words, and for a command that reads a
// file, the file (its name as given, "-" for standard input, and what was read).
struct CliInput {
    const CliArguments& args;
    std::string source;
    DataFile file;
};

// One sub-command of corvane-cli: a row of the command table. Its usage lines and the options
// it accepts sit side by side; the words after its name are parsed against `options`, then
// `check` names what is wrong with them (exit 2 with the usage), then the file the command
// reads is loaded and refused here, in one place, and only then `run` sees it. `run` writes
// its results to `out` and its errors to `err`, and returns the exit status: 0 done, 1 failed.
// A new command is one file with its `check` and `run` and one row in Commands.cpp.
struct CliCommand {
    enum class Reads {
        Nothing,    // its words alone
        AnyFile,    // a project or upload data file, also one read only in part or not at all
        WholeFile,  // a project or upload data file, refused unless read whole
        Project,    // a project file read whole
    };

    std::string_view name;
    std::string_view usage;  // after "corvane-cli ": the synopsis, then its explanation
    std::span<const CliOption> options;
    Reads reads;
    // The first positional word names the file it reads. Returns the problem, or empty.
    std::string (*check)(const CliArguments& args);
    int (*run)(CliInput& input, std::ostream& out, std::ostream& err);
    // Reads::Project: why another kind of file is refused, after "SOURCE: ".
    std::string_view notAProject = {};
};

std::span<const CliCommand> cliCommands();

// Runs the command named `name` with the words after it. An unknown command, and words the
// command's options do not allow, exit 2 with the message and the usage.
int runCliCommand(std::string_view name, const std::vector<std::string>& args, std::ostream& out,
                  std::ostream& err);

// The whole usage text, built from the table.
std::string usageText();
