#include "dialogs/ComponentTableModel.h"

#include <QTreeView>

#include "dialogs/ComponentRowTexts.h"
#include "session/GbkQt.h"

namespace {

struct ColumnSpec {
    const char* title;
    int width;
};

const std::vector<ColumnSpec>& specs(ComponentTableModel::Columns columns) {
    using C = ComponentTableModel::Columns;
    static const std::vector<ColumnSpec> settings{{"序号", 50},      {"构件编号", 80},
                                                  {"构件名称", 100}, {"检测类型", 80},
                                                  {"日期", 80},      {"测点数", 80}};
    static const std::vector<ColumnSpec> selection{
        {"序号", 80}, {"构件编号", 80}, {"构件名称", 100}, {"检测类型", 80},
        {"日期", 80}, {"钢筋直径", 80}, {"测点数", 80}};
    static const std::vector<ColumnSpec> points{
        {"序号", 80}, {"钢筋直径", 100}, {"保护层厚度", 100}, {"配筋间距", 100}};
    switch (columns) {
        case C::Settings:
            return settings;
        case C::Selection:
        case C::UploadSelection:
            return selection;
        case C::Points:
            break;
    }
    return points;
}

QString mm(int value) {
    return QStringLiteral("%1 mm").arg(value);
}

QString designDiameterText(const Component& c) {
    const DetectionTypeTraits* type = c.traits();
    // A diameter component's design diameter is what it measures, not a setting shown here.
    if (!type || type->diameters) return {};
    if (type->verticalList) {
        return QStringLiteral("%1 mm, %2 mm").arg(c.designDiameter).arg(c.designDiameterVert);
    }
    return mm(c.designDiameter);
}

}  // namespace

ComponentTableModel::ComponentTableModel(const ComponentList& components, Columns columns,
                                         QObject* parent)
    : QAbstractTableModel(parent), components_(components), columns_(columns) {
    rows_.reserve(components_.size());
    for (const Component& c : components_) rows_.push_back(&c);
}

const Component* ComponentTableModel::componentAt(int row) const {
    return row >= 0 && row < static_cast<int>(rows_.size()) ? rows_[static_cast<std::size_t>(row)]
                                                            : nullptr;
}

void ComponentTableModel::setCheckable(bool checkable) {
    beginResetModel();
    checkable_ = checkable;
    ticked_.assign(checkable ? static_cast<std::size_t>(rowCount()) : 0, false);
    tickedCount_ = 0;
    endResetModel();
}

bool ComponentTableModel::isChecked(int row) const {
    return checkable_ && row >= 0 && row < static_cast<int>(ticked_.size()) &&
           ticked_[static_cast<std::size_t>(row)];
}

void ComponentTableModel::setChecked(int row, bool checked) {
    setData(index(row, 0), checked ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole);
}

void ComponentTableModel::showPointsOf(int componentIndex) {
    beginResetModel();
    shown_ = componentIndex;
    endResetModel();
}

int ComponentTableModel::columnWidth(int column) const {
    const auto& s = specs(columns_);
    return column >= 0 && column < static_cast<int>(s.size())
               ? s[static_cast<std::size_t>(column)].width
               : 0;
}

void ComponentTableModel::applyColumnWidths(QTreeView* view) const {
    for (int column = 0; column < columnCount(); ++column) {
        view->setColumnWidth(column, columnWidth(column));
    }
}

int ComponentTableModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    if (columns_ != Columns::Points) return static_cast<int>(rows_.size());
    const Component* c = componentAt(shown_);
    if (!c) return 0;
    const std::size_t vertical = c->hasVerticalList() ? c->pointsVert.size() : 0;
    return static_cast<int>(c->points.size() + vertical);
}

int ComponentTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(specs(columns_).size());
}

QString ComponentTableModel::componentText(const Component& c, int row, int column) const {
    switch (column) {
        case 0:
            return QString::number(row + 1);
        case 1:
            return fromGbk(c.code.view());
        case 2:
            return columns_ == Columns::UploadSelection ? QString() : fromGbk(c.name.view());
        case 3:
            return rowtext::typeText(c);
        case 4:
            return fromGbk(c.date.view());
        case 5:
            return columns_ == Columns::Settings ? rowtext::pointCountText(c)
                                                 : designDiameterText(c);
        case 6:
            return rowtext::pointCountText(c);
        default:
            return {};
    }
}

QString ComponentTableModel::pointText(int row, int column) const {
    const Component& c = *componentAt(shown_);
    const bool vertical = row >= static_cast<int>(c.points.size());
    const int i = vertical ? row - static_cast<int>(c.points.size()) : row;
    const MeasurePoint& p = (vertical ? c.pointsVert : c.points)[static_cast<std::size_t>(i)];
    const DetectionTypeTraits* type = c.traits();
    switch (column) {
        case 0:  // the vertical points are numbered from 1 again
            return QString::number(i + 1);
        case 1:
            return type && type->diameters ? mm(p.diameter) : QString();
        case 2:
            return type ? mm(p.thickness) : QString();
        case 3:
            return type && type->positions ? mm(p.position) : QString();
        default:
            return {};
    }
}

QVariant ComponentTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    switch (role) {
        case Qt::DisplayRole:
            if (columns_ == Columns::Points) return pointText(index.row(), index.column());
            return componentText(*componentAt(index.row()), index.row(), index.column());
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
        case Qt::CheckStateRole:
            if (!checkable_ || index.column() != 0) return {};
            return isChecked(index.row()) ? Qt::Checked : Qt::Unchecked;
        default:
            return {};
    }
}

void ComponentTableModel::tickedChanged(int first, int last) {
    emit dataChanged(index(first, 0), index(last, 0), {Qt::CheckStateRole});
    emit headerDataChanged(Qt::Horizontal, 0, 0);
}

bool ComponentTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!checkable_ || role != Qt::CheckStateRole || !index.isValid() || index.column() != 0 ||
        index.row() >= static_cast<int>(ticked_.size())) {
        return false;
    }
    const bool checked = value.toInt() == Qt::Checked;
    std::vector<bool>::reference slot = ticked_[static_cast<std::size_t>(index.row())];
    if (slot != checked) {
        slot = checked;
        tickedCount_ += checked ? 1 : -1;
        tickedChanged(index.row(), index.row());
    }
    return true;
}

QVariant ComponentTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal) return {};
    const auto& s = specs(columns_);
    if (section < 0 || section >= static_cast<int>(s.size())) return {};
    switch (role) {
        case Qt::DisplayRole:
            return QString::fromUtf8(s[static_cast<std::size_t>(section)].title);
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
        case Qt::CheckStateRole:
            if (!checkable_ || section != 0) return {};
            return tickedCount_ == static_cast<int>(ticked_.size()) ? Qt::Checked : Qt::Unchecked;
        default:
            return {};
    }
}

bool ComponentTableModel::setHeaderData(int section, Qt::Orientation orientation,
                                        const QVariant& value, int role) {
    if (!checkable_ || section != 0 || orientation != Qt::Horizontal ||
        role != Qt::CheckStateRole) {
        return false;
    }
    // One change for all rows: ticking a long list must not cost a notice per row.
    const bool checked = value.toInt() == Qt::Checked;
    ticked_.assign(ticked_.size(), checked);
    tickedCount_ = checked ? static_cast<int>(ticked_.size()) : 0;
    if (!ticked_.empty()) {
        emit dataChanged(index(0, 0), index(static_cast<int>(ticked_.size()) - 1, 0),
                         {Qt::CheckStateRole});
    }
    emit headerDataChanged(Qt::Horizontal, 0, 0);
    return true;
}

Qt::ItemFlags ComponentTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (checkable_ && index.column() == 0) f |= Qt::ItemIsUserCheckable;
    return f;
}
