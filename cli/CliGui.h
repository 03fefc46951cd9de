#pragma once

#include <QGuiApplication>
#include <memory>

// The application object that painting needs, for a command line that has none and may have
// no display. Null when one exists already (the tests make their own).
class CliGui {
public:
    enum class Platform { Offscreen, OffscreenUnlessSet };

    // `widgets` makes a QApplication. The offscreen platform is chosen always, or only when
    // QT_QPA_PLATFORM does not name another.
    static std::unique_ptr<QGuiApplication> start(bool widgets, Platform platform);
};
