#include <gtest/gtest.h>

#include <limits>

#include "report/AcceptanceRows.h"
#include "report/ReportRows.h"
#include "report/ReportSamples.h"

namespace {

// "Name=value" for every field set, in the order set.
std::vector<std::string> describe(const std::vector<ReportRow>& rows) {
    std::vector<std::string> out;
    for (const ReportRow& row : rows) {
        std::string line;
        for (const RowField& f : row) {
            const auto* n = std::get_if<std::int32_t>(&f.value);
            line += (line.empty() ? "" : " ") + f.name + "=" +
                    (n ? std::to_string(*n) : std::get<std::string>(f.value));
        }
        out.push_back(line);
    }
    return out;
}

}  // namespace

TEST(ReportRows, DiameterAndSpacingTablesTakeTheirTypesDirectionsAndValues) {
    // The cover thickness table's rows are checked in full on paper.
    const std::vector<std::pair<ReportKind, std::vector<std::string>>> cases{
        {ReportKind::Diameter,
         {"ComponentNum=Z001 ComponentName=二层柱 DiameterDesign=16 D1=8 D2=9 D3=10"}},
        {ReportKind::Spacing,
         {"ComponentNum=W001 ComponentName=三层板 DistanceDesign=100 D1=100",
          "ComponentNum=W001 ComponentName=三层板 DistanceDesign=150 D1=-3 D2=-3",
          "ComponentNum=W002 ComponentName=四层板 DistanceDesign=100 D1=100",
          "ComponentNum=P002 ComponentName=墙二 DistanceDesign=100 D1=-5 D2=-10 D3=-15 D4=-20 "
          "D5=-25 D6=-30 D7=-35 D8=-40 D9=-45"}},
        {ReportKind::None, {}},
    };
    const ComponentList list = report_samples::project();
    for (const auto& [kind, rows] : cases) {
        EXPECT_EQ(describe(buildReportRows(kind, list, report_samples::ticked())), rows)
            << "kind " << static_cast<int>(kind);
    }
}

// The tables' fields are checked against their templates; with no table chosen only the
// measured values are bound.
TEST(ReportRows, NoTableBindsTheNineMeasuredValuesOnly) {
    EXPECT_EQ(reportFieldNames(ReportKind::None),
              (std::vector<std::string>{"D1", "D2", "D3", "D4", "D5", "D6", "D7", "D8", "D9"}));
}

TEST(ReportRows, SpacingOfExtremePositionsWrapsInsteadOfOverflowing) {
    Component c = samples::withPoints("P001", 3);
    c.points[0].position = std::numeric_limits<std::int32_t>::max();
    c.points[1].position = std::numeric_limits<std::int32_t>::min();
    c.points[2].position = std::numeric_limits<std::int32_t>::min() + 7;
    EXPECT_EQ(describe(buildReportRows(ReportKind::Spacing, {c}, {true})),
              std::vector<std::string>{
                  "ComponentNum=P001 ComponentName=P001 DistanceDesign=100 D1=1 D2=7"});
}

// The date is that of the first ticked component on the table; a table no ticked component
// fills is dated by the first ticked one and announced as blank.
TEST(ReportRows, TestDateAndBlankTableNoticeFollowTheRowsOfTheTableBeingMade) {
    ComponentList list{samples::withPoints("Z001", 2), samples::withPoints("P001", 1),
                       samples::withPoints("W001", 1, 2), samples::withPoints("H001", 0)};
    const char* dates[] = {"1/1/25", "3/1/25", "2/1/25", "4/1/25"};
    const char* const* date = dates;
    for (Component& c : list) c.date.assign(*date++);

    const std::vector<bool> all(4, true);
    struct Case {
        ReportKind kind;
        std::vector<bool> ticked;
        std::string date;
        std::string notice;
    };
    const std::vector<Case> cases{
        {ReportKind::Thickness, all, "3/1/25", ""},
        {ReportKind::Spacing, all, "2/1/25", ""},  // a grid's vertical points alone
        {ReportKind::Diameter, all, "1/1/25", ""},
        {ReportKind::Diameter,
         {false, true, false, true},
         "3/1/25",
         "所选构件中没有可填入《钢筋公称直径检测记录表》的数据，将输出空白表。"},
        {ReportKind::Thickness,
         {false, false, false, true},
         "4/1/25",
         "所选构件中没有可填入《钢筋混凝土保护层厚度检测记录表》的数据，将输出空白表。"},
        {ReportKind::Spacing,
         {false, true, false, false},
         "3/1/25",
         "所选构件中没有可填入《钢筋间距检测记录表》的数据，将输出空白表。"},
        {ReportKind::Thickness,
         {},
         "",
         "所选构件中没有可填入《钢筋混凝土保护层厚度检测记录表》的数据，将输出空白表。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        EXPECT_EQ(reportTestDate(c.kind, list, c.ticked), c.date);
        EXPECT_EQ(blankTableNotice(c.kind, list, c.ticked), c.notice);
    }
}

// Every classed component that can be judged gives one row, in project order, whatever the
// ticks; the rule, each class's figures, verdict and notices follow as note rows, and the
// table is dated by the first classed component.
TEST(AcceptanceRows, ClassedComponentsThenTheRuleAndEachClassVerdict) {
    using samples::withPoints;
    // +7, unmeasured, -7, 0
    Component beam =
        report_samples::named(samples::withCovers("H001", {57, 0, 43, 50}), "一层梁", "2/2/25");
    Component slab = report_samples::named(withPoints("W001", 1, 2), "三层板", "3/3/25");
    slab.points[0].thickness = 59;  // +9: over the slab's +8, not beyond +12; none under design
    slab.designCoverVert = 0;       // its vertical points are not judged
    const ComponentList list{report_samples::named(withPoints("Z001", 2), "柱", "9/9/25"),
                             report_samples::named(withPoints("H002", 2), "未分类梁", "8/8/25"),
                             beam, slab};
    std::vector<const Component*> at;
    for (const Component& c : list) at.push_back(&c);
    const AcceptanceMarks marks{
        {at[0], {AcceptanceClass::Beam, AcceptanceSample::First}},  // diameter: ignored
        {at[3], {AcceptanceClass::Slab, AcceptanceSample::Second}},
        {at[2], {AcceptanceClass::Beam, AcceptanceSample::First}}};
    const AcceptanceJudgement judgement = judgeAcceptance(list, marks);

    EXPECT_EQ(
        describe(buildAcceptanceRows(judgement)),
        (std::vector<std::string>{
            "ComponentNum=H001 ComponentName=一层梁 Class=梁类 Sample=第一次 Points=3 "
            "Unmeasured=1 Passing=3 MaxOver=7 MaxUnder=-7",
            "ComponentNum=W001 ComponentName=三层板 Class=板类 Sample=第二次 Points=1 "
            "Unmeasured=2 Passing=0 MaxOver=9 MaxUnder=—",
            "Note=梁类：允许偏差 -7 mm ～ +10 mm（含边界）；有测点偏差小于 -10.5 mm 或大于 +15 mm"
            "（允许偏差的 1.5 倍）时判为不合格。",
            "Note=板类：允许偏差 -5 mm ～ +8 mm（含边界）；有测点偏差小于 -7.5 mm 或大于 +12 mm"
            "（允许偏差的 1.5 倍）时判为不合格。",
            "Note=第一次抽样合格点率不低于 90% 为合格，低于 80% 为不合格，其间可再抽取同样数量的"
            "构件作第二次抽样，两次抽样合计不低于 90% 为合格。",
            "Note=保护层厚度为 0 的测点及未填写设计值的测点为未测点，不参与判定。",
            "Note=梁类：构件 1 个，测点 3 个，未测 1 个，合格 3 个，合格点率 100%；最大偏差 +7 mm "
            "/ "
            "-7 mm，超过允许偏差 1.5 倍的测点 0 个。",
            "Note=梁类判定结论：合格（" + judgement.of(AcceptanceClass::Beam)->reason + "）",
            "Note=注：梁类第一次抽样构件少于 5 个（1 个）。",
            "Note=板类：构件 1 个，测点 1 个，未测 2 个，合格 0 个，合格点率 0；最大偏差 +9 mm / "
            "—，超过允许偏差 1.5 倍的测点 0 个。",
            "Note=板类第一次抽样：构件 0 个，测点 0 个，合格 0 个，合格点率 无。",
            "Note=板类判定结论：无法判定（" + judgement.of(AcceptanceClass::Slab)->reason + "）",
            "Note=注：板类第一次抽样构件少于 5 个（0 个）。",
            "Note=注：板类构件 W001 的测点少于 6 个（1 个）。",
            "Note=注：构件 W001 未填写保护层厚度设计值，未参与判定。",
        }));
    EXPECT_EQ(acceptanceTestDate(judgement), "2/2/25");
    // Without a classed component there is nothing to print.
    EXPECT_TRUE(buildAcceptanceRows(judgeAcceptance(list, {})).empty());
    EXPECT_EQ(acceptanceTestDate(judgeAcceptance(list, {})), "");
}

// Marks on: each edited value a text with "*" (a spacing when either of its positions is
// edited), the footnote as the last row; off, the same rows as numbers.
TEST(ReportRows, EditedValuesAreMarkedOnlyWhenAsked) {
    using samples::withPoints;
    const ComponentList list{withPoints("H001", 3), withPoints("Z001", 2),
                             withPoints("W001", 2, 3)};
    EditMarks marks;
    marks.components.resize(3);
    marks.components[0].name = true;
    marks.components[0].fields = {ComponentField::DesignCover, ComponentField::DesignSpacing};
    marks.components[0].points = {{}, {true, false, false}};
    marks.components[1].points = {{true, true, false}};
    marks.components[2].points = {{false, false, true}};
    marks.components[2].pointsVert = {{}, {}, {false, false, true}};
    const std::vector<bool> all(3, true);
    const std::vector<std::pair<ReportKind, std::vector<std::string>>> cases{
        {ReportKind::Thickness,
         {"ComponentNum=H001 ComponentName=H001* DiameterDesign=16 DepthDesign=50* D1=20 D2=21* "
          "D3=22",
          "ComponentNum=W001 ComponentName=W001 DiameterDesign=16 DepthDesign=50 D1=20 D2=21",
          "ComponentNum=W001 ComponentName=W001 DiameterDesign=12 DepthDesign=50 D1=40 D2=41 "
          "D3=42",
          "Note=* 为修改后的数值"}},
        {ReportKind::Diameter,
         {"ComponentNum=Z001 ComponentName=Z001 DiameterDesign=16 D1=8* D2=9",
          "Note=* 为修改后的数值"}},
        {ReportKind::Spacing,
         {"ComponentNum=W001 ComponentName=W001 DistanceDesign=100 D1=100*",
          "ComponentNum=W001 ComponentName=W001 DistanceDesign=100 D1=-3 D2=-3*",
          "Note=* 为修改后的数值"}},
    };
    for (const auto& [kind, rows] : cases) {
        EXPECT_EQ(describe(buildReportRows(kind, list, all, &marks)), rows)
            << "kind " << static_cast<int>(kind);
        std::vector<std::string> plain = describe(buildReportRows(kind, list, all));
        std::vector<std::string> unmarked = rows;
        unmarked.pop_back();
        for (std::string& row : unmarked) std::erase(row, '*');
        EXPECT_EQ(plain, unmarked) << "kind " << static_cast<int>(kind);
    }
    // A workbook's notes: by field, on the unmarked rows; a spacing's name its points.
    marks.components[0].fieldNotes[ComponentField::DesignCover] = "c";
    marks.components[2].pointsVert[2].positionNote = "p";
    const std::vector<RowNotes> thickness{
        {{"ComponentName", ""}, {"DepthDesign", "c"}, {"D2", ""}}, {}, {}};
    EXPECT_EQ(buildRowNotes(ReportKind::Thickness, list, all, marks), thickness);
    const std::vector<RowNotes> spacing{{{"D1", "测点 1 位置："}}, {{"D2", "测点 3 位置：p"}}};
    EXPECT_EQ(buildRowNotes(ReportKind::Spacing, list, all, marks), spacing);
}
