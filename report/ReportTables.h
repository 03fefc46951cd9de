#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/ComponentFields.h"
#include "model/DetectionType.h"

// Which record table a run prints; the numbers are the ones the print commands store.
enum class ReportKind : int {
    None = 0,
    Thickness = 1,
    Diameter = 2,
    Spacing = 3,
    Acceptance = 4,
    History = 5
};

// Where a table's rows come from: the points of the ticked components, the acceptance
// judgement of the classed ones (nothing is ticked), or rows the caller made (the history,
// which the report layer cannot read).
enum class RowSource { Points, Judgement, Given };

// The value of a point a row prints in D1, D2, …; Spacing is the distance from the point
// before, so a row of n points prints n - 1 values.
enum class PointValue { Thickness, Diameter, Spacing };

// A design value a row prints: its field, and the component field of each direction.
struct DesignColumn {
    std::string_view field;
    ComponentField horizontal;
    ComponentField vertical;
};

// One of the record tables, with everything that tells its rows apart from the others'. A new
// table is a row here, its template, and its print and preview commands.
struct ReportTable {
    ReportKind kind;
    std::string_view name;          // corvane-cli's word for it
    std::string_view title;         // menu text and table title (UTF-8)
    std::string_view templateFile;  // lies beside the executable
    RowSource source;
    // Points tables: the detection types it lists, those whose `listedBy` trait is `listedWhen`.
    bool DetectionTypeTraits::*listedBy = nullptr;
    bool listedWhen = false;
    std::span<const DesignColumn> design = {};  // after ComponentNum and ComponentName
    PointValue value = PointValue::Thickness;
    int valuesPerRow = 0;  // D1 … Dn
    int fewestPoints = 1;  // a list with fewer gives no row

    bool lists(const DetectionTypeTraits& type) const {
        return source == RowSource::Points && type.*listedBy == listedWhen;
    }
    // The user ticks the components it takes; corvane-cli report makes it.
    bool ticksComponents() const { return source == RowSource::Points; }
};

namespace report_columns {

using enum ComponentField;
inline constexpr DesignColumn thickness[] = {{"DiameterDesign", DesignDiameter, DesignDiameterVert},
                                             {"DepthDesign", DesignCover, DesignCoverVert}};
inline constexpr DesignColumn diameter[] = {{"DiameterDesign", DesignDiameter, DesignDiameterVert}};
inline constexpr DesignColumn spacing[] = {{"DistanceDesign", DesignSpacing, DesignSpacingVert}};

}  // namespace report_columns

// A diameter component carries covers too, but they belong to its own table. At most ten
// values are printed: the spacing table prints the nine distances between the first ten bars.
inline constexpr ReportTable reportTableRows[] = {
    {ReportKind::Thickness, "thickness", "钢筋混凝土保护层厚度检测记录表", "VexoDepthReport.grf",
     RowSource::Points, &DetectionTypeTraits::diameters, false, report_columns::thickness,
     PointValue::Thickness, 10, 1},
    {ReportKind::Diameter, "diameter", "钢筋公称直径检测记录表", "VexoDiameterReport.grf",
     RowSource::Points, &DetectionTypeTraits::diameters, true, report_columns::diameter,
     PointValue::Diameter, 10, 1},
    {ReportKind::Spacing, "spacing", "钢筋间距检测记录表", "VexoDistanceReport.grf",
     RowSource::Points, &DetectionTypeTraits::positions, true, report_columns::spacing,
     PointValue::Spacing, 9, 2},
    {.kind = ReportKind::Acceptance,
     .name = "acceptance",
     .title = "钢筋保护层厚度验收判定表",
     .templateFile = "VexoAcceptanceReport.grf",
     .source = RowSource::Judgement},
    {.kind = ReportKind::History,
     .name = "history",
     .title = "修改记录",
     .templateFile = "VexoHistoryReport.grf",
     .source = RowSource::Given},
};

inline constexpr std::span<const ReportTable> reportTables() {
    return reportTableRows;
}

// Null when there is no such table (ReportKind::None, an unknown word).
inline const ReportTable* reportTable(ReportKind kind) {
    for (const auto& t : reportTables()) {
        if (t.kind == kind) return &t;
    }
    return nullptr;
}
inline const ReportTable* reportTableNamed(std::string_view name) {
    for (const auto& t : reportTables()) {
        if (t.name == name) return &t;
    }
    return nullptr;
}

// The words of the tables the user ticks components for (corvane-cli report --table), joined:
// "thickness|diameter|spacing" with "|" and "|", "thickness、diameter 或 spacing" with "、" and
// " 或 ". Header-only, like the table: the command line's usage needs it without the engine.
inline std::string tickedTableWords(std::string_view separator, std::string_view lastSeparator) {
    std::vector<std::string_view> words;
    for (const auto& t : reportTables()) {
        if (t.ticksComponents()) words.push_back(t.name);
    }
    std::string joined;
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (i > 0) joined += i + 1 == words.size() ? lastSeparator : separator;
        joined += words[i];
    }
    return joined;
}
