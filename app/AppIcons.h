#pragma once

#include <QIcon>

// The program's own pictures, drawn in code so that they stay sharp and need no files.
class AppIcons {
public:
    static QIcon program();
    // 16 × 15 toolbar button pictures.
    static QIcon newPage();
    static QIcon openFolder();
    static QIcon diskette();
    static QIcon helpBubble();
};
