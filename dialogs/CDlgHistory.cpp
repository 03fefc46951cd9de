#include "dialogs/CDlgHistory.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "dialogs/ScreenRoom.h"

namespace {

// Wide enough for the columns at their widest usual texts; on a small screen the list scrolls.
constexpr QSize roomySize(960, 600);
constexpr int componentColumn = 2;

}  // namespace

CDlgHistory::CDlgHistory(const std::vector<Row>& rows, const QString& state, QWidget* parent)
    : QDialog(parent),
      state_(new QLabel(state, this)),
      components_(new QComboBox(this)),
      list_(new QTableView(this)),
      filter_(new QSortFilterProxyModel(this)) {
    setWindowTitle(QStringLiteral("修改记录"));
    state_->setWordWrap(true);
    state_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* model = new QStandardItemModel(0, 7, this);
    model->setHorizontalHeaderLabels({QStringLiteral("时间"), QStringLiteral("用户"),
                                      QStringLiteral("构件"), QStringLiteral("测点"),
                                      QStringLiteral("修改项"), QStringLiteral("原值"),
                                      QStringLiteral("新值")});
    QStringList codes;
    for (const Row& row : rows) {
        QList<QStandardItem*> items;
        for (const std::string& text : row) {
            auto* item = new QStandardItem(QString::fromStdString(text));
            item->setEditable(false);
            item->setToolTip(item->text());
            items << item;
        }
        model->appendRow(items);
        const QString code = QString::fromStdString(row[componentColumn]);
        if (!code.isEmpty() && !codes.contains(code)) codes << code;
    }
    std::sort(codes.begin(), codes.end());
    components_->addItem(QStringLiteral("全部构件"));
    components_->addItems(codes);
    filter_->setSourceModel(model);
    filter_->setFilterKeyColumn(componentColumn);
    connect(components_, &QComboBox::currentIndexChanged, this, [this](int index) {
        // Whole texts: "H001" is not "H0010".
        filter_->setFilterRegularExpression(
            index <= 0 ? QString()
                       : QStringLiteral("^%1$").arg(
                             QRegularExpression::escape(components_->currentText())));
    });

    auto* choice = new QLabel(QStringLiteral("构件(&C)："), this);
    choice->setBuddy(components_);
    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(choice);
    filterRow->addWidget(components_);
    filterRow->addStretch(1);

    list_->setModel(filter_);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setAlternatingRowColors(true);
    list_->setWordWrap(false);
    list_->setTabKeyNavigation(false);  // Tab leaves the list, as in the other dialogs
    list_->verticalHeader()->hide();
    // Fixed row heights keep a long history quick to lay out.
    list_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    list_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    const QFontMetrics fm = fontMetrics();
    const QString widest[] = {QStringLiteral("2026-12-07 10:41:05"),
                              QStringLiteral("administrator"),
                              QStringLiteral("WWWWW#9"),
                              QStringLiteral("垂直 99"),
                              QStringLiteral("垂直保护层厚度设计值"),
                              QStringLiteral("“构件名称构件名称”"),
                              QStringLiteral("“构件名称构件名称”")};
    for (int column = 0; column < 7; ++column) {
        const QString title = model->headerData(column, Qt::Horizontal).toString();
        list_->setColumnWidth(
            column,
            std::max(fm.horizontalAdvance(title), fm.horizontalAdvance(widest[column])) + 16);
    }
    list_->horizontalHeader()->setSectionResizeMode(4, QHeaderView::Stretch);
    list_->horizontalHeader()->setHighlightSections(false);
    if (model->rowCount() > 0) list_->selectRow(0);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("关闭"));
    buttons->button(QDialogButtonBox::Close)->setDefault(true);
    buttons->setCenterButtons(true);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(state_);
    layout->addLayout(filterRow);
    layout->addWidget(list_, 1);
    layout->addWidget(buttons);
    list_->setFocus();

    if (const QScreen* s = parent ? parent->screen() : screen()) {
        fitTo(s->availableGeometry().size());
    } else {
        resize(roomySize);
    }
}

int CDlgHistory::shownRows() const {
    return filter_->rowCount();
}

void CDlgHistory::fitTo(const QSize& available) {
    resize(roomySize.boundedTo(screenRoom(available, expectedFrame(parentWidget()))));
}
