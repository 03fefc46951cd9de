#pragma once

#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

// The user manual's pages as the manual window reads them: their headings for the table of
// contents and the text of each section for the search. Pages are HTML whose headings carry
// ids (<h1 id=…> once per page, <h2 id=…> per section); a section runs from its heading to the
// next. Built once, then read only; any thread.
class ManualIndex {
public:
    struct Section {
        QString page;   // file name, e.g. "commands.html"
        QString id;     // the heading's id
        QString title;  // the heading's text
        int level = 1;  // 1 for the page's own heading, 2 for its sections
        QString text;   // the section's plain text, for the search

        QString target() const { return page + QLatin1Char('#') + id; }
    };

    // (file name, HTML) in reading order.
    explicit ManualIndex(const std::vector<std::pair<QString, QString>>& pages);

    // The manual built into the program: the pages that contents.txt in `folder` lists.
    static ManualIndex fromFolder(const QString& folder);
    // The program's own, read from the resources once.
    static const ManualIndex& shipped();

    const std::vector<Section>& sections() const { return sections_; }
    const QStringList& pages() const { return pages_; }

    // The sections holding every word of `words` (split at blanks; case ignored), in reading
    // order. Words are matched inside the text, so Chinese needs no word breaks.
    std::vector<const Section*> find(const QString& words) const;

    // True when `target` ("page.html#id" or "page.html") names a page and section of the manual.
    bool has(const QString& target) const;

    // Every picture the pages show (<img src>), without repeats.
    QStringList pictures() const { return pictures_; }
    // The plain text of the whole manual.
    QString plainText() const;

private:
    QStringList pages_;
    std::vector<Section> sections_;
    QStringList pictures_;
};
