#include "app/QtReportPresenter.h"

#include <QDialogButtonBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QScreen>

#include "report/Report.h"

namespace {

// What a print dialog offers: no page size and margins (the template's), no page range (a
// table prints whole), no selection.
void offerWhatTakesEffect(QPrintDialog& dialog) {
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintCollateCopies);
}

}  // namespace

bool QtReportPresenter::setUpPrinter(QPrinter& printer, QWidget* parent) {
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("打印设置"));
    offerWhatTakesEffect(dialog);
    // It chooses, it does not print.
    if (auto* buttons = dialog.findChild<QDialogButtonBox*>()) {
        if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok))
            ok->setText(QStringLiteral("确定"));
    }
    return dialog.exec() == QDialog::Accepted;
}

QPrinter& QtReportPresenter::printer() {
    if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

Status QtReportPresenter::print(Report& report, bool showPrintDialog) {
    if (Status s = report.generate(); !s) return s;
    QPrinter& printer = this->printer();
    report.applyPageLayout(printer);
    printer.setDocName(report.title());
    if (showPrintDialog) {
        QPrintDialog dialog(&printer, parent_);
        dialog.setWindowTitle(QStringLiteral("打印 - ") + report.title());
        offerWhatTakesEffect(dialog);
        if (dialog.exec() != QDialog::Accepted) return {};
    }
    return report.render(printer);
}

Status QtReportPresenter::preview(Report& report, bool) {
    if (Status s = report.generate(); !s) return s;
    QPrinter& printer = this->printer();
    report.applyPageLayout(printer);
    printer.setDocName(report.title());
    QPrintPreviewDialog dialog(&printer, parent_);
    dialog.setWindowTitle(QStringLiteral("打印预览 - ") + report.title());
    // A record table is read whole: most of the screen, not Qt's small default.
    const QRect screen = (parent_ ? parent_->screen() : dialog.screen())->availableGeometry();
    dialog.resize(screen.size() * 0.8);
    Status rendered;
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, [&](QPrinter* shown) {
        if (Status s = report.render(*shown); !s) rendered = s;
    });
    dialog.exec();
    return rendered;
}
