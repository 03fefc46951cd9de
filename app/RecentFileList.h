#pragma once

#include <QSettings>
#include <QStringList>

// The framework's recent-file list in the settings: at most `size` paths, newest first.
// Only the document commands add to it; project files never do.
class RecentFileList {
public:
    explicit RecentFileList(int size = 4) : size_(size) {}

    void load(QSettings& settings);
    void save(QSettings& settings) const;
    void add(const QString& path);
    const QStringList& entries() const { return entries_; }

private:
    int size_;
    QStringList entries_;
};
