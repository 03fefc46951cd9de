#include "app/ProjectSession.h"

#include <QFileInfo>
#include <algorithm>
#include <cstdint>
#include <iterator>

#include "app/ComponentEditCommand.h"
#include "app/ComponentListCommand.h"
#include "app/ProjectHeaderCommand.h"
#include "app/SessionUi.h"
#include "dialogs/GbkQt.h"
#include "display/PanelRows.h"
#include "model/ProjectFile.h"
#include "model/UploadFile.h"

namespace {

const QString caption = QStringLiteral("提示信息");

std::filesystem::path toPath(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

}  // namespace

ProjectSession::ProjectSession(Prompter& prompter, SessionUi& ui) : prompter_(prompter), ui_(ui) {}

Prompter::FileDialog ProjectSession::projectSaveDialog() {
    return {QStringLiteral("project1"), QStringLiteral("pro"),
            QStringLiteral("钢筋位置工程文件(*.pro)|*.pro|"), true, true};
}

Prompter::FileDialog ProjectSession::projectOpenDialog() {
    return {QStringLiteral("project"), QStringLiteral("pro"),
            QStringLiteral("钢筋位置工程文件(*.pro)|*.pro|"), true, true};
}

Prompter::FileDialog ProjectSession::uploadOpenDialog() {
    // The platform dialog does not insist on an existing file; the reader reports one.
    return {QStringLiteral("data"), QStringLiteral("vexo"),
            QStringLiteral("钢筋位置上传数据文件(*.vexo)|*.vexo|"), true, false};
}

void ProjectSession::clearProject() {
    project_.clear();
    undoStack_.clear();
}

void ProjectSession::info(const QString& text) {
    prompter_.message(caption, text, Prompter::Icon::Information);
}

void ProjectSession::error(const QString& text) {
    prompter_.message(caption, text, Prompter::Icon::Error);
}

void ProjectSession::setPath(const QString& path) {
    projectPath_ = path;
}

QString ProjectSession::projectFileName() const {
    return projectPath_.isEmpty() ? QString() : QFileInfo(projectPath_).fileName();
}

bool ProjectSession::writeProjectFile(const QString& path) {
    const Status s = ProjectFile::save(toPath(path), *project_.info(), project_.components());
    if (!s.ok()) {
        // Never followed by the success notice: the old file is still as it was.
        error(QString::fromStdString(s.message()));
        return false;
    }
    info(QStringLiteral("保存工程文件成功!"));
    return true;
}

ProjectSession::WriteOutcome ProjectSession::writeWithPath() {
    QString path = projectPath_;
    if (path.isEmpty()) {
        const auto chosen = prompter_.saveFile(projectSaveDialog());
        if (!chosen) return WriteOutcome::Cancelled;
        path = *chosen;
    }
    // The path is taken only once written, so a failed target is never retried silently.
    if (!writeProjectFile(path)) return WriteOutcome::Failed;
    setPath(path);
    return WriteOutcome::Written;
}

bool ProjectSession::offerToSave(const QString& title) {
    switch (prompter_.askYesNo(caption,
                               QStringLiteral("是否保存对") + title + QStringLiteral("的更改？"))) {
        case Prompter::Answer::Yes:
            return writeWithPath() == WriteOutcome::Written;
        case Prompter::Answer::No:
            return true;
        case Prompter::Answer::Dismissed:
            break;
    }
    return false;
}

void ProjectSession::OnCreateProject() {
    if (project_.isOpen()) {
        if (!offerToSave(ui_.documentTitle())) return;
        clearProject();
        ui_.sendModeMessage(DetectionType::Unknown);
    }
    setPath(QString());
    project_.createEmpty();
    undoStack_.clear();
    ui_.editProjectSettings(*project_.info(), project_.components());
    if (!project_.info()->projectName.empty()) {
        ui_.setDocumentTitle(QStringLiteral("新工程"));
    } else {
        clearProject();
        ui_.setDocumentTitle(QString());
    }
}

void ProjectSession::OnOpenProject() {
    openProject(std::nullopt);
}

void ProjectSession::openProjectFile(const QString& path) {
    openProject(path);
}

void ProjectSession::createProjectFrom(const QString& uploadPath) {
    OnCreateProject();
    if (project_.isOpen()) addComponents(uploadPath);
}

void ProjectSession::openProject(const std::optional<QString>& path) {
    if (project_.isOpen()) {
        if (!offerToSave(ui_.documentTitle())) return;
        clearProject();
    }
    viewMode_ = DetectionType::Unknown;
    ui_.sendModeMessage(DetectionType::Unknown);
    setPath(QString());
    ui_.setDocumentTitle(QString());

    const auto chosen = path ? path : prompter_.openFile(projectOpenDialog());
    if (!chosen) return;

    Result<ProjectContents> read = ProjectFile::read(toPath(*chosen));
    if (!read.ok()) {
        error(QString::fromStdString(read.message()));
        return;
    }
    ProjectContents& contents = read.value();
    project_.open(std::move(contents.info), std::move(contents.components));
    undoStack_.clear();
    if (contents.complete()) {
        setPath(*chosen);
        ui_.setDocumentTitle(projectPath_);
        return;
    }
    // What was read stays open, but without the path: 保存工程 must not replace the damaged
    // original with the part that could be read.
    error(QString::fromStdString(contents.damage));
}

void ProjectSession::OnSaveProject() {
    if (!project_.hasContent()) {
        info(QStringLiteral("请设置工程信息!"));
        return;
    }
    if (writeWithPath() == WriteOutcome::Written) ui_.setDocumentTitle(projectPath_);
}

void ProjectSession::OnSaveAs() {
    if (!project_.hasContent()) {
        info(QStringLiteral("请设置工程信息!"));
        return;
    }
    const auto chosen = prompter_.saveFile(projectSaveDialog());
    if (!chosen || !writeProjectFile(*chosen)) return;
    setPath(*chosen);
    ui_.setDocumentTitle(projectPath_);
}

void ProjectSession::OnSetProject() {
    if (!project_.isOpen()) return;
    ProjectInfo& info = *project_.info();
    const ProjectInfo before = info;
    ui_.editProjectSettings(info, project_.components());
    if (info == before) return;
    const ProjectInfo after = info;
    info = before;  // the step makes the change, so undo and redo find it where it belongs
    undoStack_.push(new ProjectHeaderCommand(*this, before, after));
}

void ProjectSession::OnAddComponent() {
    addComponents(std::nullopt);
}

void ProjectSession::addComponents(const std::optional<QString>& path) {
    if (!project_.isOpen()) return;
    const auto chosen = path ? path : prompter_.openFile(uploadOpenDialog());
    if (!chosen) return;
    Result<ComponentList> upload = UploadFile::read(toPath(*chosen));
    if (!upload.ok()) {
        error(QString::fromStdString(upload.message()));
        return;
    }
    if (upload->empty()) return;

    const auto ticked = ui_.chooseComponents(*upload, 1, *chosen);
    if (!ticked || !anyTicked(*ticked)) return;
    ComponentList& list = project_.components();
    std::vector<const Component*> added;
    std::size_t i = 0;
    for (Component& c : *upload) {
        if (i < ticked->size() && (*ticked)[i]) {
            added.push_back(&*insertComponent(list, std::move(c)));
        }
        ++i;
    }
    // Their places once all are in, for undo to take them out and redo to put them back.
    ComponentListCommand::Placed placed;
    int index = 0;
    for (const Component& c : list) {
        if (std::find(added.begin(), added.end(), &c) != added.end()) placed.emplace_back(index, c);
        ++index;
    }
    const QString text = QStringLiteral("增加 %1 个构件").arg(placed.size());
    undoStack_.push(new ComponentListCommand(*this, ComponentListCommand::Kind::Added,
                                             std::move(placed), text));
}

void ProjectSession::OnDeleteComponent() {
    if (!project_.isOpen() || project_.components().empty()) return;
    const auto ticked = ui_.chooseComponents(project_.components(), 0, projectPath_);
    if (!ticked || !anyTicked(*ticked)) return;
    ComponentListCommand::Placed removed;
    int index = 0;
    auto& list = project_.components();
    for (auto it = list.begin(); it != list.end(); ++index) {
        const std::size_t i = static_cast<std::size_t>(index);
        if (i < ticked->size() && (*ticked)[i]) {
            removed.emplace_back(index, std::move(*it));
            it = list.erase(it);
        } else {
            ++it;
        }
    }
    const QString text = QStringLiteral("删除 %1 个构件").arg(removed.size());
    undoStack_.push(new ComponentListCommand(*this, ComponentListCommand::Kind::Deleted,
                                             std::move(removed), text));
}

QString ProjectSession::ModeText() const {
    const DetectionTypeTraits* t = traitsOf(viewMode_);
    return t ? QString(QChar::fromLatin1(t->letter())) : QString();
}

void ProjectSession::setViewMode(DetectionType type) {
    viewMode_ = type;
    ui_.sendModeMessage(type);
}

void ProjectSession::reissueViewMode() {
    setViewMode(viewMode_ == DetectionType::Unknown ? DetectionType::Profile : viewMode_);
}

bool ProjectSession::closeProject() {
    if (project_.hasContent()) {
        switch (prompter_.askYesNo(
            caption, QStringLiteral("是否保存对") + ui_.mainTitle() + QStringLiteral("的更改？"))) {
            case Prompter::Answer::Dismissed:
                return false;
            case Prompter::Answer::Yes:
                if (writeWithPath() != WriteOutcome::Written) return false;
                ui_.setDocumentTitle(projectPath_);
                break;
            case Prompter::Answer::No:
                break;
        }
    }
    clearProject();
    return true;
}

// ---- changes to components, each an undo step -------------------------------------------

namespace {

QString codeOf(const Component& c) {
    return fromGbk(c.code.view());
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

QString pointLabel(PointRef point) {
    return (point.vertical ? QStringLiteral("垂直测点 %1") : QStringLiteral("测点 %1"))
        .arg(point.index + 1);
}

const MeasurePoint* pointOf(const Component& c, PointRef point) {
    const auto& list = point.vertical ? c.pointsVert : c.points;
    if (point.index < 0 || point.index >= static_cast<int>(list.size())) return nullptr;
    return &list[static_cast<std::size_t>(point.index)];
}

}  // namespace

Component* ProjectSession::componentAt(int index) {
    auto& list = project_.components();
    if (index < 0 || index >= static_cast<int>(list.size())) return nullptr;
    return &*std::next(list.begin(), index);
}

const Component* ProjectSession::component(int index) const {
    return const_cast<ProjectSession*>(this)->componentAt(index);
}

void ProjectSession::showComponentAgain(int index) {
    ui_.componentChanged(index);
}

bool ProjectSession::setName(int index, std::string_view name) {
    const Component* c = componentAt(index);
    if (!c) return false;
    FixedText<50> after;
    after.assign(name);
    if (after == c->name) return false;
    undoStack_.push(new ComponentEditCommand(*this, index,
                                             ComponentEditCommand::NameChange{c->name, after},
                                             QStringLiteral("修改 %1 名称").arg(codeOf(*c))));
    return true;
}

bool ProjectSession::setField(int index, ComponentField field, std::int16_t value) {
    const Component* c = componentAt(index);
    if (!c || fieldOf(*c, field) == value) return false;
    undoStack_.push(new ComponentEditCommand(
        *this, index, ComponentEditCommand::FieldChange{field, fieldOf(*c, field), value},
        QStringLiteral("修改 %1 %2").arg(codeOf(*c), fieldLabel(*c, field))));
    return true;
}

bool ProjectSession::setPoint(int index, PointRef point, const MeasurePoint& value) {
    const Component* c = componentAt(index);
    const MeasurePoint* before = c ? pointOf(*c, point) : nullptr;
    if (!before || *before == value) return false;
    undoStack_.push(new ComponentEditCommand(
        *this, index, ComponentEditCommand::PointChange{point, *before, value},
        QStringLiteral("修改 %1 %2").arg(codeOf(*c), pointLabel(point))));
    return true;
}

bool ProjectSession::addPoint(int index, bool vertical) {
    const Component* c = componentAt(index);
    if (!c || (vertical ? c->pointCountVert : c->pointCount) == INT16_MAX) return false;
    const PointRef added{vertical, static_cast<int>((vertical ? c->pointsVert : c->points).size())};
    undoStack_.push(
        new ComponentEditCommand(*this, index, ComponentEditCommand::PointAdded{vertical},
                                 QStringLiteral("增加 %1 %2").arg(codeOf(*c), pointLabel(added))));
    return true;
}

bool ProjectSession::removePoint(int index, PointRef point) {
    const Component* c = componentAt(index);
    const MeasurePoint* removed = c ? pointOf(*c, point) : nullptr;
    if (!removed) return false;
    undoStack_.push(
        new ComponentEditCommand(*this, index, ComponentEditCommand::PointRemoved{point, *removed},
                                 QStringLiteral("删除 %1 %2").arg(codeOf(*c), pointLabel(point))));
    return true;
}
