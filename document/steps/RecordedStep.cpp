#include "document/steps/RecordedStep.h"

namespace {

std::uint64_t nextSerial = 0;  // GUI thread only, as the steps are

}  // namespace

RecordedStep::RecordedStep(const QString& text) : QUndoCommand(text), serial_(++nextSerial) {}

void RecordedStep::redone(std::vector<QJsonObject> records, ValueOrigins::Stamp stamp) {
    records_ = std::move(records);
    lastRedo_ = std::move(stamp);
}
