#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>

#include "app/CMainFrame.h"

// Fires command `id` as a user does: through its action, which must be enabled, so a test
// cannot pass on a command the user could not give. Then the event loop turns once, as it
// does before the user sees the screen: the screen follows a change on that turn.
inline void fireCommand(CMainFrame& frame, int id) {
    QAction* action = frame.action(id);
    if (!action) {
        ADD_FAILURE() << "no action for command " << id;
        return;
    }
    if (!action->isEnabled()) {
        ADD_FAILURE() << "command " << id << " (" << action->text().toStdString()
                      << ") is disabled";
        return;
    }
    action->trigger();
    QCoreApplication::processEvents();
}
