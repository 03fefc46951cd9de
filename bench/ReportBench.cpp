// Each record table of a large project written to PDF as the command line does it: 1,000
// and 4,000 components of each kind (H, Z, W, P) with 10 points each (a grid 10 in each
// direction), all ticked; and the thickness table again in a template whose fonts are all
// 72 pt, so that nearly every cell's text is shrunk to fit. Runs offscreen.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include "model/GbkCodec.h"
#include "report/CReportEvent.h"
#include "report/PdfReportPresenter.h"
#include "report/Report.h"
#include "report/ReportFonts.h"
#include "report/TableTemplate.h"

namespace {

ComponentList makeComponents(int perKind) {
    ComponentList list;
    for (const char letter : {'H', 'Z', 'W', 'P'}) {
        for (int i = 0; i < perKind; ++i) {
            Component c;
            const std::string code = letter + std::to_string(1000 + i % 1000).substr(1);
            c.code.assign(code);
            c.name.assign(gbk::fromUtf8("一层梁") + code);
            c.date.assign("12/1/25");
            c.designDiameter = 16;
            c.designDiameterVert = 12;
            c.designCover = 50;
            c.designCoverVert = 45;
            c.designSpacing = 100;
            c.designSpacingVert = 150;
            for (int j = 0; j < 10; ++j) {
                c.addPoint();
                c.points.back() = {static_cast<std::int16_t>(12 + j % 4),
                                   static_cast<std::int16_t>(40 + j % 20), 100 * j + 5};
                if (letter != 'W') continue;
                c.addPoint(true);
                c.pointsVert.back() = {0, static_cast<std::int16_t>(30 + j), 150 * j};
            }
            list.push_back(std::move(c));
        }
    }
    return list;
}

void BM_TableToPdf(benchmark::State& state) {
    const auto kind = static_cast<ReportKind>(state.range(0));
    const ComponentList list = makeComponents(static_cast<int>(state.range(1)));
    ProjectInfo info;
    info.projectName.assign(gbk::fromUtf8("综合楼工程"));
    info.testBasis.assign("GB 50204-2015");
    info.instrument.assign("R-90");

    PdfReportPresenter pdf(
        QDir::temp().filePath(QStringLiteral("corvane-report-bench.pdf")).toStdU16String());
    Report report(&pdf);
    ReportTemplate layout = TableTemplate::choose(*reportTable(kind)).layout;
    if (const double points = static_cast<double>(state.range(2)); points > 0) {
        layout.titlePoints = layout.textPoints = layout.tablePoints = points;
    }
    report.setTemplate(std::move(layout));
    CReportEvent sink(report, info, list, std::vector<bool>(list.size(), true), *reportTable(kind));
    (void)report.connectEvents(&sink);
    for (auto _ : state) {
        if (Status s = report.print(false); !s) {
            state.SkipWithError(s.message().c_str());
            return;
        }
    }
    state.counters["rows"] = static_cast<double>(report.records().size());
    state.counters["pages"] = report.pageCount();
    QFile::remove(QDir::temp().filePath(QStringLiteral("corvane-report-bench.pdf")));
}

// The events alone: the sink's rows posted into the record set, nothing painted.
void BM_Generate(benchmark::State& state) {
    const auto kind = static_cast<ReportKind>(state.range(0));
    const ComponentList list = makeComponents(static_cast<int>(state.range(1)));
    ProjectInfo info;
    Report report;
    report.setTemplate(TableTemplate::choose(*reportTable(kind)).layout);
    CReportEvent sink(report, info, list, std::vector<bool>(list.size(), true), *reportTable(kind));
    (void)report.connectEvents(&sink);
    for (auto _ : state) {
        if (Status s = report.generate(); !s) {
            state.SkipWithError(s.message().c_str());
            return;
        }
    }
    state.counters["rows"] = static_cast<double>(report.records().size());
}

}  // namespace

BENCHMARK(BM_Generate)
    ->ArgNames({"table", "perKind"})
    ->ArgsProduct({{1}, {1000, 4000}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_TableToPdf)
    ->ArgNames({"table", "perKind", "fontPt"})
    ->ArgsProduct({{1, 2, 3}, {1000, 4000}, {0}})
    ->Args({1, 1000, 72})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    installReportFonts();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
