#include <gtest/gtest.h>

#include "display/CCorvaneView.h"
#include "display/CWndLikeMsdn.h"
#include "display/LightenColor.h"
#include "display/SystemMetrics.h"
#include "display/TableGeometry.h"
#include "model/Project.h"
#include "support/ModelSamples.h"

TEST(MainView, RebuildListsTheChosenTypeInProjectOrder) {
    Project project;
    CCorvaneView view(project);
    view.resize(1000, 600);
    EXPECT_EQ(view.ModeMessage(QStringLiteral("P")), 0);  // no project
    EXPECT_EQ(view.shownType(), DetectionType::Profile);
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
    EXPECT_EQ(view.shownType(), DetectionType::Unknown);
    EXPECT_EQ(view.pane()->groupCount(), 0);
}

// The band shows the captions and lines of the mode's layout, or nothing but its colour
// without a mode; the pane stands right below it at the view's width.
TEST(MainView, BandPerViewModeAndThePaneBelowIt) {
    SystemMetrics::pin({1450, 10, 22, 19});
    Project project;
    CCorvaneView view(project);
    view.resize(1450, 400);
    view.show();
    const int band = view.headerHeight();
    EXPECT_GE(band, 35);
    EXPECT_EQ(view.pane()->geometry(), QRect(0, band, 1450, 400 - band));
    view.resize(640, 480);
    EXPECT_EQ(view.pane()->geometry(), QRect(0, band, 640, 480 - band));
    view.resize(1450, 400);

    const QColor plain = LightenColor(0.75, view.palette().color(QPalette::Highlight));
    const QColor grey = view.palette().color(QPalette::Disabled, QPalette::WindowText);
    // Separator positions of the two layouts; none is shared but the first.
    auto separators = [](char mode) {
        std::vector<int> xs;
        const auto cols = TableGeometry::of(detectionTypeOf(mode)).columns;
        for (std::size_t i = 1; i + 1 < cols.size(); ++i) xs.push_back(cols[i].right() + 1);
        return xs;
    };
    const struct {
        const char* mode;
        char layout;  // 0: none
    } cases[] = {{"H", 'H'}, {"Z", 'H'}, {"P", 'P'}, {"W", 'P'}, {"", 0}, {"X", 0}};
    for (const auto& [mode, layout] : cases) {
        SCOPED_TRACE(mode);
        view.ModeMessage(QString::fromLatin1(mode));
        const QImage image = view.grab().toImage();
        for (char other : {'H', 'P'}) {
            for (int x : separators(other)) {
                if (other == layout) {
                    EXPECT_EQ(image.pixelColor(x, 1), grey) << x;
                } else {
                    EXPECT_NE(image.pixelColor(x, 1), grey) << x;
                }
            }
        }
        for (int x = 0; x < 1450 && !layout; x += 5) EXPECT_EQ(image.pixelColor(x, 1), plain);
        EXPECT_EQ(image.pixelColor(700, band - 1), layout ? grey : plain);
        if (!layout) continue;
        // Lines reach down to the bottom line, none follows the last column, and captions
        // are black on white.
        const auto cols = TableGeometry::of(detectionTypeOf(layout)).columns;
        EXPECT_EQ(image.pixelColor(cols[0].right() + 1, band - 2), grey);
        EXPECT_EQ(image.pixelColor(cols.back().right() + 1, band / 2), plain);
        bool black = false, white = false;
        for (int x = cols[1].left; x < cols[1].right(); ++x) {
            for (int y = 2; y < band - 2; ++y) {
                black |= qGray(image.pixel(x, y)) < 60;
                white |= image.pixel(x, y) == qRgb(255, 255, 255);
            }
        }
        EXPECT_TRUE(black && white);
    }
    SystemMetrics::unpin();
}
