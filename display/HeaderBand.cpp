#include "display/HeaderBand.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPalette>

#include "display/LightenColor.h"
#include "display/TableGeometry.h"

QFont HeaderBand::font(int tenths, float scale) {
    QFont f(QStringLiteral("宋体"));
    f.setPointSizeF(static_cast<int>(static_cast<float>(tenths) * scale) / 10.0);
    return f;
}

void HeaderBand::draw(QPainter& painter, int width, const TableGeometry& geometry,
                      const QPalette& palette) {
    const int height = geometry.bandHeight;
    painter.save();
    painter.fillRect(QRect(0, 0, width, height),
                     LightenColor(0.75, palette.color(QPalette::Highlight)));
    painter.setFont(font(captionTenths, geometry.scale));
    painter.setPen(Qt::black);
    // A paint context draws text opaquely, black on white.
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.setBackground(Qt::white);
    const auto& columns = geometry.columns;
    const QFontMetrics metrics(painter.font());
    for (const SummaryColumn& c : columns) {
        const QRect cell(c.left, 0, c.width, height);
        const QString caption = QString::fromUtf8(c.caption);
        if (c.twoLineCaption()) {
            painter.drawText(cell, Qt::AlignHCenter | Qt::AlignTop, caption);
        } else {
            painter.drawText(cell, Qt::AlignCenter | Qt::TextSingleLine,
                             metrics.elidedText(caption, Qt::ElideRight, c.width));
        }
    }
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setPen(QPen(palette.color(QPalette::Disabled, QPalette::WindowText), 1));
    for (std::size_t i = 0; i + 1 < columns.size(); ++i) {
        const int x = columns[i].right() + 1;
        painter.drawLine(x, 0, x, height - 1);
    }
    painter.drawLine(0, height - 1, width - 1, height - 1);
    painter.restore();
}

void HeaderBand::drawRow(QPainter& painter, const QRect& caption, const QString* texts,
                         const TableGeometry& geometry, const QColor& text,
                         const QColor& background, const QColor& lines) {
    painter.save();
    painter.setFont(font(rowTenths, geometry.scale));
    painter.setPen(text);
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.setBackground(background);
    const auto& columns = geometry.columns;
    const QFontMetrics metrics(painter.font());
    for (const SummaryColumn& c : columns) {
        const QRect cell(caption.left() + c.left, caption.top(), c.width, caption.height());
        const QString& t = texts[c.field];
        if (t.isEmpty()) continue;
        const Qt::Alignment align = c.field == SummaryLayout::nameField
                                        ? (Qt::AlignLeft | Qt::AlignVCenter)
                                        : Qt::AlignCenter;
        painter.drawText(cell, align | Qt::TextSingleLine,
                         metrics.elidedText(t, Qt::ElideRight, c.width));
    }
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setPen(QPen(lines, 1));
    for (std::size_t i = 0; i + 1 < columns.size(); ++i) {
        const int x = caption.left() + columns[i].right() + 1;
        painter.drawLine(x, caption.top(), x, caption.bottom());
    }
    painter.drawLine(caption.left(), caption.bottom(), caption.right(), caption.bottom());
    painter.restore();
}
