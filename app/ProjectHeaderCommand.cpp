#include "app/ProjectHeaderCommand.h"

#include "app/ProjectSession.h"

ProjectHeaderCommand::ProjectHeaderCommand(ProjectSession& session, const ProjectInfo& before,
                                           const ProjectInfo& after)
    : QUndoCommand(QStringLiteral("设置工程")), session_(session), before_(before), after_(after) {}

void ProjectHeaderCommand::redo() {
    if (ProjectInfo* info = session_.project().info()) *info = after_;
}

void ProjectHeaderCommand::undo() {
    if (ProjectInfo* info = session_.project().info()) *info = before_;
}
