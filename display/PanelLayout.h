#pragma once

#include <QRect>

// Where the component panel puts its parts, from its client size and its strip width; pure, so
// the places are checked without a widget.
struct PanelLayout {
    QRect grid;       // the property grid; empty on a panel too small for it
    QRect gridFrame;  // the pixels of the line one pixel outside the grid on every side
    QRect chart;      // from the strip's edge to just past the last position number

    // `factor` draws the chart that much larger (ChartArea); the grid's place does not change.
    static PanelLayout of(int width, int height, int strip, float factor = 1.0f);

    // The panel's height for grid rows `rowHeight` high: 370 pixels (228 dialog units) where
    // they are as high as at factor 1 (`rowHeightAtOne`), and otherwise as many whole rows as
    // 370 pixels hold at factor 1, so that every screen shows the same rows.
    static int heightFor(int rowHeight, int rowHeightAtOne);
};
