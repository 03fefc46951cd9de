#include "display/CCorvaneView.h"

#include <QPainter>

#include "display/CWndLikeMsdn.h"
#include "display/HeaderBand.h"
#include "display/LightenColor.h"
#include "display/TableGeometry.h"
#include "model/ComponentSummary.h"
#include "model/Project.h"

CCorvaneView::CCorvaneView(const Project& project, QWidget* parent)
    : QWidget(parent), project_(project), pane_(new CWndLikeMsdn(this)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    pane_->setGeometry(0, headerHeight(), 500, 0);
    // Until the component panel exists, an open group hosts a plain window of its size.
    panel_ = new QWidget(pane_->viewport());
    panel_->setObjectName(QStringLiteral("panel131"));
    panel_->resize(870, 370);
    panel_->setAutoFillBackground(true);
    panel_->hide();
    pane_->setHostedWindow(panel_);
}

int CCorvaneView::ModeMessage(const QString& modeText) {
    pane_->RemoveAllGroups();
    shownType_ = modeText.isEmpty() ? 0 : static_cast<char>(modeText.front().toLatin1());
    update();
    if (!project_.isOpen()) return 0;
    for (const Component& c : project_.components()) {
        if (shownType_ != 0 && c.code.front() == shownType_)
            pane_->AddGroup(BuildComponentSummary(c));
    }
    pane_->viewport()->update();
    return 1;
}

void CCorvaneView::componentChanged(int) {
    // Until rows know their component, the whole list is built again.
    ModeMessage(shownType_ ? QString(QChar::fromLatin1(shownType_)) : QString());
}

int CCorvaneView::AddPointMessage(int, int) {
    return 0;
}

int CCorvaneView::DeletePointMessage(int, int) {
    return 0;
}

int CCorvaneView::headerHeight() const {
    return TableGeometry::of(shownType_).bandHeight;
}

void CCorvaneView::resizeEvent(QResizeEvent*) {
    const int band = headerHeight();
    pane_->setGeometry(0, band, width(), std::max(0, height() - band));
}

void CCorvaneView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    switch (shownType_) {
        case 'H':
        case 'Z':
        case 'P':
        case 'W':
            HeaderBand::draw(painter, width(), TableGeometry::of(shownType_), palette());
            break;
        default:
            painter.fillRect(QRect(0, 0, width(), headerHeight()),
                             LightenColor(0.75, palette().color(QPalette::Highlight)));
    }
}
