#pragma once

#include <QString>
#include <memory>

#include "model/DetectionType.h"
#include "model/Status.h"
#include "report/ReportRun.h"
#include "report/ReportTables.h"

class ComponentChooser;
class CReportEvent;
class ProjectSession;
class Prompter;
class Report;
class ReportPresenter;

// The print and preview commands of the record tables, and Ctrl+P, which previews the table
// the view shows. A run of one of the three inspection records lets the user tick components
// of the open project; the acceptance judgement table takes every classed component, and
// without one tells the user and prints nothing. Either run and hands them to ReportRun with the
// presenter; its notices and its failure are shown as messages. Before any table was chosen there
// is nothing to print. The report and its sink stay until the next run gets past the selection, or
// until release(). GUI thread only.
class ReportCommands {
public:
    // Only the presenter is owned; the others must outlive this object. Template files are
    // looked for in `templateFolder`, where the programs look for them when it is empty (see
    // TableTemplate); the built-in copies stand in for missing ones.
    ReportCommands(ProjectSession& session, ComponentChooser& chooser, Prompter& prompter,
                   std::unique_ptr<ReportPresenter> presenter, QString templateFolder = {});
    ~ReportCommands();
    ReportCommands(const ReportCommands&) = delete;
    ReportCommands& operator=(const ReportCommands&) = delete;

    // Runs a report command by its id (the ten table commands, 32802, 32803 and 导出 Excel);
    // false for any other id.
    bool onCommand(int id);

    // Print or preview the table chosen last, whatever it is (none at first).
    void OnPrintReport();
    void OnPreviewReport();

    // A preview of the table the view shows: the band's captions over every component of
    // `shownType`, paged, under the project's name. Nothing without a
    // project or a type.
    void printView(DetectionType shownType);

    // 导出 Excel…: the record tables (and the judgement table when components are classed) as
    // check boxes, the print's component selection (with its 标出修改过的数值) when a record
    // table is ticked, a file dialog, then the workbook of the ticked tables, saved by the
    // careful save. Its notices are shown as a
    // print's; a failure is told and leaves any file of that name as it was.
    void exportWorkbook();

    // Disconnects and drops the report and sink of the last run.
    void release();

    ReportKind reportKind() const { return kind_; }
    bool marksEdits() const { return markEdits_; }
    const QString& templateFileName() const { return templateFileName_; }
    // The report of the last run; null before the first and after release().
    const Report* report() const { return last_.report.get(); }

private:
    void run(bool preview);
    void tellFailure(const QString& what, const Status& status);

    ProjectSession& session_;
    ComponentChooser& chooser_;
    Prompter& prompter_;
    std::unique_ptr<ReportPresenter> presenter_;
    QString templateFolder_;
    ReportKind kind_ = ReportKind::None;
    QString templateFileName_;
    bool markEdits_ = false;  // the print selection's check box, kept while the program runs
    ReportRun::Done last_;
};
