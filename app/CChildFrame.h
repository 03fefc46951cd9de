#pragma once

#include <QMdiSubWindow>

class CCorvaneView;
class ComponentEditor;
class Project;
class Prompter;

// The document window: maximized, without a sizing border, its title set only by the frame.
class CChildFrame : public QMdiSubWindow {
    Q_OBJECT
public:
    // The view's panel stores through `editor` and prompts through `prompter`; not owned.
    CChildFrame(const Project& project, ComponentEditor* editor, Prompter* prompter,
                QWidget* parent = nullptr);

    CCorvaneView* view() const { return view_; }

protected:
    // A value typed into the panel is stored before the window goes, or the window stays.
    void closeEvent(QCloseEvent* event) override;

private:
    CCorvaneView* view_;
};
