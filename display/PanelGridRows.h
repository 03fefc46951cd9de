#pragma once

#include <QString>
#include <cstdint>
#include <vector>

#include "model/ComponentFields.h"
#include "model/MeasurePoint.h"
#include "model/PointRef.h"

struct Component;

// The property grid of a component's panel, row by row, from the panel rows of its type: what
// the panel fills its grid with and what a picture of the panel draws, so both show the same.
struct PanelGridRow {
    enum class Kind {
        Section,  // a caption: the component's code, or a results section
        Name,     // the component's name, a text
        Field,    // a design value or tolerance, a number
        Point,    // a point: a number (thickness), or its values drawn by a CRectItem
    };

    Kind kind = Kind::Section;
    QString label = {};       // the section's title or the item's name
    QString text = {};        // the name's text
    std::int32_t number = 0;  // a field's value, a number point's thickness
    ComponentField field = ComponentField::DesignDiameter;
    PointRef point = {};     // a point, or which list a results section holds
    bool results = false;    // a results section
    bool pointItem = false;  // the point has a second value: shown by a CRectItem
    MeasurePoint values{};

    // The sections, then each one's items; the results sections also when they are empty.
    static std::vector<PanelGridRow> of(const Component& component);
};

// Every number of the panel is a length.
inline const QString panelNumberFormat = QStringLiteral("%d mm");
