#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "model/ComponentList.h"
#include "model/ProjectInfo.h"

// A project or upload data file, told apart by its magic, as the program holds it after the
// read.
struct DataFile {
    enum class Kind { None, Project, Upload };

    Kind kind = Kind::None;
    std::optional<ProjectInfo> info;  // project files only
    ComponentList components;
    bool complete = false;
    std::string error;  // UTF-8; empty when complete

    static DataFile load(const std::filesystem::path& path);
};
