#pragma once

#include <QString>
#include <QStringList>
#include <memory>

#include "instrument/LinkFactory.h"

// Start-up and shut-down of the program.
class ProjectSession;
class Prompter;

class CCorvaneApp {
public:
    // The settings key (organisation) under which the program keeps its settings.
    static constexpr const char* settingsKey = "应用程序向导生成的本地应用程序";

    struct Options {
        LinkFactory::Request link;  // the default chip unless --simulate or --usb says otherwise
        QStringList files;          // the files named, in order
        QString error;              // set when the command line is not understood
    };
    // --simulate (the demo inspection), --simulate=IMAGE and --usb=VID:PID; a simulated
    // instrument wins over --usb. Every other word is a file; after "--" even one that starts
    // with "-". Qt's own options must be gone already (QApplication takes them).
    static Options parseArguments(const QStringList& arguments);

    // What the command line asks for before the program needs a display: --help or --version
    // prints its answer and exits. Qt's options may still be in `arguments`.
    enum class Request { Run, Help, Version };
    static Request earlyRequest(const QStringList& arguments);
    static QString usageText();
    static QString versionText();

    // The files named on the command line. The first, by its magic: a project is opened as
    // 打开工程 opens one; an upload data file becomes a new project (创建工程, then 增加构件
    // with that file). Anything else goes to 打开工程, which says why it cannot be read. Any
    // further files are not opened, and the user is told.
    static void openFiles(ProjectSession& session, Prompter& prompter, const QStringList& files);

    // The instrument link the options ask for, or why it cannot be made.
    static Result<std::unique_ptr<UsbLink>> makeLink(const Options& options);

    // Substitutes the CJK font for the 宋体 the user interface asks for.
    static void installFonts();

    static int run(int argc, char** argv);
};
