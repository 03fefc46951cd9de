#include "cli/NewProjectHistory.h"

#include <QFile>
#include <QJsonObject>

#include "cli/CommandLine.h"
#include "document/ProjectDocument.h"
#include "model/FileIo.h"

NewProjectRecord recordNewProject(const std::filesystem::path& project, const ProjectInfo& info,
                                  const std::vector<NewProjectUpload>& uploads) {
    ProjectDocument document;
    document.createEmpty();
    *document.project().info() = info;
    for (const NewProjectUpload& upload : uploads) {
        QJsonObject source =
            ProjectDocument::uploadSource(CommandLine::path(upload.name), upload.bytes);
        document.addComponents(upload.components, std::vector<bool>(upload.components.size(), true),
                               std::move(source));
    }
    // The document names files by Qt's strings, which hold no name that is not UTF-8.
#ifdef _WIN32
    const QString name = QString::fromStdWString(project.native());
#else
    const QString name = QFile::decodeName(QByteArray::fromStdString(project.native()));
    if (QFile::encodeName(name).toStdString() != project.native()) {
        return {{},
                "“" + FileIo::displayName(project.filename()) +
                    "”的名称不是有效的 UTF-8 编码，未写附加信息文件（修改记录）。"};
    }
#endif
    // The same bytes again, now with the sidecar beside them.
    const Result<ProjectDocument::Saved> saved = document.save(name);
    if (!saved) return {saved.message(), {}};
    return {saved->sidecarFailure, {}};
}
