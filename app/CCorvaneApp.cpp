#include "app/CCorvaneApp.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QScreen>
#include <QSettings>
#include <QTranslator>
#include <chrono>
#include <filesystem>
#include <optional>

#include "app/CMainFrame.h"
#include "app/QtPrompter.h"
#include "app/RecentFileList.h"
#include "report/ReportFonts.h"

CCorvaneApp::Options CCorvaneApp::parseArguments(const QStringList& arguments) {
    Options options;
    std::optional<LinkFactory::Source> simulated;
    for (int i = 1; i < arguments.size() && options.error.isEmpty(); ++i) {
        const QString& a = arguments[i];
        if (a == QLatin1String("--simulate")) {
            simulated = LinkFactory::Source::Demo;
        } else if (a.startsWith(QLatin1String("--simulate="))) {
            simulated = LinkFactory::Source::Image;
            options.link.image = std::filesystem::path(a.mid(11).toStdU16String());
        } else if (a.startsWith(QLatin1String("--usb="))) {
            const Result<UsbId> id = UsbId::parse(a.mid(6).toStdString());
            if (id) {
                options.link.usb = id.value();
            } else {
                options.error = QString::fromStdString(id.message());
            }
        } else {
            options.error =
                QStringLiteral(
                    "无法识别的命令行参数：%1\n用法：corvane [--simulate[=IMAGE]] [--usb=VID:PID]")
                    .arg(a);
        }
    }
    if (simulated) {
        options.link.source = *simulated;
        // A short pause per block lets the user watch the transfer, as on the device.
        options.link.delay = std::chrono::microseconds(2000);
    }
    return options;
}

Result<std::unique_ptr<UsbLink>> CCorvaneApp::makeLink(const Options& options) {
    if (!options.error.isEmpty()) return Error{options.error.toStdString()};
    return LinkFactory::make(options.link);
}

void CCorvaneApp::installFonts() {
    installReportFonts();
    QFont font(QStringLiteral("宋体"), 9);
    QApplication::setFont(font);
}

int CCorvaneApp::run(int argc, char** argv) {
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QString::fromUtf8(settingsKey));
    QCoreApplication::setApplicationName(QStringLiteral("Corvane"));
    installFonts();
    // The standard dialogs speak the user interface's language too.
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(&qtTexts);
    }

    QSettings settings;
    RecentFileList recent(4);
    recent.load(settings);

    Result<std::unique_ptr<UsbLink>> made = makeLink(parseArguments(QCoreApplication::arguments()));
    if (!made) {
        QMessageBox::critical(nullptr, QStringLiteral("Corvane"),
                              QString::fromStdString(made.message()));
        return 1;
    }
    const std::unique_ptr<UsbLink> link = std::move(made).value();

    QtPrompter prompter;
    int status = 0;
    {
        CMainFrame frame(prompter, link.get());
        prompter.setParent(&frame);
        frame.newDocument();
        // Without a window manager "maximized" means nothing; fill the screen all the same.
        frame.setGeometry(frame.screen()->availableGeometry());
        frame.showMaximized();
        status = app.exec();
    }
    recent.save(settings);
    return status;
}
