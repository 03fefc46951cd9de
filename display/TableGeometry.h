#pragma once

#include <vector>

#include "display/SummaryLayout.h"
#include "display/SystemMetrics.h"

// The summary table as it stands on this screen. The layout at the screen's scale keeps its
// widths wherever a column's caption and widest value fit; a column that needs more takes it
// from the name column, so the table never gets wider. The caption band and the rows are as
// tall as their fonts need, never lower than 35 pixels and one window caption. GUI thread
// only: it measures fonts.
struct TableGeometry {
    static constexpr int minimumBandHeight = 35;
    // Free pixels beside a value, so that it never touches a separator line.
    static constexpr int cellMargin = 4;

    float scale = 1;
    int bandHeight = minimumBandHeight;
    int rowHeight = 22;
    std::vector<SummaryColumn> columns;

    // Measured once per layout and screen.
    static TableGeometry of(SummaryLayoutKind kind,
                            const SystemMetrics& metrics = SystemMetrics::current());
    // The layout a type is shown in.
    static TableGeometry of(DetectionType type,
                            const SystemMetrics& metrics = SystemMetrics::current()) {
        return of(summaryLayoutOf(type), metrics);
    }

private:
    static TableGeometry measure(SummaryLayoutKind kind, const SystemMetrics& metrics);
};
