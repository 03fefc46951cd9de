#include "display/ReadableInk.h"

#include <algorithm>
#include <cmath>

namespace {

double linear(int channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double luminance(const QColor& c) {
    const QColor rgb = c.toRgb();
    return 0.2126 * linear(rgb.red()) + 0.7152 * linear(rgb.green()) + 0.0722 * linear(rgb.blue());
}

int toward(int from, int to, double t) {
    return static_cast<int>(std::lround(from + (to - from) * t));
}

}  // namespace

double ContrastRatio(const QColor& a, const QColor& b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor ReadableInk(const QColor& ink, const QColor& background, double minimum) {
    if (ContrastRatio(ink, background) >= minimum) return ink;
    const QColor end = ContrastRatio(Qt::black, background) >= ContrastRatio(Qt::white, background)
                           ? QColor(Qt::black)
                           : QColor(Qt::white);
    const QColor from = ink.toRgb();
    constexpr int steps = 64;
    for (int i = 1; i < steps; ++i) {
        const double t = static_cast<double>(i) / steps;
        const QColor c(toward(from.red(), end.red(), t), toward(from.green(), end.green(), t),
                       toward(from.blue(), end.blue(), t));
        if (ContrastRatio(c, background) >= minimum) return c;
    }
    return end;
}
