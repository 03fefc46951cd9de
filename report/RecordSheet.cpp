#include "report/RecordSheet.h"

#include <algorithm>
#include <cmath>

#include "report/ReportLayout.h"

namespace {

constexpr double pointsPerMm = 72 / 25.4;
// A column of the default spreadsheet font: 7 pixels a character and 5 of padding, at 96 dpi.
constexpr double mmPerPixel = 25.4 / 96;
constexpr double inchesPerMm = 1 / 25.4;

// The spreadsheet's numbers of the template's paper sizes.
int paperNumber(const QPageSize& size) {
    switch (size.id()) {
        case QPageSize::A3:
            return 8;
        case QPageSize::A5:
            return 11;
        case QPageSize::B5:
            return 34;  // ISO B5; 13 is the Japanese one
        case QPageSize::Letter:
            return 1;
        default:
            return 9;
    }
}

SheetAlign alignOf(Qt::Alignment align) {
    if (align & Qt::AlignLeft) return SheetAlign::Left;
    if (align & Qt::AlignRight) return SheetAlign::Right;
    return SheetAlign::Center;
}

SheetValue valueOf(const ReportValue& value) {
    if (const auto* n = std::get_if<std::int32_t>(&value)) return *n;
    if (const auto* t = std::get_if<QString>(&value)) {
        if (!t->isEmpty()) return t->toStdString();
    }
    return {};
}

// The column ranges of boxes laid along one line of the page: each edge goes to the nearest
// column edge, every box keeps at least one column of its own, in page order.
class ColumnSnap {
public:
    explicit ColumnSnap(const std::vector<double>& edges) : edges_(edges) {}

    std::pair<int, int> span(double left, double right) {
        const int first = std::max(nearest(left), next_);
        const int last = std::max(first, nearest(right) - 1);
        next_ = last + 1;
        return {first, last};
    }
    void newLine() { next_ = 0; }

private:
    int nearest(double x) const {
        int best = 0;
        for (std::size_t i = 1; i < edges_.size(); ++i) {
            if (std::abs(edges_[i] - x) < std::abs(edges_[static_cast<std::size_t>(best)] - x)) {
                best = static_cast<int>(i);
            }
        }
        return best;
    }

    const std::vector<double>& edges_;
    int next_ = 0;
};

// The height a note needs on its row: its text wrapped at the table's width, a CJK character
// one em wide and any other half an em.
double noteHeight(const QString& text, double widthMm, double points, double rowPoints) {
    double ems = 0;
    for (const QChar c : text) ems += c.unicode() < 0x80 ? 0.5 : 1;
    const double emMm = points / pointsPerMm;
    const double lines = std::max(1.0, std::ceil(ems * emMm / std::max(widthMm - 2, emMm)));
    return std::max(rowPoints, lines * points * 1.35 + 2);
}

// The footer of a page-number pattern; "&" is the footer's code character.
std::string footerOf(QString pattern) {
    pattern.replace(QLatin1Char('&'), QStringLiteral("&&"));
    pattern.replace(QStringLiteral("{page}"), QStringLiteral("&P"));
    pattern.replace(QStringLiteral("{pages}"), QStringLiteral("&N"));
    return pattern.isEmpty() ? std::string() : "&C" + pattern.toStdString();
}

}  // namespace

WorkbookSheet RecordSheet::build(std::string name, const ReportTemplate& t,
                                 const ReportContent& content, const std::vector<RowNotes>& edits) {
    WorkbookSheet sheet;
    sheet.name = std::move(name);
    sheet.fontFamily = t.fontFamily.toStdString();
    sheet.titlePoints = t.titlePoints;
    sheet.textPoints = t.textPoints;
    sheet.tablePoints = t.tablePoints;
    sheet.paper = paperNumber(t.pageSize);
    sheet.landscape = t.orientation == QPageLayout::Landscape;
    const QMarginsF& m = t.margins;
    const double margins[] = {m.left(), m.top(), m.right(), m.bottom()};
    for (int i = 0; i < 4; ++i) sheet.margins[i] = margins[i] * inchesPerMm;
    sheet.footer = footerOf(t.pageNumber);

    const QSizeF area = printableArea(t);
    const ReportLayout l = layoutReport(t, area);
    const std::vector<double>& edges = l.columnEdges;
    const int columns = static_cast<int>(t.columns.size());
    for (std::size_t c = 0; c + 1 < edges.size(); ++c) {
        const double pixels = (edges[c + 1] - edges[c]) / mmPerPixel;
        sheet.columnWidths.push_back(std::max(1.0, (pixels - 5) / 7));
    }
    const auto add = [&sheet](int row, std::pair<int, int> span, SheetValue value, SheetStyle style,
                              SheetAlign align, int rows = 1) {
        sheet.cells.push_back(
            {row, span.first, std::move(value), style, align, row + rows - 1, span.second});
    };
    const auto height = [&sheet](int row, double mm) { sheet.rowHeights[row] = mm * pointsPerMm; };
    const auto text = [](const QString& s) { return s.isEmpty() ? SheetValue() : s.toStdString(); };
    const std::pair<int, int> across{0, std::max(columns, 1) - 1};

    int row = 0;
    add(row, across, text(t.title), SheetStyle::Title, SheetAlign::Center);
    height(row++, t.titleHeight);

    ColumnSnap snap(edges);
    std::size_t box = 0;
    for (const auto& headerRow : t.headerRows) {
        snap.newLine();
        for (std::size_t i = 0; i < headerRow.size(); ++i, ++box) {
            const QRectF& label = l.headerLabels[box].rect;
            const QRectF& value = l.headerValues[box];
            add(row, snap.span(label.left(), label.right()), text(l.headerLabels[box].text),
                SheetStyle::Label, SheetAlign::Center);
            add(row, snap.span(value.left(), value.right()),
                box < content.headerValues.size() ? text(content.headerValues[box]) : SheetValue(),
                SheetStyle::Value, SheetAlign::Left);
        }
        height(row++, t.headerRowHeight);
    }

    // The captions: a group on the upper level, its columns' captions below; a caption
    // without a group over both levels.
    const int captionTop = row;
    const int levels =
        static_cast<int>(std::lround((l.bodyTop - l.tableTop) / t.columnHeaderHeight));
    for (const ReportCell& caption : l.columnHeader) {
        const QRectF& r = caption.rect;
        const int level =
            static_cast<int>(std::lround((r.top() - l.tableTop) / t.columnHeaderHeight));
        const int rows = static_cast<int>(std::lround(r.height() / t.columnHeaderHeight));
        snap.newLine();
        add(captionTop + level, snap.span(r.left(), r.right()), text(caption.text),
            SheetStyle::Caption, SheetAlign::Center, std::max(rows, 1));
    }
    for (int level = 0; level < levels; ++level) height(row++, t.columnHeaderHeight);
    if (t.repeatColumnHeader && levels > 0) {
        sheet.repeatFirst = captionTop;
        sheet.repeatLast = row - 1;
    }

    const double rowPoints = t.rowHeight * pointsPerMm;
    for (int r = 0; r < content.rowCount; ++r, ++row) {
        if (const QString note = content.note ? content.note(r) : QString(); !note.isEmpty()) {
            add(row, across, note.toStdString(), SheetStyle::Note, SheetAlign::Left);
            sheet.rowHeights[row] = noteHeight(note, area.width(), t.tablePoints, rowPoints);
            continue;
        }
        const RowNotes* rowEdits = static_cast<std::size_t>(r) < edits.size()
                                       ? &edits[static_cast<std::size_t>(r)]
                                       : nullptr;
        for (int c = 0; c < columns; ++c) {
            const ReportColumn& column = t.columns[static_cast<std::size_t>(c)];
            add(row, {c, c}, valueOf(content.cell(r, c)), SheetStyle::Cell, alignOf(column.align));
            if (!rowEdits) continue;
            if (const auto e = rowEdits->find(column.field.toStdString()); e != rowEdits->end()) {
                sheet.cells.back().edited = true;
                sheet.cells.back().note = e->second;
            }
        }
        sheet.rowHeights[row] = rowPoints;
    }

    if (!l.signature.empty()) {
        ++row;  // the printed form leaves room above the signatures
        snap.newLine();
        for (const ReportCell& field : l.signature) {
            add(row, snap.span(field.rect.left(), field.rect.right()), text(field.text),
                SheetStyle::Signature, SheetAlign::Left);
        }
        height(row, 9);
    }
    return sheet;
}
