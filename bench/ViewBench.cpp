// The main view with a large project: rebuilding the list for a mode (summaries and groups)
// and painting the visible part of the pane, at 10,000 and at 100 components of one type
// with 100 points each. Runs offscreen.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include "display/CCorvaneView.h"
#include "display/CWndLikeMsdn.h"
#include "model/Project.h"

namespace {

Project makeProject(int components) {
    Project project;
    project.createEmpty();
    for (int i = 0; i < components; ++i) {
        Component c;
        const std::string code = "P" + std::to_string(1000 + i % 9000).substr(1);
        c.code.assign(code);
        c.name.assign(code);
        c.date.assign("12/1/25");
        c.designDiameter = 16;
        c.designCover = 50;
        c.designSpacing = 100;
        c.thicknessTolerance = 5;
        for (int j = 0; j < 100; ++j) {
            c.addPoint();
            c.points.back().thickness = static_cast<std::int16_t>(40 + j % 20);
            c.points.back().position = 100 * j + 5;
        }
        project.components().push_back(std::move(c));
    }
    return project;
}

void BM_Rebuild(benchmark::State& state) {
    const Project project = makeProject(static_cast<int>(state.range(0)));
    CCorvaneView view(project);
    view.resize(1440, 800);
    view.show();
    for (auto _ : state) {
        view.ModeMessage(QStringLiteral("P"));
        view.pane()->ensureLayout();
    }
    state.counters["groups"] = view.pane()->groupCount();
}

void BM_PaintPane(benchmark::State& state) {
    const Project project = makeProject(static_cast<int>(state.range(0)));
    CCorvaneView view(project);
    view.resize(1440, 800);
    view.show();
    view.ModeMessage(QStringLiteral("P"));
    QWidget* viewport = view.pane()->viewport();
    QImage image(viewport->size(), QImage::Format_ARGB32_Premultiplied);
    viewport->render(&image);  // converts the visible rows' texts once, as the screen does
    state.counters["pane_h"] = viewport->height();
    for (auto _ : state) {
        viewport->render(&image);
        benchmark::DoNotOptimize(image.bits());
    }
}

}  // namespace

BENCHMARK(BM_Rebuild)->Arg(100)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PaintPane)->Arg(100)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();
