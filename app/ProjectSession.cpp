#include "app/ProjectSession.h"

#include <QFileInfo>
#include <algorithm>

#include "app/SessionUi.h"
#include "model/ProjectFile.h"
#include "model/UploadFile.h"

namespace {

const QString caption = QStringLiteral("提示信息");

std::filesystem::path toPath(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

bool anyTicked(const std::vector<bool>& selection) {
    return std::find(selection.begin(), selection.end(), true) != selection.end();
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

void ProjectSession::info(const QString& text) {
    prompter_.message(caption, text, Prompter::Icon::Information);
}

void ProjectSession::error(const QString& text) {
    prompter_.message(caption, text, Prompter::Icon::Error);
}

void ProjectSession::setPath(const QString& path) {
    projectPath_ = path;
    projectFileName_ = path.isEmpty() ? QString() : QFileInfo(path).fileName();
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
        project_.clear();
        ui_.sendModeMessage(QString());
    }
    setPath(QString());
    project_.createEmpty();
    OnSetProject();
    if (!project_.info()->projectName.empty()) {
        ui_.setDocumentTitle(QStringLiteral("新工程"));
    } else {
        project_.clear();
        ui_.setDocumentTitle(QString());
    }
}

void ProjectSession::OnOpenProject() {
    if (project_.isOpen()) {
        if (!offerToSave(ui_.documentTitle())) return;
        project_.clear();
    }
    ModeText_.clear();
    ui_.sendModeMessage(QString());
    setPath(QString());
    ui_.setDocumentTitle(QString());

    const auto chosen = prompter_.openFile(projectOpenDialog());
    if (!chosen) return;

    Result<ProjectContents> read = ProjectFile::read(toPath(*chosen));
    if (!read.ok()) {
        error(QString::fromStdString(read.message()));
        return;
    }
    ProjectContents& contents = read.value();
    project_.open(std::move(contents.info), std::move(contents.components));
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
    ui_.editProjectSettings(*project_.info(), project_.components());
}

void ProjectSession::OnAddComponent() {
    if (!project_.isOpen()) return;
    const auto chosen = prompter_.openFile(uploadOpenDialog());
    if (!chosen) return;
    Result<ComponentList> upload = UploadFile::read(toPath(*chosen));
    if (!upload.ok()) {
        error(QString::fromStdString(upload.message()));
        return;
    }
    if (upload->empty()) return;

    const auto ticked = ui_.chooseComponents(*upload, 1, *chosen);
    if (!ticked || !anyTicked(*ticked)) return;
    std::size_t i = 0;
    for (Component& c : *upload) {
        if (i < ticked->size() && (*ticked)[i])
            insertComponent(project_.components(), std::move(c));
        ++i;
    }
    reissueViewMode();
}

void ProjectSession::OnDeleteComponent() {
    if (!project_.isOpen() || project_.components().empty()) return;
    const auto ticked = ui_.chooseComponents(project_.components(), 0, projectPath_);
    if (!ticked || !anyTicked(*ticked)) return;
    std::size_t i = 0;
    auto& list = project_.components();
    for (auto it = list.begin(); it != list.end(); ++i) {
        it = i < ticked->size() && (*ticked)[i] ? list.erase(it) : std::next(it);
    }
    reissueViewMode();
}

void ProjectSession::setViewMode(const QString& letter) {
    ModeText_ = letter;
    ui_.sendModeMessage(ModeText_);
}

void ProjectSession::reissueViewMode() {
    if (ModeText_ == QLatin1String("H") || ModeText_ == QLatin1String("Z") ||
        ModeText_ == QLatin1String("W")) {
        setViewMode(ModeText_);
    } else {
        setViewMode(QStringLiteral("P"));
    }
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
    project_.clear();
    return true;
}
