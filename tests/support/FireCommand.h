#pragma once

#include <gtest/gtest.h>

#include <QAction>

#include "app/CMainFrame.h"

// Fires command `id` as a user does: through its action, which must be enabled, so a test
// cannot pass on a command the user could not give.
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
}
