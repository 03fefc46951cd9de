#include "report/ReportRows.h"

#include "model/GbkCodec.h"
#include "report/AcceptanceRows.h"
#include "report/HistoryRows.h"

namespace {

// Without a table only the measured values are bound; the most any table prints.
constexpr int maxValues = 10;

bool ticked(const std::vector<bool>& mask, std::size_t index) {
    return index < mask.size() && mask[index];
}

// Differences of 32-bit positions wrap instead of overflowing; only a damaged file gets there.
std::int32_t difference(std::int32_t later, std::int32_t earlier) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(later) -
                                     static_cast<std::uint32_t>(earlier));
}

std::int32_t valueAt(PointValue value, const std::vector<MeasurePoint>& points, std::size_t k) {
    switch (value) {
        case PointValue::Diameter:
            return points[k].diameter;
        case PointValue::Spacing:
            return difference(points[k + 1].position, points[k].position);
        case PointValue::Thickness:
            break;
    }
    return points[k].thickness;
}

void addRow(std::vector<ReportRow>& rows, const ReportTable& table, const Component& c,
            bool vertical) {
    const std::vector<MeasurePoint>& points = vertical ? c.pointsVert : c.points;
    if (points.size() < static_cast<std::size_t>(table.fewestPoints)) return;

    ReportRow row{{"ComponentNum", gbk::toUtf8(c.code.view())},
                  {"ComponentName", gbk::toUtf8(c.name.view())}};
    for (const DesignColumn& column : table.design) {
        row.push_back({std::string(column.field),
                       std::int32_t{fieldOf(c, vertical ? column.vertical : column.horizontal)}});
    }
    // A spacing needs the point after it.
    const std::size_t reach = table.value == PointValue::Spacing ? 1 : 0;
    for (std::size_t k = 0;
         k + reach < points.size() && k < static_cast<std::size_t>(table.valuesPerRow); ++k) {
        row.push_back({"D" + std::to_string(k + 1), valueAt(table.value, points, k)});
    }
    rows.push_back(std::move(row));
}

// The rows of one component on `table`: its horizontal points, then a grid's vertical ones.
void addRows(std::vector<ReportRow>& rows, const ReportTable* table, const Component& c) {
    if (!table || !c.traits() || !table->lists(*c.traits())) return;
    addRow(rows, *table, c, false);
    if (c.hasVerticalList()) addRow(rows, *table, c, true);
}

}  // namespace

std::vector<std::string> reportFieldNames(ReportKind kind) {
    const ReportTable* table = reportTable(kind);
    if (table && table->source == RowSource::Judgement) return acceptanceFieldNames();
    if (table && table->source == RowSource::Given) return historyFieldNames();
    std::vector<std::string> names;
    if (table) {
        names = {"ComponentNum", "ComponentName"};
        for (const DesignColumn& column : table->design) names.emplace_back(column.field);
    }
    const int measured = table ? table->valuesPerRow : maxValues - 1;
    for (int k = 1; k <= measured; ++k) names.push_back("D" + std::to_string(k));
    return names;
}

std::vector<ReportRow> buildReportRows(ReportKind kind, const ComponentList& components,
                                       const std::vector<bool>& mask) {
    const ReportTable* table = reportTable(kind);
    std::vector<ReportRow> rows;
    std::size_t index = 0;
    for (const Component& c : components) {
        if (ticked(mask, index++)) addRows(rows, table, c);
    }
    return rows;
}

std::string reportTestDate(ReportKind kind, const ComponentList& components,
                           const std::vector<bool>& mask) {
    const ReportTable* table = reportTable(kind);
    const Component* firstTicked = nullptr;
    std::size_t index = 0;
    for (const Component& c : components) {
        if (!ticked(mask, index++)) continue;
        if (!firstTicked) firstTicked = &c;
        std::vector<ReportRow> rows;
        addRows(rows, table, c);
        if (!rows.empty()) return gbk::toUtf8(c.date.view());
    }
    return firstTicked ? gbk::toUtf8(firstTicked->date.view()) : std::string();
}

std::string blankTableNotice(ReportKind kind, const ComponentList& components,
                             const std::vector<bool>& mask) {
    const ReportTable* table = reportTable(kind);
    if (!table || !table->ticksComponents() || !buildReportRows(kind, components, mask).empty())
        return {};
    return "所选构件中没有可填入《" + std::string(table->title) + "》的数据，将输出空白表。";
}
