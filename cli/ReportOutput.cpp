#include "cli/ReportOutput.h"

#include <algorithm>
#include <cctype>

#include "cli/CliGui.h"
#include "cli/OutputFile.h"
#include "report/ReportFonts.h"

int runReportOutput(const ReportRun::Request& request, const std::optional<std::string>& pdfOutput,
                    const std::function<void(const Report&)>& rows, std::ostream& out,
                    std::ostream& err) {
    // Declared first, so it outlives the report that paints with it.
    const auto gui = CliGui::start(false);
    installReportFonts();
    ReportRun::Request run = request;
    run.output = pdfOutput ? ReportRun::Output::Pdf : ReportRun::Output::Rows;
    Result<ReportRun::Done> done =
        ReportRun::run(run, [&err](const std::string& notice) { err << notice << '\n'; });
    if (!done) {
        err << done.message() << '\n';
        return 1;
    }
    if (!pdfOutput) {
        rows(*done->report);
        return 0;
    }
    const QByteArray& pdf = done->pdf;
    if (Status w =
            OutputFile::write(*pdfOutput, std::string_view(pdf.constData(), pdf.size()), out);
        !w) {
        err << w.message() << '\n';
        return 1;
    }
    return 0;
}

std::string outputFormatProblem(const CliArguments& a) {
    const std::optional<std::string> format = a.value("--format");
    if (!format) return {};
    if (*format != "pdf" && *format != "xlsx") return "--format 应为 pdf 或 xlsx";
    if (!a.value("-o")) return "--format 只用于 -o";
    return {};
}

bool writesWorkbook(const CliArguments& a) {
    if (const std::optional<std::string> format = a.value("--format")) return *format == "xlsx";
    std::string target = a.value("-o").value_or("");
    std::transform(target.begin(), target.end(), target.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return target.size() > 5 && target.ends_with(".xlsx");
}

int runWorkbookOutput(const ReportWorkbook::Request& request, const std::string& target,
                      std::ostream& out, std::ostream& err) {
    // Rows only, nothing painted; the application finds the templates beside the program.
    const auto gui = CliGui::start(false);
    Result<std::string> bytes = ReportWorkbook::bytes(
        request, [&err](const std::string& notice) { err << notice << '\n'; });
    Status s = bytes ? OutputFile::write(target, *bytes, out) : Status::failure(bytes.message());
    if (!s) {
        err << s.message() << '\n';
        return 1;
    }
    return 0;
}
