#include "dialogs/QtPrompter.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

void QtPrompter::message(const QString& caption, const QString& text, Icon icon) {
    QMessageBox box(icon == Icon::Error ? QMessageBox::Critical : QMessageBox::Information, caption,
                    text, QMessageBox::NoButton, parent_);
    box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
    box.exec();
}

Prompter::Answer QtPrompter::askYesNo(const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::Information, caption, text, QMessageBox::NoButton, parent_);
    QPushButton* yes = box.addButton(QStringLiteral("是"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("否"), QMessageBox::NoRole);
    // Escape and the close button would otherwise count as 否 and discard the project.
    QPushButton* dismiss = box.addButton(QMessageBox::Cancel);
    dismiss->hide();
    box.setEscapeButton(dismiss);
    box.setDefaultButton(yes);
    box.exec();
    if (box.clickedButton() == yes) return Answer::Yes;
    return box.clickedButton() == no ? Answer::No : Answer::Dismissed;
}

QStringList QtPrompter::nameFilters(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'), Qt::SkipEmptyParts);
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString pattern = QLatin1Char('(') + parts[i + 1] + QLatin1Char(')');
        filters << (parts[i].endsWith(pattern) ? parts[i] : parts[i] + QLatin1Char(' ') + pattern);
    }
    return filters;
}

std::optional<QString> QtPrompter::runFileDialog(const FileDialog& d, bool save) {
    QFileDialog dialog(parent_, save ? QStringLiteral("另存为") : QStringLiteral("打开"));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save || !d.mustExist ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !d.confirmOverwrite);
    dialog.setNameFilters(nameFilters(d.filter));
    dialog.setDefaultSuffix(d.extension);
    dialog.setDirectory(lastFolder_.isEmpty() ? QDir::currentPath() : lastFolder_);
    dialog.selectFile(d.defaultName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    // Later dialogs start where the user last was, as the platform's dialogs do.
    lastFolder_ = dialog.directory().absolutePath();
    return dialog.selectedFiles().front();
}

std::optional<QString> QtPrompter::saveFile(const FileDialog& dialog) {
    return runFileDialog(dialog, true);
}

std::optional<QString> QtPrompter::openFile(const FileDialog& dialog) {
    return runFileDialog(dialog, false);
}
