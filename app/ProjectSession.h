#pragma once

#include <QString>
#include <QUndoStack>
#include <optional>

#include "dialogs/Prompter.h"
#include "display/ComponentEditor.h"
#include "model/AcceptanceMark.h"
#include "model/Project.h"

class SessionUi;

// The one owner of the open project: its header and components, the file it came from, the
// view mode, and the flows that change them (创建工程, 打开工程, 保存工程, 另存为, the close
// prompt, 设置工程, 增加构件, 删除构件). Everything else reaches the project through it. It talks
// to the user only through the Prompter and to the window only through SessionUi, so it runs
// without a main window. Every change to the project is a step on its undo stack.
// GUI thread only.
class ProjectSession : public ComponentEditor {
public:
    // Neither is owned; both must outlive the session.
    ProjectSession(Prompter& prompter, SessionUi& ui);

    Project& project() { return project_; }
    const Project& project() const { return project_; }
    const QString& projectPath() const { return projectPath_; }
    // The file name of projectPath, empty without one.
    QString projectFileName() const;
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

    // 打开工程 with `path` in place of the open dialog's answer.
    void openProjectFile(const QString& path);
    // 创建工程, then 增加构件 with `uploadPath` in place of the open dialog's answer; nothing is
    // added when the project was not created.
    void createProjectFrom(const QString& uploadPath);

    // A view-mode command: remembers the type and lets the view rebuild for it.
    void setViewMode(DetectionType type);
    // After the component list changed: the mode shown again, 剖面 when none was chosen.
    void reissueViewMode();

    // The close flow: offers to save a project with content, then clears the project. False
    // when the user kept the window open (prompt dismissed, save cancelled or failed); the
    // project is then as it was.
    bool closeProject();

    QUndoStack& undoStack() { return undoStack_; }

    // The class and sample of each classed component, as the sidecar keeps them.
    const AcceptanceMarks& acceptanceMarks() const { return marks_; }

    // ComponentEditor
    const Component* component(int index) const override;
    bool setName(int index, std::string_view name) override;
    bool setField(int index, ComponentField field, std::int16_t value) override;
    bool setPoint(int index, PointRef point, const MeasurePoint& value) override;
    bool addPoint(int index, bool vertical) override;
    bool removePoint(int index, PointRef point) override;

    // For the undo steps.
    Component* componentAt(int index);
    void showComponentAgain(int index);

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
    bool writeProjectFile(const QString& path);
    void setPath(const QString& path);
    void info(const QString& text);
    void error(const QString& text);

    Prompter& prompter_;
    SessionUi& ui_;
    Project project_;
    QString projectPath_;
    DetectionType viewMode_ = DetectionType::Unknown;
    QUndoStack undoStack_;
    AcceptanceMarks marks_;
};
