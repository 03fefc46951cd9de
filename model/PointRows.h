#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "model/Component.h"

// The points of components as one table, one row a point: what corvane-cli export-csv writes
// and the workbook's 测点 sheet holds, so that the two cannot list different columns.

// A cell: a number, or a text in UTF-8.
using PointCell = std::variant<std::int32_t, std::string>;

// The captions, in column order (UTF-8).
// clang-format off
inline constexpr std::array<std::string_view, 18> pointColumnCaptions = {
    "构件编号", "构件名称", "日期", "检测类型", "方向", "测点序号",
    "钢筋直径", "保护层厚度", "间距", "钢筋直径设计值", "垂直钢筋直径设计值", "保护层厚度设计值",
    "垂直保护层厚度设计值", "配筋间距设计值", "垂直配筋间距设计值", "直径偏差值", "厚度偏差值", "间距偏差值",
};
// clang-format on

// One row per point of `c`: its horizontal points (direction "X"), then its vertical ones
// ("Y"), each numbered from 1 within its list.
std::vector<std::vector<PointCell>> pointRows(const Component& c);
