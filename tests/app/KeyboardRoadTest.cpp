#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QTest>

#include "app/CMainFrame.h"
#include "controls/CPropertyGrid.h"
#include "controls/CPropertyGridInPlaceEdit.h"
#include "display/CCorvaneView.h"
#include "display/CDlgComponent.h"
#include "display/CWndLikeMsdn.h"
#include "display/SystemMetrics.h"
#include "instrument/DemoInspection.h"
#include "model/ProjectFile.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

namespace {

// Sends a key to whatever has the keyboard focus now, as the user's keyboard does.
void press(int key, Qt::KeyboardModifiers modifiers = {}, int times = 1) {
    for (int i = 0; i < times; ++i) {
        QWidget* target = QApplication::activePopupWidget();
        if (!target) target = QApplication::focusWidget();
        ASSERT_NE(target, nullptr) << "nothing has the focus for key " << key;
        QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
        QApplication::processEvents();
    }
}

}  // namespace

// The first inspection's edit by keys alone, from the opened project to its saved file, on the
// smallest and the largest screen inspectors have.
TEST(KeyboardRoad, FromTheViewMenuToASavedCoverWithoutTheMouse) {
    for (const QSize screen : {QSize(1366, 768), QSize(2560, 1440)}) {
        SCOPED_TRACE(screen.width());
        SystemMetrics::pin({screen.width(), 17, 22, 19});
        TempDir dir;
        const auto path = dir / "site.pro";
        ProjectInfo info;
        info.projectName.assign("site");
        ComponentList components = DemoInspection::components();
        ASSERT_TRUE(ProjectFile::save(path, info, components).ok());
        ASSERT_EQ(components.front().code.str(), "H001");

        ScriptedPrompter prompter;
        {
            CMainFrame frame(prompter, nullptr);
            frame.newDocument();
            frame.session().openProjectFile(QString::fromStdString(path.string()));
            frame.resize(screen - QSize(0, 40));
            frame.show();
            frame.activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));

            press(Qt::Key_V, Qt::AltModifier);  // 视图
            ASSERT_NE(QApplication::activePopupWidget(), nullptr);
            press(Qt::Key_Return);  // 厚度
            CCorvaneView* view = frame.activeView();
            ASSERT_EQ(view->shownType(), DetectionType::Thickness);
            EXPECT_EQ(QApplication::focusWidget(), view->pane());
            EXPECT_EQ(view->pane()->selectedGroupIndex(), 0);

            press(Qt::Key_Return);  // the first row's panel
            ASSERT_EQ(view->panel()->componentIndex(), 0);
            press(Qt::Key_Tab);
            CPropertyGrid* grid = view->panel()->grid();
            ASSERT_EQ(QApplication::focusWidget(), grid);
            press(Qt::Key_Down, {},
                  4);  // the code's caption, 名称, 钢筋直径设计值, 保护层厚度设计值
            QString name;
            ASSERT_TRUE(grid->GetItemName(grid->GetSelectedItem(), name));
            EXPECT_EQ(name, QStringLiteral("保护层厚度设计值"));
            press(Qt::Key_Return);
            ASSERT_NE(grid->inPlaceEdit(), nullptr);
            press(Qt::Key_Backspace, {}, 6);
            QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("47"));
            press(Qt::Key_Return);
            EXPECT_EQ(grid->inPlaceEdit(), nullptr);

            prompter.expectMessage(QStringLiteral("提示信息"), QStringLiteral("保存工程文件成功!"),
                                   Prompter::Icon::Information);
            press(Qt::Key_S, Qt::ControlModifier);
            prompter.expectDone();

            // Shift+Tab and Escape go back to the rows; Space closes the open row.
            press(Qt::Key_Tab);
            ASSERT_EQ(QApplication::focusWidget(), view->pane());
            press(Qt::Key_Tab);
            press(Qt::Key_Escape);
            ASSERT_EQ(QApplication::focusWidget(), view->pane());
            press(Qt::Key_Space);
            EXPECT_TRUE(view->pane()->group(0).collapsed);
        }
        const Result<ProjectContents> saved = ProjectFile::read(path);
        ASSERT_TRUE(saved.ok());
        EXPECT_EQ(saved->components.front().designCover, 47);
        SystemMetrics::unpin();
    }
}
