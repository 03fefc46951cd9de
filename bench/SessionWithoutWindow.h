#pragma once

#include <optional>
#include <vector>

#include "session/Prompter.h"
#include "session/SessionUi.h"

// What a project session needs around it in a benchmark: no prompts, no window.
class SilentPrompter : public Prompter {
public:
    void message(const QString&, const QString&, Icon) override {}
    Answer askYesNo(const QString&, const QString&) override { return Answer::No; }
    std::optional<QString> saveFile(const FileDialog&) override { return std::nullopt; }
    std::optional<QString> openFile(const FileDialog&) override { return std::nullopt; }
};

class NoWindow : public SessionUi {
public:
    QString documentTitle() const override { return {}; }
    void setDocumentTitle(const QString&) override {}
    QString mainTitle() const override { return {}; }
    int sendModeMessage(DetectionType) override { return 1; }
    void componentChanged(int) override {}
    void editProjectSettings(ProjectInfo& info, const ComponentList&) override {
        info.projectName.assign("bench");
    }
    std::optional<AcceptanceMarks> editAcceptanceMarks(const ComponentList&, const AcceptanceMarks&,
                                                       bool) override {
        return std::nullopt;
    }
    std::optional<std::vector<bool>> chooseComponents(const ComponentList&, int,
                                                      const QString&) override {
        return std::nullopt;
    }
};
