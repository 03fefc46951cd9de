#pragma once

#include <QString>
#include <QTimer>
#include <optional>
#include <vector>

#include "document/ProjectDocument.h"
#include "session/Prompter.h"

class SessionUi;

// The flows of the open project that talk to the user: 创建工程, 打开工程, 保存工程, 另存为,
// the close prompt, 设置工程, 增加构件, 删除构件, 验收判定, and the view mode. The project itself,
// its file and its undo steps are the ProjectDocument's; this class asks the user through the
// Prompter, reaches the window only through SessionUi, and so runs without a main window. The
// screen follows a step on the next turn of the event loop, never from inside the call that
// made it. GUI thread only.
class ProjectSession {
public:
    // Neither is owned; both must outlive the session.
    ProjectSession(Prompter& prompter, SessionUi& ui);

    ProjectDocument& document() { return document_; }
    Project& project() { return document_.project(); }
    const Project& project() const { return document_.project(); }
    const QString& projectPath() const { return document_.path(); }
    QString projectFileName() const { return document_.fileName(); }
    QUndoStack& undoStack() { return document_.undoStack(); }
    // The class and sample of each classed component, as the sidecar keeps them.
    const AcceptanceMarks& acceptanceMarks() const { return document_.acceptanceMarks(); }

    // The type the view shows; Unknown before one was chosen.
    DetectionType viewMode() const { return viewMode_; }
    // Its letter, "H", "Z", "W", "P", or empty: the text the view's ModeMessage takes.
    QString ModeText() const;

    void OnCreateProject();
    void OnOpenProject();
    void OnSaveProject();
    void OnSaveAs();
    void OnSetProject();
    void OnAddComponent();
    void OnDeleteComponent();
    void OnAcceptance();

    // 打开工程 with `path` in place of the open dialog's answer.
    void openProjectFile(const QString& path);
    // 创建工程, then 增加构件 with `uploadPath` in place of the open dialog's answer; nothing is
    // added when the project was not created.
    void createProjectFrom(const QString& uploadPath);

    // A view-mode command: remembers the type and lets the view rebuild for it.
    void setViewMode(DetectionType type);

    // The close flow: offers to save a project with content, then clears the project. False
    // when the user kept the window open (prompt dismissed, save cancelled or failed, also
    // when only the sidecar failed); the project is then as it was.
    bool closeProject();

    static Prompter::FileDialog projectSaveDialog();
    static Prompter::FileDialog projectOpenDialog();
    static Prompter::FileDialog uploadOpenDialog();

private:
    enum class WriteOutcome { Written, Cancelled, Failed };

    // The flows behind 打开工程 and 增加构件; without a path they ask for one.
    void openProject(const std::optional<QString>& path);
    void addComponents(const std::optional<QString>& path);
    // The save prompt before create and open; false when the command is to stop.
    bool offerToSave(const QString& title);
    void clearProject();
    WriteOutcome writeWithPath();
    WriteOutcome writeProjectFile(const QString& path);
    void info(const QString& text);
    void error(const QString& text);

    // A step changed the project: the screen follows once the current event is done.
    void followStep(StepChange change, int index);
    void showChanges();
    // After the component list changed: the mode shown again, 剖面 when none was chosen.
    void reissueViewMode();

    Prompter& prompter_;
    SessionUi& ui_;
    ProjectDocument document_;
    DetectionType viewMode_ = DetectionType::Unknown;
    QTimer refresh_;
    bool listChanged_ = false;
    std::vector<int> changedComponents_;
};
