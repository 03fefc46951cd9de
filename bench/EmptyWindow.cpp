// The yardstick of start-up: an empty main window with a title, shown as corvane shows its
// own, and nothing else.
#include <QApplication>
#include <QMainWindow>
#include <QScreen>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Empty"));
    window.setGeometry(window.screen()->availableGeometry());
    window.showMaximized();
    return app.exec();
}
