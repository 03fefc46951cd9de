#include "model/Project.h"

bool Project::hasContent() const {
    return info_ && (!info_->projectName.empty() || !components_.empty());
}

void Project::createEmpty() {
    clear();
    info_.emplace();
}

void Project::open(ProjectInfo info, ComponentList components) {
    info_ = std::move(info);
    components_ = std::move(components);
}

void Project::clear() {
    components_.clear();
    info_.reset();
}
