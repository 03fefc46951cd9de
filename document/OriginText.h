#pragma once

#include <QString>

#include "document/ValueOrigins.h"

// The words the panel shows over an edited value (its tooltip), from the value's record alone:
// what stood there first and who changed it last, when. Pure.
class OriginText {
public:
    // "仪器值 23 mm；2026-12-07 10:41 由 zhang 修改为 25 mm" for a component whose values came
    // from the instrument, "原值 23 mm；…" where the original is only what the file held when
    // the history began. A text is quoted, a number given in mm.
    static QString ofValue(const ValueOrigins::Value& value, bool fromInstrument);
    // A point added by hand: "手工增加的测点（2026-12-07 10:41，zhang）"; else its edited values,
    // one a line, each after its words ("厚度：…") when the point shows several values.
    static QString ofPoint(const ValueOrigins::Point& point, bool fromInstrument, bool named);
};
