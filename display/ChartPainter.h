#pragma once

#include "display/ChartGeometry.h"

class QPainter;
class QPalette;

// Draws a ChartPicture: the only place that turns chart geometry into pixels.
class ChartPainter {
public:
    static void paint(QPainter& painter, const ChartPicture& picture, const QPalette& palette);
};
