#pragma once

#include <QColor>
#include <QFont>
#include <QRect>

class QPainter;
class QPalette;
class QString;
struct TableGeometry;

// Drawing of the summary table: the caption band at the top of the view and the cells of
// one row, in the columns of a TableGeometry.
class HeaderBand {
public:
    // Font sizes at a scale of 1, in tenths of a point.
    static constexpr int captionTenths = 110;
    static constexpr int rowTenths = 100;

    // The band across `width` pixels, `geometry.bandHeight` high.
    static void draw(QPainter& painter, int width, const TableGeometry& geometry,
                     const QPalette& palette);

    // One row in `caption` with its fifteen texts (already converted for the screen), in the
    // given colours.
    static void drawRow(QPainter& painter, const QRect& caption, const QString* texts,
                        const TableGeometry& geometry, const QColor& text, const QColor& background,
                        const QColor& lines);

    // "宋体" at `tenths` × scale tenths of a point, truncated as the platform does.
    static QFont font(int tenths, float scale);
};
