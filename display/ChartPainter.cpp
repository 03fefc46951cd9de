#include "display/ChartPainter.h"

#include <QPainter>
#include <QPalette>

namespace {

int towards(int from, int to) {
    return to > from ? to - 1 : to < from ? to + 1 : to;
}

// A chart line leaves out its end point.
void drawLine(QPainter& painter, const QLine& line) {
    if (line.p1() == line.p2()) return;
    painter.drawLine(line.x1(), line.y1(), towards(line.x1(), line.x2()),
                     towards(line.y1(), line.y2()));
}

}  // namespace

void ChartPainter::paint(QPainter& painter, const ChartPicture& picture, const QPalette& palette) {
    if (picture.frame.isNull()) return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QColor grey = palette.color(QPalette::Disabled, QPalette::WindowText);
    const QPen framePen(grey, 0);

    painter.setPen(framePen);
    painter.setBrush(Qt::white);
    painter.drawRect(picture.frame.adjusted(0, 0, -1, -1));

    // Dots of three pixels with white gaps, as the grid lines always looked.
    QPen dotted(grey, 0);
    dotted.setDashPattern({3, 3});
    painter.setPen(dotted);
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.setBackground(Qt::white);
    for (const QLine& line : picture.dotted) drawLine(painter, line);
    painter.setBackgroundMode(Qt::TransparentMode);

    painter.setPen(framePen);
    for (const QLine& line : picture.ticks) drawLine(painter, line);

    painter.setPen(picture.buttonTextColour ? palette.color(QPalette::ButtonText) : Qt::black);
    painter.setBackground(Qt::white);
    for (const ChartText& t : picture.texts) {
        painter.setFont(t.font());
        painter.setBackgroundMode(t.opaque ? Qt::OpaqueMode : Qt::TransparentMode);
        if (t.centredIn.isValid()) {
            painter.drawText(t.centredIn, Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine,
                             t.text);
        } else {
            painter.drawText(QRect(t.topLeft, QSize(2000, 200)),
                             Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, t.text);
        }
    }
    painter.setBackgroundMode(Qt::TransparentMode);

    const QColor fill(128, 128, 128);
    painter.setPen(picture.greyDiscOutline ? QColor(96, 96, 96) : QColor(Qt::black));
    painter.setBrush(fill);
    for (const QRect& disc : picture.discs) painter.drawEllipse(disc.adjusted(0, 0, -1, -1));
    for (const QRect& bar : picture.bars) painter.fillRect(bar, fill);
    painter.restore();
}
