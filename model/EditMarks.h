#pragma once

#include <cstddef>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "model/ComponentFields.h"

// Which values of a project's components were changed by hand, by each component's place in
// the project's list: what a record table marks with "*" when the user asks for it, and a
// workbook with a note on the value. The caller works it out from the project's history; the
// tables know nothing of the history. A note (UTF-8) says what stood there first and who
// changed it, when; it may be empty.
struct EditMarks {
    struct Point {
        bool thickness = false, diameter = false, position = false;
        std::string thicknessNote = {}, diameterNote = {}, positionNote = {};
    };
    struct Component {
        bool name = false;
        std::set<ComponentField> fields;
        std::vector<Point> points, pointsVert;  // shorter than the list: the rest unedited
        std::string nameNote;
        std::map<ComponentField, std::string> fieldNotes;
    };
    std::vector<Component> components;  // shorter than the list: the rest unedited

    // The component's marks; null when none of its values is edited.
    const Component* of(std::size_t index) const {
        return index < components.size() ? &components[index] : nullptr;
    }
    static const Point* pointOf(const Component& c, bool vertical, std::size_t index) {
        const auto& list = vertical ? c.pointsVert : c.points;
        return index < list.size() ? &list[index] : nullptr;
    }
};

// What follows a marked value, and the note under a table that marks them (UTF-8).
inline constexpr std::string_view editMark = "*";
inline constexpr std::string_view editMarkFootnote = "* 为修改后的数值";
