#include "display/PanelPicture.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionSlider>

#include "controls/GridPainter.h"
#include "controls/IntegerFormat.h"
#include "display/CRectItem.h"
#include "display/ChartPainter.h"
#include "display/LightenColor.h"
#include "display/PanelGridRows.h"
#include "display/PanelLayout.h"
#include "model/Component.h"

namespace {

// The grid's rows from the top, then the scroll bar the grid shows when they do not fit.
void paintGrid(QPainter& painter, const GridPainter& look, const Component& c, QSize size,
               const QPalette& palette) {
    const std::vector<PanelGridRow> rows = PanelGridRow::of(c);
    const int total = static_cast<int>(rows.size()) * look.rowHeight();
    QStyle* style = QApplication::style();
    const int bar = total > size.height()
                        ? style->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, nullptr)
                        : 0;
    const int width = size.width() - bar;
    const int divider = size.width() / 2;  // where the grid puts it at its first size

    painter.fillRect(QRect(QPoint(0, 0), size), look.background());
    int y = 0;
    for (const PanelGridRow& row : rows) {
        if (y >= size.height()) break;
        if (row.kind == PanelGridRow::Kind::Section) {
            look.paintSection(painter, row.label, false, false, y, width, divider);
        } else if (row.pointItem) {
            CRectItem item(c.type(), row.values.diameter, row.values.thickness,
                           row.values.position);
            look.paintItem(painter, row.label, {{}, &item}, false, GridGeometry::Button::None, y,
                           width, divider);
        } else {
            const QString text = row.kind == PanelGridRow::Kind::Name
                                     ? row.text
                                     : formatInteger(panelNumberFormat, row.number);
            look.paintItem(painter, row.label, {text}, false, GridGeometry::Button::None, y, width,
                           divider);
        }
        y += look.rowHeight();
    }
    if (bar == 0) return;
    QStyleOptionSlider option;
    option.palette = palette;
    option.state = QStyle::State_Enabled;
    option.direction = QApplication::layoutDirection();
    option.fontMetrics = QFontMetrics(QApplication::font());
    option.rect = QRect(width, 0, bar, size.height());
    option.orientation = Qt::Vertical;
    option.minimum = 0;
    option.maximum = total - size.height();
    option.sliderPosition = option.sliderValue = 0;
    option.singleStep = look.rowHeight();
    option.pageStep = size.height();
    option.subControls = QStyle::SC_All;
    painter.save();
    painter.translate(option.rect.topLeft());
    option.rect.moveTo(0, 0);
    style->drawComplexControl(QStyle::CC_ScrollBar, &option, &painter, nullptr);
    painter.restore();
}

}  // namespace

float PanelPicture::factorAt(float scale) {
    return GridPainter::factorFor(static_cast<int>(1440.0f * scale));
}

int PanelPicture::stripWidthAt(float scale) {
    return static_cast<int>(120.0f * scale + 1.0f);
}

void PanelPicture::paintPanel(QPainter& painter, QSize size, int strip, float factor,
                              const Component* c, const QPalette& palette) {
    const int cx = size.width(), cy = size.height();
    painter.save();  // the pen and brush stay the panel's
    const QColor highlight = palette.color(QPalette::Highlight);
    painter.fillRect(QRect(QPoint(strip + 1, 0), QPoint(cx - 1, cy - 2)),
                     LightenColor(1, highlight));
    painter.fillRect(QRect(QPoint(0, 0), QPoint(strip - 1, cy - 2)), LightenColor(0.75, highlight));
    painter.setPen(QPen(palette.color(QPalette::Disabled, QPalette::WindowText), 0));
    painter.setBrush(Qt::white);
    painter.drawLine(strip, 0, strip, cy - 2);
    painter.drawLine(0, cy - 1, cx - 1, cy - 1);
    painter.drawRect(PanelLayout::of(cx, cy, strip).gridFrame.adjusted(0, 0, -1, -1));
    painter.restore();
    if (c) paintChart(painter, ChartArea{cx, cy, strip, factor}, *c, palette);
}

void PanelPicture::paintChart(QPainter& painter, const ChartArea& area, const Component& c,
                              const QPalette& palette) {
    painter.save();
    if (area.factor != 1.0f) painter.scale(area.factor, area.factor);
    ChartPainter::paint(painter, ChartGeometry::chartFor(area.logical(), c), palette);
    painter.restore();
}

QImage PanelPicture::render(const Component& c, QSize size, float scale) {
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    const QPalette palette = QApplication::palette();
    const int strip = stripWidthAt(scale);
    const GridPainter look(palette, static_cast<int>(1440.0f * scale), true);
    paintPanel(painter, size, strip, look.factor(), &c, palette);
    const QRect grid = PanelLayout::of(size.width(), size.height(), strip).grid;
    if (grid.isEmpty()) return image;
    painter.save();
    painter.translate(grid.topLeft());
    painter.setClipRect(QRect(QPoint(0, 0), grid.size()));
    paintGrid(painter, look, c, grid.size(), palette);
    painter.restore();
    return image;
}
