#include "dialogs/ScreenRoom.h"

#include <QWidget>

QSize screenRoom(const QSize& available, const QMargins& frame) {
    const QSize share = available * 0.95;
    return QSize(share.width() - frame.left() - frame.right(),
                 share.height() - frame.top() - frame.bottom());
}

QMargins expectedFrame(const QWidget* parent) {
    if (parent) {
        const QWidget* window = parent->window();
        const QRect outer = window->frameGeometry();
        const QRect inner = window->geometry();
        const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(),
                             outer.right() - inner.right(), outer.bottom() - inner.bottom());
        // Without a title bar the parent is not decorated yet (or not at all): no guide.
        if (frame.top() > 0) return frame;
    }
    return QMargins(8, 32, 8, 8);
}
