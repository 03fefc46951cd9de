#pragma once

#include <QString>
#include <QUndoStack>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "document/ComponentEditor.h"
#include "document/EditHistory.h"
#include "document/HistoryChain.h"
#include "document/ProjectSidecar.h"
#include "document/SidecarFile.h"
#include "document/StepChange.h"
#include "document/ValueOrigins.h"
#include "model/AcceptanceMark.h"
#include "model/Project.h"
#include "model/Result.h"

// The open project without any window: its header and components, the file it came from, the
// acceptance marks kept beside it, and every change to them as a step on its undo stack. Both
// the program (through its session, which talks to the user) and the command-line tool edit
// a project through it. It never asks anything: outcomes and messages are values. GUI thread
// only (the undo stack is a QObject).
class ProjectDocument final : public ComponentEditor {
public:
    // Told after every redo and undo of a step; `index` names the component of a Component
    // change.
    using Listener = std::function<void(StepChange change, int index)>;

    ProjectDocument();
    ~ProjectDocument() override;
    ProjectDocument(const ProjectDocument&) = delete;
    ProjectDocument& operator=(const ProjectDocument&) = delete;
    void setListener(Listener listener) { listener_ = std::move(listener); }
    // Tests: asked once the project file is written, before its sidecar is renamed into place;
    // true stops the save there, as a power cut would.
    void setSaveInterruption(std::function<bool()> stop) { interruption_ = std::move(stop); }
    // Tests: the clock the history's times come from (local time with its offset).
    void setClock(std::function<QDateTime()> clock) { clock_ = std::move(clock); }

    Project& project() { return project_; }
    const Project& project() const { return project_; }
    // The file the project was opened from or last saved to; empty without one.
    const QString& path() const { return path_; }
    QString fileName() const;
    QUndoStack& undoStack() { return undoStack_; }
    // The class and sample of each classed component.
    const AcceptanceMarks& acceptanceMarks() const { return marks_; }
    // False while the classes came with a project changed elsewhere (its sidecar was written
    // for other bytes) and the user has not confirmed them by OK in 验收判定.
    bool classesConfirmed() const { return classesConfirmed_; }

    // The history as read from the sidecar and appended by the saves, oldest first, and the
    // state of its chain (verified when read, kept by the saves).
    const HistoryChain::Entries& history() const { return sidecar_.history; }
    const HistoryChain::Verification& historyState() const { return verification_; }
    // What stood in each changed value before (the marks of the panel read it).
    const ValueOrigins& origins() const { return origins_; }
    // An upload data file as the `add` entries name it: {"file", "size", "sha256"} of the
    // bytes it was read from.
    static QJsonObject uploadSource(const std::filesystem::path& upload, std::string_view bytes);

    // No project, no path, no marks, no steps.
    void clear();
    // An empty project without a path.
    void createEmpty();

    struct Opened {
        std::string damage;       // why part of the file could not be read; the path is then
                                  // not taken, so a save cannot replace the damaged original
        std::string sidecarNote;  // what the user should know about the sidecar, or empty
        SidecarFile::State sidecar = SidecarFile::State::Missing;
    };
    // Opens the project at `path` with its sidecar; only a regular file is read. An error
    // (nothing of the file could be read) leaves the document as it was.
    Result<Opened> open(const QString& path);

    struct Saved {
        std::string sidecarFailure;  // the project was written but its sidecar was not
        std::string sidecarNote;     // told beside a success (a newer sidecar left alone…)
    };
    // Writes the project to `path` with the careful save, then its sidecar; the path is taken
    // once the project is written. An error: the project was not written.
    Result<Saved> save(const QString& path);

    // Each change below is one undo step, pushed only when it changes something; false (or 0)
    // when it would not.
    bool setHeader(const ProjectInfo& info);
    // Unconfirmed classes are confirmed by it even when `marks` are the ones they are.
    bool setAcceptanceMarks(const AcceptanceMarks& marks);
    // The components of `upload` whose element of `ticked` is true; the number added.
    // `source` (uploadSource) is recorded with each, its values being the instrument's.
    int addComponents(ComponentList upload, const std::vector<bool>& ticked,
                      QJsonObject source = {});
    int deleteComponents(const std::vector<bool>& ticked);

    // ComponentEditor
    const Component* component(int index) const override;
    bool setName(int index, std::string_view name) override;
    bool setField(int index, ComponentField field, std::int16_t value) override;
    bool setPoint(int index, PointRef point, const MeasurePoint& value) override;
    bool addPoint(int index, bool vertical) override;
    bool removePoint(int index, PointRef point) override;
    const ValueOrigins* valueOrigins() const override { return &origins_; }

private:
    // What the steps may touch; they live in steps/ and are the document's alone.
    class StepAccess;

    void push(QUndoCommand* step);
    ValueOrigins::Stamp stamp() const;

    Listener listener_;
    std::function<bool()> interruption_;
    Project project_;
    QString path_;
    AcceptanceMarks marks_;
    bool classesConfirmed_ = true;
    std::vector<SidecarEntry> unplaced_;  // sidecar entries no component took, kept
    ProjectSidecar sidecar_;  // as last read or written: its unknown keys are written back
    SidecarKeptKeys kept_;
    ValueOrigins origins_;
    EditHistory edits_;
    HistoryChain::Verification verification_;
    std::string openedSha_;  // the project's bytes as opened; empty for a new one
    // The sidecar's hash and the file's, while the project opened was changed elsewhere.
    std::optional<std::pair<std::string, std::string>> external_;
    std::function<QDateTime()> clock_;
    QString user_;
    std::unique_ptr<StepAccess> steps_;  // declared before the stack, whose steps refer to it
    QUndoStack undoStack_;
};
