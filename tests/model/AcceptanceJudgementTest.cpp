#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model/AcceptanceJudgement.h"
#include "support/ModelSamples.h"

namespace {

using enum AcceptanceClass;
using enum AcceptanceSample;

struct Project {
    ComponentList list;
    AcceptanceMarks marks;

    // Covers of the horizontal list against `design`, of the vertical one against `designVert`.
    void add(const char* code, AcceptanceClass cls, AcceptanceSample sample, int design,
             const std::vector<int>& covers, int designVert = 0, std::vector<int> vert = {}) {
        Component c = samples::component(code);
        c.designCover = static_cast<std::int16_t>(design);
        c.designCoverVert = static_cast<std::int16_t>(designVert);
        for (bool v : {false, true}) {
            for (int t : v ? vert : covers) {
                c.addPoint(v);
                (v ? c.pointsVert : c.points).back().thickness = static_cast<std::int16_t>(t);
            }
        }
        list.push_back(std::move(c));
        marks[&list.back()] = {cls, sample};
    }
};

// `n` covers of 30, the first `failing` of them 22 (beam: −8, outside but not beyond).
std::vector<int> covers(int n, int failing) {
    std::vector<int> v(static_cast<std::size_t>(n), 30);
    std::fill_n(v.begin(), failing, 22);
    return v;
}

}  // namespace

// Every bound of the table, inclusive, and every 1.5 × bound, exclusive. The deviation is the
// largest over design or under it, of the component and its class alike; on design, both.
TEST(AcceptanceJudgement, DeviationsOnEachBound) {
    const struct {
        AcceptanceClass cls;
        int deviation, passing, beyond;
    } cases[] = {
        {Beam, -7, 1, 0}, {Beam, -8, 0, 0},  {Beam, 10, 1, 0},  {Beam, 11, 0, 0}, {Beam, 15, 0, 0},
        {Beam, 16, 0, 1}, {Beam, -10, 0, 0}, {Beam, -11, 0, 1}, {Slab, -5, 1, 0}, {Slab, -6, 0, 0},
        {Slab, 8, 1, 0},  {Slab, 9, 0, 0},   {Slab, 12, 0, 0},  {Slab, 13, 0, 1}, {Slab, -7, 0, 0},
        {Slab, -8, 0, 1}, {Beam, -40, 0, 1},  // a negative cover is judged like any other
        {Slab, 0, 1, 0},  {Slab, 1, 1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(static_cast<int>(c.cls)) + " d=" + std::to_string(c.deviation));
        Project p;
        p.add("H001", c.cls, First, 30, {30 + c.deviation});
        const AcceptanceJudgement j = judgeAcceptance(p.list, p.marks);
        ASSERT_EQ(j.rows.size(), 1u);
        const AcceptanceRow& r = j.rows[0];
        EXPECT_EQ(std::vector({r.points, r.passing, r.beyond}),
                  std::vector({1, c.passing, c.beyond}));
        const std::optional<int> over =
            c.deviation >= 0 ? std::optional(c.deviation) : std::nullopt;
        const std::optional<int> under =
            c.deviation <= 0 ? std::optional(c.deviation) : std::nullopt;
        EXPECT_EQ(std::pair(r.maxOver, r.maxUnder), std::pair(over, under));
        EXPECT_EQ(std::pair(j.of(c.cls)->maxOver, j.of(c.cls)->maxUnder), std::pair(over, under));
    }
}

// Each path of the verdict, in its order, with the reason the user reads and both rates.
TEST(AcceptanceJudgement, VerdictPathsAndReasons) {
    const struct {
        std::vector<std::pair<AcceptanceSample, std::vector<int>>> components;
        AcceptanceVerdict verdict;
        std::string reason, rate, firstRate;
    } cases[] = {
        {{{First, covers(10, 1)}},
         AcceptanceVerdict::Pass,
         "合格 9 点 / 共 10 点，不低于 90%：合格",
         "90%",
         "90%"},
        {{{First, covers(5, 1)}, {First, covers(5, 1)}},
         AcceptanceVerdict::Recheck,
         "合格 8 点 / 共 10 点，低于 90%、不低于 80%：可再抽取 2 个构件作第二次抽样",
         "80%",
         "80%"},
        {{{First, covers(9, 2)}},
         AcceptanceVerdict::Fail,
         "合格 7 点 / 共 9 点，低于 80%：不合格",
         "77.8%",
         "77.8%"},
        {{{First, covers(10, 2)}, {Second, covers(10, 0)}},
         AcceptanceVerdict::Pass,
         "第一次抽样合格 8 点 / 共 10 点，低于 90%、不低于 80%；两次抽样合计合格 18 点 / 共 20 "
         "点，不低于 90%：合格",
         "90%",
         "80%"},
        {{{First, covers(10, 2)}, {Second, covers(10, 1)}},
         AcceptanceVerdict::Fail,
         "第一次抽样合格 8 点 / 共 10 点，低于 90%、不低于 80%；两次抽样合计合格 17 点 / 共 20 "
         "点，低于 90%：不合格",
         "85%",
         "80%"},
        {{{First, covers(10, 0)}, {Second, covers(10, 10)}},
         AcceptanceVerdict::Pass,
         "第一次抽样合格 10 点 / 共 10 点，不低于 90%：合格",
         "50%",
         "100%"},
        {{{First, covers(10, 0)}, {Second, {30, 46}}},
         AcceptanceVerdict::Fail,
         "有 1 点超出允许偏差的 1.5 倍：不合格",
         "91.7%",
         "100%"},
        {{{First, {0, 0}}, {Second, {30}}},
         AcceptanceVerdict::Undecidable,
         "第一次抽样 1 个构件中没有可判定的测点：无法判定",
         "100%",
         ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason);
        Project p;
        for (const auto& [sample, covers] : c.components) p.add("H001", Beam, sample, 30, covers);
        const AcceptanceJudgement j = judgeAcceptance(p.list, p.marks);
        ASSERT_TRUE(j.of(Beam));
        EXPECT_EQ(j.of(Beam)->verdict, c.verdict);
        EXPECT_EQ(j.of(Beam)->reason, c.reason);
        EXPECT_EQ(j.of(Beam)->rate, c.rate);
        EXPECT_EQ(j.of(Beam)->first.rate, c.firstRate);
    }
}

// What is left out of the judgement, each class apart, the rows and the notices in order.
TEST(AcceptanceJudgement, CountsRowsAndNotices) {
    Project p;
    p.add("H001", Slab, First, 30, {30, 0, 38, 22});     // one unmeasured; −8 is beyond (slab)
    p.add("Z001", Beam, First, 30, {99});                // diameter: never judged
    p.add("W001", Beam, First, 20, {27, 13}, 40, {51});  // each list against its own design
    p.add("H001", Slab, Second, 0, {30, 31});            // no design: unmeasured, a notice
    p.add("P001", Beam, Second, 25, {});
    p.add("H002", Slab, First, 30, covers(6, 0));      // 6 points: no notice
    p.list.push_back(samples::withPoints("H009", 3));  // not classed

    const AcceptanceJudgement j = judgeAcceptance(p.list, p.marks);
    std::string rows;  // code#occurrence points unmeasured passing beyond maxOver maxUnder
    for (const AcceptanceRow& r : j.rows) {
        rows += r.code + "#" + std::to_string(r.occurrence);
        for (int v : {r.points, r.unmeasured, r.passing, r.beyond}) rows += " " + std::to_string(v);
        for (const std::optional<int>& v : {r.maxOver, r.maxUnder}) {
            rows += " " + (v ? std::to_string(*v) : "none");
        }
        rows += ";";
    }
    EXPECT_EQ(rows,
              "H001#1 3 1 2 1 8 -8;W001#1 3 0 2 0 11 -7;H001#2 0 2 0 0 none none;"
              "P001#1 0 0 0 0 none none;H002#1 6 0 6 0 0 0;");

    const AcceptanceClassResult& slab = *j.of(Slab);
    EXPECT_EQ(std::vector({slab.components, slab.unmeasured, slab.first.components}),
              std::vector({3, 3, 2}));
    EXPECT_EQ(slab.notices, (std::vector<std::string>{
                                "板类第一次抽样构件少于 5 个（2 个）。",
                                "板类构件 H001 的测点少于 6 个（3 个）。",
                                "板类构件 H001 的测点少于 6 个（0 个）。",
                                "构件 H001 未填写保护层厚度设计值，未参与判定。",
                            }));
    const AcceptanceClassResult& beam = *j.of(Beam);
    EXPECT_EQ(std::vector({beam.components, beam.points, *beam.maxOver, *beam.maxUnder}),
              std::vector({2, 3, 11, -7}));
    EXPECT_EQ(beam.notices, (std::vector<std::string>{"梁类第一次抽样构件少于 5 个（1 个）。"}));

    // Five components in the first sample are enough; a class without components is absent.
    for (const char* code : {"W002", "P002", "P003", "P004"}) p.add(code, Beam, First, 30, {30});
    for (auto& c : p.list) {
        if (c.code.front() == 'H') p.marks.erase(&c);
    }
    const AcceptanceJudgement k = judgeAcceptance(p.list, p.marks);
    EXPECT_TRUE(k.of(Beam)->notices.empty());
    EXPECT_FALSE(k.of(Slab));
}
