#include "model/PointRows.h"

#include "model/ComponentFields.h"
#include "model/GbkCodec.h"

namespace {

void addRows(std::vector<std::vector<PointCell>>& rows, const Component& c,
             const std::vector<MeasurePoint>& points, const char* direction) {
    std::vector<PointCell> head{gbk::toUtf8(c.code.view()), gbk::toUtf8(c.name.view()),
                                gbk::toUtf8(c.date.view()), std::string(displayText(c.type())),
                                std::string(direction)};
    for (std::size_t i = 0; i < points.size(); ++i) {
        const MeasurePoint& p = points[i];
        std::vector<PointCell>& row = rows.emplace_back(head);
        row.insert(row.end(), {static_cast<std::int32_t>(i + 1), std::int32_t{p.diameter},
                               std::int32_t{p.thickness}, std::int32_t{p.position}});
        // The six design values and three tolerances: all fields but the two counts.
        for (std::size_t f = 0; f + 2 < componentFields.size(); ++f) {
            row.emplace_back(std::int32_t{c.*componentFields[f].member});
        }
    }
}

}  // namespace

std::vector<std::vector<PointCell>> pointRows(const Component& c) {
    std::vector<std::vector<PointCell>> rows;
    addRows(rows, c, c.points, "X");
    addRows(rows, c, c.pointsVert, "Y");
    return rows;
}
