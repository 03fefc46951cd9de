#include "dialogs/CDlgAcceptance.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <iterator>

#include "dialogs/AcceptanceTableModel.h"
#include "dialogs/ChoiceDelegate.h"
#include "dialogs/OkCancelButtons.h"
#include "dialogs/ScreenRoom.h"
#include "model/AcceptanceJudgement.h"

namespace {

// Roomy on a large screen; on a small one the list gives up rows, never the buttons.
constexpr QSize roomySize(940, 720);

QString utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString signedMm(int value) {
    return (value > 0 ? QStringLiteral("+%1 mm") : QStringLiteral("%1 mm")).arg(value);
}

// "—" where no judged point lies on that side of design: "0 mm" would claim one on it.
QString deviationText(const std::optional<int>& value) {
    return value ? signedMm(*value) : QStringLiteral("—");
}

// 15 tenths → "1.5", 20 → "2": the rule's factor as the user reads it.
QString factorText(int tenths) {
    return QString::number(tenths / 10.0, 'g', 3);
}

// "12" or, when a second sample was drawn, "12（第一次抽样 8）".
QString withFirst(const QString& total, const QString& first, bool hasSecondSample) {
    return hasSecondSample ? QStringLiteral("%1（第一次抽样 %2）").arg(total, first) : total;
}

QString rateText(const std::string& rate) {
    return rate.empty() ? QStringLiteral("—") : utf8(rate);
}

// The row captions of ClassColumn::figures, in order.
QStringList figureCaptions() {
    return {QStringLiteral("构件数"),
            QStringLiteral("测点数"),
            QStringLiteral("未测点数"),
            QStringLiteral("合格点数"),
            QStringLiteral("合格率"),
            QStringLiteral("最大正偏差"),
            QStringLiteral("最大负偏差"),
            QStringLiteral("超出允许偏差 %1 倍的点数")
                .arg(factorText(acceptanceRule.beyondFactorTenths))};
}

}  // namespace

CDlgAcceptance::CDlgAcceptance(const ComponentList& components, const AcceptanceMarks& marks,
                               QWidget* parent)
    : QDialog(parent),
      components_(components),
      result_(marks),
      model_(new AcceptanceTableModel(components, marks, this)),
      componentList_(new QTableView(this)) {
    setWindowTitle(QStringLiteral("验收判定"));

    auto* listLabel = new QLabel(
        QStringLiteral(
            "构件列表（按住 Ctrl 或 Shift 可选多个构件；双击“验收类别”或“抽样”可单独修改）："),
        this);
    listLabel->setBuddy(componentList_);
    componentList_->setModel(model_);
    componentList_->setItemDelegate(new ChoiceDelegate(AcceptanceTableModel::ChoicesRole, this));
    componentList_->setSelectionBehavior(QAbstractItemView::SelectRows);
    componentList_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    componentList_->setEditTriggers(QAbstractItemView::DoubleClicked |
                                    QAbstractItemView::EditKeyPressed);
    componentList_->setAlternatingRowColors(true);
    componentList_->setWordWrap(false);
    componentList_->verticalHeader()->hide();
    // Fixed row heights keep a list of thousands of components quick to lay out.
    componentList_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    componentList_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    QHeaderView* header = componentList_->horizontalHeader();
    header->setHighlightSections(false);
    // Each column as wide as its widest text; the name takes what is left.
    const QFontMetrics fm = fontMetrics();
    const QString widest[] = {
        QStringLiteral("00000"),       QStringLiteral("WWWWW"),     QString(),
        QStringLiteral("剖面"),        QStringLiteral("999 , 999"), QStringLiteral("不参与 ▼"),
        QStringLiteral("第二次抽样 ▼")};
    for (int column = 0; column < AcceptanceTableModel::ColumnCount; ++column) {
        const QString title =
            model_->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
        const int width =
            std::max(fm.horizontalAdvance(title), fm.horizontalAdvance(widest[column])) + 24;
        componentList_->setColumnWidth(column, width);
    }
    header->setSectionResizeMode(AcceptanceTableModel::Name, QHeaderView::Stretch);

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addWidget(new QLabel(QStringLiteral("所选构件的验收类别："), this));
    const QString classTexts[] = {QStringLiteral("梁类(&B)"), QStringLiteral("板类(&S)"),
                                  QStringLiteral("不参与(&N)")};
    for (std::size_t i = 0; i < classButtons_.size(); ++i) {
        classButtons_[i] = new QPushButton(classTexts[i], this);
        classButtons_[i]->setAutoDefault(false);
        buttonRow->addWidget(classButtons_[i]);
    }
    connect(classButtons_[0], &QPushButton::clicked, this,
            [this] { applyClass(AcceptanceClass::Beam); });
    connect(classButtons_[1], &QPushButton::clicked, this,
            [this] { applyClass(AcceptanceClass::Slab); });
    connect(classButtons_[2], &QPushButton::clicked, this, [this] { applyClass(std::nullopt); });
    buttonRow->addSpacing(24);
    buttonRow->addWidget(new QLabel(QStringLiteral("抽样："), this));
    const QString sampleTexts[] = {QStringLiteral("第一次抽样(&1)"),
                                   QStringLiteral("第二次抽样(&2)")};
    const AcceptanceSample samples[] = {AcceptanceSample::First, AcceptanceSample::Second};
    for (std::size_t i = 0; i < sampleButtons_.size(); ++i) {
        sampleButtons_[i] = new QPushButton(sampleTexts[i], this);
        sampleButtons_[i]->setAutoDefault(false);
        buttonRow->addWidget(sampleButtons_[i]);
        connect(sampleButtons_[i], &QPushButton::clicked, this,
                [this, s = samples[i]] { applySample(s); });
    }
    buttonRow->addStretch(1);

    unconfirmed_ =
        new QLabel(QStringLiteral("工程文件在别处被修改过：下列验收类别来自附加信息文件，"
                                  "尚未确认。请核对后按“确定”确认。"),
                   this);
    unconfirmed_->setWordWrap(true);
    unconfirmed_->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));
    unconfirmed_->hide();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(unconfirmed_);
    layout->addWidget(listLabel);
    layout->addWidget(componentList_, 1);
    layout->addLayout(buttonRow);
    layout->addWidget(makeSummary());
    layout->addWidget(makeOkCancelButtons(this));

    connect(model_, &AcceptanceTableModel::marksChanged, this, [this] {
        updateSummary();
        updateButtons();
    });
    connect(componentList_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CDlgAcceptance::updateButtons);
    if (model_->rowCount() > 0) componentList_->selectRow(0);
    updateButtons();
    updateSummary();
    componentList_->setFocus();

    if (const QScreen* s = parent ? parent->screen() : screen()) {
        fitTo(s->availableGeometry().size());
    } else {
        resize(roomySize);
    }
}

void CDlgAcceptance::fitTo(const QSize& available) {
    resize(roomySize.boundedTo(screenRoom(available, expectedFrame(parentWidget()))));
}

QWidget* CDlgAcceptance::makeSummary() {
    auto* box = new QGroupBox(QStringLiteral("判定结果（GB 50204-2015 附录 E）"), this);
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(4);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 1);

    auto caption = [&](int row, const QString& text) {
        grid->addWidget(new QLabel(text, box), row, 0, Qt::AlignLeft | Qt::AlignTop);
    };
    const QStringList captions = figureCaptions();
    QFont bold = font();
    bold.setBold(true);
    for (const AcceptanceClassRule& r : acceptanceRule.classes) {
        const int col = 1 + static_cast<int>(r.cls);
        const QString key = utf8(r.key);
        ClassColumn& column = columns_[static_cast<std::size_t>(r.cls)];
        auto* title = new QLabel(utf8(r.text), box);
        title->setFont(bold);
        grid->addWidget(title, 0, col);
        grid->addWidget(
            new QLabel(
                QStringLiteral("%1 ～ %2").arg(signedMm(r.minDeviation), signedMm(r.maxDeviation)),
                box),
            1, col);
        int row = 2;
        for (QLabel*& figure : column.figures) {
            figure = new QLabel(box);
            figure->setObjectName(QStringLiteral("figure%1_%2").arg(row - 2).arg(key));
            figure->setTextInteractionFlags(Qt::TextSelectableByMouse);
            grid->addWidget(figure, row++, col);
        }
        column.verdict = new QLabel(box);
        column.verdict->setObjectName(QStringLiteral("verdict_") + key);
        column.verdict->setFont(bold);
        grid->addWidget(column.verdict, row++, col);
        column.reason = new QLabel(box);
        column.reason->setObjectName(QStringLiteral("reason_") + key);
        column.reason->setWordWrap(true);
        column.reason->setTextInteractionFlags(Qt::TextSelectableByMouse);
        // Two lines always: the summary keeps its height while the reasons change.
        column.reason->setMinimumHeight(2 * fontMetrics().lineSpacing());
        column.reason->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        grid->addWidget(column.reason, row++, col);
        column.notices = new QPlainTextEdit(box);
        column.notices->setObjectName(QStringLiteral("notices_") + key);
        column.notices->setReadOnly(true);
        column.notices->setTabChangesFocus(true);
        column.notices->setPlaceholderText(QStringLiteral("无"));
        column.notices->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        // A slab notice per component can run to thousands; they scroll, the dialog stays.
        column.notices->setFixedHeight(3 * fontMetrics().lineSpacing() + 10);
        grid->addWidget(column.notices, row++, col);
    }
    caption(1, QStringLiteral("允许偏差"));
    int row = 2;
    for (const QString& text : captions) caption(row++, text);
    caption(row++, QStringLiteral("判定"));
    caption(row++, QStringLiteral("理由"));
    caption(row++, QStringLiteral("提示"));
    return box;
}

void CDlgAcceptance::applyClass(std::optional<AcceptanceClass> cls) {
    QList<int> rows;
    for (const QModelIndex& index : componentList_->selectionModel()->selectedRows()) {
        rows << index.row();
    }
    model_->setClass(rows, cls);
}

void CDlgAcceptance::applySample(AcceptanceSample sample) {
    QList<int> rows;
    for (const QModelIndex& index : componentList_->selectionModel()->selectedRows()) {
        rows << index.row();
    }
    model_->setSample(rows, sample);
}

void CDlgAcceptance::updateButtons() {
    const QModelIndexList selected = componentList_->selectionModel()->selectedRows();
    bool anyClassed = false;
    for (const QModelIndex& index : selected) {
        if (model_->markAt(index.row())) {
            anyClassed = true;
            break;
        }
    }
    for (QPushButton* b : classButtons_) b->setEnabled(!selected.isEmpty());
    for (QPushButton* b : sampleButtons_) b->setEnabled(anyClassed);
}

void CDlgAcceptance::updateSummary() {
    const AcceptanceJudgement judgement = judgeAcceptance(components_, model_->marks());
    for (const AcceptanceClassRule& r : acceptanceRule.classes) {
        showClass(columns_[static_cast<std::size_t>(r.cls)], r.cls, judgement.of(r.cls));
    }
}

void CDlgAcceptance::showClass(ClassColumn& column, AcceptanceClass cls,
                               const std::optional<AcceptanceClassResult>& result) {
    if (!result) {
        for (QLabel* figure : column.figures) figure->setText(QStringLiteral("—"));
        column.verdict->setText(QStringLiteral("—"));
        column.reason->setText(
            QStringLiteral("没有标为%1的构件。").arg(utf8(acceptanceRule.of(cls).text)));
        column.notices->clear();
        return;
    }
    const AcceptanceClassResult& r = *result;
    const bool second = r.hasSecondSample;
    const QString texts[] = {
        withFirst(QString::number(r.components), QString::number(r.first.components), second),
        withFirst(QString::number(r.points), QString::number(r.first.points), second),
        QString::number(r.unmeasured),
        withFirst(QString::number(r.passing), QString::number(r.first.passing), second),
        withFirst(rateText(r.rate), rateText(r.first.rate), second),
        deviationText(r.maxOver),
        deviationText(r.maxUnder),
        QString::number(r.beyond),
    };
    static_assert(std::size(texts) == std::tuple_size_v<decltype(column.figures)>);
    for (std::size_t i = 0; i < column.figures.size(); ++i) column.figures[i]->setText(texts[i]);
    column.verdict->setText(utf8(verdictText(r.verdict)));
    column.reason->setText(utf8(r.reason));
    QStringList notices;
    for (const std::string& n : r.notices) notices << utf8(n);
    column.notices->setPlainText(notices.join(QLatin1Char('\n')));
}

void CDlgAcceptance::setUnconfirmed(bool unconfirmed) {
    unconfirmed_->setVisible(unconfirmed);
}

void CDlgAcceptance::accept() {
    result_ = model_->marks();
    QDialog::accept();
}
