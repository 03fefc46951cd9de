#pragma once

#include <QPointer>
#include <QRect>
#include <QWidget>

// What an open group hosts under its caption row: the component panel. The pane only places
// and hides the window, never destroys it.
struct CWndLikeMsdnItem {
    int flags = 0;             // bit 0: the mouse is over the item
    QRect rectangle;           // in content coordinates
    int height = 0;            // the hosted window's height when the item was made
    QPointer<QWidget> window;  // none after release
};
