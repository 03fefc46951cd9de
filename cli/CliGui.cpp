#include "cli/CliGui.h"

#include <QApplication>
#include <QTemporaryDir>

std::unique_ptr<QGuiApplication> CliGui::start(bool widgets) {
    if (QCoreApplication::instance()) return nullptr;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Without a runtime folder (a cron job, a container, su) Qt warns on standard error, which
    // a script would take for a failure. A private one (mode 0700) lives as long as the run.
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        static QTemporaryDir runtime;
        if (runtime.isValid()) qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    }
    static int argc = 1;
    static char name[] = "corvane-cli";
    static char* argv[] = {name, nullptr};
    if (widgets) return std::make_unique<QApplication>(argc, argv);
    return std::make_unique<QGuiApplication>(argc, argv);
}
