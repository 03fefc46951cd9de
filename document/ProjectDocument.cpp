#include "document/ProjectDocument.h"

#include <QFileInfo>
#include <algorithm>
#include <cstdlib>
#include <iterator>

#include "document/LoginName.h"
#include "document/SidecarFile.h"
#include "document/steps/AcceptanceMarksStep.h"
#include "document/steps/ComponentEditStep.h"
#include "document/steps/ComponentListStep.h"
#include "document/steps/ProjectHeaderStep.h"
#include "document/steps/StepTarget.h"
#include "model/FileIo.h"
#include "model/GbkCodec.h"
#include "model/PanelRows.h"
#include "model/ProjectFile.h"

namespace {

std::filesystem::path toPath(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

QString codeOf(const Component& c) {
    return QString::fromStdString(gbk::toUtf8(c.code.view()));
}

QString pointLabel(PointRef point) {
    return (point.vertical ? QStringLiteral("垂直测点 %1") : QStringLiteral("测点 %1"))
        .arg(point.index + 1);
}

// The label the panel gives a field, for the undo step's text. A field the panel does not
// show for this type takes its label from the first type that shows it.
QString fieldLabel(const Component& c, ComponentField field) {
    const auto labelIn = [field](const DetectionTypeTraits& type) -> const char* {
        for (const PanelRow& row : PanelRows::of(type).header) {
            if (row.field == field) return row.label;
        }
        return nullptr;
    };
    const char* label = c.traits() ? labelIn(*c.traits()) : nullptr;
    for (const DetectionTypeTraits& type : detectionTypes()) {
        if (!label) label = labelIn(type);
    }
    return label ? QString::fromUtf8(label) : QStringLiteral("测点数");
}

const MeasurePoint* pointOf(const Component& c, PointRef point) {
    const auto& list = point.vertical ? c.pointsVert : c.points;
    if (point.index < 0 || point.index >= static_cast<int>(list.size())) return nullptr;
    return &list[static_cast<std::size_t>(point.index)];
}

}  // namespace

class ProjectDocument::StepAccess final : public StepTarget {
public:
    explicit StepAccess(ProjectDocument& document) : document_(document) {}

    ComponentList& components() override { return document_.project_.components(); }
    ProjectInfo* header() override { return document_.project_.info(); }
    AcceptanceMarks& marks() override { return document_.marks_; }
    bool& classesConfirmed() override { return document_.classesConfirmed_; }
    ValueOrigins& origins() override { return document_.origins_; }
    ValueOrigins::Stamp stamp() override { return document_.stamp(); }
    void stepChanged(StepChange change, int index) override {
        if (document_.listener_) document_.listener_(change, index);
    }

private:
    ProjectDocument& document_;
};

ProjectDocument::ProjectDocument()
    : user_(loginName()), steps_(std::make_unique<StepAccess>(*this)) {}

ProjectDocument::~ProjectDocument() = default;

QString ProjectDocument::fileName() const {
    return path_.isEmpty() ? QString() : QFileInfo(path_).fileName();
}

void ProjectDocument::clear() {
    // Steps first: they may hold components that are out of the list.
    undoStack_.clear();
    project_.clear();
    path_.clear();
    marks_.clear();
    classesConfirmed_ = true;
    unplaced_.clear();
    sidecar_ = {};
    kept_.clear();
    origins_.clear();
    edits_.clear();
    verification_ = {};
    openedSha_.clear();
    external_.reset();
}

ValueOrigins::Stamp ProjectDocument::stamp() const {
    const QDateTime now = clock_ ? clock_() : QDateTime::currentDateTime();
    const int offset = now.offsetFromUtc() / 60;
    const QString zone = QStringLiteral("%1%2:%3")
                             .arg(offset < 0 ? QLatin1Char('-') : QLatin1Char('+'))
                             .arg(std::abs(offset) / 60, 2, 10, QLatin1Char('0'))
                             .arg(std::abs(offset) % 60, 2, 10, QLatin1Char('0'));
    return {now.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")) + zone, user_};
}

void ProjectDocument::push(QUndoCommand* step) {
    edits_.beforePush(undoStack_);
    undoStack_.push(step);
}

QJsonObject ProjectDocument::uploadSource(const std::filesystem::path& upload,
                                          std::string_view bytes) {
    return {
        {QStringLiteral("file"), QString::fromStdString(FileIo::displayName(upload.filename()))},
        {QStringLiteral("size"), static_cast<qint64>(bytes.size())},
        {QStringLiteral("sha256"), QString::fromStdString(ProjectSidecar::sha256Hex(bytes))}};
}

void ProjectDocument::createEmpty() {
    clear();
    project_.createEmpty();
}

Result<ProjectDocument::Opened> ProjectDocument::open(const QString& path) {
    // The window must not wait on a pipe or device that may never send its bytes.
    if (Status regular = FileIo::checkRegularFile(toPath(path)); !regular) {
        return Error{regular.message()};
    }
    std::string bytes;
    Result<ProjectContents> read = ProjectFile::read(toPath(path), &bytes);
    if (!read.ok()) return Error{read.message()};
    clear();
    ProjectContents& contents = read.value();
    project_.open(std::move(contents.info), std::move(contents.components));
    Opened opened;
    if (!contents.complete()) {
        opened.damage = contents.damage;
        return opened;
    }
    path_ = path;
    openedSha_ = ProjectSidecar::sha256Hex(bytes);
    SidecarFile::Loaded loaded = SidecarFile::load(toPath(path), bytes);
    opened.sidecarNote = loaded.message;
    opened.sidecar = loaded.state;
    if (loaded.state == SidecarFile::State::Loaded) {
        ProjectSidecar::Applied applied = loaded.sidecar.applyTo(project_.components());
        marks_ = std::move(applied.marks);
        kept_ = std::move(applied.kept);
        unplaced_ = std::move(applied.unplaced);
        classesConfirmed_ = loaded.sidecar.classesConfirmed && loaded.matchesProject;
        if (!loaded.matchesProject) external_.emplace(loaded.sidecar.projectSha256, openedSha_);
        sidecar_ = std::move(loaded.sidecar);
        const auto tell = [&opened](const std::string& line) {
            opened.sidecarNote += (opened.sidecarNote.empty() ? "" : "\n") + line;
        };
        if (!unplaced_.empty()) tell(SidecarFile::unplacedNotice(unplaced_.size()));
        // The components (code, occurrence) whose values came from an upload data file, found
        // by the walk that verifies.
        static const QJsonValue add(QStringLiteral("add"));
        static const QString actionKey = QStringLiteral("action");
        static const QString sourceKey = QStringLiteral("source");
        std::vector<char> fromInstrument(sidecar_.history.size());
        verification_ = HistoryChain::verify(
            sidecar_.history, [&fromInstrument](std::size_t i, const QJsonObject& e) {
                fromInstrument[i] = e.value(actionKey) == add && e.contains(sourceKey);
            });
        if (verification_.state == HistoryChain::State::Broken) {
            tell(HistoryChain::brokenText(verification_.brokenAt));
        }
        std::vector<std::pair<QString, int>> instrumentAdds;
        for (std::size_t i = 0; i < fromInstrument.size(); ++i) {
            if (!fromInstrument[i]) continue;
            const QJsonObject& e = sidecar_.history[i];
            instrumentAdds.emplace_back(e.value(QStringLiteral("component")).toString(),
                                        e.value(QStringLiteral("occurrence")).toInt());
        }
        origins_.decode(sidecar_.originals, project_.components(), instrumentAdds);
    }
    return opened;
}

Result<ProjectDocument::Saved> ProjectDocument::save(const QString& path) {
    if (!project_.isOpen()) return Error{"没有打开的工程。"};
    const std::string bytes = ProjectFile::encode(*project_.info(), project_.components());
    const std::filesystem::path target = toPath(path);
    const std::string sha = ProjectSidecar::sha256Hex(bytes);
    ProjectSidecar next =
        sidecar_.rewritten(project_.components(), marks_, kept_, unplaced_, classesConfirmed_, sha);
    EditHistory::Pending edits = edits_.forSave(
        sidecar_.history, undoStack_,
        {stamp(), openedSha_, external_, sha,
         verification_.unmarked.empty() ? std::nullopt
                                        : std::optional(verification_.unmarked.front())});
    next.history = edits.history;
    next.originals = origins_.encode(project_.components());
    // Saved as another file than its own: the sidecar found there is another project's.
    const bool replacing =
        path_.isEmpty() || FileIo::realTarget(target) != FileIo::realTarget(toPath(path_));
    SidecarFile::Save sidecarSave = SidecarFile::Save::prepare(target, next, replacing);
    if (const Status written = FileIo::writeAtomically(target, bytes); !written.ok()) {
        sidecarSave.abandon();
        return Error{written.message()};
    }
    path_ = path;
    if (interruption_ && interruption_()) return Saved{};
    Saved saved;
    Result<SidecarFile::Stored> stored = sidecarSave.commit();
    if (!stored.ok()) {
        saved.sidecarFailure = stored.message();
        return saved;
    }
    saved.sidecarNote = stored->message;
    // A sidecar left alone (a newer one) took nothing of this save: nothing is recorded.
    if (!sidecarSave.wrote()) return saved;
    sidecar_ = std::move(next);
    edits_.saved(std::move(edits));
    external_.reset();
    openedSha_ = sha;
    // What was appended verifies, and a break now covers what did not.
    verification_.unmarked.clear();
    if (verification_.state == HistoryChain::State::None) {
        verification_.state = HistoryChain::State::Ok;
    }
    return saved;
}

// ---- changes, each an undo step ------------------------------------------------------------

bool ProjectDocument::setHeader(const ProjectInfo& info) {
    const ProjectInfo* before = project_.info();
    if (!before || *before == info) return false;
    push(new ProjectHeaderStep(*steps_, *before, info));
    return true;
}

bool ProjectDocument::setAcceptanceMarks(const AcceptanceMarks& marks) {
    if (!project_.isOpen() || (marks == marks_ && classesConfirmed_)) return false;
    push(new AcceptanceMarksStep(*steps_, marks_, marks, classesConfirmed_));
    return true;
}

int ProjectDocument::addComponents(ComponentList upload, const std::vector<bool>& ticked,
                                   QJsonObject source) {
    if (!project_.isOpen()) return 0;
    ComponentList added;
    std::size_t i = 0;
    for (auto it = upload.begin(); it != upload.end(); ++i) {
        const auto next = std::next(it);
        if (i < ticked.size() && ticked[i]) added.splice(added.end(), upload, it);
        it = next;
    }
    const int count = static_cast<int>(added.size());
    if (count == 0) return 0;
    push(ComponentListStep::adding(*steps_, std::move(added), std::move(source),
                                   QStringLiteral("增加 %1 个构件").arg(count)));
    return count;
}

int ProjectDocument::deleteComponents(const std::vector<bool>& ticked) {
    std::vector<int> indices;
    const int size = static_cast<int>(project_.components().size());
    for (int i = 0; i < size && i < static_cast<int>(ticked.size()); ++i) {
        if (ticked[static_cast<std::size_t>(i)]) indices.push_back(i);
    }
    const int count = static_cast<int>(indices.size());
    if (count == 0) return 0;
    push(ComponentListStep::deleting(*steps_, std::move(indices),
                                     QStringLiteral("删除 %1 个构件").arg(count)));
    return count;
}

const Component* ProjectDocument::component(int index) const {
    const auto& list = project_.components();
    if (index < 0 || index >= static_cast<int>(list.size())) return nullptr;
    return &*std::next(list.begin(), index);
}

bool ProjectDocument::setName(int index, std::string_view name) {
    const Component* c = component(index);
    if (!c) return false;
    FixedText<50> after;
    after.assign(name);
    if (after == c->name) return false;
    push(new ComponentEditStep(*steps_, index, ComponentEditStep::NameChange{c->name, after},
                               QStringLiteral("修改 %1 名称").arg(codeOf(*c))));
    return true;
}

bool ProjectDocument::setField(int index, ComponentField field, std::int16_t value) {
    const Component* c = component(index);
    if (!c || fieldOf(*c, field) == value) return false;
    push(new ComponentEditStep(
        *steps_, index, ComponentEditStep::FieldChange{field, fieldOf(*c, field), value},
        QStringLiteral("修改 %1 %2").arg(codeOf(*c), fieldLabel(*c, field))));
    return true;
}

bool ProjectDocument::setPoint(int index, PointRef point, const MeasurePoint& value) {
    const Component* c = component(index);
    const MeasurePoint* before = c ? pointOf(*c, point) : nullptr;
    if (!before || *before == value) return false;
    push(new ComponentEditStep(*steps_, index,
                               ComponentEditStep::PointChange{point, *before, value},
                               QStringLiteral("修改 %1 %2").arg(codeOf(*c), pointLabel(point))));
    return true;
}

bool ProjectDocument::addPoint(int index, bool vertical) {
    const Component* c = component(index);
    if (!c || (vertical ? c->pointCountVert : c->pointCount) == INT16_MAX) return false;
    const PointRef added{vertical, static_cast<int>((vertical ? c->pointsVert : c->points).size())};
    push(new ComponentEditStep(*steps_, index, ComponentEditStep::PointAdded{vertical},
                               QStringLiteral("增加 %1 %2").arg(codeOf(*c), pointLabel(added))));
    return true;
}

bool ProjectDocument::removePoint(int index, PointRef point) {
    const Component* c = component(index);
    const MeasurePoint* removed = c ? pointOf(*c, point) : nullptr;
    if (!removed) return false;
    push(new ComponentEditStep(*steps_, index, ComponentEditStep::PointRemoved{point, *removed},
                               QStringLiteral("删除 %1 %2").arg(codeOf(*c), pointLabel(point))));
    return true;
}
