#include <gtest/gtest.h>

#include <QApplication>
#include <QPalette>

#include "controls/GridPainter.h"
#include "display/ChartGeometry.h"
#include "display/PanelLayout.h"

TEST(PanelLayout, GridRightOfTheChartInItsFrameAndTheChartFromTheStrip) {
    struct Case {
        int width, height, strip;
        QRect grid, frame, chart;
    };
    const Case cases[] = {
        {870, 370, 121, QRect(585, 30, 185, 330), QRect(QPoint(584, 29), QPoint(770, 360)),
         QRect(QPoint(122, 0), QPoint(510, 368))},
        {1201, 600, 181, QRect(750, 30, 351, 560), QRect(QPoint(749, 29), QPoint(1101, 590)),
         QRect(QPoint(182, 0), QPoint(675, 598))},
        // Too small for the grid: it gets no room, the chart keeps its place.
        {300, 30, 121, QRect(300, 30, 0, 0), QRect(QPoint(299, 29), QPoint(200, 20)),
         QRect(QPoint(122, 0), QPoint(225, 28))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.width);
        const PanelLayout layout = PanelLayout::of(c.width, c.height, c.strip);
        EXPECT_EQ(layout.grid, c.grid);
        EXPECT_EQ(layout.gridFrame, c.frame);
        EXPECT_EQ(layout.chart, c.chart);
    }
}

// One factor for everything the panel draws: the grid font's. The panel grows so that it shows
// the same whole rows on every screen, and its chart is drawn that much larger (its logical
// area shrinks by the factor, the painter scales it back).
TEST(PanelLayout, EveryScreenShowsTheSameRowsAndAChartAsLargeAsTheGrid) {
    struct Case {
        int screen;
        float factor;  // the chart's texts are 8 pt × this
        int height;
        int rows;
        QSize chartArea;  // logical, for a panel as wide as the screen
    };
    const Case cases[] = {
        {1366, 0.94f, 370, 15, {1453, 393}},
        {1440, 1.00f, 370, 15, {1440, 370}},
        {1920, 1.33f, 460, 15, {1443, 345}},
        {2560, 1.77f, 565, 15, {1446, 319}},
    };
    const int rowAtOne = GridPainter(QApplication::palette(), 1440, true).rowHeight();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.screen);
        const GridPainter look(QApplication::palette(), c.screen, true);
        EXPECT_FLOAT_EQ(GridPainter::factorFor(c.screen), c.factor);
        const int height = PanelLayout::heightFor(look.rowHeight(), rowAtOne);
        EXPECT_EQ(height, c.height);
        EXPECT_EQ(PanelLayout::of(c.screen, height, 121, c.factor).grid.height() / look.rowHeight(),
                  c.rows);
        const ChartArea logical = ChartArea{c.screen, height, 121, c.factor}.logical();
        EXPECT_EQ(QSize(logical.width, logical.height), c.chartArea);
    }
}
