#include <gtest/gtest.h>

#include <QDir>
#include <QLineEdit>
#include <QRegularExpression>

#include "app/CChildFrame.h"
#include "app/CCorvaneApp.h"
#include "app/CMainFrame.h"
#include "dialogs/CCheckListCtrl.h"
#include "dialogs/CDlgSetProject.h"
#include "dialogs/CDlgShowUploadData.h"
#include "instrument/DemoInspection.h"
#include "instrument/SimulatedInstrument.h"
#include "model/ComponentFileReader.h"
#include "model/FileIo.h"
#include "model/ProjectFile.h"
#include "model/UploadFile.h"
#include "support/ModalDriver.h"
#include "support/ModelSamples.h"
#include "support/ProgramRun.h"
#include "support/ScriptedPrompter.h"
#include "support/SpecialFiles.h"
#include "support/TempDir.h"

using samples::codes;
using samples::withPoints;
using Icon = Prompter::Icon;

namespace {

const QString tip = QStringLiteral("提示信息");

QStringList words(const QStringList& list) {
    return QStringList{QStringLiteral("corvane")} + list;
}

TEST(Startup, CommandLineWordsAreOptionsOrFiles) {
    struct Case {
        QStringList args;
        QStringList files;
        const char* errorNames;  // the word the error names; null when understood
    };
    const Case cases[] = {
        {{"site.pro"}, {"site.pro"}, nullptr},
        {{"--simulate", "a.vexo", "b.pro"}, {"a.vexo", "b.pro"}, nullptr},
        {{"--", "-odd.pro", "--simulate"}, {"-odd.pro", "--simulate"}, nullptr},
        {{"-"}, {"-"}, nullptr},
        {{"site.pro", "--bogus"}, {"site.pro"}, "--bogus"},
        {{"-x"}, {}, "-x"},
    };
    for (const Case& c : cases) {
        const CCorvaneApp::Options o = CCorvaneApp::parseArguments(words(c.args));
        EXPECT_EQ(o.files, c.files) << o.files.join(' ').toStdString();
        if (c.errorNames) {
            EXPECT_TRUE(o.error.contains(QString::fromUtf8(c.errorNames))) << o.error.toStdString();
        } else {
            EXPECT_TRUE(o.error.isEmpty()) << o.error.toStdString();
        }
    }

    using R = CCorvaneApp::Request;
    const std::pair<QStringList, R> early[] = {
        {{"--help"}, R::Help},
        {{"site.pro", "-h"}, R::Help},
        {{"-platform", "offscreen", "--version"}, R::Version},
        {{"--", "--help"}, R::Run},
        {{"site.pro", "--simulate"}, R::Run},
    };
    for (const auto& [args, request] : early) {
        EXPECT_EQ(CCorvaneApp::earlyRequest(words(args)), request) << args.join(' ').toStdString();
    }
}

class StartupFilesTest : public testing::Test {
protected:
    StartupFilesTest() : link(DemoInspection::image()), frame(prompter, &link) {
        frame.newDocument();
        frame.show();
    }

    QString project(const std::string& name, const ComponentList& components) {
        ProjectInfo info;
        info.projectName.assign("site");
        EXPECT_TRUE(ProjectFile::save(dir / name, info, components).ok());
        return QString::fromStdString((dir / name).string());
    }
    QString upload(const std::string& name, const ComponentList& components) {
        EXPECT_TRUE(UploadFile::save(dir / name, components).ok());
        return QString::fromStdString((dir / name).string());
    }
    void open(const QStringList& files) {
        CCorvaneApp::openFiles(frame.session(), prompter, files);
    }
    // The settings dialog of 创建工程 gets a name and OK, or Cancel when null.
    void answerSettings(const char* name) {
        onNextModal<CDlgSetProject>([name](CDlgSetProject* d) {
            if (!name) return d->reject();
            d->projectNameEdit()->setText(QString::fromUtf8(name));
            d->accept();
        });
    }
    QString childTitle() { return frame.activeChild()->windowTitle(); }

    TempDir dir;
    ScriptedPrompter prompter;
    SimulatedInstrument link;
    CMainFrame frame;
};

// The magic decides, not the name; a relative path shows whole in the title.
TEST_F(StartupFilesTest, AProjectOpensAsTheOpenCommandOpensIt) {
    project("site.vexo", {withPoints("H001", 2), withPoints("Z001", 1)});
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(dir.path().string())));
    open({QStringLiteral("site.vexo")});
    QDir::setCurrent(before);

    EXPECT_EQ(codes(frame.project().components()), "H001,Z001");
    const QString whole = QString::fromStdString((dir / "site.vexo").string());
    EXPECT_EQ(childTitle(), whole);
    EXPECT_EQ(frame.projectPath(), whole);
    EXPECT_TRUE(frame.windowTitle().contains(whole)) << frame.windowTitle().toStdString();
}

TEST_F(StartupFilesTest, AnUploadBecomesANewProjectInTwoSteps) {
    const QString file = upload("pulled.pro", {withPoints("P001", 1), withPoints("H001", 3)});
    answerSettings("new");
    onNextModal<CDlgShowUploadData>([file](CDlgShowUploadData* d) {
        EXPECT_EQ(d->windowTitle(), file);
        EXPECT_EQ(d->addMode(), 1);
        d->componentList()->setChecked(1, true);
        d->accept();
    });
    open({file});
    EXPECT_EQ(codes(frame.project().components()), "H001");
    EXPECT_EQ(childTitle(), QStringLiteral("新工程"));
    EXPECT_TRUE(frame.projectPath().isEmpty());
}

TEST_F(StartupFilesTest, CancellingEitherStepLeavesWhatTheMenuCommandsWould) {
    const QString file = upload("pulled.vexo", {withPoints("H001", 1)});
    answerSettings(nullptr);
    open({file});
    EXPECT_FALSE(frame.project().isOpen());
    EXPECT_EQ(childTitle(), QString());

    answerSettings("new");
    onNextModal<CDlgShowUploadData>([](CDlgShowUploadData* d) { d->reject(); });
    open({file});
    EXPECT_TRUE(frame.project().isOpen());
    EXPECT_TRUE(frame.project().components().empty());
    EXPECT_EQ(childTitle(), QStringLiteral("新工程"));
}

TEST_F(StartupFilesTest, UnreadableFilesGetTheOpenCommandsMessages) {
    // The window shows before the file is read: a pipe nobody writes must not hold it.
    const FifoWatch fifo(dir / "fifo.vexo");
    const std::pair<std::string, QString> unreadable[] = {
        {"none.pro", QStringLiteral("无法打开文件")},
        {"text.vexo", QString::fromStdString(ComponentFileReader::wrongKind(
                          (dir / "text.vexo").string(), ProjectFile::wrongMagicMessage))},
        {"fifo.vexo", QString::fromStdString(FileIo::checkRegularFile(fifo.path()).message())},
    };
    // Plain text: its first byte read as a length, the string read is not the magic.
    TempDir::write((dir / "text.vexo").string(), std::string(200, 'x'));
    for (const auto& [name, message] : unreadable) {
        prompter.expectMessageContaining(tip, message, Icon::Error);
        open({QString::fromStdString((dir / name).string())});
        EXPECT_FALSE(frame.project().isOpen()) << name;
    }
    EXPECT_FALSE(fifo.opened());
}

TEST_F(StartupFilesTest, OnlyTheFirstOfSeveralFilesOpens) {
    const QString first = project("a.pro", {withPoints("H001", 1)});
    const QString second = project("b.pro", {withPoints("Z001", 1)});
    prompter.expectMessage(tip,
                           QStringLiteral("一次只能打开一个文件，以下文件没有打开：\n") + second +
                               QStringLiteral("\nc.vexo"),
                           Icon::Information);
    open({first, second, QStringLiteral("c.vexo")});
    EXPECT_EQ(codes(frame.project().components()), "H001");
    EXPECT_EQ(childTitle(), first);
}

TEST(Startup, HelpVersionAndBadOptionsNeedNoWindow) {
    // A window or message box would wait for the user: the program must end by itself, or
    // the run times out and fails.
    const ProgramRun help = runProgram(CORVANE_APP, {"--help"});
    EXPECT_EQ(help.status, 0) << help.err;
    EXPECT_TRUE(help.out.starts_with("用法：corvane")) << help.out;

    const QRegularExpression version(QStringLiteral("^corvane(-cli)? (\\d+\\.\\d+(\\.\\d+)*)\n$"));
    const ProgramRun app = runProgram(CORVANE_APP, {"--version"});
    const ProgramRun cli = runCli({"--version"});
    const auto appVersion = version.match(QString::fromStdString(app.out));
    const auto cliVersion = version.match(QString::fromStdString(cli.out));
    EXPECT_EQ(app.status, 0);
    EXPECT_EQ(cli.status, 0);
    ASSERT_TRUE(appVersion.hasMatch()) << app.out;
    ASSERT_TRUE(cliVersion.hasMatch()) << cli.out;
    EXPECT_EQ(appVersion.captured(2), cliVersion.captured(2));

    // Qt's own options are taken by Qt, so the bad option is the one named; with a platform
    // and without a display alike.
    for (const std::string platform : {"offscreen", ""}) {
        ProgramStart start;
        start.platform = platform;
        const ProgramRun bad =
            runProgram(CORVANE_APP, {"-style", "fusion", "--bogus", "x.pro"}, start);
        EXPECT_EQ(bad.status, 2) << platform;
        EXPECT_EQ(bad.out, "");
        EXPECT_NE(bad.err.find("无法识别的命令行参数：--bogus\n用法：corvane"), std::string::npos)
            << bad.err;
    }
}

}  // namespace
