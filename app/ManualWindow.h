#pragma once

#include <QMainWindow>

class ManualIndex;
class QLabel;
class QLineEdit;
class QListWidget;
class QTextBrowser;
class QTreeWidget;
class QWidget;

// 使用说明: the user manual in a window of its own, offline, from the pages built into the
// program: the table of contents and the search on the left, the page on the right, back and
// forward, and Ctrl+F to find in the page. Its owner may be a modal dialog: the window then
// belongs to it and takes input while the dialog is open. GUI thread only.
class ManualWindow : public QMainWindow {
    Q_OBJECT
public:
    // `index` must outlive the window; `owner` may be null.
    ManualWindow(const ManualIndex& index, QWidget* owner);

    // Shows "page.html#id" (or a page) and brings the window to the front.
    void showSection(const QString& target);
    // The page and section shown, as given to showSection or followed from a link.
    QString shownTarget() const;

    QTextBrowser* browser() const { return browser_; }

private:
    QWidget* makeContents();
    QWidget* makeSearch();
    QWidget* makeFindBar();
    void search(const QString& words);
    void findInPage(bool backward);
    void markContents();

    const ManualIndex& index_;
    QTextBrowser* browser_;
    QTreeWidget* contents_ = nullptr;
    QLineEdit* searchEdit_ = nullptr;
    QListWidget* hits_ = nullptr;
    QWidget* findBar_ = nullptr;
    QLineEdit* findEdit_ = nullptr;
    QLabel* findNote_ = nullptr;
};
