#include <gtest/gtest.h>

#include <limits>

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
