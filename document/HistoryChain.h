#pragma once

#include <QJsonObject>
#include <functional>
#include <string>
#include <vector>

// The project's history as a hash chain. Each entry's "hash" is the lower-case hex SHA-256 of
// the previous entry's stored hash (64 zeros for the first), a line feed, and the entry
// without "hash" in canonical JSON. A change, removal, reordering or insertion by hand breaks
// the chain at the first entry whose hash no longer matches. Nothing secret goes in: whoever
// recomputes every hash after an edit makes a chain that verifies again.
class HistoryChain {
public:
    using Entries = std::vector<QJsonObject>;

    enum class State { None, Ok, Broken };
    struct Verification {
        State state = State::None;
        int brokenAt = 0;  // Broken: the first entry (from 1) that cannot be verified
        // Entries that do not verify and that no "break" entry covers yet, ascending. A break
        // covers the entries from its "brokenAt" up to itself; the next save writes one for
        // the first of these.
        std::vector<int> unmarked;
    };

    // The hash `entry` (whose own "hash" is ignored) gets after `previousHash`.
    static std::string hashOf(const std::string& previousHash, const QJsonObject& entry);
    // Appends `entry` with its hash.
    static void append(Entries& history, QJsonObject entry);
    // Walks the whole history from its first entry. A "break" entry keeps the chain broken at
    // its "brokenAt"; the walk goes on from the stored hash of each entry, so a change after
    // the break is found again.
    //
    // `visit`, when given, sees every entry once, from the threads that verify (entries apart,
    // several at a time): what a caller needs from each entry costs no second walk over a long
    // history, whose entries are in the cache just then.
    using Visit = std::function<void(std::size_t index, const QJsonObject& entry)>;
    static Verification verify(const Entries& history, const Visit& visit = {});

    // The user's words for the state (修改记录's and corvane-cli history's last line).
    static std::string stateText(const Verification& v, std::size_t count);
    static std::string brokenText(int brokenAt);
};
