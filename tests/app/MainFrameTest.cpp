#include <gtest/gtest.h>

#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenuBar>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>

#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "dialogs/CDlgAcceptance.h"
#include "dialogs/CDlgSetProject.h"
#include "display/CCorvaneView.h"
#include "display/CWndLikeMsdn.h"
#include "instrument/DemoInspection.h"
#include "instrument/SimulatedInstrument.h"
#include "model/GbkCodec.h"
#include "model/ProjectFile.h"
#include "support/FireCommand.h"
#include "support/ModalDriver.h"
#include "support/ModelSamples.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

using Icon = Prompter::Icon;

namespace {

const QString tip = QStringLiteral("提示信息");

QString q(const std::filesystem::path& p) {
    return QString::fromStdString(p.string());
}

class MainFrameTest : public testing::Test {
protected:
    MainFrameTest() : link(DemoInspection::image()), frame(prompter, &link) {
        frame.newDocument();
        frame.show();
    }

    QString childTitle() { return frame.activeChild()->windowTitle(); }

    // The settings dialog of the next command gets `name` and OK, or Cancel when null.
    void answerSettings(const char* name) {
        onNextModal<CDlgSetProject>([name](CDlgSetProject* d) {
            if (!name) {
                d->reject();
                return;
            }
            d->projectNameEdit()->setText(QString::fromUtf8(name));
            d->accept();
        });
    }

    void createProject(const char* name) {
        answerSettings(name);
        fireCommand(frame, ID_CREATE_PROJECT);
    }

    std::string writeProjectFile(const std::string& file, const char* name,
                                 const ComponentList& components = {}) {
        ProjectInfo info;
        info.projectName.assign(name);
        const auto path = dir / file;
        EXPECT_TRUE(ProjectFile::save(path, info, components).ok());
        return path.string();
    }

    TempDir dir;
    ScriptedPrompter prompter;
    SimulatedInstrument link;
    CMainFrame frame;
};

}  // namespace

TEST_F(MainFrameTest, StartsWithOneMaximizedEmptyDocumentWindowAndNoProject) {
    EXPECT_EQ(frame.windowTitle().left(8), QStringLiteral("Corvane "));
    auto* mdi = qobject_cast<QMdiArea*>(frame.centralWidget());
    ASSERT_EQ(mdi->subWindowList().size(), 1);
    EXPECT_TRUE(frame.activeChild()->isMaximized());
    EXPECT_EQ(childTitle(), QString());
    EXPECT_FALSE(frame.project().isOpen());
    EXPECT_EQ(frame.ModeText(), QString());
    EXPECT_EQ(frame.activeView()->shownType(), DetectionType::Unknown);

    // The document window's menu, with the project commands.
    ASSERT_TRUE(frame.menuAction(ID_CREATE_PROJECT));
    EXPECT_EQ(frame.menuAction(ID_CREATE_PROJECT)->text(), QStringLiteral("创建工程(&N)\tCtrl+N"));
    EXPECT_EQ(frame.menuAction(ID_DATA_TRANSFER)->text(), QStringLiteral("数据传输"));
    EXPECT_EQ(frame.menuAction(ID_APP_ABOUT)->text(), QStringLiteral("关于 (&A)..."));
    EXPECT_FALSE(frame.menuAction(ID_FILE_NEW));

    QList<int> buttons;
    for (QAction* a : frame.toolBar()->actions())
        buttons << (a->isSeparator() ? 0 : a->data().toInt());
    EXPECT_EQ(buttons,
              (QList<int>{ID_CREATE_PROJECT, ID_OPEN_PROJECT, ID_SAVE_PROJECT, 0, ID_APP_ABOUT}));
}

// The lock panes start grey; a press of the lock key lights its own pane and the next press
// greys it again; a release, a repeat or another key changes nothing.
TEST_F(MainFrameTest, LockPanesFollowTheirKeyPresses) {
    QLabel* cap = nullptr;
    for (QLabel* l : frame.statusBar()->findChildren<QLabel*>()) {
        if (l->text() == QLatin1String("CAP")) cap = l;
    }
    ASSERT_NE(cap, nullptr);
    EXPECT_FALSE(cap->isEnabled());
    const auto send = [this](QEvent::Type type, int key, bool repeat = false) {
        QKeyEvent e(type, key, Qt::NoModifier, QString(), repeat);
        QApplication::sendEvent(frame.activeView(), &e);
    };
    send(QEvent::KeyPress, Qt::Key_CapsLock);
    EXPECT_TRUE(cap->isEnabled());
    send(QEvent::KeyRelease, Qt::Key_CapsLock);
    send(QEvent::KeyPress, Qt::Key_CapsLock, true);
    send(QEvent::KeyPress, Qt::Key_NumLock);
    EXPECT_TRUE(cap->isEnabled());
    send(QEvent::KeyPress, Qt::Key_CapsLock);
    EXPECT_FALSE(cap->isEnabled());
}

TEST_F(MainFrameTest, MenuBarSwitchesWithTheDocumentWindow) {
    frame.activeChild()->close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return frame.menuAction(ID_FILE_NEW) != nullptr; }));
    EXPECT_FALSE(frame.menuAction(ID_CREATE_PROJECT));
    EXPECT_FALSE(frame.menuAction(ID_FILE_CLOSE)->isEnabled());
    EXPECT_FALSE(frame.menuAction(ID_FILE_MRU_FILE1)->isEnabled());
    EXPECT_EQ(frame.menuAction(ID_APP_ABOUT)->text(), QStringLiteral("关于 Corvane(&A)..."));

    // Commands that address a document window do nothing without one.
    fireCommand(frame, ID_VIEW_GRID);
    fireCommand(frame, ID_ADD_POINT);
    fireCommand(frame, ID_FILE_OPEN);
    EXPECT_EQ(frame.ModeText(), QStringLiteral("W"));

    fireCommand(frame, ID_FILE_NEW);
    EXPECT_TRUE(frame.menuAction(ID_CREATE_PROJECT));
    EXPECT_EQ(childTitle(), QString());
}

TEST_F(MainFrameTest, SaveOnAFreshProjectAsksOnceThenWritesWithoutAsking) {
    createProject("综合楼");
    EXPECT_EQ(childTitle(), QStringLiteral("新工程"));
    const QString path = q(dir / "first.pro");

    prompter.expectSave("project1", path, QStringLiteral("钢筋位置工程文件(*.pro)|*.pro|"));
    prompter.expectMessage(tip, QStringLiteral("保存工程文件成功!"), Icon::Information);
    fireCommand(frame, ID_SAVE_PROJECT);
    EXPECT_EQ(childTitle(), path);
    EXPECT_EQ(frame.projectPath(), path);
    EXPECT_EQ(frame.projectFileName(), QStringLiteral("first.pro"));

    frame.project().info()->testUnit.assign("unit");
    prompter.expectMessage(tip, QStringLiteral("保存工程文件成功!"), Icon::Information);
    fireCommand(frame, ID_SAVE_PROJECT);
    prompter.expectDone();

    const Result<ProjectContents> back = ProjectFile::read(path.toStdString());
    ASSERT_TRUE(back.ok() && back->complete());
    EXPECT_EQ(gbk::toUtf8(back->info.projectName.view()), "综合楼");
    EXPECT_EQ(back->info.testUnit.view(), "unit");
}

TEST_F(MainFrameTest, CreateAnsweredNoDiscardsTheOldProjectAndEmptiesTheView) {
    createProject("old");
    fireCommand(frame, ID_VIEW_THICKNESS);
    EXPECT_EQ(frame.activeView()->shownType(), DetectionType::Thickness);

    prompter.expectQuestion(tip, QStringLiteral("是否保存对新工程的更改？"), false);
    answerSettings("new");
    fireCommand(frame, ID_CREATE_PROJECT);
    EXPECT_EQ(frame.activeView()->shownType(), DetectionType::Unknown);
    EXPECT_EQ(frame.ModeText(), QStringLiteral("H"));  // the mode itself is kept
    EXPECT_EQ(frame.project().info()->projectName.view(), "new");
    EXPECT_EQ(childTitle(), QStringLiteral("新工程"));
}

TEST_F(MainFrameTest, CreateWhoseSaveIsCancelledKeepsTheOldProject) {
    createProject("old");
    prompter.expectQuestion(tip, QStringLiteral("是否保存对新工程的更改？"), true);
    prompter.expectSave("project1", std::nullopt);
    fireCommand(frame, ID_CREATE_PROJECT);
    ASSERT_TRUE(frame.project().isOpen());
    EXPECT_EQ(frame.project().info()->projectName.view(), "old");
}

TEST_F(MainFrameTest, SettingsLeftWithAnEmptyNameEndWithNoProject) {
    createProject("");
    EXPECT_FALSE(frame.project().isOpen());
    EXPECT_EQ(childTitle(), QString());

    createProject(nullptr);  // cancelled
    EXPECT_FALSE(frame.project().isOpen());

    prompter.expectMessage(tip, QStringLiteral("请设置工程信息!"), Icon::Information);
    fireCommand(frame, ID_SAVE_PROJECT);
    prompter.expectMessage(tip, QStringLiteral("请设置工程信息!"), Icon::Information);
    fireCommand(frame, ID_SAVE_PROJECT_AS);
    fireCommand(frame, ID_SET_PROJECT);  // nothing without a project
}

TEST_F(MainFrameTest, OpenAnsweredNoThenCancelledLeavesNoProject) {
    createProject("old");
    prompter.expectQuestion(tip, QStringLiteral("是否保存对新工程的更改？"), false);
    prompter.expectOpen("project", std::nullopt, QStringLiteral("钢筋位置工程文件(*.pro)|*.pro|"));
    fireCommand(frame, ID_OPEN_PROJECT);
    EXPECT_FALSE(frame.project().isOpen());
    EXPECT_EQ(childTitle(), QString());
    EXPECT_EQ(frame.projectPath(), QString());
}

TEST_F(MainFrameTest, OpenShowsNothingUntilAModeIsChosen) {
    const std::string path = writeProjectFile(
        "p.pro", "p", {samples::withPoints("H001", 2), samples::withPoints("P001", 2)});
    fireCommand(frame, ID_VIEW_PROFILE);
    prompter.expectOpen("project", QString::fromStdString(path));
    fireCommand(frame, ID_OPEN_PROJECT);
    ASSERT_TRUE(frame.project().isOpen());
    EXPECT_EQ(frame.project().components().size(), 2u);
    EXPECT_EQ(childTitle(), QString::fromStdString(path));
    EXPECT_EQ(frame.ModeText(), QString());
    EXPECT_EQ(frame.activeView()->shownType(), DetectionType::Unknown);
    EXPECT_EQ(frame.activeView()->pane()->groupCount(), 0);

    fireCommand(frame, ID_VIEW_DIAMETER);
    EXPECT_EQ(frame.ModeText(), QStringLiteral("Z"));
    EXPECT_EQ(frame.activeView()->shownType(), DetectionType::Diameter);
    EXPECT_EQ(frame.activeView()->pane()->groupCount(), 0);
    fireCommand(frame, ID_VIEW_PROFILE);
    ASSERT_EQ(frame.activeView()->pane()->groupCount(), 1);
    EXPECT_EQ(frame.activeView()->pane()->group(0).texts.codeCell, "P001");
}

TEST_F(MainFrameTest, SaveAsAlwaysAsksAndRetitles) {
    createProject("p");
    const QString first = q(dir / "a.pro"), second = q(dir / "b.pro");
    prompter.expectSave("project1", first);
    prompter.expectMessage(tip, QStringLiteral("保存工程文件成功!"), Icon::Information);
    fireCommand(frame, ID_SAVE_PROJECT);
    prompter.expectSave("project1", std::nullopt);
    fireCommand(frame, ID_SAVE_PROJECT_AS);
    EXPECT_EQ(frame.projectPath(), first);
    prompter.expectSave("project1", second);
    prompter.expectMessage(tip, QStringLiteral("保存工程文件成功!"), Icon::Information);
    fireCommand(frame, ID_SAVE_PROJECT_AS);
    EXPECT_EQ(childTitle(), second);
    EXPECT_EQ(frame.projectFileName(), QStringLiteral("b.pro"));
}

TEST_F(MainFrameTest, ClosingPromptsOnlyWithContent) {
    createProject("");  // no project at all
    EXPECT_TRUE(frame.close());
    EXPECT_EQ(prompter.shown(), 0);
}

TEST_F(MainFrameTest, ClosingWithContentOffersToSaveUnderTheMainTitle) {
    createProject("named");
    const QString path = q(dir / "closing.pro");
    prompter.expectQuestion(tip, "是否保存对" + frame.windowTitle() + "的更改？", true);
    prompter.expectSave("project1", path);
    prompter.expectMessage(tip, QStringLiteral("保存工程文件成功!"), Icon::Information);
    fireCommand(frame, ID_EXIT);
    EXPECT_FALSE(frame.project().isOpen());
    EXPECT_TRUE(ProjectFile::read(path.toStdString())->complete());
}

TEST_F(MainFrameTest, AnAbandonedCloseKeepsTheWindowAndTheProject) {
    createProject("named");
    prompter.expectQuestion(tip, "是否保存对" + frame.windowTitle() + "的更改？",
                            Prompter::Answer::Dismissed);
    EXPECT_FALSE(frame.close());
    EXPECT_TRUE(frame.isVisible());
    EXPECT_EQ(frame.project().info()->projectName.view(), "named");
    EXPECT_EQ(frame.activeChild()->windowTitle(), QStringLiteral("新工程"));
}

TEST_F(MainFrameTest, KeysFollowTheMenuBarShown) {
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    prompter.expectMessage(tip, QStringLiteral("请设置工程信息!"), Icon::Information);
    QTest::keyClick(&frame, Qt::Key_S, Qt::ControlModifier);
    prompter.expectOpen("project", std::nullopt);
    QTest::keyClick(&frame, Qt::Key_O, Qt::ControlModifier);
    answerSettings("by key");
    QTest::keyClick(&frame, Qt::Key_N, Qt::ControlModifier);
    ASSERT_TRUE(frame.project().isOpen());
    EXPECT_EQ(frame.project().info()->projectName.view(), "by key");

    // Without a document window Ctrl+N is 新建, as menu 128 shows, and Ctrl+O and Ctrl+S
    // reach nothing of the project.
    frame.activeChild()->close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return frame.menuAction(ID_FILE_NEW) != nullptr; }));
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    QTest::keyClick(&frame, Qt::Key_O, Qt::ControlModifier);
    QTest::keyClick(&frame, Qt::Key_S, Qt::ControlModifier);
    QTest::keyClick(&frame, Qt::Key_N, Qt::ControlModifier);
    ASSERT_TRUE(frame.activeChild());
    EXPECT_EQ(frame.project().info()->projectName.view(), "by key");
    EXPECT_EQ(frame.action(ID_APP_ABOUT)->text(), QStringLiteral("关于 (&A)..."));
}

TEST_F(MainFrameTest, OneActionPerCommandInMenuToolbarAndKeys) {
    QAction* about = frame.action(ID_APP_ABOUT);
    EXPECT_EQ(frame.menuAction(ID_APP_ABOUT), about);
    EXPECT_TRUE(frame.toolBar()->actions().contains(about));
    EXPECT_EQ(frame.action(ID_CREATE_PROJECT)->shortcut(), QKeySequence(QStringLiteral("Ctrl+N")));
    EXPECT_TRUE(frame.action(ID_FILE_NEW)->shortcut().isEmpty());

    // The toolbar button tells what it does in the status bar, as the menu item does.
    QWidget* button = frame.toolBar()->widgetForAction(about);
    QTest::mouseMove(button);
    QStatusTipEvent tipEvent(about->statusTip());
    QApplication::sendEvent(button, &tipEvent);
    EXPECT_EQ(frame.statusBar()->currentMessage(), QStringLiteral("显示程序信息、版本号和版权"));

    // A triggered action runs its command.
    frame.action(ID_VIEW_GRID)->trigger();
    EXPECT_EQ(frame.ModeText(), QStringLiteral("W"));
    frame.action(ID_VIEW_TOOLBAR)->trigger();
    EXPECT_TRUE(frame.toolBar()->isHidden());
    EXPECT_FALSE(frame.action(ID_VIEW_TOOLBAR)->isChecked());
}

TEST_F(MainFrameTest, ToolbarAndStatusBarToggle) {
    fireCommand(frame, ID_VIEW_TOOLBAR);
    EXPECT_TRUE(frame.toolBar()->isHidden());
    EXPECT_FALSE(frame.menuAction(ID_VIEW_TOOLBAR)->isChecked());
    fireCommand(frame, ID_VIEW_TOOLBAR);
    EXPECT_FALSE(frame.toolBar()->isHidden());
    fireCommand(frame, ID_VIEW_STATUS_BAR);
    EXPECT_FALSE(frame.menuAction(ID_VIEW_STATUS_BAR)->isChecked());
    EXPECT_EQ(frame.messagePane()->text(), QStringLiteral("就绪"));
}

TEST_F(MainFrameTest, UndoAndRedoByMenuAndKeysNamingTheStep) {
    QStringList popups;
    for (QAction* a : frame.menuBar()->actions()) popups << a->text();
    EXPECT_EQ(popups, (QStringList{"文件(&F)", "编辑(&E)", "数据传输", "工程维护", "构件维护",
                                   "测点维护", "视图(&V)", "帮助(&H)"}));
    QAction* undo = frame.menuAction(ID_EDIT_UNDO);
    QAction* redo = frame.menuAction(ID_EDIT_REDO);
    ASSERT_TRUE(undo && redo);
    EXPECT_EQ(undo->text(), QStringLiteral("撤销(&U)\tCtrl+Z"));
    EXPECT_FALSE(undo->isEnabled());

    createProject("p");
    frame.project().components().push_back(samples::withPoints("P001", 3));
    ASSERT_TRUE(frame.session().document().setPoint(0, {false, 2}, MeasurePoint{0, 35, 900}));
    EXPECT_EQ(undo->text(), QStringLiteral("撤销(&U) 修改 P001 测点 3\tCtrl+Z"));
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_EQ(redo->text(), QStringLiteral("重做(&R)\tCtrl+Y"));
    EXPECT_FALSE(redo->isEnabled());

    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    const auto thickness = [&] { return frame.project().components().front().points[2].thickness; };
    QTest::keyClick(&frame, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(thickness(), 22);
    EXPECT_EQ(redo->text(), QStringLiteral("重做(&R) 修改 P001 测点 3\tCtrl+Y"));
    QTest::keyClick(&frame, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(thickness(), 35);
    QTest::keyClick(&frame, Qt::Key_Backspace, Qt::AltModifier);
    EXPECT_EQ(thickness(), 22);
    QTest::keyClick(&frame, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(thickness(), 35);

    // While a text edit has the focus, the keys undo what was typed there.
    auto* edit = new QLineEdit(frame.activeView());
    edit->show();
    edit->setFocus();
    QTest::keyClicks(edit, "12");
    QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), QString());
    EXPECT_EQ(thickness(), 35);
    delete edit;
}

// 验收判定: OK with a changed class is one undo step; Cancel, or OK with nothing changed, is none.
TEST_F(MainFrameTest, AcceptanceDialogOkIsOneStepAndCancelNone) {
    createProject("p");
    frame.project().components() = {samples::withPoints("H001", 3)};
    const auto answer = [](bool changeClass, bool ok) {
        onNextModal<CDlgAcceptance>([=](CDlgAcceptance* d) {
            if (changeClass) clickButton(d, QStringLiteral("梁类(&B)"));
            ok ? d->accept() : d->reject();
        });
    };
    answer(true, false);
    fireCommand(frame, ID_ACCEPTANCE);
    answer(false, true);
    fireCommand(frame, ID_ACCEPTANCE);
    EXPECT_EQ(frame.session().undoStack().count(), 0);
    answer(true, true);
    fireCommand(frame, ID_ACCEPTANCE);
    EXPECT_EQ(frame.session().undoStack().undoText(), QStringLiteral("验收判定"));
    EXPECT_EQ(frame.session().acceptanceMarks().size(), 1u);
}
