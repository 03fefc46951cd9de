#include "display/CWndLikeMsdn.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "display/HeaderBand.h"
#include "display/LightenColor.h"
#include "display/ReadableInk.h"
#include "display/SystemMetrics.h"
#include "display/TableGeometry.h"
#include "model/DetectionType.h"

CWndLikeMsdn::CWndLikeMsdn(QWidget* parent) : QAbstractScrollArea(parent) {
    setObjectName(QStringLiteral("pane1000"));
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    viewport()->setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    QScrollBar* bar = verticalScrollBar();
    bar->setSingleStep(1);
    // The bar's page is the visible height (its thumb), but a page step moves 9/8 of a menu
    // line, as the keys and clicks beside the thumb always did here.
    connect(bar, &QAbstractSlider::actionTriggered, this, [this, bar](int action) {
        const int step = SystemMetrics::current().menuHeight * 9 / 8;
        if (action == QAbstractSlider::SliderPageStepAdd)
            bar->setSliderPosition(bar->value() + step);
        if (action == QAbstractSlider::SliderPageStepSub)
            bar->setSliderPosition(bar->value() - step);
    });
}

CWndLikeMsdn::~CWndLikeMsdn() = default;

int CWndLikeMsdn::AddGroup(const ComponentSummary& summary) {
    auto group = std::make_unique<CWndLikeMsdnGroup>();
    group->texts = summary;
    groups_.push_back(std::move(group));
    invalidateLayout();
    return static_cast<int>(groups_.size()) - 1;
}

void CWndLikeMsdn::RemoveAllGroups() {
    hoverGroup_ = nullptr;
    hoverItem_ = nullptr;
    selected_ = nullptr;
    wheel_.reset();
    if (openGroup_ && !openGroup_->collapsed) closeGroup(*openGroup_);
    openGroup_ = nullptr;
    groups_.clear();
    invalidateLayout();
}

void CWndLikeMsdn::setHostedWindow(QWidget* window) {
    hostedWindow_ = window;
}

int CWndLikeMsdn::SummaryUpdateMessage(std::vector<std::string>& texts) {
    if (texts.size() < ComponentSummary::count) return -1;
    if (openGroup_) {
        for (std::size_t i = 0; i < ComponentSummary::count; ++i) openGroup_->texts[i] = texts[i];
        openGroup_->textsChanged();
    }
    texts.clear();
    viewport()->update();
    return 0;
}

void CWndLikeMsdn::setGroupTexts(int index, const ComponentSummary& summary) {
    if (index < 0 || index >= groupCount()) return;
    CWndLikeMsdnGroup& g = *groups_[static_cast<std::size_t>(index)];
    g.texts = summary;
    g.textsChanged();
    updateRow(&g);
}

void CWndLikeMsdn::closeOpenGroup() {
    if (openGroup_ && !openGroup_->collapsed) closeGroup(*openGroup_);
}

int CWndLikeMsdn::indexOf(const CWndLikeMsdnGroup* group) const {
    for (std::size_t i = 0; i < groups_.size(); ++i) {
        if (groups_[i].get() == group) return static_cast<int>(i);
    }
    return -1;
}

int CWndLikeMsdn::openGroupIndex() const {
    return indexOf(openGroup_);
}

int CWndLikeMsdn::hoverGroupIndex() const {
    return indexOf(hoverGroup_);
}

int CWndLikeMsdn::selectedGroupIndex() const {
    return indexOf(selected_);
}

void CWndLikeMsdn::selectGroup(int index) {
    if (groups_.empty()) return;
    index = std::clamp(index, 0, groupCount() - 1);
    if (selected_) updateRow(selected_);
    selected_ = groups_[static_cast<std::size_t>(index)].get();
    ensureLayout();
    scrollToShow(tops_[index], tops_[index] + rowHeight());
    updateRow(selected_);
}

void CWndLikeMsdn::scrollToShow(int top, int bottom) {
    QScrollBar* bar = verticalScrollBar();
    const int visible = viewport()->height();
    if (bottom - top > visible) {
        bar->setValue(top);
    } else if (top < bar->value()) {
        bar->setValue(top);
    } else if (bottom > bar->value() + visible) {
        bar->setValue(bottom - visible);
    }
}

int CWndLikeMsdn::rowHeight() const {
    return TableGeometry::of(SummaryLayoutKind::ProfileGrid).rowHeight;
}

int CWndLikeMsdn::groupTop(int index) {
    ensureLayout();
    return tops_.at(static_cast<std::size_t>(index));
}

int CWndLikeMsdn::contentHeight() {
    ensureLayout();
    return tops_.back();
}

void CWndLikeMsdn::invalidateLayout() {
    layoutDirty_ = true;
    viewport()->update();
}

void CWndLikeMsdn::ensureLayout() {
    if (!layoutDirty_) return;
    layoutDirty_ = false;
    const int caption = rowHeight();
    const int width = viewport()->width();
    tops_.resize(groups_.size() + 1);
    int y = 0;
    for (std::size_t i = 0; i < groups_.size(); ++i) {
        CWndLikeMsdnGroup& g = *groups_[i];
        tops_[i] = y;
        g.captionRect = QRect(0, y, width, caption);
        g.buttonRect = QRect(QPoint(10, y + 4), QPoint(caption + 2 - 1, y + caption - 4 - 1));
        int t = y + caption;
        if (!g.collapsed) {
            for (auto& item : g.items) {
                item->rectangle = QRect(0, t, width, item->height);
                t += item->height;
            }
        }
        g.height = t - y;
        y = t;
    }
    tops_.back() = y;

    const int visible = viewport()->height();
    QScrollBar* bar = verticalScrollBar();
    bar->setPageStep(std::max(visible, 1));
    bar->setRange(0, std::max(0, y - visible));
    placeHostedWindow();
}

void CWndLikeMsdn::placeHostedWindow() {
    if (!openGroup_ || openGroup_->collapsed) return;
    const int scroll = verticalScrollBar()->value();
    for (auto& item : openGroup_->items) {
        if (!item->window) continue;
        if (item->height >= 1) {
            item->window->setGeometry(item->rectangle.translated(0, -scroll));
            item->window->show();
        } else {
            item->window->hide();
        }
    }
}

void CWndLikeMsdn::closeGroup(CWndLikeMsdnGroup& group) {
    group.collapsed = true;
    for (auto& item : group.items) {
        if (item->window) item->window->hide();
        if (hoverItem_ == item.get()) hoverItem_ = nullptr;
    }
    group.items.clear();
    invalidateLayout();
}

int CWndLikeMsdn::groupAt(int contentY) const {
    if (groups_.empty() || contentY < 0 || contentY >= tops_.back()) return -1;
    const auto it = std::upper_bound(tops_.begin(), tops_.end() - 1, contentY);
    return static_cast<int>(it - tops_.begin()) - 1;
}

void CWndLikeMsdn::hitTest(const QPoint& viewportPos) {
    ensureLayout();
    const QPoint content(viewportPos.x(), viewportPos.y() + verticalScrollBar()->value());
    CWndLikeMsdnGroup* hitGroup = nullptr;
    CWndLikeMsdnItem* hitItem = nullptr;
    const int index = groupAt(content.y());
    if (index >= 0) {
        CWndLikeMsdnGroup& g = *groups_[static_cast<std::size_t>(index)];
        if (g.captionRect.contains(content)) {
            hitGroup = &g;
        } else if (!g.collapsed) {
            for (auto& item : g.items) {
                if (item->rectangle.contains(content)) hitItem = item.get();
            }
        }
    }
    if (hitGroup != hoverGroup_) {
        setHoverGroup(hitGroup);
    } else {
        if (hoverItem_) hoverItem_->flags &= ~1;
        hoverItem_ = hitItem;
        if (hoverItem_) hoverItem_->flags |= 1;
    }
    viewport()->setCursor(!hoverItem_ && hoverGroup_ ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void CWndLikeMsdn::setHoverGroup(CWndLikeMsdnGroup* group) {
    if (hoverGroup_) {
        hoverGroup_->flags &= ~1;
        updateRow(hoverGroup_);
    }
    hoverGroup_ = group;
    if (hoverGroup_) {
        hoverGroup_->flags |= 1;
        updateRow(hoverGroup_);
    }
}

// Only the row whose highlight changed is painted again.
void CWndLikeMsdn::updateRow(const CWndLikeMsdnGroup* group) {
    viewport()->update(group->captionRect.translated(0, -verticalScrollBar()->value()));
}

void CWndLikeMsdn::mouseMoveEvent(QMouseEvent* event) {
    mouse_ = event->position().toPoint();
    hitTest(*mouse_);
}

bool CWndLikeMsdn::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::Leave) {
        mouse_.reset();
        if (hoverItem_) hoverItem_->flags &= ~1;
        hoverItem_ = nullptr;
        setHoverGroup(nullptr);
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void CWndLikeMsdn::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    hitTest(event->position().toPoint());  // a click without a move before it still counts
    if (!hoverGroup_ || (leaveCheck_ && !leaveCheck_())) return;
    if (!hoverGroup_) return;  // the check's message box took the mouse away
    toggle(*hoverGroup_);
}

bool CWndLikeMsdn::toggleGroup(int index) {
    if (index < 0 || index >= groupCount() || (leaveCheck_ && !leaveCheck_())) return false;
    toggle(*groups_[static_cast<std::size_t>(index)]);
    return true;
}

void CWndLikeMsdn::toggle(CWndLikeMsdnGroup& g) {
    const int index = indexOf(&g);
    if (openGroup_ && openGroup_ != &g && !openGroup_->collapsed) closeGroup(*openGroup_);
    if (selected_ && selected_ != &g) updateRow(selected_);
    selected_ = &g;
    if (g.collapsed) {
        auto item = std::make_unique<CWndLikeMsdnItem>();
        item->window = hostedWindow_;
        item->height = hostedWindow_ ? hostedWindow_->height() : 0;
        g.items.push_back(std::move(item));
        emit SelectComponentMessage(index);
    } else {
        for (auto& item : g.items) {
            if (item->window) item->window->hide();
            if (hoverItem_ == item.get()) hoverItem_ = nullptr;
        }
        g.items.clear();
    }
    g.collapsed = !g.collapsed;
    openGroup_ = &g;
    invalidateLayout();
    ensureLayout();
    // An opened row shows its whole panel, and the row with it when both fit.
    const int top = tops_[index], bottom = top + g.height;
    if (g.collapsed) return;
    if (bottom - top <= viewport()->height()) {
        scrollToShow(top, bottom);
    } else {
        scrollToShow(top + rowHeight(), bottom);
    }
}

void CWndLikeMsdn::keyPressEvent(QKeyEvent* event) {
    if (focusInHostedWindow()) {
        // A key the open panel left unused: Escape takes the focus back to the rows.
        if (event->key() == Qt::Key_Escape) return setFocus(Qt::OtherFocusReason);
        return event->ignore();
    }
    const int at = selectedGroupIndex();
    const int page = std::max(1, viewport()->height() / std::max(1, rowHeight()));
    switch (event->key()) {
        case Qt::Key_Up:
            return selectGroup(at < 0 ? 0 : at - 1);
        case Qt::Key_Down:
            return selectGroup(at + 1);
        case Qt::Key_Home:
            return selectGroup(0);
        case Qt::Key_End:
            return selectGroup(groupCount() - 1);
        case Qt::Key_PageUp:
            return selectGroup(at - page);
        case Qt::Key_PageDown:
            return selectGroup(at < 0 ? page - 1 : at + page);
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            if (at >= 0) toggleGroup(at);
            return;
        default:
            QAbstractScrollArea::keyPressEvent(event);
    }
}

bool CWndLikeMsdn::focusInHostedWindow() const {
    const QWidget* focus = QApplication::focusWidget();
    return hostedWindow_ && focus && hostedWindow_->isAncestorOf(focus);
}

bool CWndLikeMsdn::focusNextPrevChild(bool next) {
    // Tab goes from the rows into the open panel and back; Shift+Tab from the panel back.
    if (focusInHostedWindow()) {
        setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        return true;
    }
    if (next && hasFocus() && hostedWindow_ && hostedWindow_->isVisible()) {
        hostedWindow_->setFocus(Qt::TabFocusReason);
        return true;
    }
    return QAbstractScrollArea::focusNextPrevChild(next);
}

void CWndLikeMsdn::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    if (selected_) updateRow(selected_);
}

void CWndLikeMsdn::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    if (selected_) updateRow(selected_);
}

void CWndLikeMsdn::wheelEvent(QWheelEvent* event) {
    if (event->phase() == Qt::ScrollBegin) wheel_.reset();
    if (!event->pixelDelta().isNull()) {
        // A touchpad that reports pixels moves the list by exactly those.
        wheel_.reset();
        scrollBy(-qint64{event->pixelDelta().y()});
    } else {
        // Whole notches only, each as many rows as the desktop scrolls lists by.
        const int notches = wheel_.notches(event->angleDelta().y());
        scrollBy(-qint64{notches} * QApplication::wheelScrollLines() * rowHeight());
    }
    event->accept();
}

void CWndLikeMsdn::scrollBy(qint64 pixels) {
    QScrollBar* bar = verticalScrollBar();
    const qint64 target = std::clamp<qint64>(bar->value() + pixels, bar->minimum(), bar->maximum());
    bar->setValue(static_cast<int>(target));
}

void CWndLikeMsdn::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    invalidateLayout();
}

void CWndLikeMsdn::scrollContentsBy(int, int) {
    placeHostedWindow();
    // The mouse stood still while the rows moved under it.
    if (mouse_) hitTest(*mouse_);
    viewport()->update();
}

void CWndLikeMsdn::paintEvent(QPaintEvent*) {
    ensureLayout();
    QPainter painter(viewport());
    const QPalette& pal = palette();
    const int scroll = verticalScrollBar()->value();
    const int width = viewport()->width();
    const int height = viewport()->height();
    painter.fillRect(viewport()->rect(), LightenColor(0.75, pal.color(QPalette::Highlight)));
    painter.translate(0, -scroll);
    const TableGeometry thicknessDiameter = TableGeometry::of(SummaryLayoutKind::ThicknessDiameter);
    const TableGeometry profileGrid = TableGeometry::of(SummaryLayoutKind::ProfileGrid);
    // Only the rows in sight are drawn; finding them is a search, not a walk.
    for (int i = std::max(groupAt(scroll), 0); i < groupCount() && tops_[i] < scroll + height;
         ++i) {
        drawGroup(painter, *groups_[static_cast<std::size_t>(i)], tops_[i], width,
                  thicknessDiameter, profileGrid);
    }
}

void CWndLikeMsdn::drawGroup(QPainter& painter, CWndLikeMsdnGroup& g, int top, int width,
                             const TableGeometry& thicknessDiameter,
                             const TableGeometry& profileGrid) {
    const QPalette& pal = palette();
    const QColor background = LightenColor(0.75, pal.color(QPalette::Highlight));
    const bool hover = (g.flags & 1) != 0;
    // The highlight's own hue marks the row under the mouse, dark enough to read on the pale
    // row (the highlight-text colour is meant for the full highlight, not for this tint).
    const QColor ink = hover ? ReadableInk(pal.color(QPalette::Highlight), background)
                             : pal.color(QPalette::ButtonText);
    const QColor grey = pal.color(QPalette::Disabled, QPalette::WindowText);
    painter.fillRect(g.captionRect, background);

    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(ink, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QRectF(g.buttonRect).adjusted(0.5, 0.5, -0.5, -0.5));
    painter.setRenderHint(QPainter::Antialiasing, false);
    const int cx = (g.buttonRect.left() + g.buttonRect.right() + 1) / 2;
    const int cy = (g.buttonRect.top() + g.buttonRect.bottom() + 1) / 2;
    if (g.collapsed) {
        painter.drawLine(cx, cy, cx - 4, cy - 4);
        painter.drawLine(cx, cy, cx + 4, cy - 4);
        painter.drawLine(cx, cy + 3, cx - 4, cy - 1);
        painter.drawLine(cx, cy + 3, cx + 4, cy - 1);
    } else {
        painter.drawLine(cx, cy, cx - 4, cy + 4);
        painter.drawLine(cx, cy, cx + 4, cy + 4);
        painter.drawLine(cx, cy - 3, cx - 4, cy + 1);
        painter.drawLine(cx, cy - 3, cx + 4, cy + 1);
    }

    const DetectionType type =
        detectionTypeOf(g.texts.codeCell.empty() ? '\0' : g.texts.codeCell.front());
    HeaderBand::drawRow(painter, g.captionRect, g.shownTexts().data(),
                        summaryLayoutOf(type) == SummaryLayoutKind::ThicknessDiameter
                            ? thicknessDiameter
                            : profileGrid,
                        ink, background, grey);
    if (!g.collapsed) {
        const int bottom = top + g.height;
        painter.setPen(QPen(grey, 1));
        painter.drawLine(0, bottom - 1, width - 1, bottom - 1);
    }
    if (&g == selected_ && hasFocus()) {
        // The keys' row; the hover look stays the mouse's.
        QPen dotted(pal.color(QPalette::ButtonText), 1);
        dotted.setDashPattern({1, 1});
        painter.setPen(dotted);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(g.captionRect.adjusted(1, 1, -2, -2));
    }
}
