#pragma once

#include <QMargins>
#include <QSize>

class QWidget;

// The largest client area a dialog may take on a screen whose available area (without task
// bars) is `available`: with its window frame, at most 95 % of it each way. The frame is
// counted because the window system adds it around the client area; a dialog sized without
// it loses its bottom row of buttons below the screen's edge.
QSize screenRoom(const QSize& available, const QMargins& frame);

// The frame the window system will put around a dialog of `parent`, which it tells only once
// the dialog is shown: the parent window's own, as the same decorations, else a title bar and
// borders as common desktops draw them at a scale of 1.
QMargins expectedFrame(const QWidget* parent);
