#pragma once

#include <filesystem>

#include "model/FileIo.h"

// Where the sidecar of a project lies (`site.pro` → `site.pro.corvane`): beside the file the
// project really is, links followed, for reading and writing alike.
inline std::filesystem::path sidecarPathOf(const std::filesystem::path& project) {
    std::filesystem::path sidecar = FileIo::realTarget(project);
    sidecar += ".corvane";
    return sidecar;
}
