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

#include "app/CMainFrame.h"
#include "app/QtPrompter.h"
#include "app/RecentFileList.h"
#include "instrument/DemoInspection.h"
#include "instrument/LibusbLink.h"
#include "instrument/SimulatedInstrument.h"
#include "report/ReportFonts.h"

CCorvaneApp::Options CCorvaneApp::parseArguments(const QStringList& arguments) {
    Options options;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a == QLatin1String("--simulate")) {
            options.simulate = true;
        } else if (a.startsWith(QLatin1String("--simulate="))) {
            options.simulate = true;
            options.simulateImage = a.mid(11);
        } else if (a.startsWith(QLatin1String("--usb="))) {
            options.usbIds = a.mid(6);
        } else {
            options.error =
                QStringLiteral(
                    "无法识别的命令行参数：%1\n用法：corvane [--simulate[=IMAGE]] [--usb=VID:PID]")
                    .arg(a);
        }
    }
    return options;
}

std::unique_ptr<UsbLink> CCorvaneApp::makeLink(const Options& options, QString& error) {
    if (options.simulate) {
        // A short pause per block lets the user watch the transfer, as on the device.
        SimulatedFaults faults;
        faults.delay = std::chrono::microseconds(2000);
        if (options.simulateImage.isEmpty()) {
            return std::make_unique<SimulatedInstrument>(DemoInspection::image(), faults);
        }
        MemoryImage image;
        const Status s =
            MemoryImage::load(std::filesystem::path(options.simulateImage.toStdU16String()), image);
        if (!s.ok()) {
            error = QString::fromStdString(s.message());
            return nullptr;
        }
        return std::make_unique<SimulatedInstrument>(image, faults);
    }
    std::uint16_t vid = LibusbLink::defaultVendorId, pid = LibusbLink::defaultProductId;
    if (!options.usbIds.isEmpty()) {
        const QStringList parts = options.usbIds.split(QLatin1Char(':'));
        bool okV = false, okP = false;
        if (parts.size() == 2) {
            vid = static_cast<std::uint16_t>(parts[0].toUInt(&okV, 16));
            pid = static_cast<std::uint16_t>(parts[1].toUInt(&okP, 16));
        }
        if (!okV || !okP) {
            error = QStringLiteral("USB 设备标识应写作 VID:PID（十六进制），例如 4348:5537");
            return nullptr;
        }
    }
    return std::make_unique<LibusbLink>(vid, pid);
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

    const Options options = parseArguments(QCoreApplication::arguments());
    QString linkError = options.error;
    std::unique_ptr<UsbLink> link;
    if (linkError.isEmpty()) link = makeLink(options, linkError);
    if (!linkError.isEmpty()) {
        QMessageBox::critical(nullptr, QStringLiteral("Corvane"), linkError);
        return 1;
    }

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
