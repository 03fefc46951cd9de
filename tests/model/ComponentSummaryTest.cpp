#include <gtest/gtest.h>

#include "model/ComponentSummary.h"
#include "model/GbkCodec.h"
#include "support/ModelSamples.h"

namespace {

using Texts = std::vector<std::string>;

// The fifteen texts by position, as UTF-8.
Texts texts(const Component& c) {
    const ComponentSummary s = BuildComponentSummary(c);
    Texts out;
    for (std::size_t i = 0; i < ComponentSummary::count; ++i) out.push_back(gbk::toUtf8(s[i]));
    return out;
}

Component withThicknesses(const char* code, std::initializer_list<int> values, int cover = 30,
                          int tolerance = 5) {
    Component c = samples::component(code);
    c.designCover = static_cast<std::int16_t>(cover);
    c.thicknessTolerance = static_cast<std::int16_t>(tolerance);
    for (int v : values) {
        c.addPoint();
        c.points.back().thickness = static_cast<std::int16_t>(v);
    }
    return c;
}

}  // namespace

TEST(FormatPassRate, DropsATrailingZeroAndShowsExactlyNoneAsZero) {
    EXPECT_EQ(FormatPassRate(8, 0), "100%");
    EXPECT_EQ(FormatPassRate(8, 1), "87.5%");
    EXPECT_EQ(FormatPassRate(2, 1), "50%");
    EXPECT_EQ(FormatPassRate(3, 1), "66.7%");
    EXPECT_EQ(FormatPassRate(3, 3), "0");
    EXPECT_EQ(FormatPassRate(1000, 999), "0.1%");
    EXPECT_EQ(FormatPassRate(3000, 2999), "0");  // 0.03 shows as "0.0": no percent sign
    EXPECT_EQ(FormatPassRate(1, 0), "100%");
    EXPECT_EQ(FormatPassRate(0, 0), "");  // no points, no rate
}

// Every text in its fixed position, for each type: a swapped, missing or misplaced text shows.
TEST(BuildComponentSummary, AllFifteenTextsInOrderByType) {
    Component z = samples::withPoints("Z001", 3);  // thickness 20-22, diameter 8-10
    z.name.assign(gbk::fromUtf8("二层梁"));
    z.designDiameter = 18;
    z.designSpacing = 150;                         // a diameter component shows no spacing
    Component p = samples::withPoints("P002", 3);  // positions 7, 107, 207
    p.designCover = 20;
    Component grid = samples::withPoints("W003", 2, 3);
    grid.designCover = 20;
    grid.designCoverVert = 40;
    grid.designSpacingVert = 120;
    const struct {
        Component component;
        Texts expected;
    } cases[] = {
        {withThicknesses("H001", {30, 24, 41}),
         {"H001", "H001", "11/3/25", "厚度", "16 mm", "", "", "30 mm", "41 mm", "24 mm", "", "", "",
          "3", "33.3%"}},
        {z,
         {"Z001", "二层梁", "11/3/25", "直径", "18 mm", "10 mm", "8 mm", "50 mm", "22 mm", "20 mm",
          "", "", "", "3", "0"}},
        {p,
         {"P002", "P002", "11/3/25", "剖面", "16 mm", "", "", "20 mm", "22 mm", "20 mm", "100 mm",
          "207 mm", "7 mm", "3", "66.7%"}},
        // Without vertical points: bare numbers and one rate; the pairs still show both.
        {samples::withPoints("W004", 2),
         {"W004", "W004", "11/3/25", "网格", "16,12 mm", "", "", "50,50 mm", "21", "20",
          "100,100 mm", "107", "7", "2,0", "0"}},
        // With vertical points: each direction against its own design cover.
        {grid,
         {"W003", "W003", "11/3/25", "网格", "16,12 mm", "", "", "20,40 mm", "21,42 mm", "20,40 mm",
          "100,120 mm", "107,65535 mm", "7,65529 mm", "2,3", "100%,66.7%"}},
        // An unknown letter keeps its own texts and shows nothing else.
        {samples::withPoints("X001", 2),
         {"X001", "X001", "11/3/25", "", "", "", "", "", "", "", "", "", "", "", ""}},
    };
    for (const auto& [component, expected] : cases) {
        EXPECT_EQ(texts(component), expected) << component.code.str();
    }
}

TEST(BuildComponentSummary, OnEitherToleranceBoundAPointPasses) {
    // Design cover 30 ± 5: 25 and 35 pass, 24 and 36 fail; the rate counts each alone.
    const struct {
        std::initializer_list<int> values;
        const char* rate;
    } cases[] = {
        {{25}, "100%"},
        {{35}, "100%"},
        {{24}, "0"},
        {{36}, "0"},
        {{30}, "100%"},
        {{0}, "0"},
        {{24, 25, 35, 36}, "50%"},
    };
    for (const auto& [values, rate] : cases) {
        EXPECT_EQ(BuildComponentSummary(withThicknesses("H001", values)).passRateCell, rate)
            << *values.begin();
    }
    // The vertical points of a grid are judged against their own cover, with the same tolerance.
    Component w = withThicknesses("W001", {30, 30});
    w.designCoverVert = 60;
    for (int t : {55, 65, 54, 66}) {
        w.addPoint(true);
        w.pointsVert.back().thickness = static_cast<std::int16_t>(t);
    }
    EXPECT_EQ(BuildComponentSummary(w).passRateCell, "100%,50%");
}

TEST(BuildComponentSummary, ZeroIsNoReadingForTheMinimum) {
    // A point added by hand and not filled in yet does not hide the real minimum.
    EXPECT_EQ(BuildComponentSummary(withThicknesses("H001", {5, 0, 7})).thicknessMinCell, "5 mm");
    EXPECT_EQ(BuildComponentSummary(withThicknesses("H001", {0, 9, 3})).thicknessMinCell, "3 mm");
    const ComponentSummary none = BuildComponentSummary(withThicknesses("H001", {0, 0}));
    EXPECT_EQ(none.thicknessMinCell, "0 mm");
    EXPECT_EQ(none.thicknessMaxCell, "0 mm");

    Component p = samples::component("P001");
    for (int pos : {300, 0, 100, 200}) {
        p.addPoint();
        p.points.back().position = pos;
    }
    EXPECT_EQ(BuildComponentSummary(p).spacingMinCell, "100 mm");

    Component z = samples::withPoints("Z001", 3);  // diameters 8, 9, 10
    z.points[0].diameter = 0;
    EXPECT_EQ(BuildComponentSummary(z).diameterMinCell, "9 mm");

    // No points at all: both extremes 0 and no rate.
    EXPECT_EQ(texts(samples::component("Z002")),
              (Texts{"Z002", "Z002", "11/3/25", "直径", "16 mm", "0 mm", "0 mm", "50 mm", "0 mm",
                     "0 mm", "", "", "", "0", ""}));
}

TEST(BuildComponentSummary, CountsNoMorePointsThanTheListHolds) {
    Component h = withThicknesses("H001", {31, 29, 40});
    h.pointCount = 2;  // the walk stops at the stored count
    EXPECT_EQ(BuildComponentSummary(h).thicknessMaxCell, "31 mm");
    h.pointCount = 9;  // and never runs past the list
    EXPECT_EQ(BuildComponentSummary(h).thicknessMaxCell, "40 mm");
    h.pointCount = -1;
    EXPECT_EQ(BuildComponentSummary(h).thicknessMaxCell, "0 mm");
}
