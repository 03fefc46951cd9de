#pragma once

#include <string>
#include <vector>

#include "model/GbkCodec.h"
#include "support/ModelSamples.h"

// A project that has every case of the record tables once.
namespace report_samples {

inline Component named(Component c, const char* utf8Name, const char* date) {
    c.name.assign(gbk::fromUtf8(utf8Name));
    c.date.assign(date);
    return c;
}

// Ticked: all but H003 (index 6) and Z002 (past the end of ticked()).
inline ComponentList project() {
    ComponentList list;
    list.push_back(named(samples::withPoints("H001", 12), "一层梁", "1/1/25"));  // > 10 points
    // Vertical points of a type other than a grid are never printed.
    list.push_back(named(samples::withPoints("Z001", 3, 1), "二层柱", "2/2/25"));
    Component grid = named(samples::withPoints("W001", 2, 3), "三层板", "3/3/25");
    grid.designCoverVert = 45;     // vertical design values differ from the horizontal ones
    grid.designSpacingVert = 150;  // positions fall: 65535, 65532, 65529
    list.push_back(grid);
    list.push_back(named(samples::withPoints("P001", 1, 2), "墙一", "4/4/25"));
    list.push_back(named(samples::withPoints("H002", 0), "空梁", "5/5/25"));
    list.push_back(named(samples::withPoints("W002", 2, 0), "四层板", "6/6/25"));
    list.push_back(named(samples::withPoints("H003", 2), "未选梁", "7/7/25"));
    Component profile = named(samples::withPoints("P002", 12), "墙二", "8/8/25");
    for (int i = 0; i < 12; ++i) profile.points[i].position = 1000 - 5 * i * (i + 1) / 2;
    list.push_back(profile);
    list.push_back(named(samples::withPoints("Z002", 1), "末柱", "9/9/25"));
    return list;
}

inline std::vector<bool> ticked() {
    // Whatever the storage holds past the mask's end must not tick Z002.
    std::vector<bool> mask(9, true);
    mask.resize(8);
    mask[6] = false;
    return mask;
}

inline ProjectInfo header() {
    ProjectInfo info;
    info.projectName.assign(gbk::fromUtf8("综合楼工程"));
    info.testBasis.assign(gbk::fromUtf8("GB 50204-2015"));
    info.instrument.assign(gbk::fromUtf8("R-90型钢筋探测仪"));
    info.testUnit.assign(gbk::fromUtf8("检测中心"));
    return info;
}

}  // namespace report_samples
