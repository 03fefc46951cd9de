#include <algorithm>
#include <memory>
#include <set>
#include <sstream>

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/DataFile.h"
#include "cli/ReportOutput.h"
#include "document/SidecarFile.h"
#include "document/ValueOrigins.h"
#include "model/FileIo.h"
#include "model/GbkCodec.h"
#include "model/JsonText.h"
#include "report/ReportRun.h"
#include "report/ReportTables.h"

namespace {

std::string jsonValue(const ReportValue& value) {
    if (const auto* n = std::get_if<std::int32_t>(&value)) return std::to_string(*n);
    return jsonString(std::get<QString>(value).toStdString());
}

void printJson(std::ostream& out, const Report& report) {
    out << "{\"title\":" << jsonString(report.title().toStdString()) << ",\"parameters\":{";
    const char* comma = "";
    for (const ReportParameter* p : report.parametersSet()) {
        out << comma << jsonString(p->name().toStdString()) << ':'
            << jsonString(p->value()->toStdString());
        comma = ",";
    }
    out << "},\"rows\":[";
    comma = "";
    for (const auto& record : report.records()) {
        out << comma << "\n{";
        const char* fieldComma = "";
        for (std::size_t i = 0; i < record.size(); ++i) {
            if (std::holds_alternative<std::monostate>(record[i])) continue;  // never set
            out << fieldComma << jsonString(report.fields()[i]->name().toStdString()) << ':'
                << jsonValue(record[i]);
            fieldComma = ",";
        }
        out << '}';
        comma = ",";
    }
    out << "]}\n";
}

// Ticks the components whose codes are listed (all when `lists` is empty); `unknown` gets
// the listed codes that match none.
std::vector<bool> tickByCode(const ComponentList& components, const std::vector<std::string>& lists,
                             std::string& unknown) {
    std::set<std::string> wanted;
    for (const std::string& list : lists) {
        std::istringstream words(list);
        for (std::string code; std::getline(words, code, ',');) {
            if (!code.empty()) wanted.insert(code);
        }
    }
    std::vector<bool> ticked;
    std::set<std::string> found;
    for (const Component& c : components) {
        const std::string code = gbk::toUtf8(c.code.view());
        ticked.push_back(lists.empty() || wanted.count(code) != 0);
        found.insert(code);
    }
    for (const std::string& code : wanted) {
        if (!found.count(code)) unknown += (unknown.empty() ? "" : ",") + code;
    }
    return ticked;
}

// The tables --table names, in order; the judgement table takes classes, not ticks: it is
// judge's. Nothing when a word names no such table.
std::optional<std::vector<const ReportTable*>> tickedTables(const CliArguments& a) {
    std::vector<const ReportTable*> tables;
    for (const std::string& word : a.values("--table")) {
        const ReportTable* table = reportTableNamed(word);
        if (!table || !table->ticksComponents()) return std::nullopt;
        tables.push_back(table);
    }
    if (tables.empty()) return std::nullopt;
    return tables;
}

// The values of the project's components that stand edited, from its sidecar as the program
// reads it; none for a project without one (also one on standard input).
Result<EditMarks> editMarksOf(const std::string& source, const ComponentList& components) {
    const std::filesystem::path path = CommandLine::path(source);
    std::error_code ec;
    if (source == "-" || !std::filesystem::is_regular_file(std::filesystem::status(path, ec))) {
        return EditMarks{};
    }
    const Result<std::string> bytes = FileIo::readAll(path);
    if (!bytes) return Error{bytes.message()};
    const SidecarFile::Loaded loaded = SidecarFile::load(path, *bytes);
    switch (loaded.state) {
        case SidecarFile::State::Missing:
            return EditMarks{};
        case SidecarFile::State::Loaded:
            break;
        case SidecarFile::State::Damaged:
        case SidecarFile::State::Newer:
        case SidecarFile::State::Unreadable:
            return Error{(loaded.message.empty() ? loaded.problem : loaded.message) +
                         "\n无法得知哪些数值修改过。"};
    }
    ValueOrigins origins;
    origins.decode(loaded.sidecar.originals, components, {});
    return origins.marks(components);
}

}  // namespace

std::string reportCheck(const CliArguments& a) {
    const auto tables = tickedTables(a);
    if (!tables) return "--table 应为 " + tickedTableWords("、", " 或 ");
    if (a.positional().size() != 1 || a.has("--json") == a.value("-o").has_value()) {
        return "report 需要一个工程文件和 -o OUT.pdf、-o OUT.xlsx 或 --json";
    }
    if (std::string problem = outputFormatProblem(a); !problem.empty()) return problem;
    // A PDF or the JSON is one table; a workbook has a sheet for each.
    if (tables->size() > 1 && !writesWorkbook(a)) return "只有 Excel 工作簿可以有多个 --table";
    if (std::set<const ReportTable*>(tables->begin(), tables->end()).size() != tables->size()) {
        return "--table 中有重复的记录表";
    }
    return {};
}

int reportCommand(CliInput& input, std::ostream& out, std::ostream& err) {
    const CliArguments& a = input.args;
    const std::string& source = input.source;
    const DataFile& file = input.file;
    std::string unknown;
    const std::vector<bool> ticked = tickByCode(file.components, a.values("--components"), unknown);
    if (!unknown.empty()) {
        err << source << ": 工程中没有编号为 " << unknown << " 的构件\n";
        return 1;
    }
    if (!anyTicked(ticked)) {
        err << source << ": 没有选中任何构件\n";
        return 1;
    }

    const std::vector<const ReportTable*> tables = *tickedTables(a);
    // The JSON lists the data: its rows stay unmarked; the workbook marks with notes.
    std::optional<EditMarks> marks;
    if (a.has("--mark-edits") && !a.has("--json")) {
        Result<EditMarks> found = editMarksOf(source, file.components);
        if (!found) {
            err << source << ": " << found.message() << '\n';
            return 1;
        }
        marks = std::move(found).value();
    }
    if (writesWorkbook(a)) {
        ReportWorkbook::Request request{tables, *file.info, file.components, ticked};
        request.editMarks = std::move(marks);
        return runWorkbookOutput(request, *a.value("-o"), out, err);
    }
    ReportRun::Request request{*tables.front(), *file.info, file.components, ticked};
    request.editMarks = std::move(marks);
    return runReportOutput(
        request, a.value("-o"), [&out](const Report& report) { printJson(out, report); }, out, err);
}
