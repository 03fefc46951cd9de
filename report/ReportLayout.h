#pragma once

#include <QRectF>
#include <QSizeF>
#include <QString>
#include <vector>

#include "report/ReportTemplate.h"

// A text in a ruled box.
struct ReportCell {
    QRectF rect;
    QString text;
    Qt::Alignment align = Qt::AlignHCenter;
};

// Where everything of a page lies, in millimetres from the top left of the printable area.
// The same on every page but for the column header, which a template may show on the first
// page only; the rows then move up.
struct ReportLayout {
    QRectF title;
    std::vector<ReportCell> headerLabels;  // one per header box, in template order
    std::vector<QRectF> headerValues;      // the box's value beside its label
    double tableTop = 0;                   // top of the column header
    double bodyTop = 0;                    // first row under the column header
    double bodyBottom = 0;
    double rowHeight = 0;
    std::vector<double> columnEdges;       // left edge of each column, then the right edge
    std::vector<ReportCell> columnHeader;  // captions and group captions
    std::vector<ReportCell> signature;
    QRectF pageNumber;
    bool repeatColumnHeader = true;

    int rowsPerPage(bool withColumnHeader) const;
    bool showsColumnHeader(int page) const { return page == 0 || repeatColumnHeader; }
    // Pages for `rows` detail rows; one for none, since an empty table is still a table.
    int pageCount(int rows) const;
    // Index of the first row on `page` (0-based).
    int firstRowOn(int page) const;
    // Top of the rows on `page`.
    double rowsTop(int page) const { return showsColumnHeader(page) ? bodyTop : tableTop; }
};

ReportLayout layoutReport(const ReportTemplate& t, QSizeF area);

// The template's paper less its margins, in millimetres; empty when the margins leave none.
QSizeF printableArea(const ReportTemplate& t);
