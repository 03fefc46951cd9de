#include <gtest/gtest.h>

#include "cli/AcceptanceJson.h"

// Key order, the `first` block only with a second sample, an absent class, escaping.
TEST(AcceptanceJson, ShapeOfTheJudgeObject) {
    AcceptanceJudgement j;
    AcceptanceClassResult& slab = j.classes[1].emplace();
    slab.cls = AcceptanceClass::Slab;
    slab.components = 2;
    slab.points = 7;
    slab.unmeasured = 1;
    slab.passing = 6;
    slab.rate = "85.7%";
    slab.maxOver = 9;
    slab.maxUnder = -3;
    slab.verdict = AcceptanceVerdict::Recheck;
    slab.notices = {"a\"b", "c"};
    slab.hasSecondSample = true;
    slab.first = {1, 4, 3, "75%"};
    AcceptanceRow row;
    row.code = "H\\01";
    row.occurrence = 2;
    row.mark = {AcceptanceClass::Slab, AcceptanceSample::Second};
    row.points = 3;
    row.unmeasured = 1;
    row.passing = 3;
    row.maxOver = 4;
    row.maxUnder = -2;
    j.rows = {row, row};

    EXPECT_EQ(acceptanceJson(j),
              R"({"classes":{"slab":{"components":2,"points":7,"unmeasured":1,"passing":6,)"
              R"("rate":"85.7%","maxOver":9,"maxUnder":-3,"beyond":0,"verdict":"复检",)"
              R"("notices":["a\"b","c"],"first":{"components":1,"points":4,"passing":3,)"
              R"("rate":"75%"}}},"components":[)"
              "\n"
              R"({"code":"H\\01","occurrence":2,"class":"slab","sample":2,"points":3,)"
              R"("unmeasured":1,"passing":3,"maxOver":4,"maxUnder":-2},)"
              "\n"
              R"({"code":"H\\01","occurrence":2,"class":"slab","sample":2,"points":3,)"
              R"("unmeasured":1,"passing":3,"maxOver":4,"maxUnder":-2}]})"
              "\n");

    slab.hasSecondSample = false;
    j.rows.clear();
    EXPECT_EQ(acceptanceJson(j).find("first"), std::string::npos);
    EXPECT_EQ(acceptanceJson(AcceptanceJudgement{}), "{\"classes\":{},\"components\":[]}\n");
}

// Scripts read numbers: a side of design without a judged point stays 0, as it always was.
TEST(AcceptanceJson, ASideOfDesignWithoutAJudgedPointIsZero) {
    AcceptanceJudgement j;
    j.classes[0].emplace().maxUnder = -4;
    j.rows.emplace_back().maxOver = 3;
    const std::string json = acceptanceJson(j);
    EXPECT_NE(json.find(R"("maxOver":0,"maxUnder":-4,)"), std::string::npos) << json;
    EXPECT_NE(json.find(R"("maxOver":3,"maxUnder":0})"), std::string::npos) << json;
}
