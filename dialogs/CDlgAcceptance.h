#pragma once

#include <QDialog>
#include <array>
#include <optional>

#include "model/AcceptanceMark.h"
#include "model/ComponentList.h"

class AcceptanceTableModel;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTableView;
struct AcceptanceClassResult;

// 验收判定: the user gives the thickness, grid and profile components a class (梁类, 板类 or
// none) and a sample, several rows at once, and sees each class judged as the marks change.
// The list is only read and must outlive the dialog; the caller reads marks() after OK and
// turns a change into one undo step. GUI thread only.
class QLabel;

class CDlgAcceptance : public QDialog {
    Q_OBJECT
public:
    CDlgAcceptance(const ComponentList& components, const AcceptanceMarks& marks,
                   QWidget* parent = nullptr);

    // The marks as given until OK, then the marks the user set. Marks of components the
    // dialog does not list are kept as they were.
    const AcceptanceMarks& marks() const { return result_; }

    QTableView* componentList() const { return componentList_; }

    // The classes came with a project changed elsewhere: the dialog says so above its list,
    // and its OK confirms them.
    void setUnconfirmed(bool unconfirmed);
    QLabel* unconfirmedNotice() const { return unconfirmed_; }

    // Sizes the dialog, window frame included, for a screen whose available area is
    // `available`; the constructor does so for the screen it opens on.
    void fitTo(const QSize& available);

    void accept() override;

private:
    // One class's column of the summary.
    struct ClassColumn {
        std::array<QLabel*, 8> figures{};
        QLabel* verdict = nullptr;
        QLabel* reason = nullptr;
        QPlainTextEdit* notices = nullptr;
    };

    QWidget* makeSummary();
    void applyClass(std::optional<AcceptanceClass> cls);
    void applySample(AcceptanceSample sample);
    void updateButtons();
    void updateSummary();
    void showClass(ClassColumn& column, AcceptanceClass cls,
                   const std::optional<AcceptanceClassResult>& result);

    const ComponentList& components_;
    AcceptanceMarks result_;
    AcceptanceTableModel* model_;
    QTableView* componentList_;
    QLabel* unconfirmed_ = nullptr;
    std::array<QPushButton*, 3> classButtons_{};   // 梁类, 板类, 不参与
    std::array<QPushButton*, 2> sampleButtons_{};  // first, second
    std::array<ClassColumn, 2> columns_;           // by AcceptanceClass
};
