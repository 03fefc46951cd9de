#include "report/ProjectSheets.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

#include "model/ComponentFields.h"
#include "model/ComponentSummary.h"
#include "model/GbkCodec.h"
#include "model/PointRows.h"

namespace {

// The summary texts' captions, in ComponentSummary's order.
constexpr std::array<std::string_view, ComponentSummary::count> summaryCaptions{
    "构件编码",       "构件名称",       "日期",           "类型",
    "钢筋直径设计值", "直径检测最大值", "直径检测最小值", "钢筋保护层厚度设计值",
    "厚度检测最大值", "厚度检测最小值", "配筋间距设计值", "间距检测最大值",
    "间距检测最小值", "测点数",         "合格率"};

bool isTicked(const std::vector<bool>& ticked, std::size_t i) {
    return i < ticked.size() && ticked[i];
}

// A list: its caption row kept in view and repeated on every printed page, the columns as
// wide as their widest text (a CJK character two of the default font's), within bounds.
class ListSheet {
public:
    template <std::size_t N>
    ListSheet(const char* name, const std::array<std::string_view, N>& captions) {
        sheet_.name = name;
        sheet_.textPoints = 10.5;
        sheet_.frozenRows = 1;
        sheet_.repeatFirst = sheet_.repeatLast = 0;
        sheet_.footer = "&C第 &P 页 共 &N 页";
        for (std::string_view caption : captions) add(std::string(caption), true);
    }

    void add(SheetValue value, bool caption = false) {
        if (!caption && column_ == 0) ++row_;
        if (caption && column_ == 0) row_ = 0;
        const auto* text = std::get_if<std::string>(&value);
        const double width = text ? widthOf(*text) : 8;
        if (sheet_.columnWidths.size() <= static_cast<std::size_t>(column_)) {
            sheet_.columnWidths.push_back(6);
        }
        double& w = sheet_.columnWidths[static_cast<std::size_t>(column_)];
        w = std::clamp(width + 2, w, 40.0);
        sheet_.cells.push_back({row_, column_, std::move(value),
                                caption ? SheetStyle::ListCaption : SheetStyle::ListCell,
                                SheetAlign::Center});
        ++column_;
    }
    void endRow() { column_ = 0; }
    // Marks the cell added last as an edited value.
    void mark(std::string note) {
        sheet_.cells.back().edited = true;
        sheet_.cells.back().note = std::move(note);
    }

    WorkbookSheet take() { return std::move(sheet_); }

private:
    static double widthOf(const std::string& utf8) {
        double width = 0;
        for (unsigned char c : utf8) {
            if (c < 0x80)
                width += 1;
            else if (c >= 0xC0)
                width += 2;  // a character's first byte
        }
        return width;
    }

    WorkbookSheet sheet_;
    int row_ = 0;
    int column_ = 0;
};

// The edit of column `column` of a point's row (pointRows' columns: the name second, the
// diameter, thickness and position from the seventh, then the component's fields in order).
std::optional<std::string> editOf(const EditMarks::Component& m, const EditMarks::Point* p,
                                  std::size_t column) {
    constexpr std::size_t name = 1, diameter = 6, firstField = 9;
    const auto of = [](bool edited, const std::string& note) {
        return edited ? std::optional(note) : std::nullopt;
    };
    if (column == name) return of(m.name, m.nameNote);
    if (column >= firstField) {
        const ComponentField field = componentFields[column - firstField].field;
        const auto note = m.fieldNotes.find(field);
        return of(m.fields.count(field) != 0,
                  note == m.fieldNotes.end() ? std::string() : note->second);
    }
    if (!p || column < diameter) return std::nullopt;
    if (column == diameter) return of(p->diameter, p->diameterNote);
    if (column == diameter + 1) return of(p->thickness, p->thicknessNote);
    return of(p->position, p->positionNote);
}

}  // namespace

WorkbookSheet ProjectSheets::components(const ComponentList& components,
                                        const std::vector<bool>& ticked) {
    ListSheet sheet("构件", summaryCaptions);
    sheet.endRow();
    std::size_t index = 0;
    for (const Component& c : components) {
        if (!isTicked(ticked, index++)) continue;
        const ComponentSummary summary = BuildComponentSummary(c);
        for (std::size_t i = 0; i < ComponentSummary::count; ++i) {
            std::string text = gbk::toUtf8(summary[i]);
            sheet.add(text.empty() ? SheetValue() : SheetValue(std::move(text)));
        }
        sheet.endRow();
    }
    return sheet.take();
}

WorkbookSheet ProjectSheets::points(const ComponentList& components,
                                    const std::vector<bool>& ticked, const EditMarks* marks) {
    ListSheet sheet("测点", pointColumnCaptions);
    sheet.endRow();
    std::size_t index = 0;
    for (const Component& c : components) {
        const std::size_t at = index++;
        if (!isTicked(ticked, at)) continue;
        const EditMarks::Component* m = marks ? marks->of(at) : nullptr;
        std::size_t r = 0;
        for (std::vector<PointCell>& row : pointRows(c)) {
            const bool vertical = r >= c.points.size();
            const EditMarks::Point* p =
                m ? EditMarks::pointOf(*m, vertical, vertical ? r - c.points.size() : r) : nullptr;
            ++r;
            for (std::size_t column = 0; column < row.size(); ++column) {
                PointCell& cell = row[column];
                if (auto* n = std::get_if<std::int32_t>(&cell)) {
                    sheet.add(*n);
                } else {
                    sheet.add(std::move(std::get<std::string>(cell)));
                }
                if (!m) continue;
                if (std::optional<std::string> note = editOf(*m, p, column)) {
                    sheet.mark(std::move(*note));
                }
            }
            sheet.endRow();
        }
    }
    return sheet.take();
}
