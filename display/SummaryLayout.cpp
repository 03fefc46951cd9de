#include "display/SummaryLayout.h"

#include <cstring>

namespace {

struct ColumnSpec {
    int width;
    const char* caption;
    std::size_t field;
};

// Fields: 0 code, 1 name, 2 date, 3 type, 4 diameter design, 5/6 diameter max/min, 7 cover
// design, 8/9 thickness max/min, 10 spacing design, 11/12 spacing max/min, 13 points, 14 rate.
const ColumnSpec profileGrid[] = {
    {120, "构件编码", 0},
    {350, "构件名称", 1},
    {80, "日期", 2},
    {60, "类型", 3},
    {90, "钢筋直径\n设计值", 4},
    {90, "钢筋保护层\n厚度设计值", 7},
    {90, "厚度检测\n最大值", 8},
    {90, "厚度检测\n最小值", 9},
    {90, "配筋间距\n设计值", 10},
    {90, "间距检测\n最大值", 11},
    {90, "间距检测\n最小值", 12},
    {90, "测点数", 13},
    {90, "合格率", 14},
};

const ColumnSpec thicknessDiameter[] = {
    {120, "构件编码", 0},
    {400, "构件名称", 1},
    {100, "日期", 2},
    {80, "类型", 3},
    {100, "钢筋直径\n设计值", 4},
    {100, "直径检测\n最大值", 5},
    {100, "直径检测\n最小值", 6},
    {100, "钢筋保护层\n厚度设计值", 7},
    {100, "厚度检测\n最大值", 8},
    {100, "厚度检测\n最小值", 9},
    {60, "测点数", 13},
    {60, "合格率", 14},
};

}  // namespace

bool SummaryColumn::twoLineCaption() const {
    return std::strchr(caption, '\n') != nullptr;
}

std::vector<SummaryColumn> SummaryLayout::columns(char mode, float scale) {
    std::vector<SummaryColumn> out;
    auto build = [&](const auto& specs) {
        int left = 0;
        for (const ColumnSpec& spec : specs) {
            const int width = static_cast<int>(scale * static_cast<float>(spec.width));
            out.push_back({left, width, spec.caption, spec.field});
            left += width + 2;
        }
    };
    if (mode == 'H' || mode == 'Z') {
        build(thicknessDiameter);
    } else {
        build(profileGrid);
    }
    return out;
}
