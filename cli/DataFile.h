#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

#include "model/ComponentList.h"
#include "model/ProjectInfo.h"
#include "model/Result.h"

// A project or upload data file, told apart by its magic, as the program holds it after the
// read.
struct DataFile {
    enum class Kind { None, Project, Upload };

    Kind kind = Kind::None;
    std::optional<ProjectInfo> info;  // project files only
    ComponentList components;
    std::string damage;  // UTF-8: why the rest of a damaged file is missing; empty when whole

    bool complete() const { return damage.empty(); }

    // A failure when nothing of the file could be taken (unreadable, not one of the two kinds,
    // wrong magic); the same message the program shows for that file. "-" is standard input.
    static Result<DataFile> load(const std::filesystem::path& path);
    // The same, but a damaged file is a failure too: for commands that must not work on part
    // of a file.
    static Result<DataFile> loadWhole(const std::filesystem::path& path);
    // loadWhole for a command: on failure "SOURCE: message" goes to `err` and nothing returns.
    static std::optional<DataFile> loadWholeFor(const std::string& source, std::ostream& err);
};
