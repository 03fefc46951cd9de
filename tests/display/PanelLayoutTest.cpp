#include <gtest/gtest.h>

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
