#pragma once

#include <QPointer>
#include <QPrinter>
#include <QWidget>
#include <memory>

#include "report/ReportPresenter.h"

// Shows a report to the user: the print dialog, then the printer (its print-to-file gives a
// PDF), or the print preview, from which it can be printed too. The printer and its settings
// are kept from one run to the next. The rows are asked for before a dialog shows, so a
// failing report never costs the user a dialog. The preview is always modal, since the report
// must outlive it. GUI thread only.
class QtReportPresenter : public ReportPresenter {
public:
    // The dialogs are centred on `parent`, which may be null.
    explicit QtReportPresenter(QWidget* parent) : parent_(parent) {}

    Status print(Report& report, bool showPrintDialog) override;
    Status preview(Report& report, bool modal) override;

    // 打印设置: the printer and what it offers itself (copies, duplex, paper source) for the
    // prints of this session. The paper and its orientation are not offered: every record
    // table prints on its template's. False when cancelled.
    static bool setUpPrinter(QPrinter& printer, QWidget* parent);

    // The printer of every print and preview, which 打印设置 shares, so the printer chosen there
    // is the next print's. Made at its first use: a printer loads the print system, which
    // start-up does not need.
    QPrinter& printer();

private:
    QPointer<QWidget> parent_;
    std::unique_ptr<QPrinter> printer_;
};
