#include "controls/GridGeometry.h"

#include <algorithm>

namespace GridGeometry {

namespace {

int rowsOf(const SectionShape& s) {
    return 1 + (s.collapsed ? 0 : s.itemCount);
}

int indexOf(std::span<const SectionShape> sections, Row row) {
    int index = 0;
    for (int i = 0; i < row.section; ++i) index += rowsOf(sections[i]);
    return index + row.item + 1;
}

Row rowOfIndex(std::span<const SectionShape> sections, int index) {
    int section = 0;
    for (const SectionShape& s : sections) {
        if (index < rowsOf(s)) return {section, index - 1};
        index -= rowsOf(s);
        ++section;
    }
    return {};
}

}  // namespace

QRect fromEdges(int left, int top, int right, int bottom) {
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

int visibleRowCount(std::span<const SectionShape> sections) {
    int rows = 0;
    for (const SectionShape& s : sections) rows += rowsOf(s);
    return rows;
}

int contentHeight(std::span<const SectionShape> sections, int rowHeight) {
    return visibleRowCount(sections) * rowHeight;
}

bool isVisible(std::span<const SectionShape> sections, Row row) {
    if (row.section < 0 || row.section >= static_cast<int>(sections.size())) return false;
    const SectionShape& s = sections[row.section];
    return row.item == -1 || (!s.collapsed && row.item >= 0 && row.item < s.itemCount);
}

int rowTop(std::span<const SectionShape> sections, int rowHeight, Row row) {
    return indexOf(sections, row) * rowHeight;
}

std::optional<Row> rowAt(std::span<const SectionShape> sections, int rowHeight, int y) {
    if (y < 0) return std::nullopt;
    const int index = y / rowHeight;
    if (index >= visibleRowCount(sections)) return std::nullopt;
    return rowOfIndex(sections, index);
}

std::optional<Row> stepRow(std::span<const SectionShape> sections, std::optional<Row> from,
                           int step) {
    const int count = visibleRowCount(sections);
    if (count == 0) return std::nullopt;
    int next;
    if (!from || !isVisible(sections, *from)) {
        next = step > 0 ? 0 : count - 1;
    } else {
        next = ((indexOf(sections, *from) + step) % count + count) % count;
    }
    return rowOfIndex(sections, next);
}

int clampDivider(int x, int clientWidth) {
    return std::clamp(x, clientWidth / 5, clientWidth * 4 / 5);
}

bool nearDivider(int x, int divider) {
    return x >= divider - dividerGrip && x <= divider + dividerGrip;
}

Edge Edge::at(float factor) {
    const auto times = [factor](int v) { return static_cast<int>(static_cast<float>(v) * factor); };
    if (factor <= 1.0f) return {};  // never narrower than the strip the names were laid out for
    return {times(stripWidth), times(18), times(2), times(4), times(9)};
}

QRect expanderBox(int top, const Edge& edge) {
    return QRect(edge.boxLeft, top + edge.boxTop, edge.box, edge.box);
}

QRect captionRect(int top, int rowHeight, int width, const Edge& edge) {
    return fromEdges(edge.strip, top, width, top + rowHeight);
}

ItemRects itemRects(int top, int rowHeight, int divider, int width, Button button) {
    const int bottom = top + rowHeight;
    ItemRects r;
    r.name = fromEdges(0, top, divider, bottom);
    r.value = fromEdges(divider, top, button == Button::Push ? width - rowHeight : width, bottom);
    if (button == Button::Value) r.button = fromEdges(divider, top, width, bottom);
    if (button == Button::Push) r.button = fromEdges(width - rowHeight, top, width, bottom);
    return r;
}

Hit hitTest(std::span<const SectionShape> sections, int rowHeight, int divider, int width, QPoint p,
            const Edge& edge) {
    const std::optional<Row> row = rowAt(sections, rowHeight, p.y());
    if (!row) return {};
    const int top = rowTop(sections, rowHeight, *row);
    if (row->item < 0) {
        if (expanderBox(top, edge).contains(p)) return {Zone::Expander, *row};
        if (captionRect(top, rowHeight, width, edge).contains(p)) return {Zone::Caption, *row};
        return {};
    }
    const ItemRects r = itemRects(top, rowHeight, divider, width, Button::None);
    if (r.name.contains(p)) return {Zone::ItemName, *row};
    if (r.value.contains(p)) return {Zone::ItemValue, *row};
    return {};
}

}  // namespace GridGeometry
