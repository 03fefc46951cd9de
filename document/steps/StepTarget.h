#pragma once

#include "document/StepChange.h"
#include "document/ValueOrigins.h"
#include "model/AcceptanceMark.h"
#include "model/ComponentList.h"
#include "model/ProjectInfo.h"

// The part of the open project an undo step may touch, and the one it tells after each change.
// The steps know nothing else of the document that owns them. GUI thread only.
class StepTarget {
public:
    virtual ~StepTarget() = default;

    virtual ComponentList& components() = 0;
    // Null while no project is open.
    virtual ProjectInfo* header() = 0;
    virtual AcceptanceMarks& marks() = 0;
    // False while the classes await the user's confirmation in 验收判定.
    virtual bool& classesConfirmed() = 0;

    // What stood in the changed values before, kept in step by the steps.
    virtual ValueOrigins& origins() = 0;
    // The local time of now and the user, for the history.
    virtual ValueOrigins::Stamp stamp() = 0;

    // Called after every redo and undo; `index` names the component of a Component change.
    virtual void stepChanged(StepChange change, int index) = 0;
};
