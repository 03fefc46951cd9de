#pragma once

#include <QMainWindow>
#include <QPrinter>
#include <QString>
#include <map>
#include <memory>

#include "app/Prompter.h"
#include "model/Project.h"

class CChildFrame;
class CCorvaneView;
class GuiTransferUi;
class QLabel;
class QMdiArea;
class QTimer;
class QToolBar;
class TransferSession;
class UsbLink;
struct MenuPopup;

// The main window. It owns the one open project, receives every command by its id and runs
// the project lifecycle; it tells the view of the active document window what to show.
// GUI thread only.
class CMainFrame : public QMainWindow {
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

    Project& project() { return project_; }
    const QString& projectPath() const { return projectPath_; }
    const QString& projectFileName() const { return projectFileName_; }
    const QString& ModeText() const { return ModeText_; }

    // The action that the current menu bar shows for `id`, or null.
    QAction* menuAction(int id) const;
    QToolBar* toolBar() const { return toolBar_; }
    QLabel* messagePane() const { return messagePane_; }
    TransferSession* transferSession() const { return transfer_.get(); }

    static Prompter::FileDialog projectSaveDialog();
    static Prompter::FileDialog projectOpenDialog();
    static Prompter::FileDialog uploadOpenDialog();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class WriteOutcome { Written, Cancelled, Failed };

    void OnCreateProject();
    void OnOpenProject();
    void OnSaveProject();
    void OnSaveAs();
    void OnSetProject();
    void OnAddComponent();
    void OnDeleteComponent();
    void InsertComponent(Component component);
    void OnDataTransfer();
    void OnPrintSetup();
    void OnAbout();
    void setViewMode(const QString& letter);
    void reissueViewMode();
    void clearProject();
    int sendModeMessage(const QString& modeText);
    void setActiveChildTitle(const QString& title);
    QString activeChildTitle() const;
    bool askSaveChanges(const QString& title);
    WriteOutcome writeWithPath();
    bool writeProjectFile();
    void stopTransfer();
    void showTransferProgress(std::size_t done, std::size_t expected);

    void buildMenuBar(const std::vector<MenuPopup>& menu);
    void updateMenuBar();
    void createToolBar();
    void createStatusBar();
    void bindKeys();
    void info(const QString& text);
    void error(const QString& text);

    Prompter& prompter_;
    QMdiArea* mdi_;
    QToolBar* toolBar_ = nullptr;
    QLabel* messagePane_ = nullptr;
    std::map<int, QLabel*> lockIndicators_;
    std::map<int, QAction*> menuActions_;
    bool documentMenuShown_ = false;
    bool menuBuilt_ = false;

    Project project_;
    QString projectPath_;
    QString projectFileName_;
    QString ModeText_;

    std::unique_ptr<GuiTransferUi> transferUi_;
    std::unique_ptr<TransferSession> transfer_;
    QTimer* transferWatch_;
    QPrinter printer_;
};
