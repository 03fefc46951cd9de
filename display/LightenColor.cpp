#include "display/LightenColor.h"

QColor LightenColor(double x, const QColor& color) {
    if (!(x > 0.0 && x <= 1.0)) return color;
    auto blend = [x](int b) { return static_cast<int>(x * (255 - b) + b); };
    return QColor(blend(color.red()), blend(color.green()), blend(color.blue()));
}
