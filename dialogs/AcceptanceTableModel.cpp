#include "dialogs/AcceptanceTableModel.h"

#include <algorithm>
#include <iterator>

#include "dialogs/ComponentRowTexts.h"
#include "session/GbkQt.h"

namespace {

QString utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

const char* const titles[] = {"序号",   "构件编号", "构件名称", "检测类型",
                              "测点数", "验收类别", "抽样"};
static_assert(std::size(titles) == AcceptanceTableModel::ColumnCount);

QStringList classChoices() {
    QStringList choices;
    for (const AcceptanceClassRule& r : acceptanceRule.classes) choices << utf8(r.text);
    choices << AcceptanceTableModel::classText(std::nullopt);
    return choices;
}

QStringList sampleChoices() {
    return {AcceptanceTableModel::sampleText(AcceptanceSample::First),
            AcceptanceTableModel::sampleText(AcceptanceSample::Second)};
}

}  // namespace

AcceptanceTableModel::AcceptanceTableModel(const ComponentList& components,
                                           const AcceptanceMarks& marks, QObject* parent)
    : QAbstractTableModel(parent), marks_(marks) {
    for (const Component& c : components) {
        if (takesPartInAcceptance(c)) rows_.push_back(&c);
    }
}

const Component* AcceptanceTableModel::componentAt(int row) const {
    return row >= 0 && row < static_cast<int>(rows_.size()) ? rows_[static_cast<std::size_t>(row)]
                                                            : nullptr;
}

std::optional<AcceptanceMark> AcceptanceTableModel::markAt(int row) const {
    const auto it = marks_.find(componentAt(row));
    if (it == marks_.end()) return std::nullopt;
    return it->second;
}

QString AcceptanceTableModel::classText(std::optional<AcceptanceClass> cls) {
    return cls ? utf8(acceptanceRule.of(*cls).text) : QStringLiteral("不参与");
}

QString AcceptanceTableModel::sampleText(AcceptanceSample sample) {
    return sample == AcceptanceSample::Second ? QStringLiteral("第二次抽样")
                                              : QStringLiteral("第一次抽样");
}

void AcceptanceTableModel::setClass(const QList<int>& rows, std::optional<AcceptanceClass> cls) {
    bool changed = false;
    for (int row : rows) {
        const Component* c = componentAt(row);
        if (!c) continue;
        if (!cls) {
            changed |= marks_.erase(c) > 0;
            continue;
        }
        const auto it = marks_.find(c);
        if (it == marks_.end()) {
            marks_.emplace(c, AcceptanceMark{*cls, AcceptanceSample::First});
            changed = true;
        } else if (it->second.cls != *cls) {
            it->second.cls = *cls;
            changed = true;
        }
    }
    rowsChanged(rows, changed);
}

void AcceptanceTableModel::setSample(const QList<int>& rows, AcceptanceSample sample) {
    bool changed = false;
    for (int row : rows) {
        const auto it = marks_.find(componentAt(row));
        if (it == marks_.end() || it->second.sample == sample) continue;
        it->second.sample = sample;
        changed = true;
    }
    rowsChanged(rows, changed);
}

void AcceptanceTableModel::rowsChanged(const QList<int>& rows, bool changed) {
    if (!changed || rows.isEmpty()) return;
    const auto [first, last] = std::minmax_element(rows.begin(), rows.end());
    emit dataChanged(index(std::max(*first, 0), Class),
                     index(std::min(*last, rowCount() - 1), Sample));
    emit marksChanged();
}

int AcceptanceTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int AcceptanceTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant AcceptanceTableModel::data(const QModelIndex& index, int role) const {
    const Component* c = index.isValid() ? componentAt(index.row()) : nullptr;
    if (!c) return {};
    const std::optional<AcceptanceMark> mark = markAt(index.row());
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            switch (index.column()) {
                case Number:
                    return QString::number(index.row() + 1);
                case Code:
                    return fromGbk(c->code.view());
                case Name:
                    return fromGbk(c->name.view());
                case Type:
                    return rowtext::typeText(*c);
                case PointCount:
                    return rowtext::pointCountText(*c);
                case Class:
                    return classText(mark ? std::optional(mark->cls) : std::nullopt);
                case Sample:
                    return mark ? sampleText(mark->sample) : QString();
                default:
                    return {};
            }
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(index.column() == Name
                                           ? Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter)
                                           : Qt::Alignment(Qt::AlignCenter));
        case ChoicesRole:
            if (index.column() == Class) return classChoices();
            if (index.column() == Sample && mark) return sampleChoices();
            return {};
        default:
            return {};
    }
}

bool AcceptanceTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !componentAt(index.row())) return false;
    const QString text = value.toString();
    if (index.column() == Class) {
        for (const AcceptanceClassRule& r : acceptanceRule.classes) {
            if (text == utf8(r.text)) {
                setClass({index.row()}, r.cls);
                return true;
            }
        }
        if (text != classText(std::nullopt)) return false;
        setClass({index.row()}, std::nullopt);
        return true;
    }
    if (index.column() == Sample && markAt(index.row())) {
        for (AcceptanceSample s : {AcceptanceSample::First, AcceptanceSample::Second}) {
            if (text == sampleText(s)) {
                setSample({index.row()}, s);
                return true;
            }
        }
    }
    return false;
}

QVariant AcceptanceTableModel::headerData(int section, Qt::Orientation orientation,
                                          int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount) return {};
    if (role == Qt::DisplayRole) return QString::fromUtf8(titles[section]);
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    return {};
}

Qt::ItemFlags AcceptanceTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid() || !componentAt(index.row())) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == Class || (index.column() == Sample && markAt(index.row()))) {
        f |= Qt::ItemIsEditable;
    }
    return f;
}
