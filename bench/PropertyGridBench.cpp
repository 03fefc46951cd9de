// The property grid with a long profile scan: 3 sections and n point items (n = 50 and 5,000).
// Filling it, painting it scrolled halfway, and one Down key press that moves the selection
// (with the repaint that follows). Runs offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QScrollBar>
#include <memory>
#include <vector>

#include "controls/CPropertyGrid.h"
#include "display/CRectItem.h"

namespace {

struct Filled {
    QWidget host;
    CPropertyGrid* grid;
    std::vector<std::unique_ptr<CRectItem>> points;

    explicit Filled(int n) {
        QFont::insertSubstitutions(QStringLiteral("宋体"), {QStringLiteral("WenQuanYi Micro Hei")});
        host.resize(500, 600);
        grid = new CPropertyGrid(&host, 1440);
        grid->setGeometry(0, 0, 500, 600);
        for (int i = 0; i < n; ++i) {
            points.push_back(
                std::make_unique<CRectItem>(DetectionType::Grid, 0, 40 + i % 20, 100 * i));
        }
        fill();
    }

    // As the component panel fills it for a grid component: header values, then the two
    // point sections (four fifths horizontal, one fifth vertical).
    void fill() {
        grid->ResetContents();
        const int head = grid->AddSection(QStringLiteral("W001"));
        grid->AddStringItem(head, QStringLiteral("名称"), QStringLiteral("楼板"));
        const char* labels[] = {"水平钢筋直径设计值", "水平保护层厚度设计值", "水平配筋间距设计值",
                                "厚度偏差值", "间距偏差值"};
        for (const char* label : labels) {
            grid->AddIntegerItem(head, QString::fromUtf8(label), 25, QStringLiteral("%d mm"), true,
                                 {-32768, 32767});
        }
        const int n = static_cast<int>(points.size());
        const int horizontal = n * 4 / 5;
        const int first = grid->AddSection(QStringLiteral("水平测点结果（厚度 ; 间距）"));
        const int second = grid->AddSection(QStringLiteral("垂直测点结果（厚度 ; 间距）"));
        for (int i = 0; i < n; ++i) {
            const int number = i < horizontal ? i + 1 : i - horizontal + 1;
            grid->AddCustomItem(i < horizontal ? first : second, QString::number(number),
                                points[i].get());
        }
    }

    void scrollHalfway() {
        if (QScrollBar* bar = grid->scrollBar()) bar->setValue(bar->maximum() / 2);
    }
};

void BM_Fill(benchmark::State& state) {
    Filled f(static_cast<int>(state.range(0)));
    for (auto _ : state) f.fill();
    state.counters["items"] = static_cast<double>(f.points.size() + 6);
}

void BM_Paint(benchmark::State& state) {
    Filled f(static_cast<int>(state.range(0)));
    f.host.show();
    f.scrollHalfway();
    QImage image(f.grid->size(), QImage::Format_ARGB32_Premultiplied);
    f.grid->render(&image);
    for (auto _ : state) {
        f.grid->render(&image);
        benchmark::DoNotOptimize(image.bits());
    }
}

void BM_KeyDown(benchmark::State& state) {
    Filled f(static_cast<int>(state.range(0)));
    f.host.show();
    f.grid->setFocus();
    QApplication::processEvents();
    // Start from a name in the middle; the walk leaves the visible rows now and then.
    f.scrollHalfway();
    const QPointF at(50, 300);
    QMouseEvent press(QEvent::MouseButtonPress, at, at, Qt::LeftButton, Qt::LeftButton, {});
    QMouseEvent release(QEvent::MouseButtonRelease, at, at, Qt::LeftButton, {}, {});
    QApplication::sendEvent(f.grid, &press);
    QApplication::sendEvent(f.grid, &release);
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, {});
    for (auto _ : state) {
        QApplication::sendEvent(f.grid, &down);
        QApplication::processEvents();
    }
    state.counters["selected"] = f.grid->GetSelectedItem();
}

}  // namespace

BENCHMARK(BM_Fill)->Arg(50)->Arg(5000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Paint)->Arg(50)->Arg(5000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_KeyDown)->Arg(50)->Arg(5000)->Unit(benchmark::kMillisecond)->UseRealTime();
