#pragma once

#include <QImage>
#include <QSize>

#include "display/ChartGeometry.h"

struct Component;
class QPainter;
class QPalette;

// The component panel as pixels, without any widget: what the panel paints itself (the strip,
// the frames and the chart) and, for a whole picture, its property grid as the panel first shows
// it (at the top, nothing selected), the scroll bar included. The panel paints with it, and
// corvane-cli chart draws the whole panel with it, so both give the same pixels.
class PanelPicture {
public:
    // The strip's width at display scale f: 120 × f + 1.
    static int stripWidthAt(float scale);
    // The factor the chart and the panel's height follow at display scale f: the grid font's
    // on a screen 1440 × f wide.
    static float factorAt(float scale);

    // The panel's own painting over its whole client area; no chart without a component. The
    // chart is drawn `factor` times as large (the grid font's; see ChartArea).
    static void paintPanel(QPainter& painter, QSize size, int strip, float factor,
                           const Component* component, const QPalette& palette);
    static void paintChart(QPainter& painter, const ChartArea& area, const Component& component,
                           const QPalette& palette);

    // The whole panel of `component`, `size` pixels at display scale `scale`, in the
    // application's palette and style. Needs a QApplication (the scroll bar is the style's).
    static QImage render(const Component& component, QSize size, float scale);
};
