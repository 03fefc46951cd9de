#include "display/CDlgComponent.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QPainter>
#include <QStatusTipEvent>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>

#include "controls/CPropertyGrid.h"
#include "controls/GridPainter.h"
#include "display/CRectItem.h"
#include "display/ChartPainter.h"
#include "display/LightenColor.h"
#include "display/PanelGridRows.h"
#include "display/PanelLayout.h"
#include "display/PanelPicture.h"
#include "display/PngFile.h"
#include "display/SystemMetrics.h"
#include "document/OriginText.h"
#include "document/ValueOrigins.h"
#include "model/IntegerEntry.h"
#include "model/PanelRows.h"
#include "model/StoredText.h"
#include "session/GbkQt.h"
#include "session/Prompter.h"

namespace {

// What a grid item stands for, kept as the item's data: the name, a field or a point with its
// own list and place.
struct ItemRole {
    enum class Kind { None, Name, Field, Point } kind = Kind::None;
    ComponentField field = ComponentField::DesignDiameter;
    PointRef point = {};
    CRectItem* custom = nullptr;  // point items of the types with a second value
};

}  // namespace

Q_DECLARE_METATYPE(ItemRole)

namespace {

ItemRole roleOf(const CPropertyGrid& grid, int itemId) {
    return grid.itemData(itemId).value<ItemRole>();
}

}  // namespace

CDlgComponent::CDlgComponent(ComponentEditor& editor, Prompter* prompter, QWidget* parent)
    : QWidget(parent), editor_(editor), prompter_(prompter), grid_(new CPropertyGrid(this)) {
    setObjectName(QStringLiteral("panel131"));
    setAttribute(Qt::WA_OpaquePaintEvent);  // the paint covers the whole client area
    grid_->setObjectName(QStringLiteral("grid1008"));
    setFocusProxy(grid_);  // Tab from the rows lands in the grid
    connect(grid_, &CPropertyGrid::ItemChangedNotification, this, &CDlgComponent::onItemChanged);
    // The grid's font, and with it the chart and the panel's height, follow the screen the
    // table's columns follow.
    grid_->setScreenWidth(SystemMetrics::current().screenWidth);
    resize(870, PanelLayout::heightFor(grid_->rowHeight(),
                                       GridPainter(palette(), 1440, true).rowHeight()));
}

CDlgComponent::~CDlgComponent() {
    // The grid goes with the children, after the point items it shows: empty it first.
    grid_->ResetContents();
}

const Component* CDlgComponent::component() const {
    return index_ < 0 ? nullptr : editor_.component(index_);
}

bool CDlgComponent::SelectComponentMessage(int index) {
    if (!editor_.component(index)) return false;
    index_ = index;
    // A selection left from another component would make 删除测点 delete a point the user
    // never chose here; its scroll position means nothing here either.
    grid_->ClearSelection();
    grid_->setScrollPosition(0);
    fillGrid();
    placeGrid();
    update();
    return true;
}

void CDlgComponent::closeComponent() {
    index_ = -1;
    grid_->ClearSelection();
    fillGrid();
    update();
}

void CDlgComponent::refresh() {
    if (!component()) return closeComponent();
    refill();
    update();
}

bool CDlgComponent::finishEdit() {
    return grid_->EndEdit();
}

// The same component shown anew: the user keeps the place in the grid and the selected row.
void CDlgComponent::refill() {
    fillGrid();
    grid_->ScrollSelectionIntoView();
}

void CDlgComponent::tellStatus(const QString& text) {
    // The main window shows it in its status bar, as it shows a command's prompt.
    QStatusTipEvent tip(text);
    QCoreApplication::sendEvent(this, &tip);
}

void CDlgComponent::setDisplayScale(float f) {
    scale_ = f;
    grid_->setScreenWidth(f > 0 ? static_cast<int>(1440.0f * f)
                                : SystemMetrics::current().screenWidth);
    update();
}

int CDlgComponent::stripWidth() const {
    return stripWidthAt(scale_ > 0 ? scale_ : DisplayScale());
}

int CDlgComponent::stripWidthAt(float scale) {
    return PanelPicture::stripWidthAt(scale);
}

ChartArea CDlgComponent::chartArea() const {
    return ChartArea{width(), height(), stripWidth(), grid_->factor()};
}

std::optional<PointRef> CDlgComponent::pointOfItem(int itemId) const {
    const ItemRole role = roleOf(*grid_, itemId);
    if (role.kind != ItemRole::Kind::Point) return std::nullopt;
    return role.point;
}

// ---- the grid ---------------------------------------------------------------------------

void CDlgComponent::fillGrid() {
    grid_->ResetContents();
    pointItems_.clear();  // after the reset: the grid no longer shows them
    mainSection_ = verticalSection_ = -1;
    const Component* c = component();
    if (!c) return;
    int section = -1;
    for (const PanelGridRow& row : PanelGridRow::of(*c)) {
        ItemRole role;
        int id = -1;
        switch (row.kind) {
            case PanelGridRow::Kind::Section:
                // A results section is shown also while its list is empty: selecting it is how
                // its first point is added.
                section = grid_->AddSection(row.label);
                if (row.results) (row.point.vertical ? verticalSection_ : mainSection_) = section;
                continue;
            case PanelGridRow::Kind::Name: {
                const QString label = row.label;
                const auto storable = [label](const QString& text) {
                    const Status s =
                        storedText::checkStorable(label.toStdString(), text.toStdString());
                    return QString::fromStdString(s.message());
                };
                id = grid_->AddStringItem(section, row.label, row.text, true, storable);
                role.kind = ItemRole::Kind::Name;
                break;
            }
            case PanelGridRow::Kind::Field:
                id = grid_->AddIntegerItem(section, row.label, row.number, panelNumberFormat, true,
                                           componentFieldRange);
                role = {ItemRole::Kind::Field, row.field};
                break;
            case PanelGridRow::Kind::Point:
                role = {ItemRole::Kind::Point, {}, row.point, nullptr};
                if (row.pointItem) {
                    const MeasurePoint& p = row.values;
                    pointItems_.push_back(std::make_unique<CRectItem>(c->type(), p.diameter,
                                                                      p.thickness, p.position));
                    role.custom = pointItems_.back().get();
                    id = grid_->AddCustomItem(section, row.label, role.custom);
                } else {
                    id = grid_->AddIntegerItem(section, row.label, row.number, panelNumberFormat,
                                               true, componentFieldRange);
                }
                break;
        }
        grid_->setItemData(id, QVariant::fromValue(role));
        grid_->setItemMark(id, originTip(*c, row));
    }
}

QString CDlgComponent::originTip(const Component& c, const PanelGridRow& row) const {
    const ValueOrigins* origins = editor_.valueOrigins();
    const ValueOrigins::Component* records = origins ? origins->of(&c) : nullptr;
    if (!records) return {};
    const bool instrument = origins->fromInstrument(&c);
    const auto field = [&](const QString& name) {
        const auto it = records->fields.find(name);
        return it == records->fields.end() ? QString()
                                           : OriginText::ofValue(it->second, instrument);
    };
    switch (row.kind) {
        case PanelGridRow::Kind::Name:
            return field(QStringLiteral("name"));
        case PanelGridRow::Kind::Field:
            return field(QLatin1String(componentFields[static_cast<std::size_t>(row.field)].name));
        case PanelGridRow::Kind::Point: {
            const auto& points = row.point.vertical ? records->pointsVert : records->points;
            const auto at = static_cast<std::size_t>(row.point.index);
            if (at >= points.size() || !points[at]) return {};
            return OriginText::ofPoint(*points[at], instrument, row.pointItem);
        }
        case PanelGridRow::Kind::Section:
            break;
    }
    return {};
}

void CDlgComponent::placeGrid() {
    grid_->setGeometry(PanelLayout::of(width(), height(), stripWidth()).grid);
}

void CDlgComponent::onItemChanged(int itemId) {
    const Component* c = component();
    if (!c) return;
    // A stored change reaches the grid, the chart and the row through the step's notice, as
    // its undo does.
    const ItemRole role = roleOf(*grid_, itemId);
    switch (role.kind) {
        case ItemRole::Kind::None:
            return;
        case ItemRole::Kind::Name: {
            QString text;
            QString label;
            grid_->GetItemText(itemId, text);
            grid_->GetItemName(itemId, label);
            const bool stored = editor_.setName(index_, toGbk(text));
            // The field holds 49 bytes of GBK: the grid shows what was kept, and says so.
            if (storedText::isCut(text.toStdString(), c->name.capacity)) {
                tellStatus(QString::fromStdString(
                    storedText::cutNotice(label.toStdString(), c->name.capacity)));
            }
            // Cut to the name it had, nothing is stored: the grid shows what was kept.
            if (!stored && fromGbk(component()->name.view()) != text) refill();
            break;
        }
        case ItemRole::Kind::Field: {
            std::int32_t value = 0;
            if (grid_->GetItemInteger(itemId, value)) {
                editor_.setField(index_, role.field, static_cast<std::int16_t>(value));
            }
            break;
        }
        case ItemRole::Kind::Point: {
            const auto& list = role.point.vertical ? c->pointsVert : c->points;
            if (role.point.index >= static_cast<int>(list.size())) return;
            MeasurePoint value = list[static_cast<std::size_t>(role.point.index)];
            if (role.custom) {
                value.diameter = static_cast<std::int16_t>(role.custom->diameter());
                value.thickness = static_cast<std::int16_t>(role.custom->thickness());
                value.position = role.custom->position();
            } else {
                std::int32_t thickness = 0;
                if (!grid_->GetItemInteger(itemId, thickness)) return;
                value.thickness = static_cast<std::int16_t>(thickness);
            }
            editor_.setPoint(index_, role.point, value);
            break;
        }
    }
}

void CDlgComponent::AddPoint() {
    const Component* c = component();
    const DetectionTypeTraits* traits = c ? c->traits() : nullptr;
    if (!traits) return;
    bool vertical = false;
    if (traits->verticalList) {
        // The results section the user clicked last decides the list; anything else adds none.
        const int section = grid_->GetSelectedSection();
        if (section < 0 || (section != mainSection_ && section != verticalSection_)) {
            return tellStatus(QStringLiteral("请先单击“测点结果”或“垂直测点结果”，再增加测点。"));
        }
        vertical = section == verticalSection_;
    }
    if ((vertical ? c->pointsVert : c->points).size() >= static_cast<std::size_t>(INT16_MAX)) {
        return tellStatus(QStringLiteral("测点数已达上限 %1。").arg(INT16_MAX));
    }
    editor_.addPoint(index_, vertical);  // shown through the step's notice
}

void CDlgComponent::DeletePoint() {
    if (!component()) return;
    const std::optional<PointRef> point = pointOfItem(grid_->GetSelectedItem());
    if (point) editor_.removePoint(index_, *point);  // shown through the step's notice
}

// ---- painting and the chart --------------------------------------------------------------

void CDlgComponent::resizeEvent(QResizeEvent*) {
    placeGrid();
    update();
}

void CDlgComponent::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PanelPicture::paintPanel(painter, size(), stripWidth(), grid_->factor(), component(),
                             palette());
}

void CDlgComponent::paintChart(QPainter& painter) const {
    if (const Component* c = component())
        PanelPicture::paintChart(painter, chartArea(), *c, palette());
}

QRect CDlgComponent::chartRect() const {
    return PanelLayout::of(width(), height(), stripWidth(), grid_->factor()).chart;
}

QImage CDlgComponent::chartImage() const {
    const QRect r = chartRect();
    QImage image(r.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.translate(-r.topLeft());
    paintChart(painter);
    return image;
}

void CDlgComponent::copyChart() {
    if (component()) QGuiApplication::clipboard()->setImage(chartImage());
}

bool CDlgComponent::saveChart() {
    const Component* c = component();
    if (!c || !prompter_) return false;
    const Prompter::FileDialog dialog{fromGbk(c->code.view()), QStringLiteral("png"),
                                      QStringLiteral("PNG 图片(*.png)|*.png|"), true, true};
    const std::optional<QString> path = prompter_->saveFile(dialog);
    if (!path) return false;
    const Status saved = PngFile::save(chartImage(), std::filesystem::path(path->toStdU16String()));
    if (saved) return true;
    prompter_->message(QStringLiteral("提示信息"), QString::fromStdString(saved.message()),
                       Prompter::Icon::Error);
    return false;
}

std::unique_ptr<QMenu> CDlgComponent::chartMenu(const QPoint& pos) {
    if (!component() || !chartRect().contains(pos)) return nullptr;
    auto menu = std::make_unique<QMenu>(this);
    connect(menu->addAction(QStringLiteral("复制图表")), &QAction::triggered, this,
            &CDlgComponent::copyChart);
    if (prompter_) {
        connect(menu->addAction(QStringLiteral("保存图表…")), &QAction::triggered, this,
                [this] { saveChart(); });
    }
    return menu;
}

void CDlgComponent::contextMenuEvent(QContextMenuEvent* event) {
    if (std::unique_ptr<QMenu> menu = chartMenu(event->pos())) menu->exec(event->globalPos());
}
