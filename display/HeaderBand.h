#pragma once

#include <QColor>
#include <QFont>
#include <QRect>

#include "model/ComponentSummary.h"

class QPainter;
class QPalette;
class QString;

// Drawing of the summary table: the caption band at the top of the view and the cells of
// one row. Geometry comes from SummaryLayout.
class HeaderBand {
public:
    static constexpr int height = 35;

    // The band across `width` pixels for mode 'H'/'Z' or 'P'/'W'.
    static void draw(QPainter& painter, int width, char mode, float scale, const QPalette& palette);

    // One row in `caption` with its texts (already converted for the screen), in the given
    // colours; the layout follows the first letter of the code.
    static void drawRow(QPainter& painter, const QRect& caption, const QString* texts,
                        char codeLetter, float scale, const QColor& text, const QColor& background,
                        const QColor& lines);

    // "宋体" at `tenths` × scale tenths of a point, truncated as the platform does.
    static QFont font(int tenths, float scale);
};
