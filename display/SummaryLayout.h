#pragma once

#include <cstddef>
#include <vector>

// The column geometry of the summary table, shared by the caption band and the rows so the
// captions stand exactly above their cells. Pure: no drawing.
struct SummaryColumn {
    int left;             // x of the cell's left edge
    int width;            // f × the layout's constant, truncated
    const char* caption;  // UTF-8; "\n" breaks the caption into two lines
    std::size_t field;    // index of the row text in ComponentSummary

    int right() const { return left + width; }
    bool twoLineCaption() const;
};

class SummaryLayout {
public:
    // The H/Z layout for modes 'H' and 'Z', the P/W layout for every other letter. Each column
    // starts 2 pixels right of the previous one's right edge.
    static std::vector<SummaryColumn> columns(char mode, float scale);
};
