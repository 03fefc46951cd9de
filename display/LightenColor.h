#pragma once

#include <QColor>

// Blends `color` toward white: each of red, green and blue b becomes the integer part of
// x × (255 − b) + b for 0 < x ≤ 1; any other x leaves the colour as it is.
QColor LightenColor(double x, const QColor& color);
