#include "cli/ReportOutput.h"

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
