#include "model/PanelRows.h"

PanelRows PanelRows::of(const DetectionTypeTraits& t) {
    // A type with a second list names its design values per direction.
    const bool twoWays = t.verticalList;
    PanelRows rows;
    rows.header.push_back({std::nullopt, "名称"});
    rows.header.push_back(
        {ComponentField::DesignDiameter, twoWays ? "水平钢筋直径设计值" : "钢筋直径设计值"});
    rows.header.push_back(
        {ComponentField::DesignCover, twoWays ? "水平保护层厚度设计值" : "保护层厚度设计值"});
    if (t.positions) {
        rows.header.push_back(
            {ComponentField::DesignSpacing, twoWays ? "水平配筋间距设计值" : "配筋间距设计值"});
    }
    if (twoWays) {
        rows.header.push_back({ComponentField::DesignDiameterVert, "垂直钢筋直径设计值"});
        rows.header.push_back({ComponentField::DesignCoverVert, "垂直保护层厚度设计值"});
        rows.header.push_back({ComponentField::DesignSpacingVert, "垂直配筋间距设计值"});
    }
    if (t.diameters) rows.header.push_back({ComponentField::DiameterTolerance, "直径偏差值"});
    rows.header.push_back({ComponentField::ThicknessTolerance, "厚度偏差值"});
    if (t.positions) rows.header.push_back({ComponentField::SpacingTolerance, "间距偏差值"});

    rows.numberPoints = !t.diameters && !t.positions;
    rows.results = twoWays       ? "水平测点结果（厚度 ; 间距）"
                   : t.positions ? "测点结果（厚度 ; 间距）"
                   : t.diameters ? "测点结果（厚度 ; 直径）"
                                 : "测点结果";
    rows.verticalResults = twoWays ? "垂直测点结果（厚度 ; 间距）" : nullptr;
    return rows;
}
