#pragma once

#include <map>
#include <string>
#include <vector>

#include "model/AcceptanceMark.h"
#include "model/ComponentList.h"
#include "model/ProjectInfo.h"
#include "report/ReportEvents.h"
#include "report/ReportTables.h"

class Report;
class ReportField;

// Fills a record table from the project: on beforeGeneration it binds the table's fields and
// sets "ProjectName", "TestBasis" and "Instrument"; on rowsWanted it sets "TestDate" and
// posts the rows of the ticked components, or for the acceptance table those of the
// judgement of `marks` (the ticks are not used). The report, header, list and marks are read,
// never copied, and must outlive the print or preview call.
class CReportEvent : public ReportEvents {
public:
    // `ticked[i]` tells whether the i-th component of `components` was ticked.
    CReportEvent(Report& report, const ProjectInfo& info, const ComponentList& components,
                 std::vector<bool> ticked, ReportKind kind, const AcceptanceMarks* marks = nullptr);
    // The sink outlives the call that makes it: no temporaries.
    CReportEvent(Report&, ProjectInfo&&, const ComponentList&, std::vector<bool>,
                 ReportKind) = delete;
    CReportEvent(Report&, const ProjectInfo&, ComponentList&&, std::vector<bool>,
                 ReportKind) = delete;

    Status beforeGeneration() override;
    Status rowsWanted(bool& askAgain) override;

private:
    Status setParameter(const char* name, const std::string& utf8);

    Report& report_;
    const ProjectInfo& info_;
    const ComponentList& components_;
    std::vector<bool> ticked_;
    ReportKind kind_;
    const AcceptanceMarks* marks_;
    std::map<std::string, ReportField*> fields_;  // bound by beforeGeneration
};
