#pragma once

// The few system measures the display's layouts rest on, in pixels. Tests pin them so that
// layouts can be checked at a scale factor of exactly 1.
struct SystemMetrics {
    int screenWidth = 1440;  // width of the primary screen
    int hthumbWidth = 17;    // width of a horizontal scroll bar's thumb
    int captionHeight = 22;  // height of a window caption: one row of the pane
    int menuHeight = 19;     // height of a menu bar line: a page step of the pane is 9/8 of it

    // Pinned values if any, else those of the running system.
    static SystemMetrics current();
    static void pin(const SystemMetrics& metrics);
    static void unpin();

    friend bool operator==(const SystemMetrics&, const SystemMetrics&) = default;
};

// f = (screen width − thumb width) ÷ 1440, as a single-precision value; column widths are
// f × their constant, truncated.
float DisplayScale(const SystemMetrics& metrics = SystemMetrics::current());
