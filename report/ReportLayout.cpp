#include "report/ReportLayout.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double gap = 3;
constexpr double pageNumberHeight = 6;
constexpr double signatureHeight = 9;

void layoutHeader(const ReportTemplate& t, double width, double& y, ReportLayout& l) {
    for (const auto& row : t.headerRows) {
        double total = 0;
        for (const auto& box : row) total += box.width;
        double x = 0;
        for (const auto& box : row) {
            const double w = width * box.width / total;
            const double label = std::min(t.labelWidth, w / 2);
            l.headerLabels.push_back({QRectF(x, y, label, t.headerRowHeight), box.label});
            l.headerValues.push_back(QRectF(x + label, y, w - label, t.headerRowHeight));
            x += w;
        }
        y += t.headerRowHeight;
    }
    if (!t.headerRows.empty()) y += gap;
}

void layoutColumns(const ReportTemplate& t, double width, ReportLayout& l) {
    double total = 0;
    for (const auto& c : t.columns) total += c.width;
    double x = 0;
    l.columnEdges.push_back(x);
    for (const auto& c : t.columns) {
        x += width * c.width / total;
        l.columnEdges.push_back(x);
    }

    const bool grouped = std::any_of(t.columns.begin(), t.columns.end(),
                                     [](const ReportColumn& c) { return !c.group.isEmpty(); });
    const double level = t.columnHeaderHeight;
    const double top = l.tableTop;
    l.bodyTop = top + level * (grouped ? 2 : 1);
    for (std::size_t i = 0; i < t.columns.size(); ++i) {
        const ReportColumn& c = t.columns[i];
        const double left = l.columnEdges[i];
        const double right = l.columnEdges[i + 1];
        if (c.group.isEmpty()) {
            l.columnHeader.push_back({QRectF(left, top, right - left, l.bodyTop - top), c.caption});
            continue;
        }
        l.columnHeader.push_back({QRectF(left, top + level, right - left, level), c.caption});
        if (i > 0 && t.columns[i - 1].group == c.group) {
            l.columnHeader[l.columnHeader.size() - 2].rect.setRight(right);  // widen the group
            std::swap(l.columnHeader[l.columnHeader.size() - 2], l.columnHeader.back());
        } else {
            l.columnHeader.push_back({QRectF(left, top, right - left, level), c.group});
        }
    }
}

}  // namespace

int ReportLayout::rowsPerPage(bool withColumnHeader) const {
    const double room = bodyBottom - (withColumnHeader ? bodyTop : tableTop);
    return std::max(1, static_cast<int>(std::floor(room / rowHeight + 1e-9)));
}

int ReportLayout::pageCount(int rows) const {
    const int first = rowsPerPage(true);
    if (rows <= first) return 1;
    const int other = rowsPerPage(repeatColumnHeader);
    return 1 + (rows - first + other - 1) / other;
}

int ReportLayout::firstRowOn(int page) const {
    if (page == 0) return 0;
    return rowsPerPage(true) + (page - 1) * rowsPerPage(repeatColumnHeader);
}

ReportLayout layoutReport(const ReportTemplate& t, QSizeF area) {
    ReportLayout l;
    const double width = area.width();
    double y = 0;
    l.title = QRectF(0, y, width, t.titleHeight);
    y += t.titleHeight;
    layoutHeader(t, width, y, l);

    l.tableTop = y;
    l.rowHeight = t.rowHeight;
    l.repeatColumnHeader = t.repeatColumnHeader;
    layoutColumns(t, width, l);

    l.pageNumber = QRectF(0, area.height() - pageNumberHeight, width, pageNumberHeight);
    double bottom = l.pageNumber.top();
    if (!t.signature.isEmpty()) {
        bottom -= signatureHeight;
        const double part = width / static_cast<double>(t.signature.size());
        for (qsizetype i = 0; i < t.signature.size(); ++i) {
            l.signature.push_back(
                {QRectF(part * static_cast<double>(i), bottom, part, signatureHeight),
                 t.signature[i] + QStringLiteral("："), Qt::AlignLeft});
        }
    }
    l.bodyBottom = bottom - 1;
    return l;
}

QSizeF printableArea(const ReportTemplate& t) {
    QSizeF paper = t.pageSize.size(QPageSize::Millimeter);
    if (t.orientation == QPageLayout::Landscape) paper.transpose();
    return {paper.width() - t.margins.left() - t.margins.right(),
            paper.height() - t.margins.top() - t.margins.bottom()};
}
