#include "controls/GridPainter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPalette>
#include <algorithm>

#include "controls/ICustomItem.h"

using namespace GridGeometry;

namespace {

// The sign of a changed value: warm and strong on white and on the selection's blue alike.
const QColor markColour(0xd0, 0x50, 0x00);

constexpr int textFlags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;

void drawElided(QPainter& painter, const QRect& rect, const QString& text) {
    const QString shown =
        painter.fontMetrics().elidedText(text, Qt::ElideRight, rect.width(), Qt::TextSingleLine);
    painter.drawText(rect, textFlags, shown);
}

// Outlines exactly the pixels of `r`.
void frame(QPainter& painter, const QRect& r) {
    painter.drawRect(r.adjusted(0, 0, -1, -1));
}

}  // namespace

GridPainter::GridPainter(const QPalette& pal, int screenWidth, bool inWindow)
    : background_(Qt::white),
      shade_(pal.color(QPalette::Button)),
      expander_(pal.color(QPalette::WindowText)),
      name_(pal.color(QPalette::WindowText)),
      caption_(pal.color(QPalette::WindowText)),
      selectedBack_(pal.color(QPalette::Highlight)),
      selectedText_(pal.color(QPalette::HighlightedText)),
      value_(pal.color(QPalette::WindowText)),
      readOnlyValue_(pal.color(QPalette::Disabled, QPalette::WindowText)) {
    if (inWindow) {
        const int tenths = static_cast<int>(screenWidth / 1440.0 * 100);
        font_ = QFont(QStringLiteral("宋体"));
        font_.setPointSizeF(tenths / 10.0);
        factor_ = factorFor(screenWidth);
        edge_ = Edge::at(factor_);
    } else {
        font_ = QFont(QStringLiteral("Tahoma"));
        font_.setPointSizeF(8.5);
    }
    boldFont_ = font_;
    boldFont_.setWeight(QFont::Bold);
    rowHeight_ = QFontMetrics(font_).size(Qt::TextSingleLine, QStringLiteral("Gg")).height() + 6;
}

float GridPainter::factorFor(int screenWidth) {
    return static_cast<float>(static_cast<int>(screenWidth / 1440.0 * 100)) / 100.0f;
}

void GridPainter::paintSection(QPainter& painter, const QString& title, bool collapsed,
                               bool selected, int y, int w, int divider) const {
    const int h = rowHeight_;
    painter.fillRect(QRect(0, y, w, h), shade_);
    painter.setPen(shade_);
    painter.drawLine(0, y, w, y);
    painter.drawLine(0, y + h, w, y + h);
    painter.drawLine(divider, y, divider, y + h);

    painter.setPen(expander_);
    const QRect box = expanderBox(y, edge_);
    frame(painter, box);
    const QPoint centre((box.left() + box.right()) / 2, (box.top() + box.bottom()) / 2);
    painter.drawLine(box.left() + 2, centre.y(), box.right() - 2, centre.y());
    if (collapsed) painter.drawLine(centre.x(), box.top() + 2, centre.x(), box.bottom() - 2);

    painter.setFont(boldFont_);
    if (selected) {
        const QFontMetrics metrics(boldFont_);
        const int textHeight = metrics.height();
        const int top = y + (h - textHeight) / 2;
        QPen dotted(caption_);
        dotted.setDashPattern({1, 1});
        painter.setPen(dotted);
        frame(painter,
              fromEdges(edge_.strip, top, metrics.horizontalAdvance(title) + edge_.text + 2,
                        top + textHeight));
    }
    painter.setPen(caption_);
    drawElided(painter, fromEdges(edge_.text, y, w, y + h), title);
}

void GridPainter::paintItem(QPainter& painter, const QString& name, const Value& value,
                            bool selected, Button button, int y, int w, int divider) const {
    const int h = rowHeight_;
    painter.fillRect(QRect(0, y, edge_.strip, h), shade_);
    painter.setPen(shade_);
    painter.drawLine(0, y + h, w, y + h);
    painter.drawLine(divider, y, divider, y + h);

    if (selected) {
        painter.fillRect(fromEdges(edge_.strip, y, divider, y + h), selectedBack_);
        painter.setPen(selectedText_);
    } else {
        painter.setPen(name_);
    }
    painter.setFont(font_);
    drawElided(painter, fromEdges(edge_.text, y, divider - 1, y + h), name);

    painter.setPen(value.editable ? value_ : readOnlyValue_);
    const QRect rect = itemRects(y, h, divider, w, button).value;
    if (value.custom) {
        value.custom->drawValue(painter, rect, selected);
    } else {
        drawElided(painter, rect.translated(4, 0), value.text);
    }
    if (value.marked) {
        // A triangle in the value's top left corner, as large as the text is.
        const int side = std::max(3, static_cast<int>(6 * factor_ + 0.5f));
        const QPoint corner = rect.topLeft() + QPoint(1, 1);
        const QPoint triangle[] = {corner, corner + QPoint(side, 0), corner + QPoint(0, side)};
        painter.save();
        painter.setPen(Qt::NoPen);
        painter.setBrush(markColour);
        painter.drawPolygon(triangle, 3);
        painter.restore();
    }
}
