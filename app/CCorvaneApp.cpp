#include "app/CCorvaneApp.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QScreen>
#include <QSettings>
#include <QTimer>
#include <QTranslator>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <vector>

#include "CorvaneVersion.h"
#include "app/CMainFrame.h"
#include "app/RecentFileList.h"
#include "dialogs/QtPrompter.h"
#include "model/FileIo.h"
#include "model/UploadFile.h"
#include "report/ReportFonts.h"

namespace {

const QString endOfOptions = QStringLiteral("--");

std::filesystem::path toPath(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

// Told by the first bytes, whatever the file is called. Anything but a regular file is left
// unopened (a pipe would hold the window until someone writes); opening it as a project
// says why.
bool startsAsUploadFile(const QString& path) {
    if (!FileIo::checkRegularFile(toPath(path))) return false;
    constexpr std::string_view magic = UploadFile::magic;
    QByteArray expected(1, static_cast<char>(magic.size()));
    expected.append(magic.data(), static_cast<qsizetype>(magic.size()));
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(expected.size()) == expected;
}

void print(std::FILE* stream, const QString& text) {
    std::fputs(text.toUtf8().constData(), stream);
}

// Whether a window system may be reached. Without one, Qt's default platform ends the program
// as the application is made, before the words could be checked.
bool displayNamed(const QStringList& words) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        if (!qEnvironmentVariableIsEmpty(name)) return true;
    }
    for (const QString& word : words) {
        const QString option = word.startsWith(QLatin1String("--")) ? word.mid(1) : word;
        if (option == QLatin1String("-display") || option == QLatin1String("-platform")) {
            return true;
        }
    }
    return false;
#else
    Q_UNUSED(words);
    return true;
#endif
}

// What is wrong with the words once Qt has taken its own, learnt on the offscreen platform,
// which needs no display.
QString errorWithoutDisplay(int argc, char** argv) {
    std::vector<char*> words(argv, argv + argc);  // Qt removes those it takes
    words.push_back(nullptr);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QString error;
    {
        const QApplication check(argc, words.data());
        error = CCorvaneApp::parseArguments(QCoreApplication::arguments()).error;
    }
    qunsetenv("QT_QPA_PLATFORM");
    return error;
}

// A command line not understood gets no window: the usage says what would be.
int refuse(const QString& error) {
    print(stderr, error + QLatin1Char('\n') + CCorvaneApp::usageText());
    return 2;
}

}  // namespace

CCorvaneApp::Request CCorvaneApp::earlyRequest(const QStringList& arguments) {
    for (int i = 1; i < arguments.size() && arguments[i] != endOfOptions; ++i) {
        const QString& a = arguments[i];
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) return Request::Help;
        if (a == QLatin1String("--version")) return Request::Version;
    }
    return Request::Run;
}

QString CCorvaneApp::usageText() {
    return QStringLiteral(
        "用法：corvane [选项] [文件]\n"
        "  文件              工程文件(.pro)或上传数据文件(.vexo)，按文件内容识别：\n"
        "                    工程文件直接打开；上传数据文件先创建工程，再从中增加构件\n"
        "  --simulate        用模拟仪器的内置演示检测代替真实仪器\n"
        "  --simulate=IMAGE  用模拟仪器播放保存的内存映像\n"
        "  --usb=VID:PID     仪器接口芯片的编号（默认 4348:5537）\n"
        "  -h, --help        显示本说明并退出\n"
        "  --version         显示版本并退出\n"
        "Qt 的选项（如 -platform、-style）同样可用。\n");
}

QString CCorvaneApp::versionText() {
    return QStringLiteral("corvane %1\n").arg(QLatin1String(corvaneVersion));
}

void CCorvaneApp::openFiles(ProjectSession& session, Prompter& prompter, const QStringList& files) {
    if (files.isEmpty()) return;
    // The title shows the path as the file dialog would give it: whole.
    const QString path = QFileInfo(files.front()).absoluteFilePath();
    if (startsAsUploadFile(path)) {
        session.createProjectFrom(path);
    } else {
        session.openProjectFile(path);
    }
    if (files.size() > 1) {
        prompter.message(QStringLiteral("提示信息"),
                         QStringLiteral("一次只能打开一个文件，以下文件没有打开：\n") +
                             files.mid(1).join(QLatin1Char('\n')),
                         Prompter::Icon::Information);
    }
}

CCorvaneApp::Options CCorvaneApp::parseArguments(const QStringList& arguments) {
    Options options;
    std::optional<LinkFactory::Source> simulated;
    bool optionsEnded = false;
    for (int i = 1; i < arguments.size() && options.error.isEmpty(); ++i) {
        const QString& a = arguments[i];
        if (optionsEnded || a == QLatin1String("-") || !a.startsWith(QLatin1Char('-'))) {
            options.files << a;
        } else if (a == endOfOptions) {
            optionsEnded = true;
        } else if (a == QLatin1String("--simulate")) {
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
            options.error = QStringLiteral("无法识别的命令行参数：%1").arg(a);
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
    // Read before the window shows, so a pipe there would keep it from ever showing.
    if (options.link.source == LinkFactory::Source::Image) {
        if (Status regular = FileIo::checkRegularFile(options.link.image); !regular) {
            return Error{regular.message()};
        }
    }
    return LinkFactory::make(options.link);
}

void CCorvaneApp::installFonts() {
    installReportFonts();
    QFont font(QStringLiteral("宋体"), 9);
    QApplication::setFont(font);
}

int CCorvaneApp::run(int argc, char** argv) {
    QStringList words;
    for (int i = 0; i < argc; ++i) words << QString::fromLocal8Bit(argv[i]);
    switch (earlyRequest(words)) {
        case Request::Help:
            print(stdout, usageText());
            return 0;
        case Request::Version:
            print(stdout, versionText());
            return 0;
        case Request::Run:
            break;
    }

    // Qt takes its own options (-style, -platform, ...) as the application is made, so a word
    // not understood before then may be Qt's.
    if (!parseArguments(words).error.isEmpty() && !displayNamed(words)) {
        if (const QString error = errorWithoutDisplay(argc, argv); !error.isEmpty()) {
            return refuse(error);
        }
    }
    QApplication app(argc, argv);
    const Options options = parseArguments(QCoreApplication::arguments());
    if (!options.error.isEmpty()) return refuse(options.error);
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

    Result<std::unique_ptr<UsbLink>> made = makeLink(options);
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
        // Once the window is up, so the dialogs of the flows stand over it.
        QTimer::singleShot(0, &frame, [&] { openFiles(frame.session(), prompter, options.files); });
        status = app.exec();
    }
    recent.save(settings);
    return status;
}
