#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "model/AcceptanceJudgement.h"
#include "model/ComponentList.h"
#include "model/EditMarks.h"
#include "model/ProjectInfo.h"
#include "report/ReportEvents.h"
#include "report/ReportRows.h"
#include "report/ReportTables.h"

class Report;
class ReportField;

// Fills a record table from the project: on beforeGeneration it binds the table's fields and
// sets "ProjectName", "TestBasis" and "Instrument"; on rowsWanted it sets "TestDate" and
// posts the rows of the ticked components, or for a table of the judgement those of
// `judgement` (the ticks are not used). The report, header and list are read, never copied,
// and must outlive the print or preview call. With `editMarks` a points table marks the
// edited values and says so under its rows, in the template's note field.
class CReportEvent : public ReportEvents {
public:
    // `ticked[i]` tells whether the i-th component of `components` was ticked.
    CReportEvent(Report& report, const ProjectInfo& info, const ComponentList& components,
                 std::vector<bool> ticked, const ReportTable& table,
                 std::optional<AcceptanceJudgement> judgement = std::nullopt,
                 bool classesUnconfirmed = false,
                 std::optional<EditMarks> editMarks = std::nullopt);
    // The sink outlives the call that makes it: no temporaries.
    CReportEvent(Report&, ProjectInfo&&, const ComponentList&, std::vector<bool>,
                 const ReportTable&, std::optional<AcceptanceJudgement> = std::nullopt) = delete;
    CReportEvent(Report&, const ProjectInfo&, ComponentList&&, std::vector<bool>,
                 const ReportTable&, std::optional<AcceptanceJudgement> = std::nullopt) = delete;

    // The rows and date of a table whose rows the caller made (RowSource::Given).
    void setGivenRows(std::vector<ReportRow> rows, std::string date) {
        givenRows_ = std::move(rows);
        givenDate_ = std::move(date);
    }

    Status beforeGeneration() override;
    Status rowsWanted(bool& askAgain) override;

private:
    Status setParameter(const char* name, const std::string& utf8);

    Report& report_;
    const ProjectInfo& info_;
    const ComponentList& components_;
    std::vector<bool> ticked_;
    const ReportTable& table_;
    std::optional<AcceptanceJudgement> judgement_;
    bool classesUnconfirmed_;
    std::vector<ReportRow> givenRows_;
    std::string givenDate_;
    std::optional<EditMarks> editMarks_;
    std::map<std::string, ReportField*> fields_;  // bound by beforeGeneration
};
