#pragma once

#include <QJsonObject>
#include <QUndoCommand>
#include <cstdint>
#include <vector>

#include "document/ValueOrigins.h"

// An undo step that says which values it changes, for the project's history: one record per
// value, in the terms of its redo (an undo reverses them), each made as the change is, so the
// component's code and occurrence and the point's number are those of that moment. The serial
// tells this step from any other, also from one made later at the same address.
class RecordedStep : public QUndoCommand {
public:
    explicit RecordedStep(const QString& text);

    std::uint64_t serial() const { return serial_; }
    const std::vector<QJsonObject>& records() const { return records_; }
    const ValueOrigins::Stamp& lastRedo() const { return lastRedo_; }
    const ValueOrigins::Stamp& lastUndo() const { return lastUndo_; }

protected:
    void redone(std::vector<QJsonObject> records, ValueOrigins::Stamp stamp);
    void undone(ValueOrigins::Stamp stamp) { lastUndo_ = std::move(stamp); }

private:
    std::uint64_t serial_;
    std::vector<QJsonObject> records_;
    ValueOrigins::Stamp lastRedo_, lastUndo_;
};
