#include <gtest/gtest.h>

#include "display/CCorvaneView.h"
#include "display/CWndLikeMsdn.h"
#include "model/Project.h"
#include "support/ModelSamples.h"

TEST(MainView, RebuildListsTheChosenTypeInProjectOrder) {
    Project project;
    CCorvaneView view(project);
    view.resize(1000, 600);
    EXPECT_EQ(view.ModeMessage(QStringLiteral("P")), 0);  // no project
    EXPECT_EQ(view.shownType(), 'P');
    EXPECT_EQ(view.pane()->groupCount(), 0);

    project.createEmpty();
    for (const char* code : {"H001", "P002", "Z001", "P001", "W001", "P003"}) {
        project.components().push_back(samples::withPoints(code, 2));
    }
    EXPECT_EQ(view.ModeMessage(QStringLiteral("P")), 1);
    ASSERT_EQ(view.pane()->groupCount(), 3);
    EXPECT_EQ(view.pane()->group(0).texts.codeCell, "P002");
    EXPECT_EQ(view.pane()->group(1).texts.codeCell, "P001");
    EXPECT_EQ(view.pane()->group(2).texts.codeCell, "P003");

    EXPECT_EQ(view.ModeMessage(QStringLiteral("H")), 1);
    EXPECT_EQ(view.pane()->groupCount(), 1);
    EXPECT_EQ(view.ModeMessage(QString()), 1);
    EXPECT_EQ(view.shownType(), 0);
    EXPECT_EQ(view.pane()->groupCount(), 0);
}

TEST(MainView, PaneStandsBelowTheBandAtTheViewsWidth) {
    Project project;
    CCorvaneView view(project);
    view.resize(1000, 600);
    view.show();
    EXPECT_EQ(view.pane()->geometry(), QRect(0, 35, 1000, 565));
    view.resize(640, 480);
    EXPECT_EQ(view.pane()->geometry(), QRect(0, 35, 640, 445));
}
