#include "document/EditHistory.h"

#include <algorithm>

#include "document/steps/RecordedStep.h"

namespace {

const RecordedStep* stepAt(const QUndoStack& stack, int position) {
    return dynamic_cast<const RecordedStep*>(stack.command(position));
}

QJsonObject stamped(QJsonObject entry, const ValueOrigins::Stamp& stamp) {
    entry.insert(QStringLiteral("time"), stamp.time);
    entry.insert(QStringLiteral("user"), stamp.user);
    return entry;
}

QJsonObject marker(const char* action, const ValueOrigins::Stamp& stamp) {
    return stamped({{QStringLiteral("action"), QString::fromUtf8(action)}}, stamp);
}

}  // namespace

void EditHistory::beforePush(const QUndoStack& stack) {
    const int end = std::min(stack.count(), static_cast<int>(recorded_.size()));
    for (int p = stack.index(); p < end; ++p) {
        const RecordedStep* step = stepAt(stack, p);
        auto& r = recorded_[static_cast<std::size_t>(p)];
        if (step && step->serial() == r.serial) r.lastUndo = step->lastUndo();
    }
}

EditHistory::Pending EditHistory::forSave(const HistoryChain::Entries& history,
                                          const QUndoStack& stack, const Save& save) const {
    Pending out{history, {}};
    auto& entries = out.history;
    if (save.brokenAt) {
        QJsonObject b = marker("break", save.now);
        b.insert(QStringLiteral("brokenAt"), *save.brokenAt);
        HistoryChain::append(entries, b);
    }
    if (history.empty()) {
        QJsonObject b = marker("baseline", save.now);
        b.insert(QStringLiteral("projectSha256"), QString::fromStdString(save.baselineSha));
        HistoryChain::append(entries, b);
    }
    if (save.external) {
        QJsonObject e = marker("external", save.now);
        e.insert(QStringLiteral("previousSha256"), QString::fromStdString(save.external->first));
        e.insert(QStringLiteral("projectSha256"), QString::fromStdString(save.external->second));
        HistoryChain::append(entries, e);
    }

    const int index = stack.index();
    const int kept = std::min(index, static_cast<int>(recorded_.size()));
    int common = 0;
    while (common < kept) {
        const RecordedStep* step = stepAt(stack, common);
        if (!step || step->serial() != recorded_[static_cast<std::size_t>(common)].serial) break;
        ++common;
    }
    // R's steps from `common` on are no longer done: undone, newest first.
    for (std::size_t p = recorded_.size(); p-- > static_cast<std::size_t>(common);) {
        const Recorded& r = recorded_[p];
        const RecordedStep* live =
            static_cast<int>(p) < stack.count() ? stepAt(stack, static_cast<int>(p)) : nullptr;
        const ValueOrigins::Stamp& when =
            live && live->serial() == r.serial ? live->lastUndo() : r.lastUndo;
        for (std::size_t j = r.records.size(); j-- > 0;) {
            QJsonObject u = r.records[j];
            u.insert(QStringLiteral("action"), QStringLiteral("undo"));
            u.insert(QStringLiteral("undoes"), r.entries[j]);
            u.remove(QStringLiteral("source"));
            if (u.contains(QStringLiteral("old"))) {
                const QJsonValue old = u.value(QStringLiteral("old"));
                u.insert(QStringLiteral("old"), u.value(QStringLiteral("new")));
                u.insert(QStringLiteral("new"), old);
            }
            HistoryChain::append(entries, stamped(u, when));
        }
    }
    out.recorded.assign(recorded_.begin(), recorded_.begin() + common);
    for (int p = common; p < index; ++p) {
        const RecordedStep* step = stepAt(stack, p);
        Recorded r;
        if (step) {
            r.serial = step->serial();
            r.records = step->records();
            for (const QJsonObject& record : r.records) {
                HistoryChain::append(entries, stamped(record, step->lastRedo()));
                r.entries.push_back(static_cast<int>(entries.size()));
            }
        }
        out.recorded.push_back(std::move(r));
    }
    QJsonObject s = marker("save", save.now);
    s.insert(QStringLiteral("projectSha256"), QString::fromStdString(save.projectSha));
    HistoryChain::append(entries, s);
    return out;
}

void EditHistory::saved(Pending pending) {
    recorded_ = std::move(pending.recorded);
}
