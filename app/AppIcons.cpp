#include "app/AppIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

QPixmap canvas(int w, int h) {
    QPixmap p(w, h);
    p.fill(Qt::transparent);
    return p;
}

}  // namespace

QIcon AppIcons::program() {
    QIcon icon;
    for (int size : {16, 32, 48}) {
        QPixmap p = canvas(size, size);
        QPainter g(&p);
        g.setRenderHint(QPainter::Antialiasing);
        const qreal s = size / 32.0;
        // A concrete section with two rebar dots and the locator's scan line.
        g.setPen(QPen(QColor(90, 90, 90), 1.5 * s));
        g.setBrush(QColor(190, 190, 185));
        g.drawRoundedRect(QRectF(2 * s, 6 * s, 28 * s, 20 * s), 3 * s, 3 * s);
        g.setPen(Qt::NoPen);
        g.setBrush(QColor(170, 60, 40));
        g.drawEllipse(QPointF(10 * s, 19 * s), 3.5 * s, 3.5 * s);
        g.drawEllipse(QPointF(22 * s, 19 * s), 3.5 * s, 3.5 * s);
        g.setPen(QPen(QColor(30, 90, 200), 2 * s));
        g.drawLine(QPointF(4 * s, 11 * s), QPointF(28 * s, 11 * s));
        icon.addPixmap(p);
    }
    return icon;
}

namespace {

// The 16 × 15 picture of a toolbar button, drawn by `paint`.
template <class Paint>
QIcon button(Paint paint) {
    QPixmap p = canvas(16, 15);
    QPainter g(&p);
    paint(g, QColor(40, 40, 40));
    return QIcon(p);
}

}  // namespace

QIcon AppIcons::newPage() {
    return button([](QPainter& g, const QColor& ink) {  // a blank page with a folded corner
        QPainterPath page;
        page.moveTo(3, 1);
        page.lineTo(10, 1);
        page.lineTo(13, 4);
        page.lineTo(13, 14);
        page.lineTo(3, 14);
        page.closeSubpath();
        g.setPen(ink);
        g.setBrush(Qt::white);
        g.drawPath(page);
        g.drawLine(10, 1, 10, 4);
        g.drawLine(10, 4, 13, 4);
    });
}

QIcon AppIcons::openFolder() {
    return button([](QPainter& g, const QColor& ink) {
        g.setPen(ink);
        g.setBrush(QColor(235, 200, 90));
        g.drawRect(1, 4, 11, 9);
        g.setBrush(QColor(250, 225, 130));
        const QPointF flap[] = {{3, 7}, {15, 7}, {12, 13}, {1, 13}};
        g.drawPolygon(flap, 4);
    });
}

QIcon AppIcons::diskette() {
    return button([](QPainter& g, const QColor& ink) {
        g.setPen(ink);
        g.setBrush(QColor(60, 90, 170));
        g.drawRect(1, 1, 13, 13);
        g.setBrush(Qt::white);
        g.drawRect(4, 1, 7, 5);
        g.setBrush(QColor(200, 200, 200));
        g.drawRect(3, 9, 9, 5);
    });
}

QIcon AppIcons::helpBubble() {
    return button([](QPainter& g, const QColor& ink) {  // a question mark in a speech bubble
        g.setRenderHint(QPainter::Antialiasing);
        g.setPen(ink);
        g.setBrush(QColor(255, 250, 200));
        g.drawEllipse(QRectF(1, 1, 13, 12));
        QFont f = g.font();
        f.setPixelSize(11);
        f.setBold(true);
        g.setFont(f);
        g.setPen(QColor(20, 60, 160));
        g.drawText(QRectF(1, 1, 13, 12), Qt::AlignCenter, QStringLiteral("?"));
    });
}
