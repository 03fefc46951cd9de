#pragma once

#include <string>

#include "model/ProjectFile.h"
#include "support/ModelSamples.h"

// A project and its file bytes, for the tests that kill a save half-way.
struct SavedProject {
    ProjectInfo info;
    ComponentList components;
    std::string bytes;
};

// Some megabytes of grid components, so that writing and flushing take a while; `shift` makes
// two of them differ.
inline SavedProject largeProject(const char* name, int shift) {
    SavedProject p;
    p.info.projectName.assign(name);
    for (int i = 0; i < 4000; ++i) {
        Component c = samples::withPoints("W001", 60, 40);
        c.points.front().thickness = static_cast<std::int16_t>(i + shift);
        p.components.push_back(std::move(c));
    }
    p.bytes = ProjectFile::encode(p.info, p.components);
    return p;
}
