#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/AcceptanceJudgement.h"
#include "model/ComponentList.h"
#include "model/EditMarks.h"
#include "model/ProjectInfo.h"
#include "model/Result.h"
#include "report/ReportTables.h"

// The record tables as one Excel workbook, for the program and the command line alike: a sheet
// per table asked for, in that order, filled by the same run as its print (ReportRun), then the
// sheets 构件 and 测点 of the ticked components. GUI thread only (the runs use the report
// engine).
class ReportWorkbook {
public:
    struct Request {
        std::vector<const ReportTable*> tables;  // at least one, each once
        const ProjectInfo& info;                 // read, never copied
        const ComponentList& components;         // likewise
        std::vector<bool> ticked;                // the record tables' components and the lists'
        QString templateFolder = {};             // TableTemplate::choose's folder
        // The judgement table's rows, when it is asked for (see ReportRun::Request).
        std::optional<AcceptanceJudgement> judgement = std::nullopt;
        bool classesUnconfirmed = false;
        // With marks the edited values of the record tables and of 测点 keep their numbers and
        // get a light fill and a note with what stood there first.
        std::optional<EditMarks> editMarks = std::nullopt;
    };

    // The workbook's bytes. `notify` gets what a print would tell (a template that cannot be
    // used, a table no ticked component fills); a failure is worded as ReportRun's or
    // XlsxWorkbook's.
    static Result<std::string> bytes(const Request& request,
                                     const std::function<void(const std::string&)>& notify);

    // The components a judgement takes: what its workbook lists on 构件 and 测点.
    static std::vector<bool> judged(const ComponentList& components,
                                    const AcceptanceJudgement& judgement);
};
