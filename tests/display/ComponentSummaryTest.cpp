#include <gtest/gtest.h>

#include "display/ComponentSummary.h"
#include "model/GbkCodec.h"
#include "support/ModelSamples.h"

namespace {

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

std::string utf8(const std::string& gbkText) {
    return gbk::toUtf8(gbkText);
}

}  // namespace

TEST(FormatPassRate, DropsATrailingZeroAndShowsExactlyNoneAsZero) {
    EXPECT_EQ(FormatPassRate(8, 0), "100%");
    EXPECT_EQ(FormatPassRate(8, 1), "87.5%");
    EXPECT_EQ(FormatPassRate(2, 1), "50%");
    EXPECT_EQ(FormatPassRate(3, 1), "66.7%");
    EXPECT_EQ(FormatPassRate(3, 2), "33.3%");
    EXPECT_EQ(FormatPassRate(3, 3), "0");
    EXPECT_EQ(FormatPassRate(1000, 999), "0.1%");
    EXPECT_EQ(FormatPassRate(0, 0), "");  // no points, no rate
}

TEST(BuildComponentSummary, ThicknessExtremesAndRate) {
    ComponentSummary s = BuildComponentSummary(withThicknesses("H001", {30, 24, 41}));
    EXPECT_EQ(s.thicknessMaxCell, "41 mm");
    EXPECT_EQ(s.thicknessMinCell, "24 mm");
    EXPECT_EQ(s.pointCountCell, "3");
    EXPECT_EQ(s.passRateCell, "33.3%");
    EXPECT_EQ(utf8(s.typeCell), "厚度");
    EXPECT_EQ(s.diameterDesignCell, "16 mm");
    EXPECT_EQ(s.coverDesignCell, "30 mm");
    for (const std::string* empty : {&s.diameterMaxCell, &s.diameterMinCell, &s.spacingDesignCell,
                                     &s.spacingMaxCell, &s.spacingMinCell}) {
        EXPECT_EQ(*empty, "");
    }
    // On the lower bound a point passes.
    EXPECT_EQ(BuildComponentSummary(withThicknesses("H001", {30, 25, 41})).passRateCell, "66.7%");
    EXPECT_EQ(BuildComponentSummary(withThicknesses("H001", {20, 45})).passRateCell, "0");
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
        p.points.back().thickness = 50;
    }
    const ComponentSummary s = BuildComponentSummary(p);
    EXPECT_EQ(s.spacingMaxCell, "300 mm");
    EXPECT_EQ(s.spacingMinCell, "100 mm");

    Component z = samples::withPoints("Z001", 3);  // diameters 8, 9, 10
    z.points[0].diameter = 0;
    EXPECT_EQ(BuildComponentSummary(z).diameterMinCell, "9 mm");
    EXPECT_EQ(BuildComponentSummary(z).diameterMaxCell, "10 mm");

    const ComponentSummary empty = BuildComponentSummary(samples::component("H002"));
    EXPECT_EQ(empty.pointCountCell, "0");
    EXPECT_EQ(empty.passRateCell, "");
}

TEST(BuildComponentSummary, EmptyCellsByType) {
    const ComponentSummary z = BuildComponentSummary(samples::withPoints("Z001", 2));
    EXPECT_EQ(utf8(z.typeCell), "直径");
    EXPECT_EQ(z.diameterMaxCell, "9 mm");
    EXPECT_EQ(z.diameterMinCell, "8 mm");
    EXPECT_EQ(z.spacingDesignCell, "");
    EXPECT_EQ(z.spacingMaxCell, "");

    const ComponentSummary p = BuildComponentSummary(samples::withPoints("P001", 3));
    EXPECT_EQ(utf8(p.typeCell), "剖面");
    EXPECT_EQ(p.diameterMaxCell, "");
    EXPECT_EQ(p.spacingDesignCell, "100 mm");
    EXPECT_EQ(p.spacingMaxCell, "207 mm");
    EXPECT_EQ(p.spacingMinCell, "7 mm");
}

TEST(BuildComponentSummary, GridWithoutVerticalPointsShowsBareNumbers) {
    Component w = samples::withPoints("W001", 12);
    w.points[3].thickness = 41;
    const ComponentSummary s = BuildComponentSummary(w);
    EXPECT_EQ(utf8(s.typeCell), "网格");
    EXPECT_EQ(s.thicknessMaxCell, "41");
    EXPECT_EQ(s.thicknessMinCell, "20");
    EXPECT_EQ(s.spacingMaxCell, "1107");
    EXPECT_EQ(s.pointCountCell, "12,0");
    EXPECT_EQ(s.diameterDesignCell, "16,12 mm");
    EXPECT_EQ(s.coverDesignCell, "50,50 mm");
    EXPECT_EQ(s.spacingDesignCell, "100,100 mm");
    EXPECT_EQ(s.passRateCell, "0");  // 20 … 41 against 50 ± 1
    EXPECT_EQ(s.passRateCell.find(','), std::string::npos);
}

TEST(BuildComponentSummary, GridWithVerticalPointsShowsPairs) {
    Component w = samples::component("W001");
    w.designCover = 40;
    w.designCoverVert = 38;
    w.thicknessTolerance = 2;
    const int horizontal[] = {40, 41, 39, 40, 40, 40, 40, 40, 40, 45};  // one fails
    for (int t : horizontal) {
        w.addPoint();
        w.points.back().thickness = static_cast<std::int16_t>(t);
        w.points.back().position = 100 * static_cast<int>(w.points.size());
    }
    for (int t : {38, 37, 36}) {
        w.addPoint(true);
        w.pointsVert.back().thickness = static_cast<std::int16_t>(t);
        w.pointsVert.back().position = 50 * static_cast<int>(w.pointsVert.size());
    }
    const ComponentSummary s = BuildComponentSummary(w);
    EXPECT_EQ(s.thicknessMaxCell, "45,38 mm");
    EXPECT_EQ(s.thicknessMinCell, "39,36 mm");
    EXPECT_EQ(s.spacingMaxCell, "1000,150 mm");
    EXPECT_EQ(s.spacingMinCell, "100,50 mm");
    EXPECT_EQ(s.pointCountCell, "10,3");
    EXPECT_EQ(s.passRateCell, "90%,100%");
}

TEST(ComponentSummary, FieldsByPosition) {
    ComponentSummary s = BuildComponentSummary(samples::withPoints("P001", 1));
    EXPECT_EQ(s[0], "P001");
    EXPECT_EQ(s[3], s.typeCell);
    EXPECT_EQ(s[13], "1");
    s[14] = "x";
    EXPECT_EQ(s.passRateCell, "x");
}
