#pragma once

#include <QColor>

// Contrast of two colours as the accessibility guidelines measure it: (L1 + 0.05) ÷ (L2 + 0.05)
// of their relative luminances, from 1 (same) to 21 (black on white).
double ContrastRatio(const QColor& a, const QColor& b);

// `ink` if it reaches `minimum` against `background`; otherwise `ink` moved toward black or
// white (whichever the background sets off better) just far enough to reach it.
QColor ReadableInk(const QColor& ink, const QColor& background, double minimum = 4.5);
