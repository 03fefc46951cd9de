#include "report/ReportRows.h"

#include "model/GbkCodec.h"
#include "report/AcceptanceRows.h"

namespace {

constexpr std::size_t maxValues = 10;

bool listedIn(ReportKind kind, const DetectionTypeTraits* type) {
    if (!type) return false;
    switch (kind) {
        case ReportKind::Thickness:
            // A diameter component carries covers too, but they belong to its own table.
            return !type->diameters;
        case ReportKind::Diameter:
            return type->diameters;
        case ReportKind::Spacing:
            return type->positions;
        case ReportKind::Acceptance:  // rows of the judgement, not of points
        case ReportKind::None:
            break;
    }
    return false;
}

bool ticked(const std::vector<bool>& mask, std::size_t index) {
    return index < mask.size() && mask[index];
}

// Differences of 32-bit positions wrap instead of overflowing; only a damaged file gets there.
std::int32_t difference(std::int32_t later, std::int32_t earlier) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(later) -
                                     static_cast<std::uint32_t>(earlier));
}

void addValues(ReportRow& row, ReportKind kind, const std::vector<MeasurePoint>& points) {
    std::size_t k = 0;
    if (kind == ReportKind::Spacing) {
        for (; k + 1 < points.size() && k + 1 < maxValues; ++k) {
            row.push_back({"D" + std::to_string(k + 1),
                           difference(points[k + 1].position, points[k].position)});
        }
        return;
    }
    for (; k < points.size() && k < maxValues; ++k) {
        const MeasurePoint& p = points[k];
        row.push_back({"D" + std::to_string(k + 1),
                       std::int32_t{kind == ReportKind::Diameter ? p.diameter : p.thickness}});
    }
}

void addRow(std::vector<ReportRow>& rows, ReportKind kind, const Component& c, bool vertical) {
    const std::vector<MeasurePoint>& points = vertical ? c.pointsVert : c.points;
    const std::size_t fewest = kind == ReportKind::Spacing ? 2 : 1;
    if (points.size() < fewest) return;

    ReportRow row{{"ComponentNum", gbk::toUtf8(c.code.view())},
                  {"ComponentName", gbk::toUtf8(c.name.view())}};
    switch (kind) {
        case ReportKind::Thickness:
            row.push_back({"DiameterDesign", vertical ? c.designDiameterVert : c.designDiameter});
            row.push_back({"DepthDesign", vertical ? c.designCoverVert : c.designCover});
            break;
        case ReportKind::Diameter:
            row.push_back({"DiameterDesign", c.designDiameter});
            break;
        case ReportKind::Spacing:
            row.push_back({"DistanceDesign", vertical ? c.designSpacingVert : c.designSpacing});
            break;
        case ReportKind::Acceptance:
        case ReportKind::None:
            return;
    }
    addValues(row, kind, points);
    rows.push_back(std::move(row));
}

// The rows of one component on table `kind`: its horizontal points, then a grid's vertical
// ones.
void addRows(std::vector<ReportRow>& rows, ReportKind kind, const Component& c) {
    if (!listedIn(kind, c.traits())) return;
    addRow(rows, kind, c, false);
    if (c.hasVerticalList()) addRow(rows, kind, c, true);
}

}  // namespace

std::vector<std::string> reportFieldNames(ReportKind kind) {
    if (kind == ReportKind::Acceptance) return acceptanceFieldNames();
    std::vector<std::string> names;
    if (kind != ReportKind::None) names = {"ComponentNum", "ComponentName"};
    if (kind == ReportKind::Spacing) {
        names.push_back("DistanceDesign");
    } else if (kind == ReportKind::Diameter) {
        names.push_back("DiameterDesign");
    } else if (kind == ReportKind::Thickness) {
        names.push_back("DiameterDesign");
        names.push_back("DepthDesign");
    }
    const std::size_t measured =
        kind == ReportKind::Thickness || kind == ReportKind::Diameter ? maxValues : maxValues - 1;
    for (std::size_t k = 1; k <= measured; ++k) names.push_back("D" + std::to_string(k));
    return names;
}

std::vector<ReportRow> buildReportRows(ReportKind kind, const ComponentList& components,
                                       const std::vector<bool>& mask) {
    std::vector<ReportRow> rows;
    std::size_t index = 0;
    for (const Component& c : components) {
        if (ticked(mask, index++)) addRows(rows, kind, c);
    }
    return rows;
}

std::string reportTestDate(ReportKind kind, const ComponentList& components,
                           const std::vector<bool>& mask) {
    const Component* firstTicked = nullptr;
    std::size_t index = 0;
    for (const Component& c : components) {
        if (!ticked(mask, index++)) continue;
        if (!firstTicked) firstTicked = &c;
        std::vector<ReportRow> rows;
        addRows(rows, kind, c);
        if (!rows.empty()) return gbk::toUtf8(c.date.view());
    }
    return firstTicked ? gbk::toUtf8(firstTicked->date.view()) : std::string();
}

std::string blankTableNotice(ReportKind kind, const ComponentList& components,
                             const std::vector<bool>& mask) {
    const ReportTable* table = reportTable(kind);
    if (!table || kind == ReportKind::Acceptance ||
        !buildReportRows(kind, components, mask).empty())
        return {};
    return "所选构件中没有可填入《" + std::string(table->title) + "》的数据，将输出空白表。";
}
