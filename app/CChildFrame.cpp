#include "app/CChildFrame.h"

#include <QCloseEvent>

#include "app/AppIcons.h"
#include "display/CCorvaneView.h"

CChildFrame::CChildFrame(const Project& project, ComponentEditor* editor, Prompter* prompter,
                         QWidget* parent)
    : QMdiSubWindow(parent), view_(new CCorvaneView(project, editor, prompter, this)) {
    setWidget(view_);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString());
    setWindowIcon(AppIcons::program());
    setOption(QMdiSubWindow::RubberBandResize, false);
}

void CChildFrame::closeEvent(QCloseEvent* event) {
    if (!view_->finishEdit()) {
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
}
