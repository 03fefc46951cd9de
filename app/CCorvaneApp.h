#pragma once

#include <QString>
#include <memory>
#include <optional>

class UsbLink;

// Start-up and shut-down of the program.
class CCorvaneApp {
public:
    // The settings key (organisation) under which the program keeps its settings.
    static constexpr const char* settingsKey = "应用程序向导生成的本地应用程序";

    struct Options {
        bool simulate = false;
        QString simulateImage;  // empty: the built-in demo inspection
        QString usbIds;         // "VID:PID" in hex; empty: the default chip
        QString error;          // set when the command line is not understood
    };
    static Options parseArguments(const QStringList& arguments);

    // The instrument link the options ask for; null with `error` set when it cannot be made.
    static std::unique_ptr<UsbLink> makeLink(const Options& options, QString& error);

    // Substitutes the CJK font for the 宋体 the user interface asks for.
    static void installFonts();

    static int run(int argc, char** argv);
};
