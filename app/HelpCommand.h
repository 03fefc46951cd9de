#pragma once

#include <QObject>
#include <QPointer>

class ManualWindow;
class QAction;
class QWidget;

// 使用说明 (F1): the manual at the section of what the user is looking at. While a dialog is
// open it is modal and the frame's keys do not reach their actions, so F1 in it is handed to
// the command's action here, for every dialog in one place; the manual then opens in a window
// the dialog owns, since a window of the frame would take no input. GUI thread only.
class HelpCommand : public QObject {
    Q_OBJECT
public:
    // `frame` owns this object and the frame's manual window; `action` is the command's.
    HelpCommand(QWidget* frame, QAction* action);

    // The command: the manual at the open dialog's section, or where the frame's manual
    // window was left (the first inspection the first time).
    void OnHelp();

    // The manual's "page.html#id" for a window: its own, else its nearest owner's, else "".
    static QString sectionOf(const QWidget* window);
    // Every window class that has a section, with it: the test proves each exists.
    static const std::vector<std::pair<const char*, const char*>>& sections();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* frame_;
    QAction* action_;
    QPointer<ManualWindow> frameWindow_;
};
