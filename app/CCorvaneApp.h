#pragma once

#include <QString>
#include <memory>

#include "instrument/LinkFactory.h"

// Start-up and shut-down of the program.
class CCorvaneApp {
public:
    // The settings key (organisation) under which the program keeps its settings.
    static constexpr const char* settingsKey = "应用程序向导生成的本地应用程序";

    struct Options {
        LinkFactory::Request link;  // the default chip unless --simulate or --usb says otherwise
        QString error;              // set when the command line is not understood
    };
    // --simulate (the demo inspection), --simulate=IMAGE and --usb=VID:PID; a simulated
    // instrument wins over --usb.
    static Options parseArguments(const QStringList& arguments);

    // The instrument link the options ask for, or why it cannot be made.
    static Result<std::unique_ptr<UsbLink>> makeLink(const Options& options);

    // Substitutes the CJK font for the 宋体 the user interface asks for.
    static void installFonts();

    static int run(int argc, char** argv);
};
