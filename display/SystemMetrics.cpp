#include "display/SystemMetrics.h"

#include <QApplication>
#include <QFontMetrics>
#include <QScreen>
#include <QStyle>
#include <optional>

namespace {
std::optional<SystemMetrics> pinned;
}

SystemMetrics SystemMetrics::current() {
    if (pinned) return *pinned;
    SystemMetrics m;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        m.screenWidth = screen->geometry().width();
    }
    if (qobject_cast<QApplication*>(QCoreApplication::instance())) {
        // Rows must hold the table font whatever the screen's resolution.
        const int text = QFontMetrics(QApplication::font()).height();
        m.captionHeight = std::max(22, text + 8);
        m.menuHeight = std::max(19, text + 5);
        m.hthumbWidth = QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    }
    return m;
}

void SystemMetrics::pin(const SystemMetrics& metrics) {
    pinned = metrics;
}

void SystemMetrics::unpin() {
    pinned.reset();
}

float DisplayScale(const SystemMetrics& metrics) {
    return static_cast<float>(static_cast<double>(metrics.screenWidth - metrics.hthumbWidth) /
                              1440.0);
}
