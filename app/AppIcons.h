#pragma once

#include <QIcon>

// The program's own pictures, drawn in code so that they stay sharp and need no files.
class AppIcons {
public:
    static QIcon program();
    // The 16 × 15 toolbar button picture of a command, or a null icon.
    static QIcon toolbarButton(int commandId);
};
