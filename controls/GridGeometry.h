#pragma once

#include <QPoint>
#include <QRect>
#include <optional>
#include <span>

// Where the rows of a property grid lie, shared by painting, hit testing and the keyboard walk
// so that what is clicked is always what was drawn. Pure. Vertical coordinates are content
// coordinates: 0 is the top of the first row, whatever the scroll position.
namespace GridGeometry {

struct SectionShape {
    bool collapsed = false;
    int itemCount = 0;
};

// A visible row: the section's index in the list and the item's index in the section, or -1
// for the section's caption row.
struct Row {
    int section = -1;
    int item = -1;
    bool operator==(const Row&) const = default;
};

// What sits at the right of a row.
enum class Button {
    None,
    Value,  // the whole value area acts as the button (text and integer items); nothing drawn
    Push,   // a "..." push button one row height wide (items that edit in their own dialog)
};

enum class Zone { None, Expander, Caption, ItemName, ItemValue };

struct Hit {
    Zone zone = Zone::None;
    Row row;
};

struct ItemRects {
    QRect name;
    QRect value;
    QRect button;  // null without a button
};

constexpr int stripWidth = 14;  // the shaded strip left of the names; the expander sits in it
constexpr int dividerGrip = 2;  // how near the divider a press grabs it

// The left edge of the rows at a display factor (the font's, screen width ÷ 1440): the shaded
// strip, where names and titles start, and the expander box in the strip. At factor 1: a
// 14-pixel strip, text from 18 and a 9-pixel box at (2, 4) of its row.
struct Edge {
    int strip = stripWidth;
    int text = 18;
    int boxLeft = 2;
    int boxTop = 4;
    int box = 9;

    static Edge at(float factor);
};

// A rectangle by its edges, right and bottom exclusive.
QRect fromEdges(int left, int top, int right, int bottom);

int visibleRowCount(std::span<const SectionShape> sections);
int contentHeight(std::span<const SectionShape> sections, int rowHeight);
int rowTop(std::span<const SectionShape> sections, int rowHeight, Row row);
bool isVisible(std::span<const SectionShape> sections, Row row);
std::optional<Row> rowAt(std::span<const SectionShape> sections, int rowHeight, int y);

// The visible row `step` rows (+1 down, -1 up) from `from`, wrapping at either end; from none
// (or a row hidden in a collapsed section) down gives the first row and up the last.
std::optional<Row> stepRow(std::span<const SectionShape> sections, std::optional<Row> from,
                           int step);

// The divider stays between a fifth and four fifths of the client width.
int clampDivider(int x, int clientWidth);
bool nearDivider(int x, int divider);

QRect expanderBox(int top, const Edge& edge = {});
QRect captionRect(int top, int rowHeight, int width, const Edge& edge = {});
ItemRects itemRects(int top, int rowHeight, int divider, int width, Button button);

// What a press at `p` hits, `width` being the painted width (without the scroll bar).
Hit hitTest(std::span<const SectionShape> sections, int rowHeight, int divider, int width, QPoint p,
            const Edge& edge = {});

}  // namespace GridGeometry
