#include "display/PanelLayout.h"

#include <algorithm>

#include "display/ChartGeometry.h"

int PanelLayout::heightFor(int rowHeight, int rowHeightAtOne) {
    constexpr int height = 370, frame = 40;  // the grid's frame takes 29 above and 11 below
    if (rowHeightAtOne <= 0) return height;
    const int rows = (height - frame) / rowHeightAtOne;
    return height + rows * (rowHeight - rowHeightAtOne);
}

PanelLayout PanelLayout::of(int width, int height, int strip, float factor) {
    PanelLayout layout;
    // The grid stays right of the chart, whose area ends at width / 2 + 50.
    layout.gridFrame = QRect(QPoint(width / 2 + 149, 29), QPoint(width - 100, height - 10));
    layout.grid = QRect(layout.gridFrame.left() + 1, layout.gridFrame.top() + 1,
                        std::max(0, layout.gridFrame.width() - 2),
                        std::max(0, layout.gridFrame.height() - 2));
    const ChartArea area = ChartArea{width, height, strip, factor}.logical();
    const int right = static_cast<int>(static_cast<float>(area.right() + 25) * factor);
    layout.chart = QRect(QPoint(strip + 1, 0), QPoint(right, height - 2));
    return layout;
}
