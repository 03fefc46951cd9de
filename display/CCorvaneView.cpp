#include "display/CCorvaneView.h"

#include <QPainter>

#include "display/LightenColor.h"
#include "model/Project.h"

CCorvaneView::CCorvaneView(const Project& project, QWidget* parent)
    : QWidget(parent), project_(project) {
    setAutoFillBackground(true);
}

int CCorvaneView::ModeMessage(const QString& modeText) {
    shownType_ = modeText.isEmpty() ? 0 : static_cast<char>(modeText.front().toLatin1());
    update();
    return project_.isOpen() ? 1 : 0;
}

int CCorvaneView::AddPointMessage(int, int) {
    return 0;
}

int CCorvaneView::DeletePointMessage(int, int) {
    return 0;
}

void CCorvaneView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(QRect(0, 0, width(), headerHeight),
                     LightenColor(0.75, palette().color(QPalette::Highlight)));
}
