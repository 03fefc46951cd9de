#include "display/SummaryLayout.h"

#include <algorithm>
#include <cstring>

#include "model/DetectionType.h"

namespace {

struct ColumnSpec {
    int width;
    const char* caption;
    std::size_t field;
    const char* widest;
};

// Fields: 0 code, 1 name, 2 date, 3 type, 4 diameter design, 5/6 diameter max/min, 7 cover
// design, 8/9 thickness max/min, 10 spacing design, 11/12 spacing max/min, 13 points, 14 rate.
// The widest texts are those of 4-digit values in each direction of a grid.
const ColumnSpec profileGrid[] = {
    {120, "构件编码", 0, "W888"},
    {350, "构件名称", 1, ""},
    {80, "日期", 2, "88/88/88"},
    {60, "类型", 3, "网格"},
    {90, "钢筋直径\n设计值", 4, "8888,8888 mm"},
    {90, "钢筋保护层\n厚度设计值", 7, "8888,8888 mm"},
    {90, "厚度检测\n最大值", 8, "8888,8888 mm"},
    {90, "厚度检测\n最小值", 9, "8888,8888 mm"},
    {90, "配筋间距\n设计值", 10, "8888,8888 mm"},
    {90, "间距检测\n最大值", 11, "8888,8888 mm"},
    {90, "间距检测\n最小值", 12, "8888,8888 mm"},
    {90, "测点数", 13, "8888,8888"},
    {90, "合格率", 14, "888.8%,88.8%"},
};

const ColumnSpec thicknessDiameter[] = {
    {120, "构件编码", 0, "Z888"},
    {400, "构件名称", 1, ""},
    {100, "日期", 2, "88/88/88"},
    {80, "类型", 3, "直径"},
    {100, "钢筋直径\n设计值", 4, "8888 mm"},
    {100, "直径检测\n最大值", 5, "8888 mm"},
    {100, "直径检测\n最小值", 6, "8888 mm"},
    {100, "钢筋保护层\n厚度设计值", 7, "8888 mm"},
    {100, "厚度检测\n最大值", 8, "8888 mm"},
    {100, "厚度检测\n最小值", 9, "8888 mm"},
    {60, "测点数", 13, "8888"},
    {60, "合格率", 14, "888.8%"},
};

constexpr int gap = 2;

void placeFromLeft(std::vector<SummaryColumn>& columns) {
    int left = 0;
    for (SummaryColumn& c : columns) {
        c.left = left;
        left += c.width + gap;
    }
}

}  // namespace

bool SummaryColumn::twoLineCaption() const {
    return std::strchr(caption, '\n') != nullptr;
}

SummaryLayoutKind summaryLayoutOf(DetectionType type) {
    // Types whose points carry positions show spacings; the others show diameters instead.
    const DetectionTypeTraits* t = traitsOf(type);
    return t && !t->positions ? SummaryLayoutKind::ThicknessDiameter
                              : SummaryLayoutKind::ProfileGrid;
}

std::vector<SummaryColumn> SummaryLayout::columns(SummaryLayoutKind kind, float scale) {
    std::vector<SummaryColumn> out;
    auto build = [&](const auto& specs) {
        for (const ColumnSpec& spec : specs) {
            const int width = static_cast<int>(scale * static_cast<float>(spec.width));
            out.push_back({.width = width,
                           .caption = spec.caption,
                           .field = spec.field,
                           .widest = spec.widest});
        }
    };
    if (kind == SummaryLayoutKind::ThicknessDiameter) {
        build(thicknessDiameter);
    } else {
        build(profileGrid);
    }
    placeFromLeft(out);
    return out;
}

std::vector<SummaryColumn> SummaryLayout::widened(std::vector<SummaryColumn> columns,
                                                  const std::vector<int>& needed) {
    int grown = 0;
    SummaryColumn* name = nullptr;
    std::size_t i = 0;
    for (SummaryColumn& c : columns) {
        const int need = i < needed.size() ? needed[i] : 0;
        ++i;
        if (c.field == nameField) {
            name = &c;
        } else if (need > c.width) {
            grown += need - c.width;
            c.width = need;
        }
    }
    if (name) name->width = std::max(0, name->width - grown);
    placeFromLeft(columns);
    return columns;
}
