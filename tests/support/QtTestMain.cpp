#include <gtest/gtest.h>

#include <QApplication>
#include <QFont>

// Widgets need an application object; tests run without a display.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The fonts the program draws with, so that measured layouts are the program's.
    QFont::insertSubstitutions(QStringLiteral("宋体"), {QStringLiteral("WenQuanYi Micro Hei"),
                                                        QStringLiteral("Noto Sans CJK SC")});
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
