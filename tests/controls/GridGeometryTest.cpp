#include <gtest/gtest.h>

#include <vector>

#include "controls/GridGeometry.h"
#include "controls/LeadingInteger.h"
#include "controls/WheelAccumulator.h"

using namespace GridGeometry;

namespace {

constexpr int h = 20;
// Visible rows: caption 0, its items 0 and 1, caption 1 (collapsed), caption 2, its item 0.
const std::vector<SectionShape> sections{{false, 2}, {true, 3}, {false, 1}};

}  // namespace

TEST(GridGeometry, HitTestFindsTheZoneUnderEveryEdgePixel) {
    struct Case {
        QPoint p;
        Zone zone;
        Row row;
    };
    const Case cases[] = {
        {{2, 4}, Zone::Expander, {0, -1}},
        {{10, 12}, Zone::Expander, {0, -1}},
        {{1, 8}, Zone::None, {}},
        {{11, 8}, Zone::None, {}},
        {{6, 3}, Zone::None, {}},
        {{6, 13}, Zone::None, {}},
        {{13, 8}, Zone::None, {}},
        {{14, 0}, Zone::Caption, {0, -1}},
        {{299, 19}, Zone::Caption, {0, -1}},
        {{300, 8}, Zone::None, {}},
        {{0, 20}, Zone::ItemName, {0, 0}},
        {{99, 39}, Zone::ItemName, {0, 0}},
        {{100, 40}, Zone::ItemValue, {0, 1}},
        {{299, 59}, Zone::ItemValue, {0, 1}},
        {{300, 45}, Zone::None, {}},
        {{20, 65}, Zone::Caption, {1, -1}},
        {{5, 92}, Zone::Expander, {2, -1}},
        {{150, 100}, Zone::ItemValue, {2, 0}},
        {{150, 120}, Zone::None, {}},
        {{150, -1}, Zone::None, {}},
    };
    for (const Case& c : cases) {
        const Hit hit = hitTest(sections, h, 100, 300, c.p);
        EXPECT_EQ(hit.zone, c.zone) << c.p.x() << "," << c.p.y();
        if (c.zone != Zone::None) {
            EXPECT_EQ(hit.row, c.row) << c.p.x() << "," << c.p.y();
        }
    }
    EXPECT_EQ(contentHeight(sections, h), 6 * h);
    EXPECT_EQ(rowAt(sections, h, 6 * h - 1), (Row{2, 0}));
    EXPECT_EQ(rowAt(sections, h, 6 * h), std::nullopt);
    EXPECT_EQ(rowTop(sections, h, {1, -1}), 60);
    EXPECT_EQ(rowTop(sections, h, {2, 0}), 100);
}

TEST(GridGeometry, KeyboardWalkVisitsVisibleRowsAndWraps) {
    struct Case {
        std::optional<Row> from;
        int step;
        Row to;
    };
    const Case cases[] = {
        {std::nullopt, 1, {0, -1}}, {std::nullopt, -1, {2, 0}}, {Row{2, 0}, 1, {0, -1}},
        {Row{0, -1}, -1, {2, 0}},   {Row{0, 1}, 1, {1, -1}},    {Row{1, -1}, 1, {2, -1}},
        {Row{2, -1}, -1, {1, -1}},  {Row{0, 0}, -1, {0, -1}},   {Row{1, 0}, 1, {0, -1}},
        {Row{0, 2}, -1, {2, 0}},    {Row{3, -1}, 1, {0, -1}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(stepRow(sections, c.from, c.step), c.to)
            << (c.from ? c.from->section : -9) << "/" << (c.from ? c.from->item : -9);
    }
    EXPECT_EQ(stepRow({}, std::nullopt, 1), std::nullopt);
}

TEST(GridGeometry, DividerStaysBetweenAFifthAndFourFifths) {
    EXPECT_EQ(clampDivider(10, 500), 100);
    EXPECT_EQ(clampDivider(100, 500), 100);
    EXPECT_EQ(clampDivider(250, 500), 250);
    EXPECT_EQ(clampDivider(401, 500), 400);
    EXPECT_EQ(clampDivider(600, 504), 403);
    for (int x : {98, 100, 102}) EXPECT_TRUE(nearDivider(x, 100)) << x;
    for (int x : {97, 103}) EXPECT_FALSE(nearDivider(x, 100)) << x;
}

TEST(GridGeometry, ButtonsTakeTheValueAreaOrOneRowAtTheRight) {
    const ItemRects push = itemRects(40, h, 100, 300, Button::Push);
    EXPECT_EQ(push.button, fromEdges(280, 40, 300, 60));
    EXPECT_EQ(push.value, fromEdges(100, 40, 280, 60));
    EXPECT_EQ(push.name, fromEdges(0, 40, 100, 60));
    const ItemRects value = itemRects(40, h, 100, 300, Button::Value);
    EXPECT_EQ(value.button, fromEdges(100, 40, 300, 60));
    EXPECT_EQ(value.value, value.button);
    EXPECT_TRUE(itemRects(40, h, 100, 300, Button::None).button.isNull());
}

TEST(LeadingInteger, TakesTheLeadingNumberAndRefusesWhatIsOutOfRange) {
    struct Case {
        const char* text;
        bool ok;
        std::int32_t value;
    };
    const Case cases[] = {
        {"12abc", true, 12},
        {"abc", true, 0},
        {"-7", true, -7},
        {"+8x", true, 8},
        {"  42", true, 42},
        {"-", true, 0},
        {"4 2", true, 4},
        {"--3", true, 0},
        {"2147483647", true, INT32_MAX},
        {"-2147483648", true, INT32_MIN},
        {"2147483648", false, 0},
        {"-2147483649", false, 0},
        {"99999999999999999999999", false, 0},
    };
    for (const Case& c : cases) {
        const Result<std::int32_t> r = parseLeadingInteger(c.text, {});
        ASSERT_EQ(r.ok(), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(r.value(), c.value) << c.text;
        }
    }
    EXPECT_EQ(parseLeadingInteger(std::string_view("12345", 2), {}).value(), 12);  // no overread
    const IntegerRange field{-32768, 32767};
    EXPECT_EQ(parseLeadingInteger("32767", field).value(), 32767);
    EXPECT_EQ(parseLeadingInteger("-32768", field).value(), -32768);
    EXPECT_EQ(parseLeadingInteger("40000", field).message(),
              "请输入一个介于 -32768 和 32767 之间的整数。");
    EXPECT_FALSE(parseLeadingInteger("-32769", field).ok());
}

TEST(WheelAccumulator, PartialDeltasAddUpToWholeNotches) {
    WheelAccumulator wheel;
    int total = 0;
    for (int i = 0; i < 7; ++i) total += wheel.notches(15);
    EXPECT_EQ(total, 0);
    EXPECT_EQ(wheel.notches(15), 1);  // the eighth completes one notch
    EXPECT_EQ(wheel.notches(360), 3);
    EXPECT_EQ(wheel.notches(100), 0);
    EXPECT_EQ(wheel.notches(-100), 0);  // turning back uses up the remainder first
    EXPECT_EQ(wheel.notches(-130), -1);
    EXPECT_EQ(wheel.notches(-110), -1);
    wheel.notches(100);
    wheel.reset();
    EXPECT_EQ(wheel.notches(20), 0);
    EXPECT_EQ(wheel.notches(-240), -1);
}
