#include "app/CMainFrame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include "app/AppIcons.h"
#include "app/CAboutDlg.h"
#include "app/CChildFrame.h"
#include "app/CommandIds.h"
#include "app/CommandRegistry.h"
#include "app/DataTransferCommand.h"
#include "app/HelpCommand.h"
#include "app/LockKeyPanes.h"
#include "app/QtReportPresenter.h"
#include "app/ReportCommands.h"
#include "dialogs/CDlgAcceptance.h"
#include "dialogs/CDlgHistory.h"
#include "dialogs/CDlgSetProject.h"
#include "dialogs/CDlgShowUploadData.h"
#include "display/CCorvaneView.h"
#include "document/HistoryText.h"

namespace {

// The project commands, each a flow of the session.
constexpr std::pair<int, void (ProjectSession::*)()> sessionCommands[] = {
    {ID_CREATE_PROJECT, &ProjectSession::OnCreateProject},
    {ID_OPEN_PROJECT, &ProjectSession::OnOpenProject},
    {ID_SAVE_PROJECT, &ProjectSession::OnSaveProject},
    {ID_SAVE_PROJECT_AS, &ProjectSession::OnSaveAs},
    {ID_SET_PROJECT, &ProjectSession::OnSetProject},
    {ID_ACCEPTANCE, &ProjectSession::OnAcceptance},
    {ID_ADD_COMPONENT, &ProjectSession::OnAddComponent},
    {ID_DELETE_COMPONENT, &ProjectSession::OnDeleteComponent},
};

}  // namespace

CMainFrame::CMainFrame(Prompter& prompter, UsbLink* link, QWidget* parent)
    : QMainWindow(parent),
      prompter_(prompter),
      session_(prompter, *this),
      reports_(std::make_unique<ReportCommands>(
          session_, static_cast<ComponentChooser&>(*this), prompter,
          [this] {
              auto p = std::make_unique<QtReportPresenter>(this);
              presenter_ = p.get();
              return p;
          }())),
      mdi_(new QMdiArea(this)),
      commands_(new CommandRegistry(this)) {
    setWindowTitle(QStringLiteral("Corvane "));
    setWindowIcon(AppIcons::program());
    setCentralWidget(mdi_);
    mdi_->setActivationOrder(QMdiArea::ActivationHistoryOrder);

    toolBar_ = new QToolBar(QStringLiteral("标准"), this);
    toolBar_->setObjectName(QStringLiteral("toolbar128"));
    toolBar_->setIconSize(QSize(16, 15));
    toolBar_->setAllowedAreas(Qt::AllToolBarAreas);
    commands_->fillToolBar(toolBar_);
    addToolBar(Qt::TopToolBarArea, toolBar_);
    messagePane_ = new QLabel(QStringLiteral("就绪"), this);
    statusBar()->addWidget(messagePane_, 1);
    new LockKeyPanes(statusBar());

    connect(commands_, &CommandRegistry::command, this, &CMainFrame::onCommand);
    updateMenuBar();
    connect(mdi_, &QMdiArea::subWindowActivated, this, [this] { updateMenuBar(); });

    transfer_ = new DataTransferCommand(this, prompter_, link, messagePane_);
    commands_->followUndoStack(session_.undoStack());
    help_ = new HelpCommand(this, action(ID_HELP));
}

CMainFrame::~CMainFrame() {
    transfer_->stop();
    // The document windows go with the base class, after this object: nothing of theirs may
    // call back into it then.
    for (QMdiSubWindow* child : mdi_->subWindowList()) child->disconnect(this);
    mdi_->disconnect(this);
}

// ---- window parts -------------------------------------------------------------------------

void CMainFrame::updateMenuBar() {
    const bool documentOpen = !mdi_->subWindowList().isEmpty();
    const MenuBar bar = documentOpen ? MenuBar::M129 : MenuBar::M128;
    if (!menuBuilt_ || bar != commands_->shownMenu()) {
        commands_->showMenu(menuBar(), bar);
        menuBuilt_ = true;
    }
    // Project files never enter the recent-file list of the document commands.
    commands_->updateEnabled(documentOpen, false);
    action(ID_VIEW_TOOLBAR)->setChecked(!toolBar_->isHidden());
    action(ID_VIEW_STATUS_BAR)->setChecked(!statusBar()->isHidden());
}

QAction* CMainFrame::action(int id) const {
    return commands_->action(id);
}

QAction* CMainFrame::menuAction(int id) const {
    return commands_->menuAction(id);
}

TransferSession* CMainFrame::transferSession() const {
    return transfer_->session();
}

void CMainFrame::toggleBar(QWidget* bar, int id) {
    bar->setVisible(bar->isHidden());
    action(id)->setChecked(!bar->isHidden());
}

// ---- documents ----------------------------------------------------------------------------

CChildFrame* CMainFrame::newDocument() {
    auto* child = new CChildFrame(session_.project(), &session_.document(), &prompter_);
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

QString CMainFrame::documentTitle() const {
    CChildFrame* child = activeChild();
    return child ? child->windowTitle() : windowTitle();
}

void CMainFrame::setDocumentTitle(const QString& title) {
    if (CChildFrame* child = activeChild()) child->setWindowTitle(title);
}

QString CMainFrame::mainTitle() const {
    return windowTitle();
}

int CMainFrame::sendModeMessage(DetectionType type) {
    CCorvaneView* view = activeView();
    return view ? view->ModeMessage(type) : 0;
}

void CMainFrame::componentChanged(int index) {
    if (CCorvaneView* view = activeView()) view->componentChanged(index);
}

void CMainFrame::editProjectSettings(ProjectInfo& info, const ComponentList& components) {
    CDlgSetProject dialog(info, &components, this);
    if (dialog.exec() == QDialog::Accepted && !dialog.cutNotice().isEmpty()) {
        statusBar()->showMessage(dialog.cutNotice());
    }
}

std::optional<AcceptanceMarks> CMainFrame::editAcceptanceMarks(const ComponentList& components,
                                                               const AcceptanceMarks& marks,
                                                               bool confirmed) {
    CDlgAcceptance dialog(components, marks, this);
    dialog.setUnconfirmed(!confirmed);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.marks();
}

std::optional<std::vector<bool>> CMainFrame::chooseComponents(const ComponentList& components,
                                                              int addMode, const QString& caption) {
    CDlgShowUploadData dialog(components, addMode, caption, this);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.selection();
}

void CMainFrame::showHistory() {
    if (!session_.project().isOpen()) return;
    // What was saved: a change is recorded when the project is saved.
    const HistoryChain::Entries& history = session_.document().history();
    const std::string state =
        HistoryChain::stateText(session_.document().historyState(), history.size());
    CDlgHistory dialog(HistoryText::newestFirst(history), QString::fromStdString(state), this);
    dialog.exec();
}

std::optional<std::vector<bool>> CMainFrame::choosePrintComponents(const ComponentList& components,
                                                                   const QString& caption,
                                                                   bool& markEdits) {
    CDlgShowUploadData dialog(components, 0, caption, this);
    dialog.offerMarkEdits(markEdits);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    markEdits = dialog.markEdits();
    return dialog.selection();
}

// ---- commands -----------------------------------------------------------------------------

bool CMainFrame::finishEdits() {
    for (QMdiSubWindow* window : mdi_->subWindowList()) {
        auto* child = qobject_cast<CChildFrame*>(window);
        if (child && !child->view()->finishEdit()) return false;
    }
    return true;
}

void CMainFrame::onCommand(int id) {
    // The manual leaves the project alone, and may be asked for from inside a dialog, whose
    // panel edit must stay as it is.
    if (id == ID_HELP) return help_->OnHelp();
    // A menu or toolbar button does not take the focus from an in-place edit: what was typed
    // is stored first, as its own step, so the command sees it (and 撤销 takes it back).
    if (!finishEdits()) return;
    for (const auto& [command, handler] : sessionCommands) {
        if (command == id) return (session_.*handler)();
    }
    for (const ViewCommand& view : viewCommands) {
        if (view.id == id) return session_.setViewMode(view.type);
    }
    if (reports_->onCommand(id)) return;  // the record tables
    switch (id) {
        case ID_EXIT:
        case ID_APP_EXIT:
            close();
            return;
        case ID_DATA_TRANSFER:
            return transfer_->OnDataTransfer();
        case ID_HISTORY:
            return showHistory();
        case ID_EDIT_UNDO:
            return session_.undoStack().undo();
        case ID_EDIT_REDO:
            return session_.undoStack().redo();
        case ID_ADD_POINT:
            if (CCorvaneView* view = activeView()) view->AddPointMessage(0, 0);
            return;
        case ID_DELETE_POINT:
            if (CCorvaneView* view = activeView()) view->DeletePointMessage(0, 0);
            return;
        case ID_VIEW_TOOLBAR:
            return toggleBar(toolBar_, id);
        case ID_VIEW_STATUS_BAR:
            return toggleBar(statusBar(), id);
        case ID_FILE_NEW:
            newDocument();
            return;
        case ID_FILE_PRINT_SETUP:
            QtReportPresenter::setUpPrinter(presenter_->printer(), this);
            return;
        case ID_APP_ABOUT: {
            CAboutDlg dialog(this);
            dialog.exec();
            return;
        }
        case ID_FILE_PRINT:
            return reports_->printView(activeView() ? activeView()->shownType()
                                                    : DetectionType::Unknown);
        default:  // 57601 is taken by the frame and left empty on purpose; the rest reach nothing
            return;
    }
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (!finishEdits()) {
        event->ignore();
        return;
    }
    // Asked first: a dismissed prompt or a failed save keeps the window, the project and a
    // running transfer as they are.
    if (!session_.closeProject()) {
        event->ignore();
        return;
    }
    // A running transfer is stopped before the window goes: its worker uses our prompts.
    transfer_->stop();
    reports_->release();
    mdi_->closeAllSubWindows();
    event->accept();
}
