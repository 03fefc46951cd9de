#include "app/CMainFrame.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include "app/AppIcons.h"
#include "app/CAboutDlg.h"
#include "app/CChildFrame.h"
#include "app/CommandIds.h"
#include "app/GuiTransferUi.h"
#include "app/MenuTables.h"
#include "dialogs/CDlgSetProject.h"
#include "dialogs/CDlgShowUploadData.h"
#include "display/CCorvaneView.h"
#include "instrument/TransferSession.h"
#include "model/ProjectFile.h"
#include "model/UploadFile.h"

namespace {

const QString caption = QStringLiteral("提示信息");

std::filesystem::path toPath(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

// Status-bar prompts exist only for the framework's standard commands.
QString statusPrompt(int id) {
    switch (id) {
        case ID_FILE_NEW:
            return QStringLiteral("创建新文档");
        case ID_FILE_OPEN:
            return QStringLiteral("打开现有文档");
        case ID_FILE_CLOSE:
            return QStringLiteral("关闭活动文档");
        case ID_FILE_PRINT_SETUP:
            return QStringLiteral("更改打印机选项和打印选项");
        case ID_FILE_MRU_FILE1:
            return QStringLiteral("打开此文档");
        case ID_APP_ABOUT:
            return QStringLiteral("显示程序信息、版本号和版权");
        case ID_APP_EXIT:
            return QStringLiteral("退出应用程序；提示保存文档");
        case ID_VIEW_TOOLBAR:
            return QStringLiteral("显示或隐藏工具栏");
        case ID_VIEW_STATUS_BAR:
            return QStringLiteral("显示或隐藏状态栏");
        default:
            return {};
    }
}

QString toolTipOf(int id) {
    switch (id) {
        case ID_CREATE_PROJECT:
            return QStringLiteral("创建工程");
        case ID_OPEN_PROJECT:
            return QStringLiteral("打开工程");
        case ID_SAVE_PROJECT:
            return QStringLiteral("保存工程");
        case ID_APP_ABOUT:
            return QStringLiteral("关于");
        default:
            return {};
    }
}

}  // namespace

CMainFrame::CMainFrame(Prompter& prompter, UsbLink* link, QWidget* parent)
    : QMainWindow(parent),
      prompter_(prompter),
      mdi_(new QMdiArea(this)),
      transferWatch_(new QTimer(this)) {
    setWindowTitle(QStringLiteral("Corvane "));
    setWindowIcon(AppIcons::program());
    setCentralWidget(mdi_);
    mdi_->setActivationOrder(QMdiArea::ActivationHistoryOrder);

    createToolBar();
    createStatusBar();
    bindKeys();
    updateMenuBar();
    connect(mdi_, &QMdiArea::subWindowActivated, this, [this] { updateMenuBar(); });

    transferUi_ = std::make_unique<GuiTransferUi>(
        this, prompter_,
        [this](std::size_t done, std::size_t expected) { showTransferProgress(done, expected); });
    if (link) transfer_ = std::make_unique<TransferSession>(*link, *transferUi_);
    transferWatch_->setInterval(200);
    connect(transferWatch_, &QTimer::timeout, this, [this] {
        if (transfer_ && !transfer_->running()) {
            transferWatch_->stop();
            messagePane_->setText(QStringLiteral("就绪"));
        }
    });
    qApp->installEventFilter(this);
}

CMainFrame::~CMainFrame() {
    qApp->removeEventFilter(this);
    stopTransfer();
    // The document windows go with the base class, after this object: nothing of theirs may
    // call back into it then.
    for (QMdiSubWindow* child : mdi_->subWindowList()) child->disconnect(this);
    mdi_->disconnect(this);
}

Prompter::FileDialog CMainFrame::projectSaveDialog() {
    return {QStringLiteral("project1"), QStringLiteral("pro"),
            QStringLiteral("钢筋位置工程文件(*.pro)|*.pro|"), true, true};
}

Prompter::FileDialog CMainFrame::projectOpenDialog() {
    return {QStringLiteral("project"), QStringLiteral("pro"),
            QStringLiteral("钢筋位置工程文件(*.pro)|*.pro|"), true, true};
}

Prompter::FileDialog CMainFrame::uploadOpenDialog() {
    // The platform dialog does not insist on an existing file; the reader reports one.
    return {QStringLiteral("data"), QStringLiteral("vexo"),
            QStringLiteral("钢筋位置上传数据文件(*.vexo)|*.vexo|"), true, false};
}

// ---- window parts -------------------------------------------------------------------------

void CMainFrame::createToolBar() {
    toolBar_ = new QToolBar(QStringLiteral("标准"), this);
    toolBar_->setObjectName(QStringLiteral("toolbar128"));
    toolBar_->setIconSize(QSize(16, 15));
    toolBar_->setAllowedAreas(Qt::AllToolBarAreas);
    for (int id : toolbar128()) {
        if (id == 0) {
            toolBar_->addSeparator();
            continue;
        }
        QAction* a = toolBar_->addAction(AppIcons::toolbarButton(id), toolTipOf(id));
        a->setToolTip(toolTipOf(id));
        a->setData(id);
        connect(a, &QAction::triggered, this, [this, id] { onCommand(id); });
    }
    addToolBar(Qt::TopToolBarArea, toolBar_);
}

void CMainFrame::createStatusBar() {
    messagePane_ = new QLabel(QStringLiteral("就绪"), this);
    statusBar()->addWidget(messagePane_, 1);
    // Qt cannot read the lock keys' state on every platform; the panes follow key presses.
    const std::pair<int, const char*> locks[] = {
        {Qt::Key_CapsLock, "CAP"}, {Qt::Key_NumLock, "NUM"}, {Qt::Key_ScrollLock, "SCRL"}};
    for (const auto& [key, text] : locks) {
        auto* label = new QLabel(QString::fromLatin1(text), this);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        label->setAlignment(Qt::AlignCenter);
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("SCRL")) + 12);
        label->setEnabled(false);
        statusBar()->addPermanentWidget(label);
        lockIndicators_[key] = label;
    }
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto it = lockIndicators_.find(static_cast<QKeyEvent*>(event)->key());
        if (it != lockIndicators_.end() && !static_cast<QKeyEvent*>(event)->isAutoRepeat()) {
            it->second->setEnabled(!it->second->isEnabled());
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::bindKeys() {
    for (const KeyBinding& binding : keyboardTable()) {
        auto* shortcut = new QShortcut(QKeySequence(QString::fromLatin1(binding.keys)), this);
        shortcut->setContext(Qt::WindowShortcut);
        const int id = binding.id;
        connect(shortcut, &QShortcut::activated, this, [this, id] { onCommand(id); });
    }
}

void CMainFrame::buildMenuBar(const std::vector<MenuPopup>& menu) {
    menuBar()->clear();
    menuActions_.clear();
    std::function<void(QMenu*, const std::vector<MenuEntry>&)> fill =
        [&](QMenu* target, const std::vector<MenuEntry>& entries) {
            for (const MenuEntry& e : entries) {
                switch (e.kind) {
                    case MenuEntry::Kind::Separator:
                        target->addSeparator();
                        break;
                    case MenuEntry::Kind::Submenu:
                        fill(target->addMenu(QString::fromUtf8(e.text)), e.children);
                        break;
                    case MenuEntry::Kind::Item: {
                        QAction* a = target->addAction(QString::fromUtf8(e.text));
                        const int id = e.id;
                        a->setData(id);
                        a->setStatusTip(statusPrompt(id));
                        connect(a, &QAction::triggered, this, [this, id] { onCommand(id); });
                        menuActions_[id] = a;
                        break;
                    }
                }
            }
        };
    for (const MenuPopup& popup : menu) {
        fill(menuBar()->addMenu(QString::fromUtf8(popup.title)), popup.entries);
    }
    for (int id : {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR}) {
        QAction* a = menuActions_[id];
        a->setCheckable(true);
        a->setChecked(id == ID_VIEW_TOOLBAR ? !toolBar_->isHidden() : !statusBar()->isHidden());
    }
    // Nothing handles these while no document window is open, and the recent-file list of
    // the document commands stays empty: project files never enter it.
    if (auto it = menuActions_.find(ID_FILE_CLOSE); it != menuActions_.end()) {
        it->second->setEnabled(false);
    }
    if (auto it = menuActions_.find(ID_FILE_MRU_FILE1); it != menuActions_.end()) {
        it->second->setEnabled(false);
    }
}

void CMainFrame::updateMenuBar() {
    const bool documentOpen = !mdi_->subWindowList().isEmpty();
    if (menuBuilt_ && documentOpen == documentMenuShown_) return;
    buildMenuBar(documentOpen ? menu129() : menu128());
    documentMenuShown_ = documentOpen;
    menuBuilt_ = true;
}

QAction* CMainFrame::menuAction(int id) const {
    auto it = menuActions_.find(id);
    return it == menuActions_.end() ? nullptr : it->second;
}

// ---- documents ----------------------------------------------------------------------------

CChildFrame* CMainFrame::newDocument() {
    auto* child = new CChildFrame(project_);
    mdi_->addSubWindow(child);
    connect(child, &QObject::destroyed, this,
            [this] { QTimer::singleShot(0, this, [this] { updateMenuBar(); }); });
    child->showMaximized();
    mdi_->setActiveSubWindow(child);
    updateMenuBar();
    return child;
}

CChildFrame* CMainFrame::activeChild() const {
    return qobject_cast<CChildFrame*>(mdi_->currentSubWindow());
}

CCorvaneView* CMainFrame::activeView() const {
    CChildFrame* child = activeChild();
    return child ? child->view() : nullptr;
}

QString CMainFrame::activeChildTitle() const {
    CChildFrame* child = activeChild();
    return child ? child->windowTitle() : windowTitle();
}

void CMainFrame::setActiveChildTitle(const QString& title) {
    if (CChildFrame* child = activeChild()) child->setWindowTitle(title);
}

// ---- commands -----------------------------------------------------------------------------

void CMainFrame::onCommand(int id) {
    switch (id) {
        case ID_CREATE_PROJECT:
            OnCreateProject();
            break;
        case ID_OPEN_PROJECT:
            OnOpenProject();
            break;
        case ID_SAVE_PROJECT:
            OnSaveProject();
            break;
        case ID_SAVE_PROJECT_AS:
            OnSaveAs();
            break;
        case ID_EXIT:
        case ID_APP_EXIT:
            close();
            break;
        case ID_SET_PROJECT:
            OnSetProject();
            break;
        case ID_ADD_COMPONENT:
            OnAddComponent();
            break;
        case ID_DELETE_COMPONENT:
            OnDeleteComponent();
            break;
        case ID_DATA_TRANSFER:
            OnDataTransfer();
            break;
        case ID_VIEW_THICKNESS:
            setViewMode(QStringLiteral("H"));
            break;
        case ID_VIEW_DIAMETER:
            setViewMode(QStringLiteral("Z"));
            break;
        case ID_VIEW_GRID:
            setViewMode(QStringLiteral("W"));
            break;
        case ID_VIEW_PROFILE:
            setViewMode(QStringLiteral("P"));
            break;
        case ID_ADD_POINT:
            if (CCorvaneView* view = activeView()) view->AddPointMessage(0, 0);
            break;
        case ID_DELETE_POINT:
            if (CCorvaneView* view = activeView()) view->DeletePointMessage(0, 0);
            break;
        case ID_VIEW_TOOLBAR:
            toolBar_->setVisible(toolBar_->isHidden());
            if (QAction* a = menuAction(id)) a->setChecked(!toolBar_->isHidden());
            break;
        case ID_VIEW_STATUS_BAR:
            statusBar()->setVisible(statusBar()->isHidden());
            if (QAction* a = menuAction(id)) a->setChecked(!statusBar()->isHidden());
            break;
        case ID_FILE_NEW:
            newDocument();
            break;
        case ID_FILE_PRINT_SETUP:
            OnPrintSetup();
            break;
        case ID_APP_ABOUT:
            OnAbout();
            break;
        case ID_FILE_OPEN:  // taken by the frame and left empty on purpose
        default:
            break;
    }
}

void CMainFrame::info(const QString& text) {
    prompter_.message(caption, text, Prompter::Icon::Information);
}

void CMainFrame::error(const QString& text) {
    prompter_.message(caption, text, Prompter::Icon::Error);
}

bool CMainFrame::askSaveChanges(const QString& title) {
    return prompter_.askYesNo(caption,
                              QStringLiteral("是否保存对") + title + QStringLiteral("的更改？"));
}

void CMainFrame::clearProject() {
    project_.clear();
}

int CMainFrame::sendModeMessage(const QString& modeText) {
    CCorvaneView* view = activeView();
    return view ? view->ModeMessage(modeText) : 0;
}

void CMainFrame::setViewMode(const QString& letter) {
    ModeText_ = letter;
    sendModeMessage(ModeText_);
}

void CMainFrame::reissueViewMode() {
    if (ModeText_ == QLatin1String("H")) {
        onCommand(ID_VIEW_THICKNESS);
    } else if (ModeText_ == QLatin1String("Z")) {
        onCommand(ID_VIEW_DIAMETER);
    } else if (ModeText_ == QLatin1String("W")) {
        onCommand(ID_VIEW_GRID);
    } else {
        onCommand(ID_VIEW_PROFILE);
    }
}

bool CMainFrame::writeProjectFile() {
    const Status s =
        ProjectFile::save(toPath(projectPath_), *project_.info(), project_.components());
    if (!s.ok()) {
        // Never followed by the success notice: the old file is still as it was.
        error(QString::fromStdString(s.message()));
        return false;
    }
    info(QStringLiteral("保存工程文件成功!"));
    return true;
}

CMainFrame::WriteOutcome CMainFrame::writeWithPath() {
    if (projectPath_.isEmpty()) {
        const auto chosen = prompter_.saveFile(projectSaveDialog());
        if (!chosen) return WriteOutcome::Cancelled;
        projectPath_ = *chosen;
        projectFileName_ = QFileInfo(*chosen).fileName();
    }
    return writeProjectFile() ? WriteOutcome::Written : WriteOutcome::Failed;
}

void CMainFrame::OnCreateProject() {
    if (project_.isOpen()) {
        if (askSaveChanges(activeChildTitle()) && writeWithPath() != WriteOutcome::Written) return;
        clearProject();
        sendModeMessage(QString());
    }
    projectPath_.clear();
    projectFileName_.clear();
    project_.createEmpty();
    OnSetProject();
    if (!project_.info()->projectName.empty()) {
        setActiveChildTitle(QStringLiteral("新工程"));
    } else {
        clearProject();
        setActiveChildTitle(QString());
    }
}

void CMainFrame::OnOpenProject() {
    if (project_.isOpen()) {
        if (askSaveChanges(activeChildTitle()) && writeWithPath() != WriteOutcome::Written) return;
        clearProject();
    }
    ModeText_.clear();
    sendModeMessage(QString());
    projectPath_.clear();
    projectFileName_.clear();
    setActiveChildTitle(QString());

    const auto chosen = prompter_.openFile(projectOpenDialog());
    if (!chosen) return;
    projectPath_ = *chosen;
    projectFileName_ = QFileInfo(*chosen).fileName();

    ProjectReadResult r = ProjectFile::read(toPath(projectPath_));
    if (r.info) project_.open(std::move(*r.info), std::move(r.components));
    switch (r.outcome) {
        case ReadOutcome::Complete:
            setActiveChildTitle(projectPath_);
            break;
        case ReadOutcome::NegativeCount:
            break;
        case ReadOutcome::WrongMagic:
        case ReadOutcome::CannotOpen:
        case ReadOutcome::Truncated:
            error(QString::fromStdString(r.message));
            break;
    }
}

void CMainFrame::OnSaveProject() {
    if (!project_.hasContent()) {
        info(QStringLiteral("请设置工程信息!"));
        return;
    }
    if (writeWithPath() == WriteOutcome::Written) setActiveChildTitle(projectPath_);
}

void CMainFrame::OnSaveAs() {
    if (!project_.hasContent()) {
        info(QStringLiteral("请设置工程信息!"));
        return;
    }
    const auto chosen = prompter_.saveFile(projectSaveDialog());
    if (!chosen) return;
    projectPath_ = *chosen;
    projectFileName_ = QFileInfo(*chosen).fileName();
    if (writeProjectFile()) setActiveChildTitle(projectPath_);
}

void CMainFrame::OnSetProject() {
    if (!project_.isOpen()) return;
    CDlgSetProject dialog(*project_.info(), &project_.components(), this);
    dialog.exec();
}

void CMainFrame::InsertComponent(Component component) {
    insertComponent(project_.components(), std::move(component));
}

void CMainFrame::OnAddComponent() {
    if (!project_.isOpen()) return;
    const auto chosen = prompter_.openFile(uploadOpenDialog());
    if (!chosen) return;
    UploadReadResult upload = UploadFile::read(toPath(*chosen));
    if (!upload.complete()) {
        error(QString::fromStdString(upload.message));
        return;
    }
    if (upload.components.empty()) return;

    CDlgShowUploadData dialog(upload.components, 1, *chosen, this);
    if (dialog.exec() != QDialog::Accepted) return;
    const QString mask = dialog.selectionMask();
    if (!mask.contains(QLatin1Char('1'))) return;
    qsizetype i = 0;
    for (Component& c : upload.components) {
        if (i < mask.size() && mask[i] == QLatin1Char('1')) InsertComponent(std::move(c));
        ++i;
    }
    reissueViewMode();
}

void CMainFrame::OnDeleteComponent() {
    if (!project_.isOpen() || project_.components().empty()) return;
    CDlgShowUploadData dialog(project_.components(), 0, projectPath_, this);
    if (dialog.exec() != QDialog::Accepted) return;
    const QString mask = dialog.selectionMask();
    if (!mask.contains(QLatin1Char('1'))) return;
    qsizetype i = 0;
    auto& list = project_.components();
    for (auto it = list.begin(); it != list.end(); ++i) {
        it = i < mask.size() && mask[i] == QLatin1Char('1') ? list.erase(it) : std::next(it);
    }
    reissueViewMode();
}

void CMainFrame::OnDataTransfer() {
    if (!transfer_) {
        prompter_.message(QStringLiteral("DEBUG372"), QStringLiteral("打开设备失败！"),
                          Prompter::Icon::Error);
        return;
    }
    if (transfer_->OnDataTransfer()) {
        messagePane_->setText(QStringLiteral("正在接收测量数据…"));
        transferWatch_->start();
    }
}

void CMainFrame::showTransferProgress(std::size_t done, std::size_t expected) {
    if (!transfer_ || !transfer_->running()) return;
    messagePane_->setText(
        expected > 0
            ? QStringLiteral("正在接收测量数据：%1 / %2 块").arg(done).arg(std::max(done, expected))
            : QStringLiteral("正在接收测量数据：%1 块").arg(done));
}

void CMainFrame::stopTransfer() {
    if (!transfer_) return;
    transferUi_->abandonPrompts();
    transfer_->stop();
}

void CMainFrame::OnPrintSetup() {
    QPageSetupDialog dialog(&printer_, this);
    dialog.exec();
}

void CMainFrame::OnAbout() {
    CAboutDlg dialog(this);
    dialog.exec();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    // A running transfer is stopped first: its worker uses this window's prompts.
    if (transfer_ && transfer_->running()) stopTransfer();
    if (project_.hasContent()) {
        if (askSaveChanges(windowTitle())) OnSaveProject();
        clearProject();
    } else if (project_.isOpen()) {
        clearProject();
    }
    mdi_->closeAllSubWindows();
    event->accept();
}
