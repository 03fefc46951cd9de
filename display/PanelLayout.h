#pragma once

#include <QRect>

// Where the component panel puts its parts, from its client size and its strip width; pure, so
// the places are checked without a widget.
struct PanelLayout {
    QRect grid;       // the property grid; empty on a panel too small for it
    QRect gridFrame;  // the pixels of the line one pixel outside the grid on every side
    QRect chart;      // from the strip's edge to just past the last position number

    static PanelLayout of(int width, int height, int strip);
};
