#include "app/ManualIndex.h"

#include <QFile>
#include <QRegularExpression>
#include <QTextDocumentFragment>
#include <algorithm>

namespace {

QString plain(const QString& html) {
    return QTextDocumentFragment::fromHtml(html).toPlainText();
}

QString readText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

}  // namespace

ManualIndex::ManualIndex(const std::vector<std::pair<QString, QString>>& pages) {
    static const QRegularExpression heading(
        QStringLiteral(R"re(<h([12])\s+id="([^"]+)"[^>]*>(.*?)</h\1>)re"),
        QRegularExpression::DotMatchesEverythingOption | QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression image(QStringLiteral(R"re(<img\s[^>]*src="([^"]+)")re"),
                                          QRegularExpression::CaseInsensitiveOption);
    for (const auto& [name, html] : pages) {
        pages_ << name;
        std::vector<QRegularExpressionMatch> found;
        for (const QRegularExpressionMatch& m : heading.globalMatch(html)) found.push_back(m);
        for (std::size_t i = 0; i < found.size(); ++i) {
            const qsizetype end = i + 1 < found.size() ? found[i + 1].capturedStart() : html.size();
            const qsizetype start = found[i].capturedStart();
            sections_.push_back({name, found[i].captured(2), plain(found[i].captured(3)).trimmed(),
                                 found[i].captured(1).toInt(),
                                 plain(html.mid(start, end - start))});
        }
        for (const QRegularExpressionMatch& m : image.globalMatch(html)) {
            if (!pictures_.contains(m.captured(1))) pictures_ << m.captured(1);
        }
    }
}

ManualIndex ManualIndex::fromFolder(const QString& folder) {
    std::vector<std::pair<QString, QString>> pages;
    for (const QString& line : readText(folder + QStringLiteral("/contents.txt")).split('\n')) {
        const QString name = line.trimmed();
        if (!name.isEmpty()) pages.emplace_back(name, readText(folder + '/' + name));
    }
    return ManualIndex(pages);
}

const ManualIndex& ManualIndex::shipped() {
    static const ManualIndex index = fromFolder(QStringLiteral(":/manual"));
    return index;
}

std::vector<const ManualIndex::Section*> ManualIndex::find(const QString& words) const {
    const QStringList wanted =
        words.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    std::vector<const Section*> hits;
    if (wanted.isEmpty()) return hits;
    for (const Section& s : sections_) {
        const bool all = std::all_of(wanted.begin(), wanted.end(), [&](const QString& w) {
            return s.text.contains(w, Qt::CaseInsensitive);
        });
        if (all) hits.push_back(&s);
    }
    return hits;
}

bool ManualIndex::has(const QString& target) const {
    const QString page = target.section(QLatin1Char('#'), 0, 0);
    const QString id = target.section(QLatin1Char('#'), 1);
    if (id.isEmpty()) return pages_.contains(page);
    return std::any_of(sections_.begin(), sections_.end(),
                       [&](const Section& s) { return s.page == page && s.id == id; });
}

QString ManualIndex::plainText() const {
    QString all;
    for (const Section& s : sections_) all += s.text + QLatin1Char('\n');
    return all;
}
