#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "controls/GridGeometry.h"
#include "model/IntegerEntry.h"
#include "controls/IntegerFormat.h"

using namespace GridGeometry;

namespace {

constexpr int h = 20;
// Visible rows: caption 0, its items 0 and 1, caption 1 (collapsed), caption 2, its item 0.
const std::vector<SectionShape> sections{{false, 2}, {true, 3}, {false, 1}};

}  // namespace

TEST(GridGeometry, HitTestFindsTheZoneUnderEveryEdgePixel) {
    using enum Zone;
    // clang-format off
    const std::tuple<QPoint, Zone, Row> cases[] = {
        {{2, 4}, Expander, {0, -1}},   {{10, 12}, Expander, {0, -1}}, {{1, 8}, None, {}},
        {{11, 8}, None, {}},           {{6, 3}, None, {}},            {{6, 13}, None, {}},
        {{13, 8}, None, {}},           {{14, 0}, Caption, {0, -1}},   {{299, 19}, Caption, {0, -1}},
        {{300, 8}, None, {}},          {{0, 20}, ItemName, {0, 0}},   {{99, 39}, ItemName, {0, 0}},
        {{100, 40}, ItemValue, {0, 1}}, {{299, 59}, ItemValue, {0, 1}}, {{300, 45}, None, {}},
        {{20, 65}, Caption, {1, -1}},  {{5, 92}, Expander, {2, -1}},  {{150, 100}, ItemValue, {2, 0}},
        {{150, 120}, None, {}},        {{150, -1}, None, {}},
    };
    // clang-format on
    for (const auto& [p, zone, row] : cases) {
        const Hit hit = hitTest(sections, h, 100, 300, p);
        EXPECT_EQ(hit.zone, zone) << p.x() << "," << p.y();
        if (zone != None) {
            EXPECT_EQ(hit.row, row) << p.x() << "," << p.y();
        }
    }
    EXPECT_EQ(contentHeight(sections, h), 6 * h);
    EXPECT_EQ(rowAt(sections, h, 6 * h - 1), (Row{2, 0}));
    EXPECT_EQ(rowAt(sections, h, 6 * h), std::nullopt);
    EXPECT_EQ(rowTop(sections, h, {1, -1}), 60);
    EXPECT_EQ(rowTop(sections, h, {2, 0}), 100);
}

TEST(GridGeometry, KeyboardWalkVisitsVisibleRowsAndWraps) {
    const std::optional<Row> none;
    // clang-format off
    const std::tuple<std::optional<Row>, int, Row> cases[] = {
        {none, 1, {0, -1}},      {none, -1, {2, 0}},       {Row{2, 0}, 1, {0, -1}},
        {Row{0, -1}, -1, {2, 0}}, {Row{0, 1}, 1, {1, -1}},  {Row{1, -1}, 1, {2, -1}},
        {Row{2, -1}, -1, {1, -1}}, {Row{0, 0}, -1, {0, -1}}, {Row{1, 0}, 1, {0, -1}},
        {Row{0, 2}, -1, {2, 0}},  {Row{3, -1}, 1, {0, -1}},  // hidden or missing rows start over
    };
    // clang-format on
    for (const auto& [from, step, to] : cases) {
        EXPECT_EQ(stepRow(sections, from, step), to)
            << (from ? from->section : -9) << "/" << (from ? from->item : -9) << " " << step;
    }
    EXPECT_EQ(stepRow({}, none, 1), std::nullopt);
}

TEST(GridGeometry, DividerStaysBetweenAFifthAndFourFifths) {
    const int cases[][3] = {
        {10, 500, 100}, {100, 500, 100}, {250, 500, 250}, {401, 500, 400}, {600, 504, 403}};
    for (const auto& c : cases) EXPECT_EQ(clampDivider(c[0], c[1]), c[2]) << c[0];
    for (int x : {97, 98, 102, 103}) EXPECT_EQ(nearDivider(x, 100), x >= 98 && x <= 102) << x;
}

TEST(LeadingInteger, TakesTheLeadingNumberAndRefusesWhatIsOutOfRangeOrNoNumber) {
    // clang-format off
    const std::pair<std::string_view, std::int32_t> stored[] = {
        {"12abc", 12}, {"45mm", 45}, {"-7", -7}, {"+8x", 8}, {"  42", 42}, {"4 2", 4}, {"0", 0},
        {"2147483647", INT32_MAX}, {"-2147483648", INT32_MIN},
        {std::string_view("12345", 2), 12},  // no overread
    };
    // clang-format on
    for (const auto& [text, value] : stored) {
        EXPECT_EQ(parseLeadingInteger(text, {}).value(), value) << text;
    }
    for (const char* text : {"abc", "   ", "-", "--3", "+ 5", "mm45"}) {
        EXPECT_EQ(parseLeadingInteger(text, {}).message(), "请输入一个整数。") << text;
    }
    for (const char* text : {"2147483648", "-2147483649", "99999999999999999999999"}) {
        EXPECT_FALSE(parseLeadingInteger(text, {}).ok()) << text;
    }
    const IntegerRange field{-32768, 32767};
    EXPECT_EQ(parseLeadingInteger("32767", field).value(), 32767);
    EXPECT_EQ(parseLeadingInteger("-32768", field).value(), -32768);
    EXPECT_EQ(parseLeadingInteger("40000", field).message(),
              "请输入一个介于 -32768 和 32767 之间的整数。");
    EXPECT_FALSE(parseLeadingInteger("-32769", field).ok());
}

TEST(IntegerFormat, ShowsTheFirstPercentDAndALiteralPercent) {
    const std::tuple<const char*, int, const char*> cases[] = {
        {"", -5, "-5"},       {"%d mm", 50, "50 mm"}, {"%d,%d mm", 7, "7,%d mm"},
        {"100%%", 3, "100%"}, {"%d%%", 90, "90%"},    {"50%", 1, "50%"},
        {"d%x", 2, "d%x"},
    };
    for (const auto& [format, value, shown] : cases) {
        EXPECT_EQ(formatInteger(QString::fromLatin1(format), value), QString::fromLatin1(shown))
            << format;
    }
}
