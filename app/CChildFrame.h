#pragma once

#include <QMdiSubWindow>

class CCorvaneView;
class Project;

// The document window: maximized, without a sizing border, its title set only by the frame.
class CChildFrame : public QMdiSubWindow {
    Q_OBJECT
public:
    CChildFrame(const Project& project, QWidget* parent = nullptr);

    CCorvaneView* view() const { return view_; }

private:
    CCorvaneView* view_;
};
