#include "app/RecentFileList.h"

namespace {
const QString group = QStringLiteral("Recent File List");
}

void RecentFileList::load(QSettings& settings) {
    entries_.clear();
    settings.beginGroup(group);
    for (int i = 1; i <= size_; ++i) {
        const QString path = settings.value(QStringLiteral("File%1").arg(i)).toString();
        if (!path.isEmpty()) entries_ << path;
    }
    settings.endGroup();
}

void RecentFileList::save(QSettings& settings) const {
    settings.beginGroup(group);
    settings.remove(QString());
    for (int i = 0; i < entries_.size(); ++i) {
        settings.setValue(QStringLiteral("File%1").arg(i + 1), entries_[i]);
    }
    settings.endGroup();
}

void RecentFileList::add(const QString& path) {
    entries_.removeAll(path);
    entries_.prepend(path);
    while (entries_.size() > size_) entries_.removeLast();
}
