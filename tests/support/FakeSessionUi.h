#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <string>
#include <vector>

#include "session/SessionUi.h"

// The window around the project session, without a window: it records what the session asks
// of it, and the selection dialog answers `ticks`.
class FakeSessionUi : public SessionUi {
public:
    QString documentTitle() const override { return title; }
    void setDocumentTitle(const QString& t) override { title = t; }
    QString mainTitle() const override { return QStringLiteral("Corvane "); }
    int sendModeMessage(DetectionType mode) override {
        modes.push_back(mode);
        return 1;
    }
    void componentChanged(int index) override { changed.push_back(index); }
    void editProjectSettings(ProjectInfo& info, const ComponentList&) override {
        info.projectName.assign(nextName);
    }
    std::optional<AcceptanceMarks> editAcceptanceMarks(const ComponentList&, const AcceptanceMarks&,
                                                       bool confirmed) override {
        confirmations.push_back(confirmed);
        return nextMarks;
    }
    std::optional<std::vector<bool>> chooseComponents(const ComponentList&, int addMode,
                                                      const QString& caption) override {
        dialogs << QStringLiteral("%1 %2").arg(addMode).arg(caption);
        return ticks;
    }
    std::optional<std::vector<bool>> choosePrintComponents(const ComponentList& components,
                                                           const QString& caption,
                                                           bool& marks) override {
        if (markEdits) marks = *markEdits;
        return chooseComponents(components, 0, caption);
    }

    QString title;
    std::vector<DetectionType> modes;
    QStringList dialogs;  // "addMode caption" of every selection dialog shown
    std::vector<int> changed;
    std::string nextName = "p";
    std::optional<std::vector<bool>> ticks;
    std::optional<bool> markEdits;  // the print selection's check box as left; unset: as shown
    std::optional<AcceptanceMarks> nextMarks;  // the 验收判定 dialog's answer
    std::vector<bool> confirmations;           // whether the classes were confirmed, per dialog
};
