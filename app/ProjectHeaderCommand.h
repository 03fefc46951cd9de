#pragma once

#include <QUndoCommand>

#include "model/ProjectInfo.h"

class ProjectSession;

// 设置工程 as one step on the session's undo stack: the four header texts before and after.
class ProjectHeaderCommand : public QUndoCommand {
public:
    ProjectHeaderCommand(ProjectSession& session, const ProjectInfo& before,
                         const ProjectInfo& after);

    void redo() override;
    void undo() override;

private:
    ProjectSession& session_;
    ProjectInfo before_, after_;
};
