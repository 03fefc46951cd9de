#include "session/ProjectSession.h"

#include <QFileInfo>
#include <algorithm>
#include <cstdint>
#include <iterator>
#include <utility>

#include "model/FileIo.h"
#include "model/UploadFile.h"
#include "session/SessionUi.h"

namespace {

const QString caption = QStringLiteral("提示信息");

std::filesystem::path toPath(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

}  // namespace

ProjectSession::ProjectSession(Prompter& prompter, SessionUi& ui) : prompter_(prompter), ui_(ui) {
    refresh_.setSingleShot(true);
    refresh_.setInterval(0);
    QObject::connect(&refresh_, &QTimer::timeout, [this] { showChanges(); });
    document_.setListener([this](StepChange change, int index) { followStep(change, index); });
}

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
    document_.clear();
    refresh_.stop();
    listChanged_ = false;
    changedComponents_.clear();
}

void ProjectSession::info(const QString& text) {
    prompter_.message(caption, text, Prompter::Icon::Information);
}

void ProjectSession::error(const QString& text) {
    prompter_.message(caption, text, Prompter::Icon::Error);
}

ProjectSession::WriteOutcome ProjectSession::writeProjectFile(const QString& path) {
    Result<ProjectDocument::Saved> saved = document_.save(path);
    if (!saved.ok()) {
        // Never followed by the success notice: the old file is still as it was.
        error(QString::fromStdString(saved.message()));
        return WriteOutcome::Failed;
    }
    // The project is written and its path taken; the title names it whatever the sidecar did.
    ui_.setDocumentTitle(document_.path());
    if (!saved->sidecarFailure.empty()) {
        error(QString::fromStdString(saved->sidecarFailure));
        return WriteOutcome::Failed;
    }
    info(QStringLiteral("保存工程文件成功!"));
    if (!saved->sidecarNote.empty()) info(QString::fromStdString(saved->sidecarNote));
    return WriteOutcome::Written;
}

ProjectSession::WriteOutcome ProjectSession::writeWithPath() {
    QString path = document_.path();
    if (path.isEmpty()) {
        const auto chosen = prompter_.saveFile(projectSaveDialog());
        if (!chosen) return WriteOutcome::Cancelled;
        path = *chosen;
    }
    // The path is taken only once written, so a failed target is never retried silently.
    return writeProjectFile(path);
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
    const bool wasOpen = project().isOpen();
    if (wasOpen && !offerToSave(ui_.documentTitle())) return;
    clearProject();
    if (wasOpen) ui_.sendModeMessage(DetectionType::Unknown);
    document_.createEmpty();
    // Creating is not a step: the header is filled in before there is anything to undo.
    ui_.editProjectSettings(*project().info(), project().components());
    if (!project().info()->projectName.empty()) {
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
    if (project().isOpen()) addComponents(uploadPath);
}

void ProjectSession::openProject(const std::optional<QString>& path) {
    if (project().isOpen()) {
        if (!offerToSave(ui_.documentTitle())) return;
    }
    clearProject();
    viewMode_ = DetectionType::Unknown;
    ui_.sendModeMessage(DetectionType::Unknown);
    ui_.setDocumentTitle(QString());

    const auto chosen = path ? path : prompter_.openFile(projectOpenDialog());
    if (!chosen) return;

    Result<ProjectDocument::Opened> opened = document_.open(*chosen);
    if (!opened.ok()) {
        error(QString::fromStdString(opened.message()));
        return;
    }
    if (!opened->damage.empty()) {
        // What was read stays open, but without the path: 保存工程 must not replace the
        // damaged original with the part that could be read.
        error(QString::fromStdString(opened->damage));
        return;
    }
    ui_.setDocumentTitle(document_.path());
    if (!opened->sidecarNote.empty()) info(QString::fromStdString(opened->sidecarNote));
}

void ProjectSession::OnSaveProject() {
    if (!project().hasContent()) {
        info(QStringLiteral("请设置工程信息!"));
        return;
    }
    writeWithPath();
}

void ProjectSession::OnSaveAs() {
    if (!project().hasContent()) {
        info(QStringLiteral("请设置工程信息!"));
        return;
    }
    if (const auto chosen = prompter_.saveFile(projectSaveDialog())) writeProjectFile(*chosen);
}

void ProjectSession::OnSetProject() {
    if (!project().isOpen()) return;
    ProjectInfo info = *project().info();
    ui_.editProjectSettings(info, project().components());
    document_.setHeader(info);
}

void ProjectSession::OnAcceptance() {
    if (!project().isOpen()) return;
    if (const auto marks = ui_.editAcceptanceMarks(project().components(), acceptanceMarks(),
                                                   document_.classesConfirmed())) {
        document_.setAcceptanceMarks(*marks);
    }
}

void ProjectSession::OnAddComponent() {
    addComponents(std::nullopt);
}

void ProjectSession::addComponents(const std::optional<QString>& path) {
    if (!project().isOpen()) return;
    const auto chosen = path ? path : prompter_.openFile(uploadOpenDialog());
    if (!chosen) return;
    // As a project is opened: a regular file only, so the window never waits on a pipe.
    if (const Status regular = FileIo::checkRegularFile(toPath(*chosen)); !regular) {
        error(QString::fromStdString(regular.message()));
        return;
    }
    std::string bytes;  // kept for the history's record of where the components came from
    Result<ComponentList> upload = UploadFile::read(toPath(*chosen), &bytes);
    if (!upload.ok()) {
        error(QString::fromStdString(upload.message()));
        return;
    }
    if (upload->empty()) return;

    const auto ticked = ui_.chooseComponents(*upload, 1, *chosen);
    if (ticked) {
        document_.addComponents(std::move(*upload), *ticked,
                                ProjectDocument::uploadSource(toPath(*chosen), bytes));
    }
}

void ProjectSession::OnDeleteComponent() {
    if (!project().isOpen() || project().components().empty()) return;
    const auto ticked = ui_.chooseComponents(project().components(), 0, projectPath());
    if (ticked) document_.deleteComponents(*ticked);
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
    if (project().hasContent()) {
        switch (prompter_.askYesNo(
            caption, QStringLiteral("是否保存对") + ui_.mainTitle() + QStringLiteral("的更改？"))) {
            case Prompter::Answer::Dismissed:
                return false;
            case Prompter::Answer::Yes:
                if (writeWithPath() != WriteOutcome::Written) return false;
                break;
            case Prompter::Answer::No:
                break;
        }
    }
    clearProject();
    return true;
}

// ---- the screen after a step -------------------------------------------------------------

void ProjectSession::followStep(StepChange change, int index) {
    switch (change) {
        case StepChange::List:
            listChanged_ = true;
            break;
        case StepChange::Component:
            if (std::find(changedComponents_.begin(), changedComponents_.end(), index) ==
                changedComponents_.end()) {
                changedComponents_.push_back(index);
            }
            break;
        case StepChange::Header:
        case StepChange::Marks:
            return;  // nothing on the screen shows them
    }
    refresh_.start();
}

void ProjectSession::showChanges() {
    const bool list = std::exchange(listChanged_, false);
    const std::vector<int> components = std::exchange(changedComponents_, {});
    if (!project().isOpen()) return;
    // A rebuilt view shows every component anew.
    if (list) return reissueViewMode();
    for (const int index : components) ui_.componentChanged(index);
}
