#include "app/HelpCommand.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QTextBrowser>

#include "app/ManualIndex.h"
#include "app/ManualWindow.h"

namespace {

const QString firstInspection = QStringLiteral("first-inspection.html");

}  // namespace

HelpCommand::HelpCommand(QWidget* frame, QAction* action)
    : QObject(frame), frame_(frame), action_(action) {
    qApp->installEventFilter(this);
}

const std::vector<std::pair<const char*, const char*>>& HelpCommand::sections() {
    // By class name, so that the dialogs need not know of the manual, Qt's own ones included.
    static const std::vector<std::pair<const char*, const char*>> table{
        {"CDlgSetProject", "commands.html#set-project"},
        {"CDlgShowUploadData", "commands.html#choose-components"},
        {"CDlgEdit", "window.html#point-dialog"},
        {"CDlgAcceptance", "acceptance.html#dialog"},
        {"CDlgHistory", "files.html#history"},
        {"CAboutDlg", "commands.html#about"},
        {"QPrintDialog", "printing.html#print-dialog"},
        {"QPrintPreviewDialog", "printing.html#preview"},
        {"QFileDialog", "files.html#file-dialogs"},
        {"QMessageBox", "troubleshooting.html"},
    };
    return table;
}

QString HelpCommand::sectionOf(const QWidget* window) {
    for (const QWidget* w = window; w; w = w->parentWidget()) {
        for (const auto& [name, section] : sections()) {
            if (w->inherits(name)) return QString::fromLatin1(section);
        }
    }
    return {};
}

void HelpCommand::OnHelp() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal != frame_) {
        auto* window = modal->findChild<ManualWindow*>(QString(), Qt::FindDirectChildrenOnly);
        if (!window) window = new ManualWindow(ManualIndex::shipped(), modal);
        const QString section = sectionOf(modal);
        window->showSection(section.isEmpty() ? firstInspection : section);
        return;
    }
    if (!frameWindow_) {
        frameWindow_ = new ManualWindow(ManualIndex::shipped(), frame_);
        frameWindow_->showSection(firstInspection);
        return;
    }
    frameWindow_->show();
    frameWindow_->raise();
    frameWindow_->activateWindow();
}

bool HelpCommand::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier) return false;
    QWidget* modal = QApplication::activeModalWidget();
    auto* widget = qobject_cast<QWidget*>(watched);
    // Only keys of the modal dialog itself; the frame's own F1 is its action's shortcut.
    if (!modal || modal == frame_ || !widget || widget->window() != modal) return false;
    action_->trigger();
    return true;
}
