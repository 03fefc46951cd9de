#include "report/ReportPainter.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

#include "report/ReportLayout.h"

namespace {

constexpr double mmPerInch = 25.4;
constexpr double thinLine = 0.15;  // mm
constexpr double thickLine = 0.35;
constexpr double padding = 1.0;
constexpr double smallestPoints = 5;

// A font with its metrics on the device, measured once.
struct MeasuredFont {
    MeasuredFont(const QFont& f, QPaintDevice* device) : font(f), metrics(f, device) {}
    QFont font;
    QFontMetricsF metrics;
};

// Draws in millimetres on a device measured in its own units.
class Canvas {
public:
    Canvas(QPainter& painter, QPaintDevice& device)
        : p_(painter),
          sx_(device.logicalDpiX() / mmPerInch),
          sy_(device.logicalDpiY() / mmPerInch) {}

    QSizeF areaMm(const QPaintDevice& device) const {
        return {device.width() / sx_, device.height() / sy_};
    }

    QRectF toDevice(const QRectF& mm) const {
        return {mm.x() * sx_, mm.y() * sy_, mm.width() * sx_, mm.height() * sy_};
    }
    QPointF toDevice(double x, double y) const { return {x * sx_, y * sy_}; }

    void pen(double widthMm) { p_.setPen(QPen(Qt::black, widthMm * sx_)); }
    void line(double x1, double y1, double x2, double y2) {
        p_.drawLine(toDevice(x1, y1), toDevice(x2, y2));
    }
    void box(const QRectF& mm) { p_.drawRect(toDevice(mm)); }

    // One line when it fits; otherwise wrapped (at "\n" too) and made smaller until it fits
    // the box, since a record must not lose characters.
    void text(const QRectF& mm, const QString& s, Qt::Alignment align, const MeasuredFont& f) {
        if (s.isEmpty()) return;
        const QRectF r = toDevice(mm).adjusted(padding * sx_, 0, -padding * sx_, 0);
        if (oneLine(r, s, align, f)) return;
        const int flags = static_cast<int>(align) | Qt::AlignVCenter | Qt::TextWrapAnywhere;
        // The same QFont object for a size, so that it keeps its font engine.
        const MeasuredFont& small = sized(f, fittingStep(f, r, flags, s));
        if (oneLine(r, s, align, small)) return;  // smaller, but without a wrapping layout
        useFont(small.font);
        p_.drawText(r, flags, s);
    }

private:
    // Draws `s` on one line in `r` when it fits there in font `f`.
    bool oneLine(const QRectF& r, const QString& s, Qt::Alignment align, const MeasuredFont& f) {
        const QFontMetricsF& m = f.metrics;
        const double w = m.horizontalAdvance(s);
        if (w > r.width() || s.contains(QLatin1Char('\n'))) return false;
        const double x = align & Qt::AlignLeft    ? r.left()
                         : align & Qt::AlignRight ? r.right() - w
                                                  : r.center().x() - w / 2;
        useFont(f.font);
        p_.drawText(QPointF(x, r.center().y() + (m.ascent() - m.descent()) / 2), s);
        return true;
    }

    static double sizeAt(const MeasuredFont& f, int step) {
        return f.font.pointSizeF() - 0.5 * step;
    }

    // The largest size in 0.5 pt steps below the font's at which `s` fits `r`, as a count of
    // steps, down to the smallest size (used even when nothing fits). Text grows with its
    // size, so the steps are bisected, and the metrics of a size and the step found for a
    // text in a box of that size are kept: cells repeat their texts and sizes row after row,
    // and laying the text out at every step made large template fonts very slow.
    int fittingStep(const MeasuredFont& f, const QRectF& r, int flags, const QString& s) {
        const FitKey key{&f, qRound64(r.width()), qRound64(r.height()), flags, s};
        if (const auto found = fitted_.find(key); found != fitted_.end()) return found->second;
        const auto fits = [&](int step) {
            const QFontMetricsF& m = sized(f, step).metrics;
            // No line is lower than the font: too high a font needs no layout to tell.
            return m.height() <= r.height() && m.boundingRect(r, flags, s).height() <= r.height();
        };
        const int steps =
            static_cast<int>(std::floor((f.font.pointSizeF() - smallestPoints) / 0.5));
        int lo = std::min(1, steps), hi = steps;  // the first step that fits is in [lo, hi]
        while (lo < hi) {
            const int mid = lo + (hi - lo) / 2;
            if (fits(mid)) {
                hi = mid;
            } else {
                lo = mid + 1;
            }
        }
        fitted_.emplace(key, lo);
        return lo;
    }

    const MeasuredFont& sized(const MeasuredFont& f, int step) {
        auto m = sized_.find({&f, step});
        if (m == sized_.end()) {
            QFont font = f.font;
            font.setPointSizeF(sizeAt(f, step));
            m = sized_.try_emplace(std::pair(&f, step), font, p_.device()).first;
        }
        return m->second;
    }

    void useFont(const QFont& f) {
        if (p_.font() != f) p_.setFont(f);
    }

    using FitKey = std::tuple<const MeasuredFont*, qint64, qint64, int, QString>;

    QPainter& p_;
    double sx_;
    double sy_;
    std::map<std::pair<const MeasuredFont*, int>, MeasuredFont> sized_;
    std::map<FitKey, int> fitted_;
};

QString pageNumberText(QString pattern, int page, int pages) {
    return pattern.replace(QStringLiteral("{page}"), QString::number(page))
        .replace(QStringLiteral("{pages}"), QString::number(pages));
}

}  // namespace

Status ReportPainter::paint(QPagedPaintDevice& device) {
    QPainter painter;
    if (!painter.begin(&device)) return Status::failure("无法开始绘制报表页面");
    Canvas canvas(painter, device);
    const ReportTemplate& t = template_;
    const ReportLayout l = layoutReport(t, canvas.areaMm(device));
    pageCount_ = l.pageCount(content_.rowCount);

    QFont base(t.fontFamily);
    base.setPointSizeF(t.titlePoints);
    base.setBold(true);
    const MeasuredFont titleFont(base, &device);
    base.setBold(false);
    base.setPointSizeF(t.textPoints);
    const MeasuredFont textFont(base, &device);
    base.setPointSizeF(t.tablePoints);
    const MeasuredFont tableFont(base, &device);

    for (int page = 0; page < pageCount_; ++page) {
        if (page > 0 && !device.newPage()) {
            painter.end();
            return Status::failure("无法新建报表的第 " + std::to_string(page + 1) + " 页");
        }
        canvas.text(l.title, t.title, Qt::AlignHCenter, titleFont);

        canvas.pen(thinLine);
        for (std::size_t i = 0; i < l.headerLabels.size(); ++i) {
            canvas.box(l.headerLabels[i].rect);
            canvas.box(l.headerValues[i]);
            canvas.text(l.headerLabels[i].rect, l.headerLabels[i].text, Qt::AlignHCenter, textFont);
            if (i < content_.headerValues.size()) {
                canvas.text(l.headerValues[i], content_.headerValues[i], Qt::AlignLeft, textFont);
            }
        }

        if (t.hasDetail && !t.columns.empty()) {
            const bool withHeader = l.showsColumnHeader(page);
            if (withHeader) {
                for (const ReportCell& c : l.columnHeader) {
                    canvas.box(c.rect);
                    canvas.text(c.rect, c.text, Qt::AlignHCenter, tableFont);
                }
            }
            const int first = l.firstRowOn(page);
            const int capacity = l.rowsPerPage(withHeader);
            const double top = l.rowsTop(page);
            const double bottom = top + capacity * l.rowHeight;
            const double left = l.columnEdges.front();
            const double right = l.columnEdges.back();
            for (int k = 1; k < capacity; ++k) {
                canvas.line(left, top + k * l.rowHeight, right, top + k * l.rowHeight);
            }
            const int last = std::min(content_.rowCount, first + capacity);
            const auto noteOf = [&](int row) {
                return content_.note && row < last ? content_.note(row) : QString();
            };
            // The column rules run down from row to row and stop at each note row.
            double ruleTop = top;
            for (int row = first; row <= first + capacity; ++row) {
                const double y = top + (row - first) * l.rowHeight;
                const bool end = row == first + capacity;
                if (!end && noteOf(row).isEmpty()) continue;
                for (std::size_t c = 1; c + 1 < l.columnEdges.size() && y > ruleTop; ++c) {
                    canvas.line(l.columnEdges[c], ruleTop, l.columnEdges[c], y);
                }
                ruleTop = y + l.rowHeight;
            }
            for (int row = first; row < last; ++row) {
                const double y = top + (row - first) * l.rowHeight;
                if (const QString note = noteOf(row); !note.isEmpty()) {
                    canvas.text(QRectF(left, y, right - left, l.rowHeight), note, Qt::AlignLeft,
                                tableFont);
                    continue;
                }
                for (std::size_t c = 0; c < t.columns.size(); ++c) {
                    const QRectF cell(l.columnEdges[c], y, l.columnEdges[c + 1] - l.columnEdges[c],
                                      l.rowHeight);
                    canvas.text(cell, reportValueText(content_.cell(row, static_cast<int>(c))),
                                t.columns[c].align, tableFont);
                }
            }
            canvas.pen(thickLine);
            canvas.box(QRectF(left, l.tableTop, right - left, bottom - l.tableTop));
        }

        for (const ReportCell& c : l.signature) canvas.text(c.rect, c.text, c.align, textFont);
        canvas.text(l.pageNumber, pageNumberText(t.pageNumber, page + 1, pageCount_),
                    Qt::AlignHCenter, textFont);
    }
    if (!painter.end()) return Status::failure("报表页面输出失败");
    return {};
}
