// The component selection list with 10,000 rows: ticking and then clearing every row through
// the header box, as the user does with one click each. Runs offscreen.
#include <benchmark/benchmark.h>

#include <QHeaderView>
#include <QTest>

#include "dialogs/CCheckListCtrl.h"
#include "dialogs/ComponentTableModel.h"

namespace {

void BM_HeaderBoxTicksAndClearsAll(benchmark::State& state) {
    ComponentList components;
    for (int i = 0; i < state.range(0); ++i) {
        Component c;
        c.code.assign("H" + std::to_string(1000 + i % 9000).substr(1));
        components.push_back(c);
    }
    ComponentTableModel model(components, ComponentTableModel::Columns::Selection);
    model.setCheckable(true);
    CCheckListCtrl list;
    list.setModel(&model);
    list.InitCheckHeader();
    list.resize(600, 400);
    list.show();
    QHeaderView* header = list.header();
    const QPoint box(header->sectionViewportPosition(0) + 20, header->height() / 2);
    for (auto _ : state) {
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, box);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, box);
        QCoreApplication::processEvents();  // the repaint the user waits for
    }
    if (list.headerImage() != 1 || model.isChecked(0)) state.SkipWithError("header box failed");
}
BENCHMARK(BM_HeaderBoxTicksAndClearsAll)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
