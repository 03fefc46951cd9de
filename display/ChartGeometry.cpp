#include "display/ChartGeometry.h"

#include <cmath>

#include "model/Component.h"

namespace {

// The charts compute their steps in single precision and truncate, as they always did; the
// pixel positions depend on it.
int at(int k, float step, int origin) {
    return static_cast<int>(static_cast<float>(k) * step) + origin;
}

int scaled(int value, float scale, int origin = 0) {
    return static_cast<int>(static_cast<float>(value) * scale + static_cast<float>(origin));
}

QRect rect(int left, int top, int right, int bottom) {
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

ChartText text(int x, int y, const QString& t, int tenths) {
    return {QPoint(x, y), t, tenths, false, QRect()};
}

ChartPicture framed(const ChartArea& a) {
    ChartPicture p;
    p.frame = rect(a.left(), a.top(), a.right(), a.bottom());
    return p;
}

void verticalCaption(ChartPicture& p, const ChartArea& a, const QString& characters, int firstY,
                     int unitY) {
    const int middle = a.height / 2;
    for (int i = 0; i < characters.size(); ++i) {
        p.texts.push_back(text(a.strip + 30, middle + firstY + 12 * i, characters.mid(i, 1), 80));
    }
    p.texts.push_back(text(a.strip + 25, middle + unitY, QStringLiteral("(mm)"), 80));
}

// Ticks along the top edge; `dottedLines` adds the 9 dotted position lines, `numbersTop` the
// numbers 0, 200, ... 2000 (centred in a box from that height, 10 or 9 pixels high).
void positionAxis(ChartPicture& p, const ChartArea& a, bool dottedLines, int numbersTop,
                  int numbersBottom) {
    const float step = static_cast<float>(a.right() - a.left()) / 50.0f;
    for (int k = 0; k <= 50; ++k) {
        const int x = at(k, step, a.left());
        if (k % 5 != 0) {
            p.ticks.emplace_back(x, a.top(), x, a.top() - 2);
            continue;
        }
        p.ticks.emplace_back(x, a.top(), x, a.top() - 4);
        if (dottedLines && k / 5 >= 1 && k / 5 <= 9) {
            p.dotted.emplace_back(x, a.top(), x, a.bottom());
        }
        if (numbersTop < 0) continue;
        // Six spaces clear the place first, as wide as the widest number.
        p.texts.push_back({QPoint(x - 15, 34), QStringLiteral("      "), 70, true, QRect()});
        p.texts.push_back({QPoint(x - 15, numbersTop), QString::number(k / 5 * 200), 70, false,
                           rect(x - 15, numbersTop, x + 20, numbersBottom)});
    }
}

void title(ChartPicture& p, const ChartArea& a) {
    p.texts.push_back(
        text((a.right() - a.left()) / 2 + a.strip, 10, QStringLiteral("X方向钢筋位置(mm)"), 80));
}

QRect disc(int x, int y) {
    return rect(x - 5, y + 45, x + 5, y + 55);
}

}  // namespace

ChartArea ChartArea::logical() const {
    if (factor == 1.0f || factor <= 0.0f) return {width, height, strip};
    const auto shrink = [this](int v) { return static_cast<int>(static_cast<float>(v) / factor); };
    return {shrink(width), shrink(height), shrink(strip)};
}

int ChartArea::smallestWidth(int strip, float factor) {
    const ChartArea at{0, 0, strip, factor};
    const int logical = 2 * (at.logical().strip + 31);
    return factor == 1.0f ? logical
                          : static_cast<int>(std::ceil(static_cast<float>(logical) * factor));
}

QFont ChartText::font() const {
    QFont f(QStringLiteral("宋体"));
    f.setPointSizeF(tenths / 10.0);
    return f;
}

void ChartGeometry::addVerticalAxis(ChartPicture& p, const ChartArea& a, const VerticalAxis& axis) {
    const int hp = a.bottom() - a.top();
    const float line = static_cast<float>(hp) / static_cast<float>(axis.lines);
    for (int i = 1; i < axis.lines; ++i) {
        const int y = at(i, line, a.top());
        p.dotted.emplace_back(a.left(), y, a.right(), y);
    }
    const float tick = static_cast<float>(hp) / static_cast<float>(axis.ticks);
    for (int k = 0; k <= axis.ticks; ++k) {
        const int y = at(k, tick, a.top());
        if (k % 5 != 0) {
            p.ticks.emplace_back(a.strip + 78, y, a.left(), y);
            continue;
        }
        p.ticks.emplace_back(a.strip + 76, y, a.left(), y);
        const int m = k / 5;
        const int x = a.strip + (m == 0              ? axis.zeroX
                                 : m < axis.longFrom ? axis.shortX
                                                     : axis.longX);
        p.texts.push_back(text(x, y - 5, QString::number(m * axis.step), axis.tenths));
    }
}

ChartPicture ChartGeometry::valueChart(const ChartArea& a, const Component* c) {
    ChartPicture p = framed(a);
    addVerticalAxis(p, a, coverAxis);
    verticalCaption(p, a, QStringLiteral("保护层厚度"), -24, 36);
    positionAxis(p, a, true, -1, -1);
    title(p, a);
    p.greyDiscOutline = true;
    if (!c) return p;
    const int wp = a.right() - a.left();
    const int n = c->pointCount;
    const float step = n > 1 ? static_cast<float>(wp) / static_cast<float>(n - 1) : 0.0f;
    const float scale = static_cast<float>(a.bottom() - a.top()) / 150.0f;
    int i = 0;
    for (const MeasurePoint& point : c->points) {
        const int x =
            static_cast<int>(static_cast<float>(i++) * step + static_cast<float>(a.left()));
        p.discs.push_back(disc(x, scaled(point.thickness, scale)));
    }
    return p;
}

ChartPicture ChartGeometry::profileChart(const ChartArea& a, const Component* c) {
    ChartPicture p = framed(a);
    VerticalAxis depth = coverAxis;
    depth.tenths = 70;
    addVerticalAxis(p, a, depth);
    verticalCaption(p, a, QStringLiteral("保护层厚度"), -24, 36);
    positionAxis(p, a, true, 34, 44);
    title(p, a);
    if (!c) return p;
    const float vertical = static_cast<float>(a.height - 60) / 150.0f;
    const float horizontal = static_cast<float>(a.right() - a.left()) / 2000.0f;
    for (const MeasurePoint& point : c->points) {
        p.discs.push_back(
            disc(scaled(point.position, horizontal, a.left()), scaled(point.thickness, vertical)));
    }
    return p;
}

ChartPicture ChartGeometry::gridChart(const ChartArea& a, const Component* c) {
    ChartPicture p = framed(a);
    p.buttonTextColour = true;
    const int wp = a.right() - a.left();
    addVerticalAxis(p, a, gridYAxis);
    // The mesh's lines up follow their lines across one by one: where two dotted lines cross,
    // the later one's dot or gap is what shows.
    const float meshX = static_cast<float>(wp) / static_cast<float>(gridYAxis.lines);
    for (int i = 1; i < gridYAxis.lines; ++i) {
        const int x = at(i, meshX, a.left());
        p.dotted.insert(p.dotted.begin() + 2 * i - 1, QLine(x, a.top(), x, a.bottom()));
    }
    p.texts.push_back(text(a.strip + 33, a.height / 2 - 30, QStringLiteral("Y"), 80));
    verticalCaption(p, a, QStringLiteral("方向钢筋位置"), -18, 55);
    positionAxis(p, a, false, 38, 47);
    title(p, a);
    if (!c) return p;
    const float xScale = static_cast<float>(wp) / 2000.0f;
    const float yScale = static_cast<float>(a.height - 60) / 2000.0f;
    for (const MeasurePoint& point : c->points) {
        const int x = scaled(point.position, xScale, a.left());
        p.bars.push_back(rect(x - 4, a.top(), x + 4, a.bottom()));
    }
    for (const MeasurePoint& point : c->pointsVert) {
        const int y = scaled(point.position, yScale, a.top());
        p.bars.push_back(rect(a.left(), y - 4, a.right(), y + 4));
    }
    return p;
}

ChartPicture ChartGeometry::chartFor(const ChartArea& a, const Component& c) {
    const DetectionTypeTraits* t = c.traits();
    if (!t) return {};
    if (t->verticalList) return gridChart(a, &c);
    return t->positions ? profileChart(a, &c) : valueChart(a, &c);
}
