// The component panel on a profile component of 5,000 points: opening it (grid filled, laid
// out, the first paint of panel, chart and grid), one edit stored through the project
// session with the row's summary refreshed, and one paint of the chart. Runs offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTest>

#include "bench/SessionWithoutWindow.h"
#include "controls/CPropertyGrid.h"
#include "controls/CPropertyGridInPlaceEdit.h"
#include "display/CCorvaneView.h"
#include "display/CDlgComponent.h"
#include "display/CWndLikeMsdn.h"
#include "display/ChartGeometry.h"
#include "display/ChartPainter.h"
#include "session/ProjectSession.h"
#include "session/SessionUi.h"

namespace {

Component profile(int points) {
    Component c;
    c.code.assign("P001");
    c.name.assign("P001");
    c.designCover = 50;
    c.designSpacing = 100;
    c.thicknessTolerance = 5;
    for (int j = 0; j < points; ++j) {
        c.addPoint();
        c.points.back().thickness = static_cast<std::int16_t>(40 + j % 20);
        c.points.back().position = (j * 7) % 2000;
    }
    return c;
}

// The view of a project holding one profile component, its row open.
struct OpenPanel {
    SilentPrompter prompter;
    NoWindow ui;
    ProjectSession session{prompter, ui};
    CCorvaneView view{session.project(), &session.document(), &prompter};

    OpenPanel() {
        session.OnCreateProject();
        session.project().components().push_back(profile(5000));
        view.resize(1440, 800);
        view.ModeMessage(QStringLiteral("P"));
        view.show();
        static_cast<void>(QTest::qWaitForWindowExposed(&view));
        CWndLikeMsdn* pane = view.pane();
        const QPoint row(300, pane->rowHeight() / 2);
        QTest::mouseClick(pane->viewport(), Qt::LeftButton, {}, row);
        QApplication::processEvents();
    }
};

void BM_OpenProfile5000(benchmark::State& state) {
    OpenPanel open;
    CDlgComponent* panel = open.view.panel();
    QImage image(panel->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        panel->SelectComponentMessage(0);
        panel->render(&image);
        benchmark::DoNotOptimize(image.bits());
    }
}

// Typed into 保护层厚度设计值 as the user does: the in-place editor, Enter, the undo step, the
// summary of 5,000 points and the row.
void BM_EditAndSummary(benchmark::State& state) {
    OpenPanel open;
    CPropertyGrid* grid = open.view.panel()->grid();
    const QPoint value(grid->dividerX() + 30, grid->itemTop(2) + grid->rowHeight() / 2);
    int k = 0;
    for (auto _ : state) {
        QTest::mouseClick(grid, Qt::LeftButton, {}, value);
        grid->inPlaceEdit()->setText(QString::number(30 + k++ % 2));
        QTest::keyClick(grid->inPlaceEdit(), Qt::Key_Return);
    }
    state.counters["steps"] = open.session.undoStack().count();
}

void BM_ChartPaint(benchmark::State& state) {
    const Component c = profile(static_cast<int>(state.range(0)));
    QImage image(870, 370, QImage::Format_ARGB32_Premultiplied);
    const ChartArea area{870, 370, 121};
    const QPalette palette;
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        ChartPainter::paint(painter, ChartGeometry::chartFor(area, c), palette);
    }
}

}  // namespace

BENCHMARK(BM_OpenProfile5000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_EditAndSummary)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ChartPaint)->Arg(50)->Arg(5000)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QFont::insertSubstitutions(QStringLiteral("宋体"), {QStringLiteral("WenQuanYi Micro Hei")});
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
