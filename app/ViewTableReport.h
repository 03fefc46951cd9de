#pragma once

#include <vector>

#include "model/Project.h"
#include "report/ReportEvents.h"
#include "report/ReportTemplate.h"

class Report;
class ReportField;

// The table the view shows, as a report for Ctrl+P: the caption band's columns over one row
// per component of the shown type in project order (every one, not only those in sight),
// under the project's name. The report and the project are read, never copied, and must
// outlive the print or preview call.
class ViewTableReport : public ReportEvents {
public:
    // The page layout for `shownType`: the band's captions and widths
    // as the column header, repeated on every page; a "工程名称" box; page numbers.
    static ReportTemplate layout(DetectionType shownType);

    ViewTableReport(Report& report, const Project& project, DetectionType shownType);
    ViewTableReport(Report&, Project&&, DetectionType) = delete;

    // Binds the columns' fields and sets "ProjectName".
    Status beforeGeneration() override;
    // One record per component whose code begins with the shown type, with its summary texts.
    Status rowsWanted(bool& askAgain) override;

private:
    Report& report_;
    const Project& project_;
    DetectionType shownType_;
    std::vector<std::pair<std::size_t, ReportField*>> fields_;  // summary text, its field
};
