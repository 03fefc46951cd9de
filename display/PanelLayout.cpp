#include "display/PanelLayout.h"

#include <algorithm>

#include "display/ChartGeometry.h"

PanelLayout PanelLayout::of(int width, int height, int strip) {
    PanelLayout layout;
    // The grid stays right of the chart, whose area ends at width / 2 + 50.
    layout.gridFrame = QRect(QPoint(width / 2 + 149, 29), QPoint(width - 100, height - 10));
    layout.grid = QRect(layout.gridFrame.left() + 1, layout.gridFrame.top() + 1,
                        std::max(0, layout.gridFrame.width() - 2),
                        std::max(0, layout.gridFrame.height() - 2));
    const ChartArea area{width, height, strip};
    layout.chart = QRect(QPoint(strip + 1, 0), QPoint(area.right() + 25, height - 2));
    return layout;
}
