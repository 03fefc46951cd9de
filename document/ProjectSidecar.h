#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "model/AcceptanceMark.h"
#include "model/ComponentList.h"

// One component's line of the sidecar: which component (by code and occurrence) and its mark.
struct SidecarEntry {
    std::string code;    // UTF-8
    int occurrence = 1;  // among the project's components of this code, in order, from 1
    AcceptanceMark mark;
    QJsonObject unknown;  // keys of this version we do not know, written back unchanged
};

// Unknown keys of the entries, kept with the component they were read for, so that they
// follow it when other components are deleted.
using SidecarKeptKeys = std::unordered_map<const Component*, QJsonObject>;

struct SidecarDecoding;

// What the project file cannot hold, kept beside it as JSON (`site.pro` → `site.pro.corvane`):
// each classed component's class and sample. Values and pure conversions only; SidecarFile
// reads and writes it. Any thread, one object per thread.
class ProjectSidecar {
public:
    static constexpr std::string_view formatName = "corvane-sidecar";
    // 2 since the history: a program of version 1 leaves such a sidecar alone as newer.
    static constexpr int version = 2;

    std::string projectSha256;  // lower-case hex of the project's bytes saved with it
    std::vector<SidecarEntry> entries;
    // Entries no component of the project took when it was opened: kept, never dropped
    // without a word ("unplaced"); tried again at the next opening.
    std::vector<SidecarEntry> unplaced;
    // False while the classes came from a sidecar written for other bytes of the project and
    // the user has not confirmed them in 验收判定 ("classesConfirmed": false; absent is true).
    bool classesConfirmed = true;
    // The history of the project's changes, oldest first, each entry with its chain hash
    // ("history"); see HistoryChain.
    std::vector<QJsonObject> history;
    // What was there before the values that were changed ("originals"), one object per
    // component; see ValueOrigins.
    QJsonArray originals;
    QJsonObject unknown;  // top-level keys of this version we do not know, written back

    enum class Decoded { Ok, Damaged, Newer };
    static SidecarDecoding decode(std::string_view bytes);

    // The file's bytes: UTF-8 JSON, the known keys first, one entry a line.
    std::string encode() const;

    // The marks of the entries and of the unplaced ones, laid on `components` by code and
    // occurrence. Entries that name no component, one that cannot take part (diameter), or
    // repeat an earlier entry's component are not placed: they are kept in `unplaced`.
    struct Applied {
        AcceptanceMarks marks;
        SidecarKeptKeys kept;
        std::vector<SidecarEntry> unplaced;
    };
    Applied applyTo(const ComponentList& components) const;

    // The sidecar to save with a project whose bytes hash to `projectSha256`: one entry per
    // marked component that can take part, in project order, then `unplaced`; this sidecar's
    // unknown top-level keys stay.
    ProjectSidecar rewritten(const ComponentList& components, const AcceptanceMarks& marks,
                             const SidecarKeptKeys& kept, std::vector<SidecarEntry> unplaced,
                             bool classesConfirmed, std::string projectSha256) const;

    // Something worth writing: an entry, an unplaced one or an unconfirmed state.
    bool holdsAnything() const {
        return !entries.empty() || !unplaced.empty() || !classesConfirmed || !history.empty();
    }

    // SHA-256 of `bytes`, lower-case hex.
    static std::string sha256Hex(std::string_view bytes);
};

// What the bytes of a sidecar turned out to be.
struct SidecarDecoding {
    ProjectSidecar::Decoded state = ProjectSidecar::Decoded::Damaged;
    ProjectSidecar sidecar;  // only when Ok
    std::string problem;     // why it is damaged (UTF-8), for the user
};
