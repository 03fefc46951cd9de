#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/AcceptanceJudgement.h"
#include "support/ModelSamples.h"

namespace {

using enum AcceptanceClass;
using enum AcceptanceSample;

struct Marked {
    std::string code;
    AcceptanceClass cls;
    AcceptanceSample sample;
    int design;
    std::vector<int> covers;
    int designVert = 0;  // grid only
    std::vector<int> coversVert = {};
};

struct Project {
    ComponentList list;
    AcceptanceMarks marks;

    void add(const Marked& m) {
        Component c = samples::component(m.code);
        c.designCover = static_cast<std::int16_t>(m.design);
        c.designCoverVert = static_cast<std::int16_t>(m.designVert);
        for (int v : m.covers) {
            c.addPoint();
            c.points.back().thickness = static_cast<std::int16_t>(v);
        }
        for (int v : m.coversVert) {
            c.addPoint(true);
            c.pointsVert.back().thickness = static_cast<std::int16_t>(v);
        }
        list.push_back(std::move(c));
        marks[&list.back()] = {m.cls, m.sample};
    }
    AcceptanceJudgement judge() const { return judgeAcceptance(list, marks); }
};

// `n` covers of 30 of which the first `failing` are 22 (beam: −8, outside but not beyond).
std::vector<int> covers(int n, int failing) {
    std::vector<int> v(static_cast<std::size_t>(n), 30);
    for (int i = 0; i < failing; ++i) v[static_cast<std::size_t>(i)] = 22;
    return v;
}

}  // namespace

// Every bound of the table, inclusive, and every 1.5 × bound, exclusive.
TEST(AcceptanceJudgement, DeviationsOnEachBound) {
    const struct {
        AcceptanceClass cls;
        int deviation;
        int passing, beyond;
    } cases[] = {
        {Beam, -7, 1, 0}, {Beam, -8, 0, 0},  {Beam, 10, 1, 0},  {Beam, 11, 0, 0}, {Beam, 15, 0, 0},
        {Beam, 16, 0, 1}, {Beam, -10, 0, 0}, {Beam, -11, 0, 1}, {Slab, -5, 1, 0}, {Slab, -6, 0, 0},
        {Slab, 8, 1, 0},  {Slab, 9, 0, 0},   {Slab, 12, 0, 0},  {Slab, 13, 0, 1}, {Slab, -7, 0, 0},
        {Slab, -8, 0, 1}, {Beam, -40, 0, 1},  // a negative cover is judged like any other
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(static_cast<int>(c.cls)) + " d=" + std::to_string(c.deviation));
        Project p;
        p.add({"H001", c.cls, First, 30, {30 + c.deviation}});
        const AcceptanceJudgement j = p.judge();
        ASSERT_EQ(j.rows.size(), 1u);
        EXPECT_EQ(j.rows[0].points, 1);
        EXPECT_EQ(j.rows[0].passing, c.passing);
        EXPECT_EQ(j.rows[0].beyond, c.beyond);
        EXPECT_EQ(j.rows[0].maxOver, c.deviation > 0 ? c.deviation : 0);
        EXPECT_EQ(j.rows[0].maxUnder, c.deviation < 0 ? c.deviation : 0);
    }
}

// Each path of the verdict, in its order, with the reason the user reads.
TEST(AcceptanceJudgement, VerdictPathsAndReasons) {
    const struct {
        const char* name;
        std::vector<Marked> components;
        AcceptanceVerdict verdict;
        std::string reason;
        std::string rate, firstRate;
    } cases[] = {
        {"exactly 90 %",
         {{"H001", Beam, First, 30, covers(10, 1)}},
         AcceptanceVerdict::Pass,
         "合格 9 点 / 共 10 点，不低于 90%：合格",
         "90%",
         "90%"},
        {"below 90 %, exactly 80 %",
         {{"H001", Beam, First, 30, covers(5, 1)}, {"H002", Beam, First, 30, covers(5, 1)}},
         AcceptanceVerdict::Recheck,
         "合格 8 点 / 共 10 点，低于 90%、不低于 80%：可再抽取 2 个构件作第二次抽样",
         "80%",
         "80%"},
        {"below 80 %",
         {{"H001", Beam, First, 30, covers(9, 2)}},
         AcceptanceVerdict::Fail,
         "合格 7 点 / 共 9 点，低于 80%：不合格",
         "77.8%",
         "77.8%"},
        {"a second sample lifts it",
         {{"H001", Beam, First, 30, covers(10, 2)}, {"H002", Beam, Second, 30, covers(10, 0)}},
         AcceptanceVerdict::Pass,
         "第一次抽样合格 8 点 / 共 10 点，低于 90%、不低于 80%；两次抽样合计合格 18 点 / 共 20 "
         "点，不低于 90%：合格",
         "90%",
         "80%"},
        {"a second sample does not",
         {{"H001", Beam, First, 30, covers(10, 2)}, {"H002", Beam, Second, 30, covers(10, 1)}},
         AcceptanceVerdict::Fail,
         "第一次抽样合格 8 点 / 共 10 点，低于 90%、不低于 80%；两次抽样合计合格 17 点 / 共 20 "
         "点，低于 90%：不合格",
         "85%",
         "80%"},
        {"the first sample alone decides once it passes",
         {{"H001", Beam, First, 30, covers(10, 0)}, {"H002", Beam, Second, 30, covers(10, 10)}},
         AcceptanceVerdict::Pass,
         "第一次抽样合格 10 点 / 共 10 点，不低于 90%：合格",
         "50%",
         "100%"},
        {"beyond 1.5 x in the second sample",
         {{"H001", Beam, First, 30, covers(10, 0)}, {"H002", Beam, Second, 30, {30, 46}}},
         AcceptanceVerdict::Fail,
         "有 1 点超出允许偏差的 1.5 倍：不合格",
         "91.7%",
         "100%"},
        {"first sample only unmeasured",
         {{"H001", Beam, First, 30, {0, 0}}, {"H002", Beam, Second, 30, {30}}},
         AcceptanceVerdict::Undecidable,
         "第一次抽样 1 个构件中没有可判定的测点：无法判定",
         "100%",
         ""},
        {"no first sample",
         {{"H001", Beam, Second, 30, {30}}},
         AcceptanceVerdict::Undecidable,
         "第一次抽样 0 个构件中没有可判定的测点：无法判定",
         "100%",
         ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Project p;
        for (const Marked& m : c.components) p.add(m);
        const AcceptanceJudgement j = p.judge();
        const auto& beam = j.of(Beam);
        ASSERT_TRUE(beam);
        EXPECT_EQ(beam->verdict, c.verdict);
        EXPECT_EQ(beam->reason, c.reason);
        EXPECT_EQ(beam->rate, c.rate);
        EXPECT_EQ(beam->first.rate, c.firstRate);
    }
}

// What is left out of the judgement, each class apart, and the notices in their order.
TEST(AcceptanceJudgement, CountsRowsAndNotices) {
    Project p;
    p.add({"H001", Slab, First, 30, {30, 0, 38, 22}});     // one unmeasured; −8 is beyond (slab)
    p.add({"Z001", Beam, First, 30, {99}});                // diameter: never judged
    p.add({"W001", Beam, First, 20, {27, 13}, 40, {51}});  // each list against its own design
    p.add({"H001", Slab, Second, 0, {30, 31}});            // no design: unmeasured, a notice
    p.add({"P001", Beam, Second, 25, {}});
    Component unmarked = samples::withPoints("H009", 3);
    p.list.push_back(unmarked);

    const AcceptanceJudgement j = p.judge();
    struct Row {
        std::string code;
        int occurrence;
        int points, unmeasured, passing, beyond, maxOver, maxUnder;
    };
    const std::vector<Row> expected = {
        {"H001", 1, 3, 1, 2, 1, 8, -8},
        {"W001", 1, 3, 0, 2, 0, 11, -7},
        {"H001", 2, 0, 2, 0, 0, 0, 0},
        {"P001", 1, 0, 0, 0, 0, 0, 0},
    };
    ASSERT_EQ(j.rows.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        const AcceptanceRow& r = j.rows[i];
        const Row& e = expected[i];
        EXPECT_EQ(r.code, e.code);
        EXPECT_EQ(r.occurrence, e.occurrence);
        EXPECT_EQ(r.points, e.points);
        EXPECT_EQ(r.unmeasured, e.unmeasured);
        EXPECT_EQ(r.passing, e.passing);
        EXPECT_EQ(r.beyond, e.beyond);
        EXPECT_EQ(r.maxOver, e.maxOver);
        EXPECT_EQ(r.maxUnder, e.maxUnder);
    }

    const auto& slab = j.of(Slab);
    ASSERT_TRUE(slab);
    EXPECT_EQ(slab->components, 2);
    EXPECT_EQ(slab->unmeasured, 3);
    EXPECT_TRUE(slab->hasSecondSample);
    EXPECT_EQ(slab->first.components, 1);
    EXPECT_EQ(slab->verdict, AcceptanceVerdict::Fail);
    EXPECT_EQ(slab->notices, (std::vector<std::string>{
                                 "板类第一次抽样构件少于 5 个（1 个）。",
                                 "板类构件 H001 的测点少于 6 个（3 个）。",
                                 "板类构件 H001 的测点少于 6 个（0 个）。",
                                 "构件 H001 未填写保护层厚度设计值，未参与判定。",
                             }));
    const auto& beam = j.of(Beam);
    ASSERT_TRUE(beam);
    EXPECT_EQ(beam->components, 2);
    EXPECT_EQ(beam->points, 3);
    EXPECT_EQ(beam->maxOver, 11);
    EXPECT_EQ(beam->maxUnder, -7);
    EXPECT_EQ(beam->rate, "66.7%");
    EXPECT_EQ(beam->notices, (std::vector<std::string>{"梁类第一次抽样构件少于 5 个（1 个）。"}));

    // No classed component of a class: the class is absent.
    p.marks.erase(&p.list.front());
    p.marks.erase(&*std::next(p.list.begin(), 3));
    EXPECT_FALSE(p.judge().of(Slab));
}

// The notice thresholds are strict: 5 components and 6 points are enough.
TEST(AcceptanceJudgement, NoticeThresholds) {
    Project p;
    p.add({"H001", Slab, First, 30, covers(6, 0)});
    p.add({"H002", Slab, First, 30, covers(5, 0)});
    for (const char* code : {"H003", "H004", "H005"}) p.add({code, Slab, First, 30, covers(6, 0)});
    const AcceptanceJudgement j = p.judge();
    EXPECT_EQ(j.of(Slab)->notices,
              (std::vector<std::string>{"板类构件 H002 的测点少于 6 个（5 个）。"}));
}
