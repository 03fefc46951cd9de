#include "app/CommandRegistry.h"

#include <QAction>
#include <QMenuBar>
#include <QToolBar>
#include <QUndoStack>
#include <functional>

#include "app/CommandIds.h"

namespace {

QString utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QList<QKeySequence> keysOf(const CommandRow& row) {
    QList<QKeySequence> keys;
    for (const QString& k :
         QString::fromUtf8(row.keys).split(QStringLiteral("; "), Qt::SkipEmptyParts))
        keys << QKeySequence(k, QKeySequence::PortableText);
    return keys;
}

}  // namespace

CommandRegistry::CommandRegistry(QWidget* window) : QObject(window) {
    for (const CommandRow& row : commandTable()) {
        auto* a = new QAction(utf8(row.text), window);
        const int id = row.id;
        a->setData(id);
        a->setStatusTip(QString::fromUtf8(row.statusPrompt));
        if (row.icon) a->setIcon(row.icon());
        if (*row.toolTip) a->setToolTip(QString::fromUtf8(row.toolTip));
        a->setCheckable(row.checkable);
        a->setShortcutContext(Qt::WindowShortcut);
        connect(a, &QAction::triggered, this, [this, id] { emit command(id); });
        window->addAction(a);
        commands_[id] = {a, &row};
    }
}

QAction* CommandRegistry::action(int id) const {
    auto it = commands_.find(id);
    return it == commands_.end() ? nullptr : it->second.action;
}

QAction* CommandRegistry::menuAction(int id) const {
    auto it = shownItems_.find(id);
    return it == shownItems_.end() ? nullptr : it->second;
}

void CommandRegistry::showMenu(QMenuBar* menuBar, MenuBar bar) {
    shown_ = bar;
    const int flag = static_cast<int>(bar);
    for (const auto& [id, command] : commands_) {
        QAction* a = command.action;
        const CommandRow* row = command.row;
        a->setShortcuts((row->keyMenus & flag) ? keysOf(*row) : QList<QKeySequence>());
        a->setText(utf8(bar == MenuBar::M128 && !row->text128.empty() ? row->text128 : row->text));
    }

    // Clearing deletes the menus only; the actions stay with the window.
    menuBar->clear();
    shownItems_.clear();
    std::function<void(QMenu*, const std::vector<MenuEntry>&)> fill =
        [&](QMenu* target, const std::vector<MenuEntry>& entries) {
            for (const MenuEntry& e : entries) {
                switch (e.kind) {
                    case MenuEntry::Kind::Separator:
                        target->addSeparator();
                        break;
                    case MenuEntry::Kind::Submenu:
                        fill(target->addMenu(QString::fromUtf8(e.title)), e.children);
                        break;
                    case MenuEntry::Kind::Item:
                        target->addAction(commands_.at(e.id).action);
                        shownItems_[e.id] = commands_.at(e.id).action;
                        break;
                }
            }
        };
    for (const MenuPopup& popup : menuLayout(bar)) {
        fill(menuBar->addMenu(QString::fromUtf8(popup.title)), popup.entries);
    }
    showUndoSteps();  // the texts above are the table's, without the step
}

void CommandRegistry::fillToolBar(QToolBar* toolBar) const {
    for (int id : toolbar128()) {
        if (id == 0) {
            toolBar->addSeparator();
        } else {
            toolBar->addAction(commands_.at(id).action);
        }
    }
}

void CommandRegistry::updateEnabled(bool documentOpen, bool recentFiles) {
    for (const auto& [id, command] : commands_) {
        switch (command.row->enabled) {
            case CommandRow::Enabled::Always:
                break;
            case CommandRow::Enabled::WithDocument:
                command.action->setEnabled(documentOpen);
                break;
            case CommandRow::Enabled::WithRecentFiles:
                command.action->setEnabled(recentFiles);
                break;
        }
    }
}

void CommandRegistry::followUndoStack(const QUndoStack& stack) {
    undo_ = &stack;
    connect(&stack, &QUndoStack::indexChanged, this, &CommandRegistry::showUndoSteps);
    connect(&stack, &QUndoStack::canUndoChanged, this, &CommandRegistry::showUndoSteps);
    connect(&stack, &QUndoStack::canRedoChanged, this, &CommandRegistry::showUndoSteps);
    showUndoSteps();
}

void CommandRegistry::showUndoSteps() {
    if (!undo_) return;
    const auto name = [](const QString& action, const QString& step, const char* key) {
        return action + (step.isEmpty() ? QString() : QLatin1Char(' ') + step) + QLatin1Char('\t') +
               QLatin1String(key);
    };
    QAction* undo = action(ID_EDIT_UNDO);
    QAction* redo = action(ID_EDIT_REDO);
    undo->setEnabled(undo_->canUndo());
    undo->setText(name(QStringLiteral("撤销(&U)"), undo_->undoText(), "Ctrl+Z"));
    redo->setEnabled(undo_->canRedo());
    redo->setText(name(QStringLiteral("重做(&R)"), undo_->redoText(), "Ctrl+Y"));
}
