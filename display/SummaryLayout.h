#pragma once

#include <cstddef>
#include <vector>

#include "model/DetectionType.h"

// The column geometry of the summary table, shared by the caption band and the rows so the
// captions stand exactly above their cells. Pure: no drawing.
struct SummaryColumn {
    int left = 0;         // x of the cell's left edge
    int width;            // f × the layout's constant, truncated, or wider where a text needs it
    const char* caption;  // UTF-8; "\n" breaks the caption into two lines
    std::size_t field;    // index of the row text in ComponentSummary
    // The widest text the column must show whole (UTF-8, digits stand for any digit); empty for
    // the name, which may end in an ellipsis.
    const char* widest;

    int right() const { return left + width; }
    bool twoLineCaption() const;
};

// The two column layouts of the summary table.
enum class SummaryLayoutKind { ThicknessDiameter, ProfileGrid };

// The types whose points carry no position (thickness, diameter) share one layout; those with
// positions (grid, profile) and no type the other.
SummaryLayoutKind summaryLayoutOf(DetectionType type);

class SummaryLayout {
public:
    static constexpr std::size_t nameField = 1;

    // Each column starts 2 pixels right of the previous one's right edge.
    static std::vector<SummaryColumn> columns(SummaryLayoutKind kind, float scale);

    // `columns` with each one at least `needed[i]` wide. What they grow comes out of the name
    // column (never below 0 pixels), so the table stays as wide as it was.
    static std::vector<SummaryColumn> widened(std::vector<SummaryColumn> columns,
                                              const std::vector<int>& needed);
};
