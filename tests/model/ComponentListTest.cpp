#include <gtest/gtest.h>

#include "model/ComponentList.h"
#include "model/Project.h"
#include "support/ModelSamples.h"

using samples::codes;
using samples::component;

namespace {

ComponentList listOf(std::initializer_list<const char*> cs) {
    ComponentList list;
    for (const char* c : cs) list.push_back(component(c));
    return list;
}

}  // namespace

TEST(InsertComponent, GoesToTheEndOfItsTypeGroup) {
    struct Case {
        std::initializer_list<const char*> before;
        const char* added;
        const char* after;
    };
    const Case cases[] = {
        {{}, "W001", "W001"},
        {{"Z001", "W001"}, "H001", "H001,Z001,W001"},
        {{"H001", "W001", "P001"}, "Z001", "H001,Z001,W001,P001"},
        {{"H001", "H002", "Z001"}, "H003", "H001,H002,H003,Z001"},
        {{"H001", "Z001", "P001"}, "W001", "H001,Z001,W001,P001"},
        {{"H001", "Z001", "W001"}, "W002", "H001,Z001,W001,W002"},
        // P is always appended, even behind components of other letters.
        {{"P001", "H001"}, "P002", "P001,H001,P002"},
        {{"H001", "X001"}, "P001", "H001,X001,P001"},
        // Other letters are never put before anything.
        {{"H001", "P001"}, "X001", "H001,P001,X001"},
        // An unknown letter already in the list ends the H, Z and W walks.
        {{"X001"}, "W001", "W001,X001"},
        {{"H001"}, "H001", "H001,H001"},
    };
    for (const auto& c : cases) {
        ComponentList list = listOf(c.before);
        SCOPED_TRACE(codes(list) + " + " + c.added);
        auto it = insertComponent(list, component(c.added));
        EXPECT_EQ(codes(list), c.after);
        EXPECT_EQ(it->code.view(), std::string_view(c.added));
    }
}

TEST(InsertComponent, KeepsAddressesAndUploadOrderWithinEachGroup) {
    ComponentList list;
    Component* first = &*insertComponent(list, component("P001"));
    for (const char* code : {"H001", "W001", "Z001", "H002", "P002", "Z002", "W002"}) {
        insertComponent(list, component(code));
    }
    EXPECT_EQ(codes(list), "H001,H002,Z001,Z002,W001,W002,P001,P002");
    EXPECT_EQ(first, &*std::next(list.begin(), 6));
}

TEST(ComponentPoints, CountsChangeOnlyWithTheirLists) {
    Component c = component("W001");
    EXPECT_TRUE(c.addPoint());
    EXPECT_TRUE(c.addPoint());
    EXPECT_TRUE(c.addPoint(true));
    EXPECT_EQ(c.pointCount, 2);
    EXPECT_EQ(c.pointCountVert, 1);
    EXPECT_EQ(c.points.back(), MeasurePoint{});

    c.points[0].thickness = 31;
    c.points[1].thickness = 32;
    EXPECT_TRUE(c.removePoint(0));
    EXPECT_EQ(c.pointCount, 1);
    EXPECT_EQ(c.points[0].thickness, 32);
    EXPECT_FALSE(c.removePoint(1));
    EXPECT_FALSE(c.removePoint(1, true));
    EXPECT_EQ(c.pointCount, 1);
    EXPECT_EQ(c.pointCountVert, 1);

    c.pointCount = 32767;  // a stored count at the field's limit refuses one more
    EXPECT_FALSE(c.addPoint());
    EXPECT_EQ(c.points.size(), 1u);
}

TEST(Project, ContentAndLifecycle) {
    Project p;
    EXPECT_FALSE(p.isOpen());
    EXPECT_FALSE(p.hasContent());

    p.createEmpty();
    EXPECT_TRUE(p.isOpen());
    EXPECT_FALSE(p.hasContent());  // open but empty: saving it asks for the project name

    p.info()->testUnit.assign("unit");
    EXPECT_FALSE(p.hasContent());
    p.info()->projectName.assign("A");
    EXPECT_TRUE(p.hasContent());

    p.info()->projectName.assign("");
    insertComponent(p.components(), component("H001"));
    EXPECT_TRUE(p.hasContent());

    p.clear();
    EXPECT_FALSE(p.isOpen());
    EXPECT_TRUE(p.components().empty());

    insertComponent(p.components(), component("H001"));
    p.createEmpty();  // a new project starts without the old components
    EXPECT_TRUE(p.components().empty());
    EXPECT_EQ(p.info()->testUnit.view(), "");
}

TEST(DetectionType, LettersAndTexts) {
    EXPECT_EQ(component("H001").type(), DetectionType::Thickness);
    EXPECT_EQ(component("Z001").type(), DetectionType::Diameter);
    EXPECT_EQ(component("W001").type(), DetectionType::Grid);
    EXPECT_EQ(component("P001").type(), DetectionType::Profile);
    EXPECT_EQ(component("h001").type(), DetectionType::Unknown);
    EXPECT_EQ(component("").type(), DetectionType::Unknown);
    EXPECT_EQ(displayText(DetectionType::Thickness), "厚度");
    EXPECT_EQ(displayText(DetectionType::Diameter), "直径");
    EXPECT_EQ(displayText(DetectionType::Grid), "网格");
    EXPECT_EQ(displayText(DetectionType::Profile), "剖面");
    EXPECT_EQ(displayText(DetectionType::Unknown), "");
}
