#pragma once

#include <QColor>
#include <QFont>
#include <QString>

#include "controls/GridGeometry.h"

class ICustomItem;
class QPainter;
class QPalette;

// How a property grid looks: its fonts, row height and colours, and the painting of one caption
// or item row at a given place. Pure painting, no widget: the grid paints its rows with it, and
// so does a picture of a grid made without a window. The "..." push button of a selected item
// is the grid's own (it needs the widget's style).
class GridPainter {
public:
    // The font is 宋体 at screenWidth ÷ 1440 × 10 pt (in whole tenths) for a grid inside a
    // window, else Tahoma 8.5 pt; the row height follows the font, the left edge its factor.
    GridPainter(const QPalette& palette, int screenWidth, bool inWindow);

    // The factor of a grid's font inside a window on a screen that wide: ÷ 1440 in whole
    // hundredths, as the font's size is in whole tenths of a point.
    static float factorFor(int screenWidth);

    const QFont& font() const { return font_; }
    int rowHeight() const { return rowHeight_; }
    // The font's factor (1 outside a window) and the rows' left edge at it.
    float factor() const { return factor_; }
    const GridGeometry::Edge& edge() const { return edge_; }
    QColor background() const { return background_; }
    QColor nameColor() const { return name_; }

    // What an item row shows right of the divider: a text, or a value that draws itself.
    struct Value {
        QString text;
        ICustomItem* custom = nullptr;
        bool editable = true;
        bool marked = false;  // a corner sign: the value was changed (the owner says why)
    };

    // A caption row at content row `y` (already scrolled), `width` the painted width.
    void paintSection(QPainter& painter, const QString& title, bool collapsed, bool selected, int y,
                      int width, int divider) const;
    void paintItem(QPainter& painter, const QString& name, const Value& value, bool selected,
                   GridGeometry::Button button, int y, int width, int divider) const;

private:
    QFont font_;
    QFont boldFont_;
    int rowHeight_ = 0;
    float factor_ = 1.0f;
    GridGeometry::Edge edge_;
    QColor background_, shade_, expander_, name_, caption_, selectedBack_, selectedText_, value_,
        readOnlyValue_;
};
