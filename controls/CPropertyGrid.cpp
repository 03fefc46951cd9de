#include "controls/CPropertyGrid.h"

#include <QGuiApplication>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTimer>
#include <QToolTip>
#include <algorithm>
#include <cstdlib>

#include "controls/CPropertyGridInPlaceEdit.h"
#include "controls/EntryWarning.h"
#include "controls/GridPainter.h"
#include "controls/ICustomItem.h"
#include "model/IntegerEntry.h"
#include "controls/IntegerFormat.h"

using namespace GridGeometry;

CPropertyGrid::CPropertyGrid(QWidget* parent, int screenWidth)
    : QWidget(parent), look_(palette(), 1440, parent != nullptr) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);  // every pixel is painted
    setScreenWidth(screenWidth);
}

CPropertyGrid::~CPropertyGrid() {
    dropEditor();
}

void CPropertyGrid::setScreenWidth(int screenWidth) {
    if (screenWidth <= 0) {
        const QScreen* screen = QGuiApplication::primaryScreen();
        screenWidth = screen ? screen->geometry().width() : 1440;
    }
    look_ = GridPainter(palette(), screenWidth, parentWidget() != nullptr);
    rowHeight_ = look_.rowHeight();
    if (scrollBar_) scrollBar_->setSingleStep(rowHeight_);
    recalcLayout();
}

int CPropertyGrid::AddSection(const QString& title, bool collapsed, int insertBefore) {
    auto section = std::make_unique<Section>();
    section->id = nextSectionId_++;
    section->title = title;
    section->collapsed = collapsed;
    auto at = std::find_if(sections_.begin(), sections_.end(),
                           [insertBefore](const auto& s) { return s->id == insertBefore; });
    const int id = section->id;
    sections_.insert(at, std::move(section));
    recalcLayout();
    return id;
}

CPropertyGrid::Item* CPropertyGrid::addItem(int sectionId, const QString& name, Kind kind,
                                            bool editable) {
    Section* section = findSection(sectionId);
    if (!section || section->names.contains(name)) return nullptr;
    auto item = std::make_unique<Item>();
    item->id = static_cast<int>(itemsById_.size());
    item->kind = kind;
    item->editable = editable;
    item->name = name;
    item->section = section;
    item->index = static_cast<int>(section->items.size());
    itemsById_.push_back(item.get());
    section->names.insert(name);
    section->items.push_back(std::move(item));
    return section->items.back().get();
}

int CPropertyGrid::AddStringItem(int section, const QString& name, const QString& text,
                                 bool editable, TextCheck check) {
    Item* item = addItem(section, name, Kind::Text, editable);
    if (!item) return -1;
    item->text = text;
    item->check = std::move(check);
    recalcLayout();
    return item->id;
}

int CPropertyGrid::AddIntegerItem(int section, const QString& name, std::int32_t value,
                                  const QString& format, bool editable, IntegerRange range) {
    Item* item = addItem(section, name, Kind::Integer, editable);
    if (!item) return -1;
    item->integer = value;
    item->format = format;
    item->range = range;
    recalcLayout();
    return item->id;
}

int CPropertyGrid::AddCustomItem(int section, const QString& name, ICustomItem* custom,
                                 bool editable) {
    if (!custom) return -1;
    Item* item = addItem(section, name, Kind::Custom, editable);
    if (!item) return -1;
    item->custom = custom;
    custom->grid_ = this;
    custom->commit();
    recalcLayout();
    return item->id;
}

void CPropertyGrid::ResetContents() {
    // The open edit belongs to an item that is about to go; its text must not reach another
    // item that gets the same id.
    dropEditor();
    sections_.clear();
    itemsById_.clear();
    nextSectionId_ = 0;
    recalcLayout();
}

void CPropertyGrid::ClearSelection() {
    select(std::nullopt);
    update();
}

bool CPropertyGrid::GetItemName(int id, QString& name) const {
    const Item* item = findItem(id);
    if (!item) return false;
    name = item->name;
    return true;
}

bool CPropertyGrid::GetItemText(int id, QString& text) const {
    const Item* item = findItem(id);
    if (!item || item->kind != Kind::Text) return false;
    text = item->text;
    return true;
}

bool CPropertyGrid::GetItemInteger(int id, std::int32_t& value) const {
    const Item* item = findItem(id);
    if (!item || item->kind != Kind::Integer) return false;
    value = item->integer;
    return true;
}

bool CPropertyGrid::setItemData(int id, const QVariant& value) {
    Item* item = findItem(id);
    if (!item) return false;
    item->data = value;
    return true;
}

bool CPropertyGrid::setItemMark(int id, const QString& tip) {
    Item* item = findItem(id);
    if (!item) return false;
    if (item->mark != tip) {
        item->mark = tip;
        update();
    }
    return true;
}

QString CPropertyGrid::itemMark(int id) const {
    const Item* item = findItem(id);
    return item ? item->mark : QString();
}

QVariant CPropertyGrid::itemData(int id) const {
    const Item* item = findItem(id);
    return item ? item->data : QVariant();
}

CPropertyGrid::Item* CPropertyGrid::findItem(int id) const {
    if (id < 0 || id >= static_cast<int>(itemsById_.size())) return nullptr;
    return itemsById_[id];
}

CPropertyGrid::Section* CPropertyGrid::findSection(int id) const {
    for (const auto& s : sections_) {
        if (s->id == id) return s.get();
    }
    return nullptr;
}

int CPropertyGrid::sectionIndex(const Section* section) const {
    const auto at = std::find_if(sections_.begin(), sections_.end(),
                                 [section](const auto& s) { return s.get() == section; });
    return static_cast<int>(at - sections_.begin());
}

std::vector<SectionShape> CPropertyGrid::shapes() const {
    std::vector<SectionShape> out;
    out.reserve(sections_.size());
    for (const auto& s : sections_) {
        out.push_back({s->collapsed, static_cast<int>(s->items.size())});
    }
    return out;
}

int CPropertyGrid::sectionTop(int sectionId) const {
    const Section* section = findSection(sectionId);
    if (!section) return -1;
    return rowTop(shapes(), rowHeight_, {sectionIndex(section), -1});
}

int CPropertyGrid::itemTop(int itemId) const {
    const Item* item = findItem(itemId);
    if (!item || item->section->collapsed) return -1;
    return rowTop(shapes(), rowHeight_, {sectionIndex(item->section), item->index});
}

int CPropertyGrid::scrollPosition() const {
    return scrollBarShown() ? scrollBar_->value() : 0;
}

bool CPropertyGrid::scrollBarShown() const {
    return scrollBar_ && !scrollBar_->isHidden();
}

int CPropertyGrid::paintWidth() const {
    return width() - (scrollBarShown() ? scrollBar_->width() : 0);
}

std::optional<Row> CPropertyGrid::selectedRow() const {
    if (const Section* s = findSection(selectedSection_)) return Row{sectionIndex(s), -1};
    if (const Item* item = findItem(selectedItem_)) {
        return Row{sectionIndex(item->section), item->index};
    }
    return std::nullopt;
}

void CPropertyGrid::select(std::optional<Row> row) {
    selectedSection_ = selectedItem_ = -1;
    if (!row) return;
    const Section& section = *sections_[row->section];
    if (row->item < 0) {
        selectedSection_ = section.id;
    } else {
        selectedItem_ = section.items[row->item]->id;
    }
}

Button CPropertyGrid::buttonOf(const Item& item) const {
    if (!item.editable) return Button::None;
    if (item.kind != Kind::Custom) return Button::Value;
    return item.custom->editMode() == ICustomItem::OwnDialog ? Button::Push : Button::None;
}

QRect CPropertyGrid::selectedButtonRect() const {
    const Item* item = findItem(selectedItem_);
    if (!item) return {};
    const int top = itemTop(item->id);
    if (top < 0) return {};
    return itemRects(top - scrollPosition(), rowHeight_, divider_, paintWidth(), buttonOf(*item))
        .button;
}

void CPropertyGrid::recalcLayout() {
    const int total = contentHeight(shapes(), rowHeight_);
    laying_ = true;
    if (total <= height()) {
        if (scrollBar_) {
            scrollBar_->setRange(0, 0);  // nothing stays scrolled out of sight
            scrollBar_->hide();
        }
    } else {
        if (!scrollBar_) {
            scrollBar_ = new QScrollBar(Qt::Vertical, this);
            scrollBar_->setObjectName(QStringLiteral("scrollBar1000"));
            scrollBar_->setSingleStep(rowHeight_);
            connect(scrollBar_, &QScrollBar::valueChanged, this, [this](int position) {
                if (!laying_) keptPosition_ = position;
                // An open editor stays over its row.
                if (editor_) {
                    editor_->move(editor_->x(), itemTop(editedItem_) - position + 2);
                }
                update();
            });
        }
        const int barWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
        scrollBar_->setGeometry(width() - barWidth, 0, barWidth, height());
        scrollBar_->setPageStep(height());
        scrollBar_->setRange(0, total - height());
        scrollBar_->setValue(std::min(keptPosition_, total - height()));
        scrollBar_->show();
    }
    laying_ = false;
    update();
}

void CPropertyGrid::setScrollPosition(int position) {
    keptPosition_ = std::max(0, position);
    recalcLayout();
}

void CPropertyGrid::scrollToRow(const Row& row) {
    const int position = scrollPosition();
    const int top = rowTop(shapes(), rowHeight_, row) - position;
    if ((top < 0 || top + rowHeight_ > height()) && scrollBarShown()) {
        scrollBar_->setValue(top + position);
    }
}

void CPropertyGrid::ScrollSelectionIntoView() {
    const Item* item = findItem(selectedItem_);
    if ((item && item->section->collapsed) || !scrollBarShown()) return;
    const std::optional<Row> row = selectedRow();
    if (!row) return;
    // As little as it takes: the rows around it stay where the user saw them.
    const int top = rowTop(shapes(), rowHeight_, *row);
    if (top < scrollPosition()) {
        scrollBar_->setValue(top);
    } else if (top + rowHeight_ > scrollPosition() + height()) {
        scrollBar_->setValue(top + rowHeight_ - height());
    }
}

void CPropertyGrid::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (divider_ < 0 && width() > 0) divider_ = width() / 2;
    recalcLayout();
}

void CPropertyGrid::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect clip = event->rect();
    const QRegion& region = event->region();
    painter.fillRect(clip, look_.background());
    const int w = paintWidth();
    const int h = rowHeight_;
    // Rows are drawn down to the line below them.
    auto shown = [&](int y) {
        return y <= clip.bottom() && y + h >= clip.top() &&
               region.intersects(QRect(0, y, w, h + 1));
    };
    int y = -scrollPosition();
    for (const auto& section : sections_) {
        if (shown(y)) {
            look_.paintSection(painter, section->title, section->collapsed,
                               section->id == selectedSection_, y, w, divider_);
        }
        y += h;
        if (section->collapsed) continue;
        for (const auto& item : section->items) {
            if (shown(y)) paintItem(painter, *item, y, w);
            y += h;
        }
    }
}

void CPropertyGrid::paintItem(QPainter& painter, const Item& item, int y, int w) const {
    const bool selected = item.id == selectedItem_;
    const Button button = selected ? buttonOf(item) : Button::None;
    const QString text = item.kind == Kind::Text      ? item.text
                         : item.kind == Kind::Integer ? formatInteger(item.format, item.integer)
                                                      : QString();
    look_.paintItem(painter, item.name, {text, item.custom, item.editable, !item.mark.isEmpty()},
                    selected, button, y, w, divider_);
    if (button != Button::Push) return;
    QStyleOptionButton option;
    option.initFrom(this);
    option.rect = itemRects(y, rowHeight_, divider_, w, button).button;
    option.state |= buttonDown_ ? QStyle::State_Sunken : QStyle::State_Raised;
    style()->drawControl(QStyle::CE_PushButtonBevel, &option, &painter, this);
    QFont bold = look_.font();
    bold.setWeight(QFont::Bold);
    painter.setFont(bold);
    painter.setPen(palette().color(QPalette::ButtonText));
    painter.drawText(option.rect, Qt::AlignCenter | Qt::TextSingleLine, QStringLiteral("..."));
}

bool CPropertyGrid::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip) return QWidget::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const Hit hit = hitTest(shapes(), rowHeight_, divider_, paintWidth(),
                            help->pos() + QPoint(0, scrollPosition()), look_.edge());
    const bool onItem = hit.zone == Zone::ItemName || hit.zone == Zone::ItemValue;
    const QString tip = onItem ? sections_[hit.row.section]->items[hit.row.item]->mark : QString();
    if (tip.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
    } else {
        QToolTip::showText(help->globalPos(), tip, this);
    }
    return true;
}

void CPropertyGrid::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    setFocus(Qt::MouseFocusReason);
    if (!EndEdit()) return;  // a refused value keeps its editor; the click does nothing
    const QPoint pos = event->position().toPoint();
    if (selectedButtonRect().contains(pos)) {
        buttonTracking_ = buttonDown_ = true;
    } else if (nearDivider(pos.x(), divider_)) {
        draggingDivider_ = true;
        setCursor(Qt::SizeHorCursor);
    } else {
        selectedSection_ = selectedItem_ = -1;
        const Hit hit = hitTest(shapes(), rowHeight_, divider_, paintWidth(),
                                pos + QPoint(0, scrollPosition()), look_.edge());
        switch (hit.zone) {
            case Zone::Expander: {
                Section& section = *sections_[hit.row.section];
                section.collapsed = !section.collapsed;
                selectedSection_ = section.id;
                recalcLayout();
                break;
            }
            case Zone::Caption:
                selectedSection_ = sections_[hit.row.section]->id;
                break;
            case Zone::ItemName:
            case Zone::ItemValue: {
                const Item& item = *sections_[hit.row.section]->items[hit.row.item];
                selectedItem_ = item.id;
                valueClicked_ = hit.zone == Zone::ItemValue && item.kind != Kind::Custom;
                break;
            }
            case Zone::None:
                break;
        }
    }
    update();
}

void CPropertyGrid::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (buttonTracking_) {
        const bool inside = selectedButtonRect().contains(pos);
        if (inside != buttonDown_) {
            buttonDown_ = inside;
            update();
        }
    } else if (draggingDivider_) {
        divider_ = clampDivider(pos.x(), width());
        update();
    } else if (!editor_) {
        setCursor(nearDivider(pos.x(), divider_) ? Qt::SizeHorCursor : Qt::ArrowCursor);
    }
}

void CPropertyGrid::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPoint pos = event->position().toPoint();
    if (buttonTracking_ || valueClicked_) {
        buttonTracking_ = buttonDown_ = valueClicked_ = false;
        update();
        // A value click has made its item the selected one, whose value is now its button.
        if (selectedButtonRect().contains(pos)) editSelected();
    } else if (draggingDivider_) {
        draggingDivider_ = false;
        setCursor(Qt::ArrowCursor);
    }
}

void CPropertyGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    // The press of a double click is not a second press: the first one selected the row.
    if (event->button() != Qt::LeftButton) return;
    if (Item* item = findItem(selectedItem_)) {
        if (item->kind == Kind::Custom) editInOwnDialog(*item);
    } else if (Section* section = findSection(selectedSection_)) {
        section->collapsed = !section->collapsed;
        recalcLayout();
    }
}

void CPropertyGrid::wheelEvent(QWheelEvent* event) {
    if (!scrollBarShown()) {
        wheel_.reset();
        event->ignore();  // nothing to scroll here: the window around may
        return;
    }
    if (!event->pixelDelta().isNull()) {
        setFocus(Qt::MouseFocusReason);
        scrollBy(-event->pixelDelta().y());
    } else {
        const int notches = wheel_.notches(event->angleDelta().y());
        for (int step = 0; step < std::abs(notches) * 3; ++step) {
            setFocus(Qt::MouseFocusReason);
            scrollBy(notches > 0 ? -rowHeight_ : rowHeight_);
        }
    }
    event->accept();
}

void CPropertyGrid::scrollBy(int pixels) {
    if (scrollBarShown()) scrollBar_->setValue(scrollBar_->value() + pixels);
}

void CPropertyGrid::keyPressEvent(QKeyEvent* event) {
    const QString text = event->text();
    Section* selected = findSection(selectedSection_);
    if (text == QLatin1String("*") || text == QLatin1String("/")) {
        for (auto& section : sections_) section->collapsed = text == QLatin1String("/");
        recalcLayout();
        return;
    }
    if (text == QLatin1String("+") || text == QLatin1String("-")) {
        if (selected) selected->collapsed = text == QLatin1String("-");
        recalcLayout();
        return;
    }
    switch (event->key()) {
        case Qt::Key_Left:
            if (selected && !selected->collapsed) {
                selected->collapsed = true;
                recalcLayout();
            } else {
                moveSelection(-1);
            }
            return;
        case Qt::Key_Right:
            if (selected && selected->collapsed) {
                selected->collapsed = false;
                recalcLayout();
            } else {
                moveSelection(1);
            }
            return;
        case Qt::Key_Up:
            moveSelection(-1);
            return;
        case Qt::Key_Down:
            moveSelection(1);
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_F2:
            // As a click on the value or its "..." button does.
            if (findItem(selectedItem_)) return editSelected();
            break;
        default:
            break;
    }
    QWidget::keyPressEvent(event);  // unused keys go on to the owner (Escape, Enter on a caption)
}

void CPropertyGrid::moveSelection(int step) {
    const std::vector<SectionShape> sh = shapes();
    const std::optional<Row> next = stepRow(sh, selectedRow(), step);
    if (!next) return;
    const std::optional<Row> previous = selectedRow();
    select(next);
    const int position = scrollPosition();
    scrollToRow(*next);
    if (scrollPosition() != position) return;  // scrolling repaints everything
    // Only the two rows change; a long grid is walked row by row.
    for (const std::optional<Row>& row : {previous, next}) {
        if (row) update(0, rowTop(sh, rowHeight_, *row) - position, width(), rowHeight_);
    }
}

void CPropertyGrid::editSelected() {
    Item* item = findItem(selectedItem_);
    if (!item || !item->editable) return;
    if (item->kind == Kind::Custom) {
        editInOwnDialog(*item);
    } else {
        openEditor(*item);
    }
}

void CPropertyGrid::editInOwnDialog(Item& item) {
    if (!item.editable || item.custom->editMode() != ICustomItem::OwnDialog) return;
    const int id = item.id;  // the owner may refill the grid while the dialog is open
    if (item.custom->editInOwnDialog()) emit ItemChangedNotification(id);
    update();
}

void CPropertyGrid::openEditor(Item& item) {
    if (!EndEdit()) return;
    const int top = itemTop(item.id) - scrollPosition();
    const QString initial = item.kind == Kind::Text ? item.text : QString::number(item.integer);
    editedItem_ = item.id;
    editor_ = new CPropertyGridInPlaceEdit(
        this, fromEdges(divider_ + 1, top + 2, paintWidth(), top + rowHeight_), initial,
        look_.font(), look_.background(), look_.nameColor());
    connect(editor_, &CPropertyGridInPlaceEdit::EditDoneMessage, this, &CPropertyGrid::onEditDone);
}

bool CPropertyGrid::EndEdit() {
    return !editor_ || storeEdit(editor_->text(), false);
}

void CPropertyGrid::dropEditor() {
    if (!editor_) return;
    CPropertyGridInPlaceEdit* editor = editor_;
    editor_ = nullptr;
    disconnect(editor, nullptr, this, nullptr);
    if (editor->hasFocus()) setFocus(Qt::OtherFocusReason);
    editor->hide();
    // It may be inside its own focus-out handler.
    editor->deleteLater();
}

void CPropertyGrid::onEditDone(const QString& text) {
    if (editor_) storeEdit(text, editor_->endedByDeactivation());
}

QString CPropertyGrid::refusalOf(const Item& item, const QString& text) const {
    switch (item.kind) {
        case Kind::Text:
            return item.check ? item.check(text) : QString();
        case Kind::Integer: {
            if (text.isEmpty()) return {};  // emptied: the value stays
            const Result<std::int32_t> parsed = parseLeadingInteger(text.toStdString(), item.range);
            return parsed ? QString() : QString::fromStdString(parsed.message());
        }
        case Kind::Custom:
            break;
    }
    return {};
}

bool CPropertyGrid::storeEdit(const QString& text, bool quiet) {
    Item* item = findItem(editedItem_);
    const QString refusal = item ? refusalOf(*item, text) : QString();
    if (!refusal.isEmpty()) {
        if (!quiet && !refusalTold_) {
            refusalTold_ = true;
            showEntryWarning(this, refusal);
            if (editor_) editor_->setFocus(Qt::OtherFocusReason);
            // The click or key that ended the edit may ask again before it is done.
            QTimer::singleShot(0, this, [this] { refusalTold_ = false; });
        }
        return false;
    }
    dropEditor();
    if (item && item->kind == Kind::Text) {
        item->text = text;
        emit ItemChangedNotification(item->id);
    } else if (item && item->kind == Kind::Integer && !text.isEmpty()) {
        item->integer = parseLeadingInteger(text.toStdString(), item->range).value();
        emit ItemChangedNotification(item->id);
    }
    update();
    return true;
}
