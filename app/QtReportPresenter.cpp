#include "app/QtReportPresenter.h"

#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QScreen>

#include "report/Report.h"

Status QtReportPresenter::print(Report& report, bool showPrintDialog) {
    if (Status s = report.generate(); !s) return s;
    report.applyPageLayout(printer_);
    printer_.setDocName(report.title());
    if (showPrintDialog) {
        QPrintDialog dialog(&printer_, parent_);
        dialog.setWindowTitle(QStringLiteral("打印 - ") + report.title());
        if (dialog.exec() != QDialog::Accepted) return {};
    }
    return report.render(printer_);
}

Status QtReportPresenter::preview(Report& report, bool) {
    if (Status s = report.generate(); !s) return s;
    report.applyPageLayout(printer_);
    printer_.setDocName(report.title());
    QPrintPreviewDialog dialog(&printer_, parent_);
    dialog.setWindowTitle(QStringLiteral("打印预览 - ") + report.title());
    // A record table is read whole: most of the screen, not Qt's small default.
    const QRect screen = (parent_ ? parent_->screen() : dialog.screen())->availableGeometry();
    dialog.resize(screen.size() * 0.8);
    Status rendered;
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, [&](QPrinter* printer) {
        if (Status s = report.render(*printer); !s) rendered = s;
    });
    dialog.exec();
    return rendered;
}
