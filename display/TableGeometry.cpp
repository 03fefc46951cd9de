#include "display/TableGeometry.h"

#include <QFontMetrics>
#include <QString>
#include <algorithm>
#include <optional>

#include "display/HeaderBand.h"
#include "model/DetectionType.h"

namespace {

// The sample with each digit replaced by the font's widest, so that any value of that shape
// fits whatever its digits.
QString widestValue(const char* sample, const QFontMetrics& metrics) {
    QChar widest(u'0');
    for (char16_t d = u'1'; d <= u'9'; ++d) {
        if (metrics.horizontalAdvance(QChar(d)) > metrics.horizontalAdvance(widest)) {
            widest = QChar(d);
        }
    }
    QString text = QString::fromUtf8(sample);
    for (QChar& ch : text) {
        if (ch.isDigit()) ch = widest;
    }
    return text;
}

}  // namespace

TableGeometry TableGeometry::of(SummaryLayoutKind kind, const SystemMetrics& metrics) {
    // Measuring takes a good part of a paint; the screen rarely changes, so keep the last
    // result of each layout.
    struct Cached {
        SystemMetrics metrics;
        TableGeometry geometry;
    };
    static std::optional<Cached> cache[2];
    std::optional<Cached>& slot = cache[kind == SummaryLayoutKind::ThicknessDiameter ? 0 : 1];
    if (!slot || slot->metrics != metrics) slot = Cached{metrics, measure(kind, metrics)};
    return slot->geometry;
}

TableGeometry TableGeometry::measure(SummaryLayoutKind kind, const SystemMetrics& metrics) {
    TableGeometry g;
    g.scale = DisplayScale(metrics);
    const QFontMetrics band(HeaderBand::font(HeaderBand::captionTenths, g.scale));
    const QFontMetrics row(HeaderBand::font(HeaderBand::rowTenths, g.scale));
    // A row's text stands centred with a pixel of air above and below, clear of the line
    // at its bottom.
    g.rowHeight = std::max(metrics.captionHeight, row.height() + 4);

    std::vector<SummaryColumn> columns = SummaryLayout::columns(kind, g.scale);
    std::vector<int> needed;
    for (const SummaryColumn& c : columns) {
        const QString caption = QString::fromUtf8(c.caption);
        // Two-line captions are drawn from the top; the band's bottom line stays below them.
        const QRect text = band.boundingRect(QRect(), Qt::AlignHCenter | Qt::AlignTop, caption);
        g.bandHeight = std::max(g.bandHeight, text.height() + 1);
        const int value = *c.widest ? row.horizontalAdvance(widestValue(c.widest, row)) : 0;
        const int width = std::max(text.width(), value) + cellMargin;
        needed.push_back(c.field == SummaryLayout::nameField ? 0 : width);
    }
    g.columns = SummaryLayout::widened(std::move(columns), needed);
    return g;
}
