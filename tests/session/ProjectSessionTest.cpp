#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "cli/DataFile.h"
#include "dialogs/QtPrompter.h"
#include "document/ProjectSidecar.h"
#include "model/FileIo.h"
#include "model/GbkCodec.h"
#include "model/ProjectFile.h"
#include "model/UploadFile.h"
#include "session/ProjectSession.h"
#include "session/SessionUi.h"
#include "support/FakeSessionUi.h"
#include "support/ModalDriver.h"
#include "support/ModelSamples.h"
#include "support/ScriptedPrompter.h"
#include "support/SidecarText.h"
#include "support/SpecialFiles.h"
#include "support/TempDir.h"

using Answer = Prompter::Answer;
using Icon = Prompter::Icon;

namespace {

const QString tip = QStringLiteral("提示信息");
const QString saved = QStringLiteral("保存工程文件成功!");

QString q(const std::filesystem::path& p) {
    return QString::fromStdString(p.string());
}

class ProjectSessionTest : public testing::Test {
protected:
    ProjectSessionTest() : session(prompter, ui) {}

    void create(const std::string& name) {
        ui.nextName = name;
        session.OnCreateProject();
        ASSERT_TRUE(session.project().isOpen());
    }
    std::string projectName() { return std::string(session.project().info()->projectName.view()); }

    TempDir dir;
    ScriptedPrompter prompter;
    FakeSessionUi ui;
    ProjectSession session;
};

}  // namespace

TEST_F(ProjectSessionTest, OnlyNoOrASuccessfulSaveLetsTheWindowClose) {
    struct Case {
        const char* what;
        Answer answer;
        std::optional<std::string> saveAs;  // the save dialog's answer after 是
        bool closes;
        const char* failure = "无法在文件夹";
    };
    const Case cases[] = {
        {"dismissed", Answer::Dismissed, std::nullopt, false},
        {"是, dialog cancelled", Answer::Yes, std::nullopt, false},
        {"是, write fails", Answer::Yes, "missing/x.pro", false},
        {"是, written", Answer::Yes, "ok.pro", true},
        {"否", Answer::No, std::nullopt, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        create("keep");
        const bool projectWritten = c.saveAs && c.closes;
        prompter.expectQuestion(tip, QStringLiteral("是否保存对Corvane 的更改？"), c.answer);
        if (c.answer == Answer::Yes) {
            prompter.expectSave("project1",
                                c.saveAs ? std::optional(q(dir / *c.saveAs)) : std::nullopt);
        }
        if (c.saveAs && c.closes) prompter.expectMessage(tip, saved, Icon::Information);
        if (c.saveAs && !c.closes) {
            prompter.expectMessageContaining(tip, QString::fromUtf8(c.failure), Icon::Error);
        }
        EXPECT_EQ(session.closeProject(), c.closes);
        prompter.expectDone();
        EXPECT_EQ(session.project().isOpen(), !c.closes);
        if (!c.closes) {
            EXPECT_EQ(projectName(), "keep");
        }
        if (projectWritten) {
            EXPECT_TRUE(ProjectFile::read(dir / *c.saveAs)->complete());
        }
        // A closed project keeps no path; one that stays has the path it was written to.
        EXPECT_EQ(session.projectPath().isEmpty(), c.closes || !projectWritten);
        session.project().clear();
    }
}

TEST_F(ProjectSessionTest, DismissingThePromptOfCreateOrOpenKeepsTheProject) {
    create("old");
    ui.modes.clear();
    prompter.expectQuestion(tip, QStringLiteral("是否保存对新工程的更改？"), Answer::Dismissed);
    ui.nextName = "new";
    session.OnCreateProject();
    prompter.expectQuestion(tip, QStringLiteral("是否保存对新工程的更改？"), Answer::Dismissed);
    session.OnOpenProject();
    prompter.expectDone();
    EXPECT_EQ(projectName(), "old");
    EXPECT_TRUE(ui.modes.empty());
}

TEST_F(ProjectSessionTest, AFailedSaveKeepsThePathItHad) {
    create("p");
    prompter.expectSave("project1", q(dir / "missing" / "a.pro"));
    prompter.expectMessageContaining(tip, QStringLiteral("无法在文件夹"), Icon::Error);
    session.OnSaveProject();
    EXPECT_EQ(session.projectPath(), QString());
    EXPECT_EQ(ui.title, QStringLiteral("新工程"));

    // Not retried silently: the next save asks again.
    prompter.expectSave("project1", q(dir / "a.pro"));
    prompter.expectMessage(tip, saved, Icon::Information);
    session.OnSaveProject();
    EXPECT_EQ(session.projectFileName(), QStringLiteral("a.pro"));

    prompter.expectSave("project1", q(dir / "missing" / "b.pro"));
    prompter.expectMessageContaining(tip, QStringLiteral("无法在文件夹"), Icon::Error);
    session.OnSaveAs();
    EXPECT_EQ(session.projectPath(), q(dir / "a.pro"));
    EXPECT_EQ(session.projectFileName(), QStringLiteral("a.pro"));
    EXPECT_EQ(ui.title, q(dir / "a.pro"));
}

TEST_F(ProjectSessionTest, APartlyReadProjectIsNeverSavedOverItsOriginal) {
    ProjectInfo info;
    info.projectName.assign("damaged");
    const std::string whole =
        ProjectFile::encode(info, {samples::withPoints("H001", 2), samples::withPoints("Z001", 3)});
    std::string negative = ProjectFile::encode(info, {});
    negative.replace(negative.size() - 4, 4, "\xFF\xFF\xFF\xFF");
    struct Case {
        const char* file;
        std::string bytes;
        QString message;
        std::string codes;
    };
    const Case cases[] = {
        {"cut.pro", whole.substr(0, whole.size() - 5), QStringLiteral("文件不完整"), "H001"},
        {"negative.pro", negative, QString::fromUtf8(ProjectFile::negativeCountMessage), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        session.project().clear();
        TempDir::write(dir / c.file, c.bytes);
        // The program says what corvane-cli says of the same file.
        const std::string cliSays = DataFile::load(dir / c.file)->damage;
        EXPECT_NE(QString::fromStdString(cliSays).indexOf(c.message), -1) << cliSays;
        prompter.expectOpen("project", q(dir / c.file));
        prompter.expectMessage(tip, QString::fromStdString(cliSays), Icon::Error);
        session.OnOpenProject();
        ASSERT_TRUE(session.project().isOpen());
        EXPECT_EQ(projectName(), "damaged");
        EXPECT_EQ(samples::codes(session.project().components()), c.codes);
        EXPECT_EQ(session.projectPath(), QString());
        EXPECT_EQ(ui.title, QString());

        prompter.expectSave("project1", std::nullopt);  // asks, never writes the original
        session.OnSaveProject();
        prompter.expectDone();
        EXPECT_EQ(TempDir::read(dir / c.file), c.bytes);
    }
}

// A pipe nobody writes would hold the window for ever, a device would be read without end:
// both flows that read a file refuse what is not one, without opening it.
TEST_F(ProjectSessionTest, OpenAndAddReadRegularFilesOnly) {
    const FifoWatch fifo(dir / "fifo.pro");
    std::filesystem::create_directory(dir / "folder.pro");
    makeSocket(dir / "socket.pro");
    for (const std::filesystem::path& path :
         {fifo.path(), dir / "folder.pro", std::filesystem::path("/dev/null"),
          dir / "socket.pro"}) {
        SCOPED_TRACE(path);
        const QString refusal = QString::fromStdString(FileIo::checkRegularFile(path).message());
        ASSERT_FALSE(refusal.isEmpty());
        prompter.expectMessage(tip, refusal, Icon::Error);
        session.openProjectFile(q(path));
        prompter.expectDone();
        EXPECT_FALSE(session.project().isOpen());
        EXPECT_EQ(ui.title, QString());

        create("p");
        prompter.expectOpen("data", q(path));
        prompter.expectMessage(tip, refusal, Icon::Error);
        session.OnAddComponent();
        prompter.expectDone();
        EXPECT_TRUE(session.project().components().empty());
        session.project().clear();
    }
    EXPECT_FALSE(fifo.opened());
}

TEST_F(ProjectSessionTest, AProjectOpenWithoutContentClosesWithoutAPrompt) {
    ASSERT_TRUE(ProjectFile::save(dir / "empty.pro", ProjectInfo{}, {}).ok());
    prompter.expectOpen("project", q(dir / "empty.pro"));
    session.OnOpenProject();
    ASSERT_TRUE(session.project().isOpen());
    EXPECT_TRUE(session.closeProject());
    EXPECT_FALSE(session.project().isOpen());
}

// A project name that does not exist is refused by the dialog itself; an upload data file's
// name is left to the reader, whose message says what is wrong with it.
TEST(ProjectSessionDialogs, OnlyTheProjectOpenDialogInsistsOnAnExistingFile) {
    EXPECT_TRUE(ProjectSession::projectOpenDialog().mustExist);
    EXPECT_FALSE(ProjectSession::uploadOpenDialog().mustExist);
}

TEST(QtPrompter, EscapeAndTheCloseButtonAreNoAnswer) {
    QtPrompter prompter;
    struct Case {
        const char* what;
        std::function<void(QMessageBox*)> act;
        Answer expected;
    };
    auto click = [](const char* text) {
        return [text](QMessageBox* box) { clickButton(box, QString::fromUtf8(text)); };
    };
    const Case cases[] = {
        {"是", click("是"), Answer::Yes},
        {"否", click("否"), Answer::No},
        {"Escape", [](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); },
         Answer::Dismissed},
        {"close button", [](QMessageBox* box) { box->close(); }, Answer::Dismissed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        onNextModal<QMessageBox>(c.act);
        EXPECT_EQ(prompter.askYesNo(tip, QStringLiteral("是否保存对新工程的更改？")), c.expected);
    }
}

TEST_F(ProjectSessionTest, EveryComponentChangeIsUndoneAndRedoneByteForByte) {
    create("p");
    auto& list = session.project().components();
    list = {samples::withPoints("H001", 3), samples::withPoints("W001", 2, 2),
            samples::withPoints("P001", 5)};
    auto bytes = [&] { return ProjectFile::encode(*session.project().info(), list); };
    MeasurePoint edited{3, 35, 1200};
    struct Case {
        const char* text;  // the step's name in the menu
        std::function<bool()> change;
        int index;
    };
    const Case cases[] = {
        {"修改 H001 名称", [&] { return session.document().setName(0, "梁一"); }, 0},
        {"修改 W001 垂直保护层厚度设计值",
         [&] { return session.document().setField(1, ComponentField::DesignCoverVert, 35); }, 1},
        {"修改 P001 测点 3",
         [&] {
             return session.document().setPoint(2, {false, 2}, edited);
         },
         2},
        {"修改 W001 垂直测点 2",
         [&] {
             return session.document().setPoint(1, {true, 1}, edited);
         },
         1},
        {"增加 H001 测点 4", [&] { return session.document().addPoint(0, false); }, 0},
        {"增加 W001 垂直测点 3", [&] { return session.document().addPoint(1, true); }, 1},
        {"删除 P001 测点 3",
         [&] {
             return session.document().removePoint(2, {false, 2});
         },
         2},
        {"删除 W001 垂直测点 1",
         [&] {
             return session.document().removePoint(1, {true, 0});
         },
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const std::string before = bytes();
        ui.changed.clear();
        ASSERT_TRUE(c.change());
        const std::string after = bytes();
        EXPECT_NE(after, before);
        EXPECT_TRUE(ui.changed.empty());  // never from inside the call that made the change
        EXPECT_EQ(session.undoStack().undoText(), QString::fromUtf8(c.text));
        session.undoStack().undo();
        EXPECT_EQ(bytes(), before);
        session.undoStack().redo();
        EXPECT_EQ(bytes(), after);
        QCoreApplication::processEvents();
        EXPECT_EQ(ui.changed, (std::vector<int>{c.index}));  // once for the three
    }
    // Counts stay in step with their lists through it all.
    for (const Component& c : list) {
        EXPECT_EQ(c.pointCount, static_cast<int>(c.points.size()));
        EXPECT_EQ(c.pointCountVert, static_cast<int>(c.pointsVert.size()));
    }
}

TEST_F(ProjectSessionTest, ChangesThatChangeNothingAreNoSteps) {
    create("p");
    session.project().components() = {samples::withPoints("H001", 2)};
    const Component& c = session.project().components().front();
    EXPECT_FALSE(session.document().setName(0, "H001"));
    EXPECT_FALSE(session.document().setField(0, ComponentField::DesignCover, c.designCover));
    EXPECT_FALSE(session.document().setPoint(0, {false, 1}, c.points[1]));
    EXPECT_FALSE(session.document().setPoint(0, {false, 2}, MeasurePoint{}));  // no such point
    EXPECT_FALSE(session.document().removePoint(0, {true, 0}));
    EXPECT_FALSE(session.document().addPoint(1, false));  // no such component
    EXPECT_EQ(session.undoStack().count(), 0);

    // A name longer than the field is cut at a character boundary.
    ASSERT_TRUE(session.document().setName(
        0, gbk::fromUtf8(std::string(31, 'x') + "梁梁梁梁梁梁梁梁梁梁")));
    EXPECT_EQ(c.name.view().size(), 49u);
    ASSERT_TRUE(session.document().setName(0, gbk::fromUtf8(std::string(48, 'x') + "梁")));
    EXPECT_EQ(c.name.view(), std::string(48, 'x'));
}

TEST_F(ProjectSessionTest, AddingDeletingComponentsAndTheHeaderAreStepsToo) {
    create("p");
    EXPECT_EQ(session.undoStack().count(), 0);  // the settings of a new project are no step
    auto& list = session.project().components();
    list = {samples::withPoints("H001", 2), samples::withPoints("W001", 2, 1),
            samples::withPoints("P001", 3)};
    auto bytes = [&] { return ProjectFile::encode(*session.project().info(), list); };
    const std::string start = bytes();
    ASSERT_TRUE(UploadFile::save(dir / "u.vexo",
                                 {samples::withPoints("H002", 1), samples::withPoints("Z001", 2),
                                  samples::withPoints("P009", 4)})
                    .ok());

    prompter.expectOpen("data", q(dir / "u.vexo"));
    ui.ticks = std::vector<bool>{true, false, true};
    session.OnAddComponent();
    EXPECT_EQ(samples::codes(list), "H001,H002,W001,P001,P009");
    EXPECT_EQ(session.undoStack().undoText(), QStringLiteral("增加 2 个构件"));
    const std::string added = bytes();

    ui.ticks = std::vector<bool>{true, false, true, false, true};
    session.OnDeleteComponent();
    EXPECT_EQ(samples::codes(list), "H002,P001");
    EXPECT_EQ(session.undoStack().undoText(), QStringLiteral("删除 3 个构件"));
    const std::string deleted = bytes();

    ui.nextName = "renamed";
    session.OnSetProject();
    EXPECT_EQ(projectName(), "renamed");
    EXPECT_EQ(session.undoStack().undoText(), QStringLiteral("设置工程"));

    // Saving keeps every step.
    prompter.expectSave("project1", q(dir / "s.pro"));
    prompter.expectMessage(tip, saved, Icon::Information);
    session.OnSaveProject();
    EXPECT_EQ(session.undoStack().count(), 3);

    ui.modes.clear();
    session.undoStack().undo();
    EXPECT_EQ(projectName(), "p");
    EXPECT_EQ(bytes(), deleted);
    session.undoStack().undo();
    EXPECT_EQ(bytes(), added);  // back at their places, with their points
    QCoreApplication::processEvents();
    session.undoStack().undo();
    EXPECT_EQ(bytes(), start);
    QCoreApplication::processEvents();
    EXPECT_EQ(ui.modes, (std::vector{DetectionType::Profile,
                                     DetectionType::Profile}));  // the list shown again after each
    session.undoStack().redo();
    session.undoStack().redo();
    EXPECT_EQ(bytes(), deleted);

    // A new change drops what could be redone.
    ASSERT_TRUE(session.document().setName(0, "x"));
    EXPECT_FALSE(session.undoStack().canRedo());

    // Opening another project starts with nothing to undo.
    prompter.expectQuestion(tip, QStringLiteral("是否保存对") + ui.title + "的更改？", false);
    prompter.expectOpen("project", std::nullopt);
    session.OnOpenProject();
    EXPECT_EQ(session.undoStack().count(), 0);
}

// 验收判定 is one step, and the 增加构件 whose components it marked is another: undone and
// redone, the marks come and go with them and name the same components, so a save writes them.
TEST_F(ProjectSessionTest, UndoAndRedoOfTheMarksAndOfTheAddTheyMarked) {
    create("p");
    ASSERT_TRUE(UploadFile::save(dir / "u.vexo",
                                 {samples::withPoints("H001", 2), samples::withPoints("P001", 3)})
                    .ok());
    prompter.expectOpen("data", q(dir / "u.vexo"));
    ui.ticks = std::vector<bool>{true, true};
    session.OnAddComponent();
    const ComponentList& list = session.project().components();
    ASSERT_EQ(samples::codes(list), "H001,P001");
    const AcceptanceMark beamFirst{AcceptanceClass::Beam, AcceptanceSample::First};
    const AcceptanceMark slabSecond{AcceptanceClass::Slab, AcceptanceSample::Second};
    const AcceptanceMarks marked{{&list.front(), beamFirst}, {&list.back(), slabSecond}};
    ui.nextMarks = marked;
    session.OnAcceptance();
    EXPECT_EQ(session.undoStack().undoText(), QStringLiteral("验收判定"));

    const struct {
        const char* what;
        bool undo;
        const char* codes;
        bool marks;
    } steps[] = {
        {"undo 验收判定", true, "H001,P001", false},
        {"undo 增加构件", true, "", false},
        {"redo 增加构件", false, "H001,P001", false},
        {"redo 验收判定", false, "H001,P001", true},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.what);
        s.undo ? session.undoStack().undo() : session.undoStack().redo();
        EXPECT_EQ(samples::codes(list), s.codes);
        EXPECT_EQ(session.acceptanceMarks(), s.marks ? marked : AcceptanceMarks{});
    }
    prompter.expectSave("project1", q(dir / "m.pro"));
    prompter.expectMessage(tip, saved, Icon::Information);
    session.OnSaveProject();
    ProjectDocument back;
    ASSERT_TRUE(back.open(q(dir / "m.pro")).ok());
    EXPECT_EQ(back.acceptanceMarks(),
              (AcceptanceMarks{{back.component(0), beamFirst}, {back.component(1), slabSecond}}));
}

// 另存为 takes the classes along: they are written beside the new file, for its bytes, and
// the old file's sidecar stays as it was.
TEST_F(ProjectSessionTest, SaveAsWritesTheMarksBesideTheNewFile) {
    ProjectInfo info;
    info.projectName.assign("site");
    ASSERT_TRUE(ProjectFile::save(dir / "a.pro", info,
                                  {samples::withPoints("H001", 2), samples::withPoints("H001", 3)})
                    .ok());
    const std::string sidecar =
        sidecarText(ProjectSidecar::sha256Hex(TempDir::read(dir / "a.pro")),
                    R"({"code": "H001", "occurrence": 2, "class": "slab", "sample": 2})");
    TempDir::write(dir / "a.pro.corvane", sidecar);
    prompter.expectOpen("project", q(dir / "a.pro"));
    session.OnOpenProject();
    ASSERT_EQ(session.acceptanceMarks().size(), 1u);

    prompter.expectSave("project1", q(dir / "b.pro"));
    prompter.expectMessage(tip, saved, Icon::Information);
    session.OnSaveAs();
    EXPECT_EQ(TempDir::read(dir / "a.pro.corvane"), sidecar);
    ProjectDocument back;
    const Result<ProjectDocument::Opened> opened = back.open(q(dir / "b.pro"));
    ASSERT_TRUE(opened.ok());
    EXPECT_EQ(opened->sidecarNote, "");
    EXPECT_EQ(
        back.acceptanceMarks(),
        (AcceptanceMarks{{back.component(1), {AcceptanceClass::Slab, AcceptanceSample::Second}}}));
}
