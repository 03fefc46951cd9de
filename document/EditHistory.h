#pragma once

#include <QJsonObject>
#include <QUndoStack>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "document/HistoryChain.h"
#include "document/ValueOrigins.h"

// Turns the undo stack into history entries at each save. It keeps R: the records of the
// steps at stack positions 0…S−1 at the last save that wrote the sidecar. At a save with
// stack index I, C is the first position below min(I, S) whose step is not R's; R's steps
// from C on were undone (recorded as `undo` entries, newest first, each naming the entry it
// reverses), then the steps C…I−1 are recorded, oldest first. So a change made and undone
// between two saves leaves nothing, nor does a recorded step undone and redone.
class EditHistory {
public:
    struct Save {
        ValueOrigins::Stamp now;
        std::string baselineSha;  // the project's bytes as opened ("" for a new project)
        std::optional<std::pair<std::string, std::string>> external;  // sidecar's, file's
        std::string projectSha;                                       // the bytes this save writes
        std::optional<int> brokenAt;  // the first entry found broken that no `break` covers
    };
    struct Pending;

    void clear() { recorded_.clear(); }
    // Before a push deletes the steps from the stack's index on: R keeps their last undo.
    void beforePush(const QUndoStack& stack);
    // `history` with this save's entries appended, and R as it is once the save is written.
    Pending forSave(const HistoryChain::Entries& history, const QUndoStack& stack,
                    const Save& save) const;
    void saved(Pending pending);

private:
    struct Recorded {
        std::uint64_t serial = 0;
        std::vector<QJsonObject> records;
        std::vector<int> entries;  // the entry number of each record
        ValueOrigins::Stamp lastUndo;
    };
    std::vector<Recorded> recorded_;

public:
    struct Pending {
        HistoryChain::Entries history;
        std::vector<Recorded> recorded;
    };
};
