#pragma once

#include <QGuiApplication>
#include <memory>

// The application object that painting needs, for a command line that has none and may have
// no display. Null when one exists already (the tests make their own).
class CliGui {
public:
    // `widgets` makes a QApplication. The platform is QT_QPA_PLATFORM's when it names one,
    // else offscreen.
    static std::unique_ptr<QGuiApplication> start(bool widgets);
};
