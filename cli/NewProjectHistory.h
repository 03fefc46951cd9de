#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "model/ComponentList.h"
#include "model/ProjectInfo.h"

// One upload data file new-project took its components from.
struct NewProjectUpload {
    std::string name;  // as given on the command line
    ComponentList components;
    std::string bytes;  // as read, for the history's record of the file
};

// Writes the sidecar of the project new-project has just written to `project` from `info` and
// `uploads`: its history begins with one `add` per component, naming the upload data file it
// came from with its size and SHA-256, and ends with the save. The Qt-free build writes none.
struct NewProjectRecord {
    std::string failure;  // the sidecar could not be written
    std::string notice;   // none is written, and why
};
NewProjectRecord recordNewProject(const std::filesystem::path& project, const ProjectInfo& info,
                                  const std::vector<NewProjectUpload>& uploads);
