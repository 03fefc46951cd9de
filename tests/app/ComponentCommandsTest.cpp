#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QTableView>
#include <QTest>
#include <cstdlib>
#include <functional>

#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "app/ReportCommands.h"
#include "controls/CPropertyGrid.h"
#include "controls/CPropertyGridInPlaceEdit.h"
#include "dialogs/CCheckListCtrl.h"
#include "dialogs/CDlgAcceptance.h"
#include "dialogs/CDlgHistory.h"
#include "dialogs/CDlgSetProject.h"
#include "dialogs/CDlgShowUploadData.h"
#include "display/CCorvaneView.h"
#include "display/CDlgComponent.h"
#include "display/CWndLikeMsdn.h"
#include "instrument/DemoInspection.h"
#include "instrument/SimulatedInstrument.h"
#include "model/ComponentFileReader.h"
#include "model/ProjectFile.h"
#include "model/UploadFile.h"
#include "report/Report.h"
#include "report/ReportValue.h"
#include "support/FireCommand.h"
#include "support/ModalDriver.h"
#include "support/ModelSamples.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

using samples::codes;
using samples::withPoints;
using Icon = Prompter::Icon;

namespace {

class ComponentCommandsTest : public testing::Test {
protected:
    ComponentCommandsTest() : link(DemoInspection::image()), frame(prompter, &link) {
        frame.newDocument();
        onNextModal<CDlgSetProject>([](CDlgSetProject* d) {
            d->projectNameEdit()->setText(QStringLiteral("p"));
            d->accept();
        });
        fireCommand(frame, ID_CREATE_PROJECT);
    }

    QString upload(const std::string& name, const ComponentList& list) {
        const auto path = dir / name;
        EXPECT_TRUE(UploadFile::save(path, list).ok());
        return QString::fromStdString(path.string());
    }

    // Runs 增加构件 on `file`, ticking `rows` in the dialog; the caption is checked too.
    void add(const QString& file, std::vector<int> rows) {
        prompter.expectOpen("data", file, QStringLiteral("钢筋位置上传数据文件(*.vexo)|*.vexo|"));
        onNextModal<CDlgShowUploadData>([file, rows](CDlgShowUploadData* d) {
            EXPECT_EQ(d->windowTitle(), file);
            EXPECT_EQ(d->addMode(), 1);
            for (int r : rows) d->componentList()->setChecked(r, true);
            d->accept();
        });
        fireCommand(frame, ID_ADD_COMPONENT);
    }

    // The window as the user has it: shown, active and large enough for the open panel.
    void showActive() {
        frame.resize(1400, 900);
        frame.show();
        frame.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    }
    // A click on row `r` of the view's table, which opens its panel under it.
    void openRow(int r) {
        CWndLikeMsdn* pane = frame.activeView()->pane();
        const QPoint at(300, pane->groupTop(r) + pane->rowHeight() / 2);
        QTest::mouseMove(pane->viewport(), at);
        QTest::mouseClick(pane->viewport(), Qt::LeftButton, {}, at);
        QApplication::processEvents();  // the panel is placed under its row
    }
    // Types `text` into item `item` of the first component's panel without ending the edit.
    void typeInto(int item, const char* text) {
        CDlgComponent* panel = frame.activeView()->panel();
        CPropertyGrid* grid = panel->grid();
        if (!grid->inPlaceEdit()) {
            if (panel->componentIndex() != 0) openRow(0);
            ASSERT_EQ(panel->componentIndex(), 0);
            ASSERT_TRUE(panel->isVisible());
            const int y = grid->itemTop(item) - grid->scrollPosition() + grid->rowHeight() / 2;
            QTest::mouseClick(grid, Qt::LeftButton, {}, QPoint(grid->dividerX() + 30, y));
            ASSERT_NE(grid->inPlaceEdit(), nullptr);
        }
        grid->inPlaceEdit()->selectAll();
        QTest::keyClicks(grid->inPlaceEdit(), text);
    }

    TempDir dir;
    ScriptedPrompter prompter;
    SimulatedInstrument link;
    CMainFrame frame;
};

}  // namespace

TEST_F(ComponentCommandsTest, AddMovesTickedComponentsIntoTypeOrderAndShowsProfiles) {
    const QString file = upload("a.vexo", {withPoints("P001", 2), withPoints("W001", 2, 1),
                                           withPoints("H001", 3), withPoints("Z001", 1)});
    ASSERT_EQ(frame.ModeText(), QString());
    add(file, {0, 1, 2});
    EXPECT_EQ(codes(frame.project().components()), "H001,W001,P001");
    EXPECT_EQ(frame.project().components().front().points.size(), 3u);
    // An empty mode turns into 剖面.
    EXPECT_EQ(frame.ModeText(), QStringLiteral("P"));
    EXPECT_EQ(frame.activeView()->shownType(), DetectionType::Profile);

    fireCommand(frame, ID_VIEW_THICKNESS);
    add(file, {0, 1, 2, 3});  // the same upload again: each component a second time
    EXPECT_EQ(codes(frame.project().components()), "H001,H001,Z001,W001,W001,P001,P001");
    EXPECT_EQ(frame.ModeText(), QStringLiteral("H"));
}

TEST_F(ComponentCommandsTest, NothingTickedChangesNothingAndDoesNotRebuild) {
    const QString file = upload("a.vexo", {withPoints("H001", 1)});
    add(file, {});
    EXPECT_TRUE(frame.project().components().empty());
    EXPECT_EQ(frame.ModeText(), QString());
    EXPECT_EQ(frame.activeView()->shownType(), DetectionType::Unknown);
}

TEST_F(ComponentCommandsTest, UnusableUploadsEndWithoutADialog) {
    prompter.expectOpen("data", std::nullopt);
    fireCommand(frame, ID_ADD_COMPONENT);

    prompter.expectOpen("data", upload("empty.vexo", {}));
    fireCommand(frame, ID_ADD_COMPONENT);  // a count of 0: silently nothing

    const QString wrong = QString::fromStdString((dir / "wrong.vexo").string());
    TempDir::write(wrong.toStdString(), std::string("\x0BVexoProject", 12));
    prompter.expectOpen("data", wrong);
    prompter.expectMessage(QStringLiteral("提示信息"),
                           QString::fromStdString(ComponentFileReader::wrongKind(
                               wrong.toStdString(), UploadFile::wrongMagicMessage)),
                           Icon::Error);
    fireCommand(frame, ID_ADD_COMPONENT);

    prompter.expectOpen("data", QString::fromStdString((dir / "none.vexo").string()));
    prompter.expectMessageContaining(QStringLiteral("提示信息"), QStringLiteral("无法打开文件"),
                                     Icon::Error);
    fireCommand(frame, ID_ADD_COMPONENT);
    EXPECT_TRUE(frame.project().components().empty());
    EXPECT_EQ(frame.ModeText(), QString());
}

TEST_F(ComponentCommandsTest, DeleteRemovesTickedComponentsOfTheProject) {
    fireCommand(frame, ID_DELETE_COMPONENT);  // no components: no dialog
    add(upload("a.vexo", {withPoints("H001", 1), withPoints("Z001", 1), withPoints("W001", 1, 1),
                          withPoints("P001", 1)}),
        {0, 1, 2, 3});
    fireCommand(frame, ID_VIEW_GRID);

    onNextModal<CDlgShowUploadData>([](CDlgShowUploadData* d) {
        EXPECT_EQ(d->windowTitle(), QStringLiteral("新工程"));  // never saved
        EXPECT_EQ(d->addMode(), 0);
        d->componentList()->setChecked(0, true);
        d->componentList()->setChecked(2, true);
        d->accept();
    });
    fireCommand(frame, ID_DELETE_COMPONENT);
    EXPECT_EQ(codes(frame.project().components()), "Z001,P001");
    EXPECT_EQ(frame.activeView()->shownType(), DetectionType::Grid);

    onNextModal<CDlgShowUploadData>([](CDlgShowUploadData* d) {
        d->componentList()->setChecked(0, true);
        d->reject();
    });
    fireCommand(frame, ID_DELETE_COMPONENT);
    EXPECT_EQ(codes(frame.project().components()), "Z001,P001");
}

TEST_F(ComponentCommandsTest, WithoutAProjectBothCommandsDoNothing) {
    prompter.expectQuestion(QStringLiteral("提示信息"), QStringLiteral("是否保存对新工程的更改？"),
                            false);
    onNextModal<CDlgSetProject>([](CDlgSetProject* d) { d->reject(); });
    fireCommand(frame, ID_CREATE_PROJECT);
    ASSERT_FALSE(frame.project().isOpen());
    fireCommand(frame, ID_ADD_COMPONENT);
    fireCommand(frame, ID_DELETE_COMPONENT);
    EXPECT_EQ(prompter.shown(), 1);
}

// After undo and redo the user sees what a change by hand shows: the open panel and its row
// follow an edit going and coming back; a component that undo takes away closes its panel.
TEST_F(ComponentCommandsTest, UndoAndRedoShowInTheOpenPanelAndItsRow) {
    add(upload("a.vexo", {withPoints("P001", 3), withPoints("P002", 2)}), {0, 1});
    showActive();
    CCorvaneView* view = frame.activeView();
    CWndLikeMsdn* pane = view->pane();
    openRow(1);
    CDlgComponent* panel = view->panel();
    CPropertyGrid* grid = panel->grid();
    ASSERT_EQ(panel->componentIndex(), 1);
    const auto spacing = [grid] {
        std::int32_t v = -1;
        grid->GetItemInteger(3, v);  // 配筋间距设计值
        return v;
    };

    const int y = grid->itemTop(3) - grid->scrollPosition() + grid->rowHeight() / 2;
    QTest::mouseClick(grid, Qt::LeftButton, {}, QPoint(grid->dividerX() + 30, y));
    ASSERT_NE(grid->inPlaceEdit(), nullptr);
    grid->inPlaceEdit()->setText(QStringLiteral("321"));
    QTest::keyClick(grid->inPlaceEdit(), Qt::Key_Return);
    QCoreApplication::processEvents();  // one turn: the row follows before the user looks
    EXPECT_EQ(pane->group(1).texts.spacingDesignCell, "321 mm");
    fireCommand(frame, ID_ADD_POINT);
    EXPECT_EQ(pane->group(1).texts.pointCountCell, "3");

    fireCommand(frame, ID_EDIT_UNDO);
    EXPECT_EQ(pane->group(1).texts.pointCountCell, "2");
    EXPECT_FALSE(panel->pointOfItem(8).has_value());  // items 6 and 7: two points
    fireCommand(frame, ID_EDIT_UNDO);
    EXPECT_EQ(spacing(), 100);
    EXPECT_EQ(pane->group(1).texts.spacingDesignCell, "100 mm");
    fireCommand(frame, ID_EDIT_REDO);
    EXPECT_EQ(spacing(), 321);
    EXPECT_EQ(pane->group(1).texts.spacingDesignCell, "321 mm");
    EXPECT_EQ(pane->group(0).texts.spacingDesignCell, "100 mm");

    // What the panel stored is what the project file holds.
    const auto saved = dir / "edited.pro";
    prompter.expectSave("project1", QString::fromStdString(saved.string()));
    prompter.expectMessage(QStringLiteral("提示信息"), QStringLiteral("保存工程文件成功!"),
                           Icon::Information);
    fireCommand(frame, ID_SAVE_PROJECT);
    const Result<ProjectContents> reread = ProjectFile::read(saved);
    ASSERT_TRUE(reread.ok());
    EXPECT_EQ(std::next(reread->components.begin())->designSpacing, 321);

    // A component added and open, then the adding undone: its panel closes.
    add(upload("b.vexo", {withPoints("P003", 1)}), {0});
    openRow(2);
    ASSERT_EQ(panel->componentIndex(), 2);
    fireCommand(frame, ID_EDIT_UNDO);
    EXPECT_EQ(codes(frame.project().components()), "P001,P002");
    EXPECT_EQ(panel->componentIndex(), -1);
    EXPECT_TRUE(panel->isHidden());
    EXPECT_EQ(pane->groupCount(), 2);
}

// A value typed into the panel and not yet ended by Enter is stored, as its own step, before
// any command runs, however the command is given; a value the grid refuses stops the command.
TEST_F(ComponentCommandsTest, APendingEditIsStoredBeforeEveryCommand) {
    add(upload("a.vexo", {withPoints("P001", 3), withPoints("P002", 2)}), {0, 1});
    showActive();
    CWndLikeMsdn* pane = frame.activeView()->pane();
    CPropertyGrid* grid = frame.activeView()->panel()->grid();
    const auto spacing = [this] { return frame.project().components().front().designSpacing; };
    const auto typeSpacing = [this](const char* text) { typeInto(3, text); };  // 配筋间距设计值
    const auto saved = dir / "typed.pro";

    struct Case {
        const char* typed;
        std::function<void()> command;
        std::int16_t spacing;  // after the command
        const char* points;    // P001's point count after it
    };
    const Case cases[] = {
        {"150",
         [&] {
             prompter.expectSave("project1", QString::fromStdString(saved.string()));
             prompter.expectMessage(QStringLiteral("提示信息"), QStringLiteral("保存工程文件成功!"),
                                    Icon::Information);
             QTest::keyClick(grid->inPlaceEdit(), Qt::Key_S, Qt::ControlModifier);
         },
         150, "3"},
        {"45", [&] { frame.menuAction(ID_ADD_POINT)->trigger(); }, 45, "4"},
        {"77", [&] { frame.menuAction(ID_EDIT_UNDO)->trigger(); }, 45, "4"},  // takes back 77
        {"78", [&] { frame.action(ID_VIEW_PROFILE)->trigger(); }, 78, "4"},
        {"79", [&] { openRow(1); }, 79, "4"},
    };
    for (const Case& c : cases) {
        typeSpacing(c.typed);
        c.command();
        QCoreApplication::processEvents();
        EXPECT_EQ(grid->inPlaceEdit(), nullptr) << c.typed;
        EXPECT_EQ(spacing(), c.spacing) << c.typed;
        EXPECT_EQ(pane->group(0).texts.pointCountCell, c.points) << c.typed;
        prompter.expectDone();
    }
    const Result<ProjectContents> reread = ProjectFile::read(saved);
    ASSERT_TRUE(reread.ok());
    EXPECT_EQ(reread->components.front().designSpacing, 150);

    // The editor's own keys act on its text.
    typeSpacing("12");
    QTest::keyClick(grid->inPlaceEdit(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(grid->inPlaceEdit()->text(), QStringLiteral("79"));
    EXPECT_EQ(spacing(), 79);

    // A refused value stops Ctrl+S and the close of the window, and keeps its text.
    grid->inPlaceEdit()->selectAll();
    QTest::keyClicks(grid->inPlaceEdit(), "abc");
    for (const auto& command : std::vector<std::function<void()>>{
             [&] { QTest::keyClick(grid->inPlaceEdit(), Qt::Key_S, Qt::ControlModifier); },
             [&] { frame.close(); }}) {
        MessageBoxes boxes;
        command();
        EXPECT_EQ(boxes.texts(), QStringList{"请输入一个整数。"});
        ASSERT_NE(grid->inPlaceEdit(), nullptr);
        EXPECT_EQ(grid->inPlaceEdit()->text(), QStringLiteral("abc"));
        EXPECT_TRUE(frame.isVisible());
        EXPECT_EQ(spacing(), 79);
        QTest::qWait(1);
        frame.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    }
    QTest::keyClick(grid->inPlaceEdit(), Qt::Key_Escape);
    EXPECT_EQ(grid->inPlaceEdit(), nullptr);
    EXPECT_EQ(spacing(), 79);
}

// 验收判定 and its table judge a value typed and not yet ended: the command sees it.
TEST_F(ComponentCommandsTest, APendingEditReachesTheJudgementAndItsTable) {
    add(upload("a.vexo", {samples::withCovers("P001", {40, 41})}), {0});  // designed 50
    const Component* p001 = &frame.project().components().front();
    ASSERT_TRUE(frame.session().document().setAcceptanceMarks({{p001, AcceptanceMark{}}}));
    showActive();
    QString verdict;
    // A field of the judgement table's first row.
    const auto cell = [this](const char* field) {
        const Report* report = frame.reports().report();
        if (!report || report->records().empty()) return QStringLiteral("<no row>");
        for (std::size_t i = 0; i < report->fields().size(); ++i) {
            if (report->fields()[i]->name() == QLatin1String(field)) {
                return reportValueText(report->records().front()[i]);
            }
        }
        return QStringLiteral("<no field>");
    };
    struct Case {
        const char* typed;  // the design cover
        int command;
        std::function<void()> answer;
        std::function<QString()> seen;
        const char* expected;
    };
    const Case cases[] = {
        // Deviations 0 and +1 pass as a beam's; at 50, -10 and -9 would fail.
        {"40", ID_ACCEPTANCE,
         [&] {
             onNextModal<CDlgAcceptance>([&](CDlgAcceptance* d) {
                 const auto* label = d->findChild<QLabel*>(QStringLiteral("verdict_beam"));
                 verdict = label ? label->text() : QStringLiteral("<no verdict>");
                 d->reject();
             });
         },
         [&] { return verdict; }, "合格"},
        // The largest deviation under design: -1 at 41, 0 at 40.
        {"41", ID_PREVIEW_ACCEPTANCE,
         [] { onNextModal<QPrintPreviewDialog>([](QPrintPreviewDialog* p) { p->reject(); }); },
         [&] { return cell("MaxUnder"); }, "-1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        typeInto(2, c.typed);  // 保护层厚度设计值
        c.answer();
        fireCommand(frame, c.command);
        EXPECT_EQ(c.seen(), QString::fromUtf8(c.expected));
        EXPECT_EQ(p001->designCover, std::atoi(c.typed));
    }
}

// Closing the document window stores a value typed and not yet ended; one the panel refuses
// is told, and the window stays with its editor and text.
TEST_F(ComponentCommandsTest, ClosingTheDocumentWindowStoresThePendingEditOrStays) {
    add(upload("a.vexo", {withPoints("P001", 3)}), {0});
    showActive();
    CChildFrame* child = frame.activeChild();
    const struct {
        const char* typed;
        QStringList told;
        bool closes;
        std::int16_t cover;  // stored after the close
    } cases[] = {
        {"abc", {"请输入一个整数。"}, false, 50},
        {"45", {}, true, 45},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        typeInto(2, c.typed);  // 保护层厚度设计值
        MessageBoxes boxes;
        EXPECT_EQ(child->close(), c.closes);
        EXPECT_EQ(boxes.texts(), c.told);
        EXPECT_EQ(frame.project().components().front().designCover, c.cover);
        if (c.closes) break;
        CPropertyGrid* grid = frame.activeView()->panel()->grid();
        ASSERT_NE(grid->inPlaceEdit(), nullptr);
        EXPECT_EQ(grid->inPlaceEdit()->text(), QString::fromUtf8(c.typed));
        frame.activateWindow();  // the offscreen platform does not return from the box by itself
        ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    }
    EXPECT_EQ(frame.session().undoStack().undoText(), QStringLiteral("修改 P001 保护层厚度设计值"));
}

// A value changed in the panel carries its mark through undo and redo; once saved, 修改记录
// lists the change under the chain's state, and prints it as the fifth table.
TEST_F(ComponentCommandsTest, AChangedValueIsMarkedListedAndPrinted) {
    add(upload("a.vexo", {withPoints("H001", 2), withPoints("H002", 1)}), {0, 1});
    ASSERT_TRUE(frame.activeView()->panel()->SelectComponentMessage(0));
    CPropertyGrid* grid = frame.activeView()->panel()->grid();
    const auto marks = [grid] {
        QStringList shown;
        QString name;
        for (int id = 0; grid->GetItemName(id, name); ++id) {
            if (!grid->itemMark(id).isEmpty())
                shown << name + QLatin1Char('=') + grid->itemMark(id);
        }
        return shown.join(QLatin1Char('|'));
    };
    const int cover = frame.project().components().front().designCover;
    ASSERT_TRUE(frame.session().document().setField(0, ComponentField::DesignCover, 47));
    QApplication::processEvents();
    const QString mark = marks();
    EXPECT_TRUE(mark.startsWith(QStringLiteral("保护层厚度设计值=仪器值 %1 mm；").arg(cover)))
        << mark.toStdString();
    EXPECT_TRUE(mark.endsWith(QStringLiteral("修改为 47 mm"))) << mark.toStdString();
    fireCommand(frame, ID_EDIT_UNDO);
    EXPECT_EQ(marks(), QString());
    fireCommand(frame, ID_EDIT_REDO);
    EXPECT_EQ(marks(), mark);

    prompter.expectSave("project1", QString::fromStdString((dir / "h.pro").string()));
    prompter.expectMessage(QStringLiteral("提示信息"), QStringLiteral("保存工程文件成功!"),
                           Icon::Information);
    fireCommand(frame, ID_SAVE_PROJECT);
    const auto count = frame.session().document().history().size();
    const QString state = QStringLiteral("修改记录完整，共 %1 条。").arg(count);
    // The edit, newest first; the filter keeps H001's entries (its add and its edit).
    QStringList edit;
    int all = 0, h001 = 0;
    onNextModal<CDlgHistory>([&](CDlgHistory* d) {
        EXPECT_EQ(d->stateLabel()->text(), state);
        all = d->shownRows();
        const auto* model = d->list()->model();
        for (int r = 0; r < all && edit.isEmpty(); ++r) {
            if (model->index(r, 4).data().toString() != QStringLiteral("保护层厚度设计值"))
                continue;
            for (int c = 2; c < 7; ++c) edit << model->index(r, c).data().toString();
        }
        d->componentChoice()->setCurrentText(QStringLiteral("H001"));
        h001 = d->shownRows();
        QTest::keyClick(d->list(), Qt::Key_Escape);
    });
    fireCommand(frame, ID_HISTORY);
    EXPECT_EQ(edit.join(QLatin1Char(',')),
              QStringLiteral("H001,,保护层厚度设计值,%1,47").arg(cover));
    EXPECT_EQ(all, static_cast<int>(count));
    EXPECT_EQ(h001, 2);

    onNextModal<QPrintPreviewDialog>([](QPrintPreviewDialog* p) { p->reject(); });
    fireCommand(frame, ID_PREVIEW_HISTORY);
    ASSERT_TRUE(frame.reports().report());
    const auto& records = frame.reports().report()->records();
    ASSERT_EQ(records.size(), count + 1);  // the state, then the entries
    EXPECT_EQ(reportValueText(records[0][7]), state);
    const auto texts = [&records](std::size_t r) {
        QStringList row;
        for (std::size_t c = 2; c < 7; ++c) row << reportValueText(records[r][c]);
        return row.join(QLatin1Char(','));
    };
    bool printed = false;
    for (std::size_t r = 1; r < records.size(); ++r) {
        printed |= texts(r) == QStringLiteral("H001,,保护层厚度设计值,%1,47").arg(cover);
    }
    EXPECT_TRUE(printed);
}
