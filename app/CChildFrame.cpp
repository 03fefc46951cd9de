#include "app/CChildFrame.h"

#include "app/AppIcons.h"
#include "display/CCorvaneView.h"

CChildFrame::CChildFrame(const Project& project, QWidget* parent)
    : QMdiSubWindow(parent), view_(new CCorvaneView(project, this)) {
    setWidget(view_);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString());
    setWindowIcon(AppIcons::program());
    setOption(QMdiSubWindow::RubberBandResize, false);
}
