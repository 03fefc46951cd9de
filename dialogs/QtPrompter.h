#pragma once

#include <QPointer>
#include <QWidget>

#include "session/Prompter.h"

// The real message boxes and file dialogs, owned by `parent`.
class QtPrompter : public Prompter {
public:
    void setParent(QWidget* parent) { parent_ = parent; }

    void message(const QString& caption, const QString& text, Icon icon) override;
    Answer askYesNo(const QString& caption, const QString& text) override;
    std::optional<QString> saveFile(const FileDialog& dialog) override;
    std::optional<QString> openFile(const FileDialog& dialog) override;

    // "描述(*.ext)|*.ext|" as a Qt name filter list.
    static QStringList nameFilters(const QString& filter);

private:
    std::optional<QString> runFileDialog(const FileDialog& dialog, bool save);

    QPointer<QWidget> parent_;
    QString lastFolder_;
};
