#pragma once

#include <QObject>
#include <map>

#include "app/CommandTable.h"

class QAction;
class QMenuBar;
class QUndoStack;
class QToolBar;
class QWidget;

// One QAction per command id, built once from the command table. The menu bars and the
// toolbar show these same actions; a key reaches its command only while the menu bar that
// binds it is shown. Triggering an action, by menu, button, key or test, emits `command`.
// GUI thread only.
class CommandRegistry : public QObject {
    Q_OBJECT
public:
    // The actions live in `window`, so their keys work wherever its focus is.
    explicit CommandRegistry(QWidget* window);

    QAction* action(int id) const;

    // Rebuilds `menuBar` as menu 128 or 129: items, the texts of that menu and its keys.
    void showMenu(QMenuBar* menuBar, MenuBar bar);
    MenuBar shownMenu() const { return shown_; }
    // The action if the menu bar shown lists it, else null.
    QAction* menuAction(int id) const;

    void fillToolBar(QToolBar* toolBar) const;

    // Applies the enabling rules of the rows that have one.
    void updateEnabled(bool documentOpen, bool recentFiles);

    // From now on 撤销 and 重做 are enabled while `stack` has a step to take, and name it
    // ("撤销(&U) 修改 P001 测点 3\tCtrl+Z"). The stack must outlive this object.
    void followUndoStack(const QUndoStack& stack);

signals:
    void command(int id);

private:
    void showUndoSteps();

    struct Command {
        QAction* action;
        const CommandRow* row;
    };
    std::map<int, Command> commands_;
    std::map<int, QAction*> shownItems_;
    MenuBar shown_ = MenuBar::M128;
    const QUndoStack* undo_ = nullptr;
};
