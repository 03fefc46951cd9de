#pragma once

#include <QJsonObject>
#include <QString>

#include "model/ComponentList.h"
#include "model/MeasurePoint.h"
#include "model/PointRef.h"

// The pieces of a history record as the sidecar and `corvane-cli history` spell them.
namespace valueRecords {

// {"action", "component", "occurrence"} of `c` as it stands in `list` now (the occurrence
// counts the components of the same code before it, from 1).
QJsonObject forComponent(const ComponentList& list, const Component& c, const char* action);
// The record's "point" (from 1) and, for a grid component, its "list".
void addPoint(QJsonObject& record, const Component& c, PointRef point);
// A point as a value: {"thickness", "diameter", "position"}.
QJsonObject pointValue(const MeasurePoint& p);
QString utf8(std::string_view gbkText);

}  // namespace valueRecords
