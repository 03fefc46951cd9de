#pragma once

#include <QCoreApplication>
#include <QString>
#include <QThread>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "session/Prompter.h"

// Answers every prompt at once, from answers the soak sets, and records the messages. A
// prompt off the GUI thread is a fault of its own and is recorded as such.
class SoakPrompter : public Prompter {
public:
    struct Shown {
        QString caption;
        QString text;
        Icon icon;
    };

    Answer question = Answer::No;
    std::function<std::optional<QString>()> savePath = [] { return std::nullopt; };
    std::function<std::optional<QString>()> openPath = [] { return std::nullopt; };

    std::vector<Shown> shown;
    std::vector<std::string> faults;

    void message(const QString& caption, const QString& text, Icon icon) override {
        checkThread("message " + text.toStdString());
        shown.push_back({caption, text, icon});
    }
    Answer askYesNo(const QString&, const QString& text) override {
        checkThread("question " + text.toStdString());
        return question;
    }
    std::optional<QString> saveFile(const FileDialog&) override {
        checkThread("save dialog");
        return savePath();
    }
    std::optional<QString> openFile(const FileDialog&) override {
        checkThread("open dialog");
        return openPath();
    }

private:
    void checkThread(const std::string& what) {
        if (QThread::currentThread() != QCoreApplication::instance()->thread())
            faults.push_back(what + " off the GUI thread");
    }
};
