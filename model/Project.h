#pragma once

#include <optional>

#include "model/ComponentList.h"
#include "model/ProjectInfo.h"

// The one open project: open exactly while the header exists; the component list is empty
// whenever no project is open.
class Project {
public:
    bool isOpen() const { return info_.has_value(); }

    // Content means a project name or at least one component; saving and the close prompt
    // depend on it.
    bool hasContent() const;

    // Discards any open project and opens an empty one.
    void createEmpty();

    // Opens `info` with `components` in their order, replacing whatever was open.
    void open(ProjectInfo info, ComponentList components);

    // Frees every component with its points, then the header.
    void clear();

    ProjectInfo* info() { return info_ ? &*info_ : nullptr; }
    const ProjectInfo* info() const { return info_ ? &*info_ : nullptr; }
    ComponentList& components() { return components_; }
    const ComponentList& components() const { return components_; }

private:
    std::optional<ProjectInfo> info_;
    ComponentList components_;
};
