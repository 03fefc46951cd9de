#include "dialogs/CDlgShowUploadData.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <iterator>

#include "dialogs/CCheckListCtrl.h"
#include "dialogs/ComponentRowTexts.h"
#include "dialogs/GbkQt.h"
#include "dialogs/OkCancelButtons.h"

namespace {

QString mm(int value) {
    return QStringLiteral("%1 mm").arg(value);
}

QString designDiameterText(const Component& c) {
    switch (c.type()) {
        case DetectionType::Thickness:
        case DetectionType::Profile:
            return mm(c.designDiameter);
        case DetectionType::Grid:
            return QStringLiteral("%1 mm, %2 mm").arg(c.designDiameter).arg(c.designDiameterVert);
        default:
            return {};
    }
}

// Cells "序号", "钢筋直径", "保护层厚度", "配筋间距" of one point.
QStringList pointRow(DetectionType type, int number, const MeasurePoint& p) {
    QStringList row{QString::number(number), QString(), QString(), QString()};
    switch (type) {
        case DetectionType::Thickness:
            row[2] = mm(p.thickness);
            break;
        case DetectionType::Diameter:
            row[1] = mm(p.diameter);
            row[2] = mm(p.thickness);
            break;
        case DetectionType::Grid:
        case DetectionType::Profile:
            row[2] = mm(p.thickness);
            row[3] = mm(p.position);
            break;
        default:
            break;
    }
    return row;
}

}  // namespace

CDlgShowUploadData::CDlgShowUploadData(const ComponentList& components, int addMode,
                                       const QString& captionText, QWidget* parent)
    : QDialog(parent),
      components_(components),
      addMode_(addMode),
      captionText_(captionText.isEmpty() ? QStringLiteral("新工程") : captionText),
      componentList_(new CCheckListCtrl(this)),
      pointList_(new CCheckListCtrl(this)) {
    setWindowTitle(captionText_);
    resize(605, 510);
    componentList_->setObjectName(QStringLiteral("list1015"));
    pointList_->setObjectName(QStringLiteral("list1016"));

    auto* componentLabel = new QLabel(QStringLiteral("构件列表:"), this);
    componentLabel->setBuddy(componentList_);
    auto* pointLabel = new QLabel(QStringLiteral("测点列表:"), this);
    pointLabel->setBuddy(pointList_);
    QDialogButtonBox* buttons = makeOkCancelButtons(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->addWidget(componentLabel);
    layout->addWidget(componentList_, 1);
    layout->addWidget(pointLabel);
    layout->addWidget(pointList_, 1);
    layout->addWidget(buttons);

    const std::pair<const char*, int> componentColumns[] = {
        {"序号", 80}, {"构件编号", 80}, {"构件名称", 100}, {"检测类型", 80},
        {"日期", 80}, {"钢筋直径", 80}, {"测点数", 80}};
    for (const auto& [title, width] : componentColumns) {
        componentList_->addColumn(QString::fromUtf8(title), width);
    }
    int number = 0;
    for (const Component& c : components_) {
        componentList_->addRow({QString::number(++number), fromGbk(c.code.view()),
                                addMode_ == 0 ? fromGbk(c.name.view()) : QString(),
                                rowtext::typeText(c), fromGbk(c.date.view()), designDiameterText(c),
                                rowtext::pointCountText(c)});
    }
    componentList_->setSelectionMode(QAbstractItemView::SingleSelection);
    componentList_->enableCheckBoxes();
    componentList_->InitCheckHeader();

    pointList_->setShownItem(0);
    const std::pair<const char*, int> pointColumns[] = {
        {"序号", 80}, {"钢筋直径", 100}, {"保护层厚度", 100}, {"配筋间距", 100}};
    for (const auto& [title, width] : pointColumns) {
        pointList_->addColumn(QString::fromUtf8(title), width);
    }
    fillPointList(0);

    // The first component's points are shown, so its row starts as the current one.
    if (componentList_->rowCount() > 0) {
        componentList_->setCurrentItem(componentList_->topLevelItem(0));
    }
    connect(componentList_, &QTreeWidget::itemSelectionChanged, this,
            &CDlgShowUploadData::onComponentSelected);
    componentList_->setFocus();
}

void CDlgShowUploadData::accept() {
    selectionMask_.clear();
    for (int row = 0; row < componentList_->rowCount(); ++row) {
        selectionMask_ += componentList_->isChecked(row) ? QLatin1Char('1') : QLatin1Char('0');
    }
    QDialog::accept();
}

void CDlgShowUploadData::onComponentSelected() {
    const QList<QTreeWidgetItem*> selected = componentList_->selectedItems();
    if (selected.isEmpty()) return;
    const int row = componentList_->indexOfTopLevelItem(selected.first());
    if (row == pointList_->shownItem()) return;
    pointList_->setShownItem(row);
    fillPointList(row);
}

void CDlgShowUploadData::fillPointList(int row) {
    pointList_->clear();
    if (row < 0 || row >= static_cast<int>(components_.size())) return;
    const Component& c = *std::next(components_.begin(), row);
    int number = 0;
    for (const MeasurePoint& p : c.points) pointList_->addRow(pointRow(c.type(), ++number, p));
    if (c.type() == DetectionType::Grid) {
        number = 0;
        for (const MeasurePoint& p : c.pointsVert) {
            pointList_->addRow(pointRow(c.type(), ++number, p));
        }
    }
}
