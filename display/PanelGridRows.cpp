#include "display/PanelGridRows.h"

#include "model/Component.h"
#include "model/PanelRows.h"
#include "session/GbkQt.h"

namespace {

void addPoints(std::vector<PanelGridRow>& rows, const std::vector<MeasurePoint>& points,
               bool vertical, bool numbers) {
    int i = 0;
    for (const MeasurePoint& p : points) {
        PanelGridRow row{PanelGridRow::Kind::Point, QString::number(i + 1), {}, p.thickness};
        row.point = {vertical, i++};
        row.pointItem = !numbers;
        row.values = p;
        rows.push_back(std::move(row));
    }
}

}  // namespace

std::vector<PanelGridRow> PanelGridRow::of(const Component& c) {
    std::vector<PanelGridRow> rows;
    const DetectionTypeTraits* traits = c.traits();
    if (!traits) return rows;
    const PanelRows panel = PanelRows::of(*traits);
    rows.push_back({Kind::Section, fromGbk(c.code.view()), {}, 0});
    for (const PanelRow& header : panel.header) {
        const QString label = QString::fromUtf8(header.label);
        if (!header.field) {
            rows.push_back({Kind::Name, label, fromGbk(c.name.view()), 0});
        } else {
            PanelGridRow row{Kind::Field, label, {}, fieldOf(c, *header.field)};
            row.field = *header.field;
            rows.push_back(std::move(row));
        }
    }
    const auto results = [&rows](const char* title, bool vertical) {
        PanelGridRow row{Kind::Section, QString::fromUtf8(title)};
        row.results = true;
        row.point.vertical = vertical;
        rows.push_back(std::move(row));
    };
    results(panel.results, false);
    addPoints(rows, c.points, false, panel.numberPoints);
    if (panel.verticalResults) {
        results(panel.verticalResults, true);
        addPoints(rows, c.pointsVert, true, false);
    }
    return rows;
}
