#pragma once

#include <QFont>
#include <QLine>
#include <QPoint>
#include <QRect>
#include <QString>
#include <vector>

struct Component;

// What a component chart draws, with its pixel coordinates, computed without a widget. The
// panel's paint only loops over it. Lines and rectangles are given the way the chart's
// numbers are stated: a line's end point and a rectangle's right and bottom edges are not
// drawn themselves (ChartPainter takes care of that).
struct ChartText {
    QPoint topLeft;
    QString text;
    int tenths = 80;      // "宋体" at tenths of a point
    bool opaque = false;  // drawn over a white box, clearing what lies behind
    QRect centredIn;      // when valid: centred horizontally in it, from its top

    QFont font() const;
};

struct ChartPicture {
    QRect frame;                // (L, 50) to (R, B)
    std::vector<QLine> dotted;  // grid lines
    std::vector<QLine> ticks;   // axis ticks, in the frame pen
    std::vector<ChartText> texts;
    std::vector<QRect> discs;  // one point each: the ellipse's bounding box
    bool greyDiscOutline = false;
    std::vector<QRect> bars;        // filled, grid components only
    bool buttonTextColour = false;  // the grid chart's texts; the others are black
};

// The panel's client size and the width of its strip, from which every chart's area follows:
// L = strip + 80, top 50, R = width/2 + 50, B = height - 10. A panel drawn at a factor f (the
// grid font's: screen width ÷ 1440) draws its chart f times as large: texts, ticks, discs and
// margins alike, as the chart of its logical area, 1/f of it.
struct ChartArea {
    int width = 0;
    int height = 0;
    int strip = 121;
    float factor = 1.0f;

    int left() const { return strip + 80; }
    int top() const { return 50; }
    int right() const { return width / 2 + 50; }
    int bottom() const { return height - 10; }

    // The area the chart is computed in, to be drawn f times as large; itself at factor 1.
    ChartArea logical() const;

    // The narrowest panel whose chart is not empty beside a strip that wide.
    static int smallestWidth(int strip, float factor = 1.0f);
};

// A scale down the chart's left edge from the top of the frame: `lines` equal spaces with a
// dotted line across between them, `ticks` equal spaces with a tick at each end, every fifth
// tick long and numbered 0, step, 2 × step, ...; a number's left edge is `zeroX`, `shortX`
// or (from the `longFrom`-th number on) `longX` right of the strip, 5 pixels above its tick.
struct VerticalAxis {
    int lines;
    int ticks;
    int step;
    int tenths;
    int zeroX, shortX, longX, longFrom;
};

class ChartGeometry {
public:
    // Cover depth 0-150 mm in 10-mm lines; position 0-2000 mm in 200-mm lines.
    static constexpr VerticalAxis coverAxis{15, 75, 10, 80, 66, 60, 55, 10};
    static constexpr VerticalAxis gridYAxis{10, 50, 200, 70, 68, 57, 55, 5};

    // Adds the axis's dotted lines, ticks and numbers to `picture`.
    static void addVerticalAxis(ChartPicture& picture, const ChartArea& area,
                                const VerticalAxis& axis);

    // Thickness and diameter components: each point's cover at even intervals. Without a
    // component only the frame, axes and captions.
    static ChartPicture valueChart(const ChartArea& area, const Component* component);
    // Profile components: each point by position (0-2000 mm) and cover (0-150 mm).
    static ChartPicture profileChart(const ChartArea& area, const Component* component);
    // Grid components: a bar across the chart per point, vertical bars for `points`,
    // horizontal ones for `pointsVert`, both axes 0-2000 mm.
    static ChartPicture gridChart(const ChartArea& area, const Component* component);

    // The chart of the component's type; an empty picture for a letter without one.
    static ChartPicture chartFor(const ChartArea& area, const Component& component);
};
