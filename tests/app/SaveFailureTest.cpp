#include <gtest/gtest.h>

#include <filesystem>

#include "model/FileIo.h"
#include "model/ProjectFile.h"
#include "session/ProjectSession.h"
#include "session/SessionUi.h"
#include "support/FileSizeLimit.h"
#include "support/ModelSamples.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {

class WindowlessUi : public SessionUi {
public:
    QString documentTitle() const override { return title; }
    void setDocumentTitle(const QString& t) override { title = t; }
    QString mainTitle() const override { return QStringLiteral("Corvane "); }
    int sendModeMessage(DetectionType) override { return 1; }
    void componentChanged(int) override {}
    void editProjectSettings(ProjectInfo&, const ComponentList&) override {}
    std::optional<AcceptanceMarks> editAcceptanceMarks(const ComponentList&, const AcceptanceMarks&,
                                                       bool) override {
        return std::nullopt;
    }
    std::optional<std::vector<bool>> chooseComponents(const ComponentList&, int,
                                                      const QString&) override {
        return std::nullopt;
    }
    QString title;
};

}  // namespace

// A save that runs into the file-size limit half-way: the user reads why, the file on disk is
// the one opened, nothing is left beside it, and the project keeps its path and its edits.
TEST(SaveFailure, FileSizeLimitHalfWayKeepsTheOldFileAndTellsTheUser) {
    TempDir dir;
    const fs::path path = dir / "site.pro";
    ProjectInfo info;
    info.projectName.assign("site");
    ASSERT_TRUE(ProjectFile::save(path, info, {samples::withPoints("H001", 3)}).ok());
    const std::string old = TempDir::read(path);

    ScriptedPrompter prompter;
    WindowlessUi ui;
    ProjectSession session(prompter, ui);
    const QString shown = QString::fromStdString(path.string());
    prompter.expectOpen(QStringLiteral("project"), shown);
    session.OnOpenProject();
    ASSERT_EQ(session.projectPath(), shown);
    for (int i = 0; i < 300; ++i) ASSERT_TRUE(session.document().addPoint(0, false));

    prompter.expectMessage(
        QStringLiteral("提示信息"),
        QStringLiteral("写入文件“") + shown +
            QStringLiteral("”失败：文件过大，超出了允许的大小。原有文件未被改动。"),
        Prompter::Icon::Error);
    {
        FileSizeLimit limit(1024);
        session.OnSaveProject();
    }
    prompter.expectDone();
    EXPECT_EQ(TempDir::read(path), old);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
    EXPECT_EQ(session.projectPath(), shown);
    EXPECT_EQ(session.project().components().front().points.size(), 303u);
}
