#include "display/CCorvaneView.h"

#include <QPainter>
#include <algorithm>
#include <iterator>

#include "display/CDlgComponent.h"
#include "display/CWndLikeMsdn.h"
#include "display/HeaderBand.h"
#include "display/LightenColor.h"
#include "display/ReadOnlyComponents.h"
#include "display/TableGeometry.h"
#include "model/ComponentSummary.h"
#include "model/DetectionType.h"
#include "model/Project.h"

CCorvaneView::CCorvaneView(const Project& project, ComponentEditor* editor, Prompter* prompter,
                           QWidget* parent)
    : QWidget(parent), project_(project), pane_(new CWndLikeMsdn(this)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    pane_->setGeometry(0, headerHeight(), 500, 0);
    if (!editor) {
        readOnly_ = std::make_unique<ReadOnlyComponents>(project.components());
        editor = readOnly_.get();
    }
    panel_ = new CDlgComponent(*editor, prompter, pane_->viewport());
    panel_->hide();
    pane_->setHostedWindow(panel_);
    pane_->setLeaveCheck([this] { return panel_->finishEdit(); });
    connect(pane_, &CWndLikeMsdn::SelectComponentMessage, this, [this](int row) {
        if (row >= 0 && row < static_cast<int>(rows_.size())) {
            panel_->SelectComponentMessage(rows_[static_cast<std::size_t>(row)]);
        }
    });
}

CCorvaneView::~CCorvaneView() = default;

int CCorvaneView::ModeMessage(const QString& modeText) {
    pane_->RemoveAllGroups();
    // Places in the list may have moved: the panel forgets its component.
    panel_->closeComponent();
    rows_.clear();
    shownType_ =
        modeText.isEmpty() ? DetectionType::Unknown : detectionTypeOf(modeText.front().toLatin1());
    update();
    if (!project_.isOpen()) return 0;
    int index = 0;
    for (const Component& c : project_.components()) {
        if (shownType_ != DetectionType::Unknown && c.type() == shownType_) {
            pane_->AddGroup(BuildComponentSummary(c));
            rows_.push_back(index);
        }
        ++index;
    }
    pane_->viewport()->update();
    // The keys work the rows at once: the first is selected, the rows have the focus.
    if (!rows_.empty()) {
        pane_->selectGroup(0);
        pane_->setFocus(Qt::OtherFocusReason);
    }
    return 1;
}

int CCorvaneView::ModeMessage(DetectionType type) {
    const DetectionTypeTraits* t = traitsOf(type);
    return ModeMessage(t ? QString(QChar::fromLatin1(t->letter())) : QString());
}

void CCorvaneView::componentChanged(int index) {
    const bool open = panel_->componentIndex() == index;
    const auto& list = project_.components();
    if (index < 0 || index >= static_cast<int>(list.size())) {
        if (open) {
            pane_->closeOpenGroup();
            panel_->closeComponent();
        }
        return;
    }
    const auto row = std::find(rows_.begin(), rows_.end(), index);
    if (row != rows_.end()) {
        pane_->setGroupTexts(static_cast<int>(row - rows_.begin()),
                             BuildComponentSummary(*std::next(list.begin(), index)));
    }
    if (open) panel_->refresh();
}

// The panel acts while its row is open; a closed row keeps the panel's component but must
// not take points.
bool CCorvaneView::panelOpen() const {
    const int open = pane_->openGroupIndex();
    return open >= 0 && !pane_->group(open).collapsed && panel_->componentIndex() >= 0;
}

int CCorvaneView::AddPointMessage(int, int) {
    if (panelOpen()) panel_->AddPoint();
    return 0;
}

int CCorvaneView::DeletePointMessage(int, int) {
    if (panelOpen()) panel_->DeletePoint();
    return 0;
}

bool CCorvaneView::finishEdit() {
    return panel_->finishEdit();
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
    if (traitsOf(shownType_)) {
        HeaderBand::draw(painter, width(), TableGeometry::of(shownType_), palette());
    } else {
        painter.fillRect(QRect(0, 0, width(), headerHeight()),
                         LightenColor(0.75, palette().color(QPalette::Highlight)));
    }
}
