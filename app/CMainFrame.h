#pragma once

#include <QMainWindow>
#include <QString>
#include <memory>

#include "session/ProjectSession.h"
#include "session/Prompter.h"
#include "session/SessionUi.h"

class CChildFrame;
class CCorvaneView;
class CommandRegistry;
class DataTransferCommand;
class HelpCommand;
class QLabel;
class QMdiArea;
class QtReportPresenter;
class QToolBar;
class ReportCommands;
class TransferSession;
class UsbLink;

// The main window: the document windows, the menus, toolbar and status bar, and the one
// dispatch of every command by its id. The project and its flows belong to the project
// session; the frame wires it to the window. GUI thread only.
class CMainFrame : public QMainWindow, private SessionUi {
    Q_OBJECT
public:
    // Neither is owned; both must outlive the frame. `link` may be null when no instrument
    // link could be made; 数据传输 then reports that the device cannot be opened.
    CMainFrame(Prompter& prompter, UsbLink* link, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // The one dispatch of every command: menus, toolbar, keys and tests come through here.
    void onCommand(int id);

    // The framework's new-document command: one more maximized document window.
    CChildFrame* newDocument();

    // The document window the commands address now, or null when there is none.
    CChildFrame* activeChild() const;
    CCorvaneView* activeView() const;

    ProjectSession& session() { return session_; }
    ReportCommands& reports() { return *reports_; }
    Project& project() { return session_.project(); }
    const QString& projectPath() const { return session_.projectPath(); }
    QString projectFileName() const { return session_.projectFileName(); }
    QString ModeText() const { return session_.ModeText(); }

    // The action of a command id, and the same action only while the menu bar shown lists it.
    QAction* action(int id) const;
    QAction* menuAction(int id) const;
    QToolBar* toolBar() const { return toolBar_; }
    QLabel* messagePane() const { return messagePane_; }
    TransferSession* transferSession() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // SessionUi
    QString documentTitle() const override;
    void setDocumentTitle(const QString& title) override;
    QString mainTitle() const override;
    int sendModeMessage(DetectionType type) override;
    void componentChanged(int index) override;
    std::optional<AcceptanceMarks> editAcceptanceMarks(const ComponentList& components,
                                                       const AcceptanceMarks& marks,
                                                       bool confirmed) override;
    void editProjectSettings(ProjectInfo& info, const ComponentList& components) override;
    std::optional<std::vector<bool>> chooseComponents(const ComponentList& components, int addMode,
                                                      const QString& caption) override;
    std::optional<std::vector<bool>> choosePrintComponents(const ComponentList& components,
                                                           const QString& caption,
                                                           bool& markEdits) override;

    // Ends the open in-place edits of every document window; false when one was refused.
    bool finishEdits();
    void updateMenuBar();
    void toggleBar(QWidget* bar, int id);
    // 修改记录: the history of the open project as its sidecar holds it.
    void showHistory();

    Prompter& prompter_;
    ProjectSession session_;
    // Owned by the reports; 打印设置 chooses on its printer. Declared before them, which set it.
    QtReportPresenter* presenter_ = nullptr;
    std::unique_ptr<ReportCommands> reports_;  // refers to the session: declared after it
    QMdiArea* mdi_;
    CommandRegistry* commands_;
    QToolBar* toolBar_ = nullptr;
    QLabel* messagePane_ = nullptr;
    bool menuBuilt_ = false;
    DataTransferCommand* transfer_ = nullptr;
    HelpCommand* help_ = nullptr;
};
