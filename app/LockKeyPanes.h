#pragma once

#include <QObject>
#include <map>

class QLabel;
class QStatusBar;

// The status bar's CAP, NUM and SCRL panes. Qt cannot read the lock keys' state on every
// platform, so each pane follows the presses of its key anywhere in the application. GUI
// thread only.
class LockKeyPanes : public QObject {
    Q_OBJECT
public:
    // Adds the panes to the right of `bar`, which owns them and this object.
    explicit LockKeyPanes(QStatusBar* bar);
    ~LockKeyPanes() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::map<int, QLabel*> panes_;  // by key
};
