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

// Whether the value D(k+1) of a row stands edited.
bool pointEdited(PointValue value, const EditMarks::Component& marks, bool vertical,
                 std::size_t k) {
    const auto edited = [&](std::size_t at, bool EditMarks::Point::*field) {
        const EditMarks::Point* p = EditMarks::pointOf(marks, vertical, at);
        return p && p->*field;
    };
    switch (value) {
        case PointValue::Diameter:
            return edited(k, &EditMarks::Point::diameter);
        case PointValue::Spacing:
            return edited(k, &EditMarks::Point::position) ||
                   edited(k + 1, &EditMarks::Point::position);
        case PointValue::Thickness:
            break;
    }
    return edited(k, &EditMarks::Point::thickness);
}

// `value` as printed: with the mark after it when `edited`.
RowValue marked(RowValue value, bool edited) {
    if (!edited) return value;
    if (const auto* n = std::get_if<std::int32_t>(&value)) return std::to_string(*n) + "*";
    return std::get<std::string>(value) + std::string(editMark);
}

void addRow(std::vector<ReportRow>& rows, const ReportTable& table, const Component& c,
            bool vertical, const EditMarks::Component* marks) {
    const std::vector<MeasurePoint>& points = vertical ? c.pointsVert : c.points;
    if (points.size() < static_cast<std::size_t>(table.fewestPoints)) return;

    ReportRow row{{"ComponentNum", gbk::toUtf8(c.code.view())},
                  {"ComponentName", marked(gbk::toUtf8(c.name.view()), marks && marks->name)}};
    for (const DesignColumn& column : table.design) {
        const ComponentField field = vertical ? column.vertical : column.horizontal;
        row.push_back({std::string(column.field), marked(std::int32_t{fieldOf(c, field)},
                                                         marks && marks->fields.count(field))});
    }
    // A spacing needs the point after it.
    const std::size_t reach = table.value == PointValue::Spacing ? 1 : 0;
    for (std::size_t k = 0;
         k + reach < points.size() && k < static_cast<std::size_t>(table.valuesPerRow); ++k) {
        row.push_back({"D" + std::to_string(k + 1),
                       marked(valueAt(table.value, points, k),
                              marks && pointEdited(table.value, *marks, vertical, k))});
    }
    rows.push_back(std::move(row));
}

// The rows of one component on `table`: its horizontal points, then a grid's vertical ones.
void addRows(std::vector<ReportRow>& rows, const ReportTable* table, const Component& c,
             const EditMarks::Component* marks = nullptr) {
    if (!table || !c.traits() || !table->lists(*c.traits())) return;
    addRow(rows, *table, c, false, marks);
    if (c.hasVerticalList()) addRow(rows, *table, c, true, marks);
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
                                       const std::vector<bool>& mask, const EditMarks* marks) {
    const ReportTable* table = reportTable(kind);
    std::vector<ReportRow> rows;
    std::size_t index = 0;
    for (const Component& c : components) {
        const std::size_t at = index++;
        if (ticked(mask, at)) addRows(rows, table, c, marks ? marks->of(at) : nullptr);
    }
    // Said even when nothing is edited: a table without a mark then says so.
    if (marks && !rows.empty()) {
        rows.push_back({{std::string(reportNoteField), std::string(editMarkFootnote)}});
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
