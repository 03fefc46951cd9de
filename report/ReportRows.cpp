#include "report/ReportRows.h"

#include <optional>

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

// The edit of the value D(k+1) of a row, if it stands edited: its note. A spacing is edited
// when either of its positions is; its note names the point of each.
std::optional<std::string> pointEdit(PointValue value, const EditMarks::Component& marks,
                                     bool vertical, std::size_t k) {
    const auto edit = [&](std::size_t at, bool EditMarks::Point::*field,
                          std::string EditMarks::Point::*note) -> std::optional<std::string> {
        const EditMarks::Point* p = EditMarks::pointOf(marks, vertical, at);
        if (!p || !(p->*field)) return std::nullopt;
        return p->*note;
    };
    switch (value) {
        case PointValue::Diameter:
            return edit(k, &EditMarks::Point::diameter, &EditMarks::Point::diameterNote);
        case PointValue::Spacing: {
            std::optional<std::string> joined;
            for (const std::size_t at : {k, k + 1}) {
                const auto note =
                    edit(at, &EditMarks::Point::position, &EditMarks::Point::positionNote);
                if (!note) continue;
                const std::string line = "测点 " + std::to_string(at + 1) + " 位置：" + *note;
                joined = joined ? *joined + "\n" + line : line;
            }
            return joined;
        }
        case PointValue::Thickness:
            break;
    }
    return edit(k, &EditMarks::Point::thickness, &EditMarks::Point::thicknessNote);
}

// `value` as printed: with the mark after it.
RowValue marked(RowValue value) {
    if (const auto* n = std::get_if<std::int32_t>(&value)) return std::to_string(*n) + "*";
    return std::get<std::string>(value) + std::string(editMark);
}

// The rows of a table and, with marks, the edited values of each row.
struct Rows {
    std::vector<ReportRow> rows;
    std::vector<RowNotes> edits;  // one per row
};

void addRow(Rows& out, const ReportTable& table, const Component& c, bool vertical,
            const EditMarks::Component* marks) {
    const std::vector<MeasurePoint>& points = vertical ? c.pointsVert : c.points;
    if (points.size() < static_cast<std::size_t>(table.fewestPoints)) return;

    RowNotes edits;
    ReportRow row{{"ComponentNum", gbk::toUtf8(c.code.view())},
                  {"ComponentName", gbk::toUtf8(c.name.view())}};
    if (marks && marks->name) edits["ComponentName"] = marks->nameNote;
    for (const DesignColumn& column : table.design) {
        const ComponentField field = vertical ? column.vertical : column.horizontal;
        row.push_back({std::string(column.field), std::int32_t{fieldOf(c, field)}});
        if (marks && marks->fields.count(field)) {
            const auto note = marks->fieldNotes.find(field);
            edits[std::string(column.field)] =
                note == marks->fieldNotes.end() ? std::string() : note->second;
        }
    }
    // A spacing needs the point after it.
    const std::size_t reach = table.value == PointValue::Spacing ? 1 : 0;
    for (std::size_t k = 0;
         k + reach < points.size() && k < static_cast<std::size_t>(table.valuesPerRow); ++k) {
        const std::string name = "D" + std::to_string(k + 1);
        row.push_back({name, valueAt(table.value, points, k)});
        if (!marks) continue;
        if (auto note = pointEdit(table.value, *marks, vertical, k)) edits[name] = *note;
    }
    out.rows.push_back(std::move(row));
    out.edits.push_back(std::move(edits));
}

// The rows of one component on `table`: its horizontal points, then a grid's vertical ones.
void addRows(Rows& out, const ReportTable* table, const Component& c,
             const EditMarks::Component* marks = nullptr) {
    if (!table || !c.traits() || !table->lists(*c.traits())) return;
    addRow(out, *table, c, false, marks);
    if (c.hasVerticalList()) addRow(out, *table, c, true, marks);
}

Rows rowsOf(ReportKind kind, const ComponentList& components, const std::vector<bool>& mask,
            const EditMarks* marks) {
    const ReportTable* table = reportTable(kind);
    Rows out;
    std::size_t index = 0;
    for (const Component& c : components) {
        const std::size_t at = index++;
        if (ticked(mask, at)) addRows(out, table, c, marks ? marks->of(at) : nullptr);
    }
    return out;
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
    Rows out = rowsOf(kind, components, mask, marks);
    if (!marks) return std::move(out.rows);
    for (std::size_t r = 0; r < out.rows.size(); ++r) {
        for (RowField& field : out.rows[r]) {
            if (out.edits[r].count(field.name)) field.value = marked(std::move(field.value));
        }
    }
    // Said even when nothing is edited: a table without a mark then says so.
    if (!out.rows.empty()) {
        out.rows.push_back({{std::string(reportNoteField), std::string(editMarkFootnote)}});
    }
    return std::move(out.rows);
}

std::vector<RowNotes> buildRowNotes(ReportKind kind, const ComponentList& components,
                                    const std::vector<bool>& mask, const EditMarks& marks) {
    return rowsOf(kind, components, mask, &marks).edits;
}

std::string reportTestDate(ReportKind kind, const ComponentList& components,
                           const std::vector<bool>& mask) {
    const ReportTable* table = reportTable(kind);
    const Component* firstTicked = nullptr;
    std::size_t index = 0;
    for (const Component& c : components) {
        if (!ticked(mask, index++)) continue;
        if (!firstTicked) firstTicked = &c;
        Rows rows;
        addRows(rows, table, c);
        if (!rows.rows.empty()) return gbk::toUtf8(c.date.view());
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
