#include <gtest/gtest.h>

#include <QGuiApplication>

#include "report/ReportFonts.h"

// Painting needs an application object; tests run without a display, with the fonts the
// program substitutes at start-up.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    installReportFonts();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
