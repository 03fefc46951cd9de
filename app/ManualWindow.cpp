#include "app/ManualWindow.h"

#include <QAction>
#include <QFile>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/AppIcons.h"
#include "app/ManualIndex.h"

namespace {

const QString root = QStringLiteral("qrc:/manual/");
constexpr int targetRole = Qt::UserRole;

}  // namespace

ManualWindow::ManualWindow(const ManualIndex& index, QWidget* owner)
    : QMainWindow(owner, Qt::Window), index_(index), browser_(new QTextBrowser(this)) {
    setWindowTitle(QStringLiteral("使用说明"));
    setWindowIcon(AppIcons::program());
    setObjectName(QStringLiteral("manual"));

    QFile css(QStringLiteral(":/manual/manual.css"));
    if (css.open(QIODevice::ReadOnly)) {
        browser_->document()->setDefaultStyleSheet(QString::fromUtf8(css.readAll()));
    }
    browser_->setOpenExternalLinks(true);

    auto* tabs = new QTabWidget(this);
    tabs->addTab(makeContents(), QStringLiteral("目录"));
    tabs->addTab(makeSearch(), QStringLiteral("搜索"));

    auto* right = new QWidget(this);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->addWidget(browser_, 1);
    rightLayout->addWidget(makeFindBar());

    auto* splitter = new QSplitter(this);
    splitter->addWidget(tabs);
    splitter->addWidget(right);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({240, 860});
    setCentralWidget(splitter);

    QToolBar* bar = addToolBar(QStringLiteral("导航"));
    bar->setMovable(false);
    QAction* back = bar->addAction(QStringLiteral("后退"), browser_, &QTextBrowser::backward);
    back->setShortcut(QKeySequence::Back);
    back->setEnabled(false);
    QAction* forward = bar->addAction(QStringLiteral("前进"), browser_, &QTextBrowser::forward);
    forward->setShortcut(QKeySequence::Forward);
    forward->setEnabled(false);
    bar->addAction(QStringLiteral("首页"), this, [this] { showSection(index_.pages().value(0)); });
    QAction* find = bar->addAction(QStringLiteral("查找"), this, [this] {
        findBar_->show();
        findEdit_->setFocus();
        findEdit_->selectAll();
    });
    find->setShortcut(QKeySequence::Find);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::sourceChanged, this, [this] { markContents(); });

    resize(1100, 700);
}

QWidget* ManualWindow::makeContents() {
    contents_ = new QTreeWidget(this);
    contents_->setHeaderHidden(true);
    QTreeWidgetItem* page = nullptr;
    for (const ManualIndex::Section& s : index_.sections()) {
        QTreeWidgetItem* item =
            s.level == 1 || !page ? new QTreeWidgetItem(contents_) : new QTreeWidgetItem(page);
        if (s.level == 1) page = item;
        item->setText(0, s.title);
        item->setData(0, targetRole, s.level == 1 ? s.page : s.target());
    }
    connect(contents_, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { showSection(item->data(0, targetRole).toString()); });
    connect(contents_, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { showSection(item->data(0, targetRole).toString()); });
    return contents_;
}

QWidget* ManualWindow::makeSearch() {
    auto* panel = new QWidget(this);
    auto* layout = new QVBoxLayout(panel);
    searchEdit_ = new QLineEdit(panel);
    searchEdit_->setPlaceholderText(QStringLiteral("输入要找的词，以空格分隔"));
    searchEdit_->setClearButtonEnabled(true);
    hits_ = new QListWidget(panel);
    layout->addWidget(searchEdit_);
    layout->addWidget(hits_, 1);
    connect(searchEdit_, &QLineEdit::textChanged, this, &ManualWindow::search);
    connect(hits_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { showSection(item->data(targetRole).toString()); });
    connect(hits_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { showSection(item->data(targetRole).toString()); });
    return panel;
}

QWidget* ManualWindow::makeFindBar() {
    findBar_ = new QWidget(this);
    auto* layout = new QHBoxLayout(findBar_);
    layout->setContentsMargins(4, 2, 4, 2);
    findEdit_ = new QLineEdit(findBar_);
    findEdit_->setPlaceholderText(QStringLiteral("在本页中查找"));
    findNote_ = new QLabel(findBar_);
    auto* next = new QPushButton(QStringLiteral("下一个"), findBar_);
    auto* previous = new QPushButton(QStringLiteral("上一个"), findBar_);
    auto* close = new QPushButton(QStringLiteral("关闭"), findBar_);
    layout->addWidget(new QLabel(QStringLiteral("查找："), findBar_));
    layout->addWidget(findEdit_, 1);
    layout->addWidget(next);
    layout->addWidget(previous);
    layout->addWidget(findNote_);
    layout->addWidget(close);
    connect(findEdit_, &QLineEdit::returnPressed, this, [this] { findInPage(false); });
    connect(next, &QPushButton::clicked, this, [this] { findInPage(false); });
    connect(previous, &QPushButton::clicked, this, [this] { findInPage(true); });
    connect(close, &QPushButton::clicked, findBar_, &QWidget::hide);
    auto* escape = new QAction(findBar_);
    escape->setShortcut(Qt::Key_Escape);
    escape->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QAction::triggered, findBar_, &QWidget::hide);
    findBar_->addAction(escape);
    findBar_->hide();
    return findBar_;
}

void ManualWindow::search(const QString& words) {
    hits_->clear();
    for (const ManualIndex::Section* s : index_.find(words)) {
        QString page;  // the title of the section's page, to tell like-named sections apart
        for (const ManualIndex::Section& p : index_.sections()) {
            if (p.page == s->page && p.level == 1) page = p.title;
        }
        const QString shown = s->level == 1 ? s->title : page + QStringLiteral(" › ") + s->title;
        auto* item = new QListWidgetItem(shown, hits_);
        item->setData(targetRole, s->target());
    }
}

void ManualWindow::findInPage(bool backward) {
    const QString text = findEdit_->text();
    if (text.isEmpty()) return;
    const QTextDocument::FindFlags flags =
        backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    if (browser_->find(text, flags)) {
        findNote_->clear();
        return;
    }
    // Once at the end of the page, go round from the other end.
    QTextCursor from(browser_->document());
    from.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
    browser_->setTextCursor(from);
    findNote_->setText(browser_->find(text, flags)
                           ? QStringLiteral("已从页%1继续").arg(backward ? "尾" : "首")
                           : QStringLiteral("本页没有“%1”").arg(text));
}

void ManualWindow::showSection(const QString& target) {
    browser_->setSource(QUrl(root + target));
    show();
    raise();
    activateWindow();
}

QString ManualWindow::shownTarget() const {
    return browser_->source().toString().mid(root.size());
}

void ManualWindow::markContents() {
    // The entry of the section shown, else of its page.
    const QString target = shownTarget();
    const QString page = target.section(QLatin1Char('#'), 0, 0);
    QTreeWidgetItem* best = nullptr;
    for (QTreeWidgetItemIterator it(contents_); *it; ++it) {
        const QString t = (*it)->data(0, targetRole).toString();
        if (t == target) {
            best = *it;
            break;
        }
        if (t == page) best = *it;
    }
    if (best) contents_->setCurrentItem(best);
}
